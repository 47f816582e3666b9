#pragma once
// Whether a label fits its cell with its quiet zones, what to change when it does not, and the bar
// height and module width that make a linear label fit.

#include "output/TPageLayout.h"
#include "surface/Graphics.h"

#include <optional>
#include <string>

namespace qbm {

class TBarcode;
struct TPlacedBarcode;

// The boxes of a linear barcode drawn with its Left and Top at 0, in its device pixels (half-open):
// `ink`, what it draws (bars, digits, caption); `whole`, that and the symbology's quiet zones beside
// the bars, which the label needs room for.
struct TLabelBox {
    TRect ink;
    TRect whole;
};
TLabelBox LinearLabelBox(TBarcode& barcode, int dpi);
// The same from a layout already made with the barcode's settings (LayOutAtOrigin).
TLabelBox LinearLabelBoxOf(const TBarcode& barcode, const TPlacedBarcode& placed);

// Where a label goes in its cell, from the cell's corner: what it draws centred, moved only as far as
// keeps its quiet zones inside the cell (they are not even on both sides of EAN and UPC symbols).
TPoint LabelOffsetInCell(const TLabelBox& box, const TCellGrid& grid);

struct TLabelFit {
    bool fits = true;
    bool tooWide = false;
    bool tooHigh = false;
    double labelWidthMm = 0, labelHeightMm = 0;
    double cellWidthMm = 0, cellHeightMm = 0;
    // Empty when the label fits; else both sizes and what would fix it, e.g. "The labels are 52.3 x
    // 41.0 mm with their quiet zones; the cells are 64.0 x 38.1 mm. Lower the bar height by 3 mm or
    // print fewer rows."
    std::string message;
};

// A label of `labelWidth` x `labelHeight` pixels on a page of `page`'s resolution in the grid's cells
// (its pitch, which a label stock sets to the label's own size). `linear` chooses the advice.
TLabelFit CheckLabelFit(int labelWidth, int labelHeight, const TPage& page, const TCellGrid& grid,
                        bool linear);

// The largest module width in whole dots (at most the barcode's own) and bar height in whole
// millimetres (at most its own) with which the linear label fits the grid's cells; nullopt when no
// module of one dot with a bar of 1 mm fits. The barcode is left as it was.
struct TFittedLinearSize {
    int moduleDots = 0;
    int heightMm = 0;
    int heightDots = 0;
};
std::optional<TFittedLinearSize> FitLinearLabel(TBarcode& barcode, const TPage& page, const TCellGrid& grid);

} // namespace qbm
