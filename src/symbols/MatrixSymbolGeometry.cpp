#include "symbols/MatrixSymbolGeometry.h"

#include "surface/TModuleRectBuilder.h"

#include <algorithm>
#include <bit>

namespace qbm {

TSymbolGeometry MatrixSymbolGeometry(std::span<const TQrRow> rows, int columns, int quiet) {
    const int n = columns;
    const int rowCount = static_cast<int>(rows.size());
    TSymbolGeometry g;
    g.width = n + 2 * quiet;
    g.height = rowCount + 2 * quiet;
    g.quietX = g.quietY = quiet;
    // About one run in every four modules of a row, a third of them below an equal one.
    g.rects.reserve(static_cast<size_t>(rowCount) * static_cast<size_t>(n / 6 + 1));
    TModuleRectBuilder rects(g.rects, n, quiet);
    TModuleRows& out = g.modules;
    out = {n, rowCount, (n + 7) / 8, quiet, quiet, {}};
    out.bits.resize(static_cast<size_t>(rowCount) * static_cast<size_t>(out.bytesPerRow));
    for (int row = 0; row < rowCount; ++row, rects.NextRow()) {
        const TQrRow& bits = rows[static_cast<size_t>(row)];
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
                if (word) return std::min(n, 64 * w + std::countr_zero(word));
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

} // namespace qbm
