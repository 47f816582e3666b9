// Random text, level and version through EncodeQrCode and its geometry: the symbol is as large as its
// version, keeps a fixed version and level, carries its level and mask in both copies of the format
// information, has its finders and timing patterns, and a second encoding gives the same modules.

#include "symbols/ESymbolError.h"
#include "symbols/QrCodeEncoder.h"
#include "symbols/QrCodeSymbol.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

using qbm::fuzz::Check;

namespace {

// The 7 x 7 finder whose top-left corner is (row, column).
bool HasFinder(const qbm::TQrMatrix& m, int row, int column) {
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c) {
            const int ring = std::max(std::abs(r - 3), std::abs(c - 3));
            if (m.Dark(row + r, column + c) != (ring != 2)) return false;
        }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader in(data, size);
    const auto ecc = static_cast<qbm::TQrEcc>(in.Range(0, 4));
    const int version = in.Byte() & 1 ? in.Range(-1, 41) : 0;
    const std::string text = in.Rest(8000);
    try {
        const qbm::TQrCode code = qbm::EncodeQrCode(text, ecc, version);
        const qbm::TQrMatrix& m = code.modules;
        Check(code.version >= 1 && code.version <= 40 && m.size == 17 + 4 * code.version);
        Check(version == 0 || code.version == version);
        Check(ecc == qbm::TQrEcc::Auto || static_cast<int>(code.level) == static_cast<int>(ecc) - 1);
        Check(code.mask >= 0 && code.mask < 8);
        Check(HasFinder(m, 0, 0) && HasFinder(m, 0, m.size - 7) && HasFinder(m, m.size - 7, 0));
        for (int i = 8; i < m.size - 8; ++i)
            Check(m.Dark(6, i) == (i % 2 == 0) && m.Dark(i, 6) == (i % 2 == 0));
        qbm::TQrMatrix format(m.size);
        qbm::QrDrawFormat(format, code.level, code.mask);
        const int n = m.size;
        for (int k = 0; k < n; ++k) {
            const bool nearCorner = k < 9 || k >= n - 8;
            if (nearCorner && k != 6) Check(m.Dark(8, k) == format.Dark(8, k));
            if (nearCorner && k != 6 && k != n - 8) Check(m.Dark(k, 8) == format.Dark(k, 8));
        }
        Check(qbm::EncodeQrCode(text, ecc, version).modules == m);
        const qbm::TSymbolGeometry g = qbm::QrCodeGeometry(m);
        for (const qbm::TModuleRect& r : g.rects)
            Check(r.x >= 4 && r.y >= 4 && r.x + r.width <= g.width - 4 && r.y + r.height <= g.height - 4);
    } catch (const qbm::ESymbolError&) {
    }
    return 0;
}
