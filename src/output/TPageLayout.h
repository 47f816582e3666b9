#pragma once
// The page grid: the page in device pixels, margins and cells, page counts.

#include "surface/Graphics.h"

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
};
TCellGrid PrinterCellGrid(const TPage& page, const TLayoutSettings& layout);

// Labels divided by cells per page, rounded up.
int PageCount(long long labels, int rows, int columns);
// "Total: " + n + "Pages".
std::string PageCountText(int pages);

} // namespace qbm
