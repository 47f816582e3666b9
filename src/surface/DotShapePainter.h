#pragma once
// Draws the shapes of a geometry that are fitted to a device's dots (hexagonal modules, finder
// rings): through the canvas, or as stamps written straight into a bitmap's pixel rows, which gives
// the same pixels as the canvas does.

#include "surface/TSymbolGeometry.h"

namespace qbm {

class TCanvas;
struct TPixelRows;

// On a picture (placement.onPicture) a hexagon is its outline flood-filled, as pictures have always
// drawn it; on a page it is a polygon.
void PaintDotShapes(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement);

// Stamps each shape into 32-bit `rows` (the canvas' own) where its stamp fits; the canvas draws the
// rest.
void StampDotShapes(TCanvas& canvas, const TPixelRows& rows, const TSymbolGeometry& geometry,
                    const TSymbolPlacement& placement);

} // namespace qbm
