#include "symbols/QrCodeMatrix.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace qbm {
namespace {

// Marks a module as taken by a function pattern and gives it its colour.
struct TLayoutBuilder {
    TQrLayout& layout;
    TQrMatrix taken;

    void Put(int row, int column, bool dark) {
        layout.functions.Set(row, column, dark);
        taken.Set(row, column, true);
    }

    // The 7 x 7 finder with its light separator, clipped at the symbol's edge.
    void Finder(int centreRow, int centreColumn) {
        const int size = layout.functions.size;
        for (int dr = -4; dr <= 4; ++dr)
            for (int dc = -4; dc <= 4; ++dc) {
                const int r = centreRow + dr, c = centreColumn + dc;
                if (r < 0 || r >= size || c < 0 || c >= size) continue;
                const int ring = std::max(std::abs(dr), std::abs(dc));
                Put(r, c, ring != 2 && ring != 4);
            }
    }
    void Alignment(int centreRow, int centreColumn) {
        for (int dr = -2; dr <= 2; ++dr)
            for (int dc = -2; dc <= 2; ++dc)
                Put(centreRow + dr, centreColumn + dc, std::max(std::abs(dr), std::abs(dc)) != 1);
    }
};

// BCH(18, 6) code of the version number, generator x^12+x^11+x^10+x^9+x^8+x^5+x^2+1.
uint32_t VersionBits(int version) {
    uint32_t rem = static_cast<uint32_t>(version);
    for (int i = 0; i < 12; ++i) rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
    return static_cast<uint32_t>(version) << 12 | rem;
}

} // namespace

std::array<int, 2> QrFormatPlace(int i, int size, bool second) {
    if (!second) {
        if (i < 6) return {i, 8};
        if (i < 8) return {i + 1, 8};
        if (i == 8) return {8, 7};
        return {8, 14 - i};
    }
    if (i < 8) return {8, size - 1 - i};
    return {size - 15 + i, 8};
}

TQrMatrix QrTransposed(const TQrMatrix& m) {
    TQrMatrix t(m.size);
    for (int r = 0; r < m.size; ++r)
        for (int w = 0; w < kQrRowWords; ++w)
            for (uint64_t bits = m.rows[static_cast<size_t>(r)][static_cast<size_t>(w)]; bits;
                 bits &= bits - 1)
                t.Set(64 * w + std::countr_zero(bits), r, true);
    return t;
}

namespace {

std::unique_ptr<TQrLayout> BuildLayout(int version) {
    auto layout = std::make_unique<TQrLayout>();
    const int size = QrSize(version);
    layout->version = version;
    layout->functions = TQrMatrix(size);
    TLayoutBuilder b{*layout, TQrMatrix(size)};

    for (int i = 0; i < size; ++i) {
        b.Put(6, i, i % 2 == 0);
        b.Put(i, 6, i % 2 == 0);
    }
    b.Finder(3, 3);
    b.Finder(3, size - 4);
    b.Finder(size - 4, 3);
    const std::vector<int> centres = QrAlignmentCentres(version);
    const size_t n = centres.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            // Not over the three finders.
            if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0)) continue;
            b.Alignment(centres[i], centres[j]);
        }
    for (int i = 0; i < 15; ++i) {
        for (const bool second : {false, true}) {
            const auto [r, c] = QrFormatPlace(i, size, second);
            b.Put(r, c, false);
        }
    }
    b.Put(size - 8, 8, true);
    if (version >= 7) {
        const uint32_t bits = VersionBits(version);
        for (int i = 0; i < 18; ++i) {
            const bool dark = (bits >> i) & 1;
            const int a = size - 11 + i % 3, c = i / 3;
            b.Put(c, a, dark);
            b.Put(a, c, dark);
        }
    }

    // Codeword bits go up and down two-module columns from the right, the timing column skipped.
    layout->dataArea = TQrMatrix(size);
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int v = 0; v < size; ++v) {
            const int row = upward ? size - 1 - v : v;
            for (int column = right; column >= right - 1; --column) {
                if (b.taken.Dark(row, column)) continue;
                layout->dataArea.Set(row, column, true);
                layout->path.push_back({static_cast<uint8_t>(row), static_cast<uint8_t>(column)});
            }
        }
    }
    layout->functionColumns = QrTransposed(layout->functions);
    layout->dataColumns = QrTransposed(layout->dataArea);
    return layout;
}

} // namespace

const TQrLayout& QrLayout(int version) {
    static std::array<std::unique_ptr<TQrLayout>, kQrMaxVersion> layouts;
    static std::array<std::once_flag, kQrMaxVersion> built;
    const auto i = static_cast<size_t>(version - 1);
    std::call_once(built[i], [&] { layouts[i] = BuildLayout(version); });
    return *layouts[i];
}

uint32_t QrFormatBits(TQrLevel level, int mask) {
    // Level indicators L 01, M 00, Q 11, H 10; BCH(15, 5) with generator x^10+x^8+x^5+x^4+x^2+x+1.
    constexpr uint32_t kLevelBits[] = {1, 0, 3, 2};
    const uint32_t data = kLevelBits[static_cast<int>(level)] << 3 | static_cast<uint32_t>(mask);
    uint32_t rem = data;
    for (int i = 0; i < 10; ++i) rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    return (data << 10 | rem) ^ 0x5412;
}

void QrDrawFormat(TQrMatrix& m, TQrLevel level, int mask) {
    const uint32_t bits = QrFormatBits(level, mask);
    for (int i = 0; i < 15; ++i)
        for (const bool second : {false, true}) {
            const auto [r, c] = QrFormatPlace(i, m.size, second);
            m.Set(r, c, (bits >> i) & 1);
        }
}

} // namespace qbm
