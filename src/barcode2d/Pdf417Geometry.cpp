#include "barcode2d/Pdf417Geometry.h"

#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/Pdf417Patterns.h"

#include <algorithm>
#include <cstdint>

namespace qbm {
namespace {

constexpr int kModulesPerUnit = 17;
constexpr const char* kStartPattern = "81111113";
constexpr const char* kStopPattern = "711311121";
// The compact form keeps only the first bar of the stop pattern.
constexpr const char* kTruncatedStopPattern = "1";

// Writes a row's modules left to right into its bits (column c is bit c % 8 of byte c / 8).
class TRowWriter {
public:
    explicit TRowWriter(uint8_t* row) : m_out(row) {}

    // The 17 modules of a codeword pattern, whose module m is bit 16 - m.
    void Pattern(uint32_t pattern) { Append(Reversed17(pattern), kModulesPerUnit); }

    // Alternating bar and space widths in modules, from a bar.
    void Widths(const char* widths) {
        bool dark = true;
        for (const char* p = widths; *p; ++p) {
            const int w = *p - '0';
            Append(dark ? (1u << w) - 1 : 0, w);
            dark = !dark;
        }
    }

    // Writes out what is left of the last byte.
    void Finish() {
        if (m_filled > 0) *m_out = static_cast<uint8_t>(m_pending);
    }

private:
    static uint32_t Reversed17(uint32_t x) {
        x = ((x >> 1) & 0x55555555u) | ((x & 0x55555555u) << 1);
        x = ((x >> 2) & 0x33333333u) | ((x & 0x33333333u) << 2);
        x = ((x >> 4) & 0x0F0F0F0Fu) | ((x & 0x0F0F0F0Fu) << 4);
        x = ((x >> 8) & 0x00FF00FFu) | ((x & 0x00FF00FFu) << 8);
        x = (x >> 16) | (x << 16);
        return x >> 15;
    }

    // n modules, the first in bit 0 of `bits`.
    void Append(uint32_t bits, int n) {
        m_pending |= static_cast<uint64_t>(bits) << m_filled;
        m_filled += n;
        while (m_filled >= 8) {
            *m_out++ = static_cast<uint8_t>(m_pending);
            m_pending >>= 8;
            m_filled -= 8;
        }
    }

    uint8_t* m_out;
    uint64_t m_pending = 0;
    int m_filled = 0;
};

} // namespace

uint32_t Pdf417CodewordPattern(int row, int v) {
    if (v < 0 || v > 928) throw E2DBarcodeError("Invalid Codeword");
    return kPdf417Patterns[row % 3][v];
}

int Pdf417ModuleColumns(int columns, bool truncated) {
    return kModulesPerUnit * columns + (truncated ? 35 : 69);
}

TSymbolGeometry Pdf417Geometry(std::span<const uint16_t> codewords, const TPdf417Drawing& d) {
    TSymbolGeometry g;
    // A module is at least a dot wide.
    const double dots = std::max(1, d.moduleWidth);
    g.quietX = g.quietY = d.quietZone / dots;
    const int columns = Pdf417ModuleColumns(d.columns, d.truncated);
    g.width = columns + 2 * g.quietX;
    g.stackedRowHeight = d.rowHeight / dots;
    g.height = d.rows * g.stackedRowHeight + 2 * g.quietY;
    TModuleRows& m = g.stacked;
    m.columns = columns;
    m.rows = d.rows;
    m.bytesPerRow = (columns + 7) / 8;
    m.bits.assign(static_cast<size_t>(m.bytesPerRow) * d.rows, 0);
    for (int r = 0; r < d.rows; ++r) {
        const int base = 30 * (r / 3);
        int left = 0;
        int right = 0;
        switch (r % 3) {
        case 0:
            left = base + (d.rows - 1) / 3;
            right = base + d.columns - 1;
            break;
        case 1:
            left = base + (d.rows - 1) % 3 + 3 * d.eccLevel;
            right = base + (d.rows - 1) / 3;
            break;
        case 2:
            left = base + d.columns - 1;
            right = base + (d.rows - 1) % 3 + 3 * d.eccLevel;
            break;
        }
        TRowWriter row(m.bits.data() + static_cast<size_t>(r) * m.bytesPerRow);
        row.Widths(kStartPattern);
        row.Pattern(Pdf417CodewordPattern(r, left));
        for (int j = 0; j < d.columns; ++j)
            row.Pattern(Pdf417CodewordPattern(r, codewords[static_cast<size_t>(r) * d.columns + j]));
        if (d.truncated) {
            row.Widths(kTruncatedStopPattern);
        } else {
            row.Pattern(Pdf417CodewordPattern(r, right));
            row.Widths(kStopPattern);
        }
        row.Finish();
    }
    // A symbol squeezed into too little height has rows of no height: nothing to draw, but every
    // codeword has been checked.
    if (d.rowHeight <= 0) m = {};
    return g;
}

} // namespace qbm
