#pragma once
// Draws a symbol geometry into a bitmap's pixels: modules written straight into the pixel rows where
// the canvas has them, the same picture as the shape operations give.

#include "surface/TSymbolGeometry.h"

namespace qbm {

class TCanvas;
class TBitmap;

void PaintSymbolPixels(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement);

// A picture of the whole geometry at `dotsPerModule`, quiet zone included.
TBitmap SymbolPicture(const TSymbolGeometry& geometry, int dotsPerModule);

} // namespace qbm
