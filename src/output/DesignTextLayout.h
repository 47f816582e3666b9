#pragma once
// A text object's lines laid out in its upright box: its font at the device's resolution, shrunk
// until the text fits when the object asks for it.

#include "design/TDesignObject.h"
#include "surface/TFont.h"

#include <string>
#include <vector>

namespace qbm {

class TCanvas;

struct TDesignTextLine {
    std::string text;
    int x = 0;
    int y = 0;
};

struct TDesignTextLayout {
    TFont font;
    std::vector<TDesignTextLine> lines;
    // Whether the text lies inside its box; false only for objects that do not shrink their text.
    bool fits = true;
};

// `canvas` measures (its resolution gives the font's pixels); the box is `width` x `height` pixels.
TDesignTextLayout LayOutDesignText(TCanvas& canvas, const TDesignObject& object, const std::string& text,
                                   int width, int height);

void DrawDesignText(TCanvas& canvas, const TDesignTextLayout& layout);

} // namespace qbm
