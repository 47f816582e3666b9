#include "barcode2d/Pdf417Geometry.h"

#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/Pdf417Patterns.h"

#include <bit>

namespace qbm {
namespace {

constexpr int kModulesPerUnit = 17;
constexpr const char* kStartPattern = "81111113";
constexpr const char* kStopPattern = "711311121";
// The compact form keeps only the first bar of the stop pattern.
constexpr const char* kTruncatedStopPattern = "1";

// Adds the bars of one row, left to right, in modules from the symbol's left edge.
class TRowBars {
public:
    TRowBars(TSymbolGeometry& g, double top, double height, bool visible)
        : m_g(g), m_top(top), m_height(height), m_visible(visible) {}

    void Pattern(uint32_t pattern) {
        // Module m of the pattern is bit 16 - m. Runs of dark modules become one bar each: the
        // highest dark bit starts a run, the highest light bit below it ends it.
        uint32_t dark = pattern & 0x1FFFF;
        while (dark) {
            const int first = std::bit_width(dark) - 1;
            const int after = std::bit_width(~dark & ((1u << first) - 1));
            Bar(m_x + 16 - first, first + 1 - after);
            dark &= (1u << after) - 1;
        }
        m_x += kModulesPerUnit;
    }

    void Widths(const char* widths) {
        bool dark = true;
        for (const char* p = widths; *p; ++p) {
            const int w = *p - '0';
            if (dark) Bar(m_x, w);
            m_x += w;
            dark = !dark;
        }
    }

private:
    void Bar(int x, int width) {
        if (m_visible) m_g.rects.push_back({m_g.quietX + x, m_top, static_cast<double>(width), m_height});
    }

    TSymbolGeometry& m_g;
    double m_top;
    double m_height;
    bool m_visible;
    int m_x = 0;
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
    const double dots = d.moduleWidth;
    g.quietX = g.quietY = d.quietZone / dots;
    g.width = Pdf417ModuleColumns(d.columns, d.truncated) + 2 * g.quietX;
    const double rowHeight = d.rowHeight / dots;
    g.height = d.rows * rowHeight + 2 * g.quietY;
    // A symbol squeezed into too little height has rows of no height: nothing to draw.
    const bool visible = d.rowHeight > 0;
    if (visible) g.rects.reserve(static_cast<size_t>(d.rows) * (d.columns + 4) * 4 + 8);
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
        TRowBars bars(g, g.quietY + r * d.rowHeight / dots, rowHeight, visible);
        bars.Widths(kStartPattern);
        bars.Pattern(Pdf417CodewordPattern(r, left));
        for (int j = 0; j < d.columns; ++j)
            bars.Pattern(Pdf417CodewordPattern(r, codewords[static_cast<size_t>(r) * d.columns + j]));
        if (d.truncated) {
            bars.Widths(kTruncatedStopPattern);
        } else {
            bars.Pattern(Pdf417CodewordPattern(r, right));
            bars.Widths(kStopPattern);
        }
    }
    return g;
}

} // namespace qbm
