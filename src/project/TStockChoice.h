#pragma once
// The label stock a page grid was taken from: what the grid needs beyond whole millimetres.

#include <string>

namespace qbm {

// Sizes in hundredths of a millimetre, on the sheet as it lies in the printer (a landscape sheet is
// wider than high). The margins put each cell of the grid centred on one label of the stock; one is
// below zero when the sheet's first label sits nearer the edge than half the gap between labels.
struct TStockChoice {
    std::string brand;
    std::string part;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    int pageWidth = 0;
    int pageHeight = 0;
    // The label outline, which the preview draws faintly in every cell.
    int labelWidth = 0;
    int labelHeight = 0;
    int labelRadius = 0;

    std::string Name() const { return brand + " " + part; }
    bool operator==(const TStockChoice&) const = default;
};

} // namespace qbm
