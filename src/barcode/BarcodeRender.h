#pragma once
// A barcode drawn alone on a white picture with a quiet margin around bars and text.

#include "surface/TBitmap.h"

namespace qbm {

class TBarcode;

// Draws the barcode (its Left and Top are moved so the drawing starts at the margin) on a white
// bitmap that holds everything Draw paints, texts included, plus `margin` pixels on every side.
// Throws the engine's errors; EBarcodeError "Picture too large" above 100 million pixels.
TBitmap RenderBarcode(TBarcode& bc, int margin, TBitmapPixels pixels = TBitmapPixels::Colour);

} // namespace qbm
