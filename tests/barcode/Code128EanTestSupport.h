#pragma once
// Helpers of the Code 128 and EAN/UPC tests: reading symbol values back from a pattern, and painting a
// pattern as plain bars so that a decoder can read it.

#include "barcode/Code128Patterns.h"
#include "barcode/TBarcode.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include <string>
#include <vector>

namespace qbm::test {

// The module widths of a pattern's elements ("5" and "0" are 1, "8" and "3" are 4).
inline std::string PatternWidths(const std::string& pattern) {
    std::string r;
    for (const char c : pattern) r += static_cast<char>(c >= '5' ? c - 4 : c + 1);
    return r;
}

// The symbol values of a Code 128 pattern from the start to the check symbol; -1 for a group of six
// widths that is no symbol, -2 when the pattern does not end with the stop.
inline std::vector<int> Code128Values(const std::string& pattern) {
    const std::string w = PatternWidths(pattern);
    std::vector<int> values;
    if (w.size() < 7 || (w.size() - 7) % 6 != 0 || w.substr(w.size() - 7) != Code128Stop) return {-2};
    for (size_t i = 0; i + 7 < w.size(); i += 6) {
        int v = -1;
        for (int k = 0; k < kCode128SymbolCount; ++k)
            if (w.compare(i, 6, Code128Widths[k]) == 0) v = k;
        values.push_back(v);
    }
    return values;
}

// Paints the elements of a pattern left to right from x as bars of the given height, each element as
// wide as ElementWidth says. Returns the x after the last element.
inline int PaintPatternAt(TBitmap& bmp, const TBarcode& bc, const std::string& pattern, int x, int top,
                          int height) {
    TCanvas& canvas = bmp.Canvas();
    canvas.Brush().color = clBlack;
    canvas.Brush().style = TBrushStyle::bsSolid;
    for (const char c : pattern) {
        const TElement e = bc.ElementWidth(c);
        if (e.kind != 0) canvas.FillRect({x, top, x + e.width, top + height});
        x += e.width;
    }
    return x;
}

// The barcode's pattern painted on a white bitmap with a quiet zone of `quiet` pixels all round.
inline TBitmap PaintPattern(TBarcode& bc, int height = 16, int quiet = 24) {
    const std::string pattern = bc.BuildPattern();
    int w = 0;
    for (const char c : pattern) w += bc.ElementWidth(c).width;
    TBitmap bmp(w + 2 * quiet, height + 2 * quiet);
    PaintPatternAt(bmp, bc, pattern, quiet, quiet, height);
    return bmp;
}

} // namespace qbm::test
