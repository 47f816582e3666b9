#pragma once
// A label stock as our page grid: rows, columns, paper, orientation and margins that centre each cell
// on one label of the sheet.

#include "project/TStockChoice.h"
#include "surface/Graphics.h"
#include "surface/TPaperSize.h"

#include <optional>
#include <string>

namespace qbm {

struct TStock;
class TLabelProject;

struct TStockGrid {
    int rows = 1;
    int columns = 1;
    TPaperSize paper; // as the paper comes (portrait)
    TPrinterOrientation orientation = TPrinterOrientation::poPortrait;
    TStockChoice choice; // the name, the exact margins, the sheet and the label outline
};

// The grid for a stock, or why the page grid cannot follow it.
struct TStockFit {
    std::optional<TStockGrid> grid;
    std::string refusal;
};
TStockFit FitStock(const TStock& stock);

// Rows, columns, whole-millimetre margins, orientation, then the stock itself, so that the project
// prints onto the stock.
void ApplyStockGrid(TLabelProject& project, const TStockGrid& grid);

// The paper of the project's stock as the paper comes (portrait); nothing without a stock or when the
// project does not know its sheet.
std::optional<TPaperSize> StockPaper(const TLabelProject& project);

} // namespace qbm
