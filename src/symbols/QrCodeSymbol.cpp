#include "symbols/QrCodeSymbol.h"

#include "surface/TModuleRectBuilder.h"
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
    // About one run in every four modules of a row, a third of them below an equal one.
    g.rects.reserve(static_cast<size_t>(n) * static_cast<size_t>(n / 6 + 1));
    TModuleRectBuilder rects(g.rects, n, kQuietZone);
    TModuleRows& out = g.modules;
    out = {n, n, (n + 7) / 8, kQuietZone, kQuietZone, {}};
    out.bits.resize(static_cast<size_t>(n) * static_cast<size_t>(out.bytesPerRow));
    for (int row = 0; row < n; ++row, rects.NextRow()) {
        const TQrRow& bits = modules.rows[static_cast<size_t>(row)];
        uint8_t* const rowBytes = out.bits.data() + static_cast<size_t>(row) * out.bytesPerRow;
        for (int k = 0; k < out.bytesPerRow; ++k)
            rowBytes[k] = static_cast<uint8_t>(bits[static_cast<size_t>(k >> 3)] >> (8 * (k & 7)));
        if (n % 8 != 0) rowBytes[out.bytesPerRow - 1] &= static_cast<uint8_t>((1u << (n % 8)) - 1);
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
            rects.AddRun(start, end);
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
