#pragma once
// Draws a laid-out linear barcode: upright bars on a picture straight into its pixel rows, every other
// bar as a polygon, then the texts. Gaps are never painted, so the symbol can lie on any background.

#include "surface/TLinearLayout.h"

namespace qbm {

class TCanvas;

// The bars alone, in black.
void PaintLinearBars(TCanvas& canvas, const TLinearLayout& layout);
// The texts alone, each in its font with a clear brush.
void PaintLinearTexts(TCanvas& canvas, const TLinearLayout& layout);

} // namespace qbm
