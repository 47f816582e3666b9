#pragma once
// A linear barcode laid out on one device: its bars as four corners each (upright or turned by the
// symbol's angle) and its texts with their fonts and pen positions, in device pixels. The engine makes
// it once per symbol; a painter draws it onto any canvas, as often and wherever the caller needs.

#include "surface/Graphics.h"
#include "surface/TFont.h"

#include <array>
#include <string>
#include <vector>

namespace qbm {

struct TLinearText {
    TFont font;
    TColor penColor = clBlack;
    TPoint at;
    std::string text; // UTF-8
};

struct TLinearLayout {
    // Upright bars are the boxes their corners enclose, corners included.
    bool upright = true;
    std::vector<std::array<TPoint, 4>> bars;
    std::vector<TLinearText> texts;
    // EAN-13 and UPC-A: left and right ends of the two digit groups, from the symbol's left edge.
    std::array<int, 4> groupMarks{};
    // The font the bars were measured with (their shortening under the digits of EAN-13 and UPC-A).
    TFont barFont;

    void Clear() {
        bars.clear();
        texts.clear();
        groupMarks = {};
    }
};

} // namespace qbm
