#include "output/CalibrationSheet.h"

#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TOffsetCanvas.h"
#include "surface/TPrinter.h"
#include "util/Rounding.h"

#include <algorithm>

namespace qbm {
namespace {

constexpr double kLineMm = 0.15;
constexpr double kCrossArmMm = 3;

struct TSheetPen {
    TCanvas& c;
    void Line(int x0, int y0, int x1, int y1) {
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
    }
};

// Ticks every millimetre from the sheet's edge, longer every 5 and numbered every 10 millimetres.
void DrawRulers(TCanvas& c, const TPage& page) {
    TSheetPen pen{c};
    for (int mm = 0;; ++mm) {
        const int x = MmToDots(mm, page.resX);
        if (x >= page.width) break;
        const double length = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
        pen.Line(x, 0, x, MmToDots(length, page.resY));
        if (mm % 10 == 0 && mm > 0)
            c.TextOut(x + MmToDots(0.5, page.resX), MmToDots(4, page.resY), std::to_string(mm));
    }
    for (int mm = 0;; ++mm) {
        const int y = MmToDots(mm, page.resY);
        if (y >= page.height) break;
        const double length = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
        pen.Line(0, y, MmToDots(length, page.resX), y);
        if (mm % 10 == 0 && mm > 0)
            c.TextOut(MmToDots(4, page.resX), y + MmToDots(0.5, page.resY), std::to_string(mm));
    }
}

void DrawGrid(TCanvas& c, const TPage& page, const TCellGrid& g, const TLayoutSettings& layout) {
    TSheetPen pen{c};
    const int armX = MmToDots(kCrossArmMm, page.resX), armY = MmToDots(kCrossArmMm, page.resY);
    for (int row = 0; row < layout.rows; ++row)
        for (int col = 0; col < layout.columns; ++col) {
            const int left = g.marginLeft + col * g.cellWidth, top = g.marginTop + row * g.cellHeight;
            const int right = left + g.cellWidth, bottom = top + g.cellHeight;
            pen.Line(left, top, right, top);
            pen.Line(right, top, right, bottom);
            pen.Line(right, bottom, left, bottom);
            pen.Line(left, bottom, left, top);
            const int cx = left + g.cellWidth / 2, cy = top + g.cellHeight / 2;
            pen.Line(cx - armX, cy, cx + armX + 1, cy);
            pen.Line(cx, cy - armY, cx, cy + armY + 1);
        }
}

void DrawSheet(TCanvas& c, const TPage& page, const TCellGrid& grid, const TLayoutSettings& layout,
               const std::string& printerName) {
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetPixelsPerInch(page.resY);
    font.SetSize(7);
    c.SetFont(font);
    c.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
    c.Pen() = TPen{clBlack, std::max(1, MmToDots(kLineMm, page.resX)), TPenStyle::psSolid};
    DrawRulers(c, page);
    DrawGrid(c, page, grid, layout);
    const std::string caption = "Calibration sheet for " + printerName + ": " + std::to_string(layout.rows) +
                                " x " + std::to_string(layout.columns) +
                                " cells, ruler in mm from the sheet's edges";
    c.TextOut(MmToDots(12, page.resX), page.height - grid.marginBottom + MmToDots(2, page.resY), caption);
}

} // namespace

void PrintCalibrationSheet(TPrinter& printer, const TLayoutSettings& layout, const std::string& printerName) {
    const TPage page{printer.PageWidth(), printer.PageHeight(), printer.ResolutionX(), printer.ResolutionY()};
    const TCellGrid grid = PrinterCellGrid(page, layout);
    printer.BeginDoc();
    try {
        // A page too large to hold at once is drawn once for each of its bands, moved up to it.
        do {
            const int top = printer.BandTop();
            TOffsetCanvas moved(printer.Canvas(), TPoint{0, -top}, false);
            DrawSheet(top == 0 ? printer.Canvas() : moved, page, grid, layout, printerName);
        } while (printer.NextBand());
    } catch (...) {
        printer.Abort();
        throw;
    }
    printer.EndDoc();
}

} // namespace qbm
