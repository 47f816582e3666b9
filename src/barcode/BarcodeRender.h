#pragma once
// A barcode drawn alone on a white picture with a quiet margin around bars and text.

#include "surface/TBitmap.h"
#include "surface/TLinearLayout.h"

namespace qbm {

class TBoundsCanvas;

class TBarcode;
class TCanvas;

// The barcode as Draw paints it, texts included, on a white bitmap of just its size plus `margin`
// pixels on every side; the barcode is left where it is (it builds its pattern, as Draw does). Throws the
// engine's errors; EBarcodeError "Picture too large" above 100 million pixels.
// The barcode (its pattern built, as Draw builds it) laid out as if it stood at Left 0 and Top 0, with
// the box its drawing covers; the barcode's own position is left as it is.
struct TPlacedBarcode {
    std::string pattern;
    TLinearLayout layout;
    TRect ink;
    bool empty = true; // draws nothing at all
};
TPlacedBarcode LayOutAtOrigin(TBarcode& bc, int dpi = 96);
// The same measured on `bounds` (reset first), which keeps its fonts from label to label.
TPlacedBarcode LayOutAtOrigin(TBarcode& bc, int dpi, TBoundsCanvas& bounds);
// Bars and texts of a layout, the canvas's font, pen and brush put back afterwards.
void PaintLayout(TCanvas& canvas, const TLinearLayout& layout);

TBitmap RenderBarcode(TBarcode& bc, int margin, TBitmapPixels pixels = TBitmapPixels::Colour);

} // namespace qbm
