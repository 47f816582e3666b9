#include "symbols/QrCodeSymbol.h"

#include "symbols/ESymbolError.h"
#include "symbols/QrCodeEncoder.h"

#include <algorithm>
#include <bit>
#include <string>

namespace qbm {
namespace {

constexpr int kQuietZone = 4;

} // namespace

TSymbolGeometry QrCodeGeometry(const TQrMatrix& modules) {
    const int n = modules.size;
    TSymbolGeometry g;
    g.width = g.height = n + 2 * kQuietZone;
    g.quietX = g.quietY = kQuietZone;
    // About one run in every four modules of a row.
    g.rects.reserve(static_cast<size_t>(n) * static_cast<size_t>(n / 4 + 1));
    for (int row = 0; row < n; ++row) {
        const TQrRow& bits = modules.rows[static_cast<size_t>(row)];
        // Bit j of the row and of its complement; a run starts at the lowest set bit of the row and
        // ends at the lowest set bit of the complement above it.
        const auto dark = [&](int from) {
            for (int w = from >> 6; w < kQrRowWords; ++w) {
                uint64_t word = bits[static_cast<size_t>(w)];
                if (w == from >> 6) word &= ~uint64_t{0} << (from & 63);
                if (word) return 64 * w + std::countr_zero(word);
            }
            return n;
        };
        const auto light = [&](int from) {
            for (int w = from >> 6; w < kQrRowWords; ++w) {
                uint64_t word = ~bits[static_cast<size_t>(w)];
                if (w == from >> 6) word &= ~uint64_t{0} << (from & 63);
                if (word) return std::min(n, 64 * w + std::countr_zero(word));
            }
            return n;
        };
        for (int start = dark(0); start < n;) {
            const int end = light(start);
            g.rects.push_back({static_cast<double>(start + kQuietZone), static_cast<double>(row + kQuietZone),
                               static_cast<double>(end - start), 1});
            start = end < n ? dark(end) : n;
        }
    }
    return g;
}

TSymbolGeometry EncodeQrCodeSymbol(const TSymbolSettings& settings, std::string_view text) {
    if (settings.version < 0 || settings.version > kQrMaxVersion)
        throw ESymbolError("QR Code version must be 1 to 40");
    if (text.empty()) throw ESymbolError("QR Code: there is no text to encode");
    try {
        return QrCodeGeometry(EncodeQrCode(text, settings.qrEcc, settings.version).modules);
    } catch (const ESymbolError& e) {
        throw ESymbolError(std::string("QR Code: ") + e.what());
    }
}

} // namespace qbm
