#pragma once
// The page grid: the page in device pixels, margins and cells, page counts.

#include "surface/Graphics.h"
#include "util/Rounding.h"

#include <string>

namespace qbm {

class TPrinter;

// Rows, columns, margins in whole millimetres and split marks, as the Print Layout tab holds them.
struct TLayoutSettings {
    int rows = 2;
    int columns = 2;
    int marginLeft = 10;
    int marginRight = 10;
    int marginTop = 10;
    int marginBottom = 10;
    bool splitMarks = true;
    // A label stock's margins in hundredths of a millimetre (left, top, right, bottom) replace the
    // whole millimetres above when present, and the stock's sheet gives the pitch, so cells land on
    // the stock's labels to a tenth of a millimetre; the label outline (hundredths too) is drawn
    // faintly in the preview, never printed.
    bool exactMargins = false;
    int exactLeft = 0;
    int exactTop = 0;
    int exactRight = 0;
    int exactBottom = 0;
    int stockPageWidth = 0;
    int stockPageHeight = 0;
    int stockLabelWidth = 0;
    int stockLabelHeight = 0;
    int stockLabelRadius = 0;

    double LeftMm() const { return exactMargins ? exactLeft / 100.0 : marginLeft; }
    double TopMm() const { return exactMargins ? exactTop / 100.0 : marginTop; }
    double RightMm() const { return exactMargins ? exactRight / 100.0 : marginRight; }
    double BottomMm() const { return exactMargins ? exactBottom / 100.0 : marginBottom; }
};

// A page in device pixels with its resolution.
struct TPage {
    int width = 0;
    int height = 0;
    int resX = 0;
    int resY = 0;
};

// The printer's physical page and resolution; A4 at 300 dots per inch when no printer is installed
// (printer null or its count 0), in the orientation given.
TPage PageOf(const TPrinter* printer, TPrinterOrientation orientation);

// Margins and cells of the page grid at the page's own resolution (the print loop's figures).
struct TCellGrid {
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    // The grid unrounded: cell c starts at rnd(originX + c x pitchX). With whole-millimetre margins
    // these are the margin and the cell size, so every cell is as wide as the first; with a stock's
    // margins the cells keep to the stock's pitch instead of gathering rounding across the sheet.
    double originX = 0;
    double originY = 0;
    double pitchX = 0;
    double pitchY = 0;
    int CellLeft(int column) const { return Rnd(originX + column * pitchX); }
    int CellTop(int row) const { return Rnd(originY + row * pitchY); }
};
TCellGrid PrinterCellGrid(const TPage& page, const TLayoutSettings& layout);

// Labels divided by cells per page, rounded up.
int PageCount(long long labels, int rows, int columns);
// "Total: " + n + "Pages".
std::string PageCountText(int pages);

} // namespace qbm
