#pragma once
// A MaxiCode symbol as a geometry value: its hexagonal modules and finder fitted to a device's dots.

#include "barcode2d/TMaxiCodeEncoder.h"
#include "surface/Graphics.h"
#include "surface/TSymbolGeometry.h"

namespace qbm {

// How the module size is chosen: from the device resolution (AutoScale), or from explicit sizes in
// device dots, where a zero size is taken from the dots per millimetre.
struct TMaxiCodeSizing {
    bool autoScale = true;
    int barWidth = 0;
    int barHeight = 0;
    double horPixelsPerMM = 4.0;
    double verPixelsPerMM = 4.0;
};

// Horizontal pitch and height of a module in device dots.
struct TMaxiCodeModuleSize {
    double width = 0;
    double height = 0;
    friend bool operator==(const TMaxiCodeModuleSize&, const TMaxiCodeModuleSize&) = default;
};

TMaxiCodeModuleSize MaxiCodeModuleSize(const TMaxiCodeSizing& sizing, int xDpi, int yDpi);

// Nearest dot, ties to even, with absurd sizes held inside the integer range so that they are cut off
// at the picture's edge instead of wrapping around.
int MaxiCodeNearestDot(double v);

// Symbol width and height in dots, quiet zone not included.
int MaxiCodeSymbolWidth(const TMaxiCodeModuleSize& size);
int MaxiCodeSymbolHeight(const TMaxiCodeModuleSize& size);

// The symbol of the 144 codewords in device dots (one dot a unit), quiet zone on every side. Modules
// and finder are rounded to whole dots as they fall on the device with the symbol's top-left corner
// at dot `corner` of the picture, so the value is computed for where it is drawn.
TSymbolGeometry MaxiCodeGeometry(const TMaxiCodeEncoder::TBuffer& codewords, const TMaxiCodeModuleSize& size,
                                 TPoint corner, int quietZone);

} // namespace qbm
