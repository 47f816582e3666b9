#pragma once
// Draws a symbol geometry through a canvas's shape operations: PDF pages (whose writer gathers the
// modules of one colour into one path), printer pages, SVG and the window.

#include "surface/TSymbolGeometry.h"

namespace qbm {

class TCanvas;

void PaintSymbolShapes(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement);

// Hexagons, rings and texts alone, for painters that lay the rectangles down themselves.
void PaintSymbolExtras(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement);

} // namespace qbm
