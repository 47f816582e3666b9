#include "stock/StockGrid.h"

#include "project/TLabelProject.h"
#include "stock/TStock.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qbm {
namespace {

// Hundredths of a millimetre closer than this are the same length: the database gives sizes in
// points, inches and millimetres rounded to a few digits.
constexpr double kSameLength = 0.01;
// Labels a hair wider than their sheet are the database rounding its figures; more is a damaged entry.
constexpr double kOverhang = 1.0;

std::string Mm(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f mm", mm);
    return text;
}

int Hundredths(double mm) {
    return Rnd(mm * 100.0);
}

} // namespace

TStockFit FitStock(const TStock& stock) {
    TStockFit fit;
    const std::string name = stock.Name();
    if (!stock.IsSheet()) {
        fit.refusal = name + " is a continuous roll, not a sheet of labels.";
        return fit;
    }
    if (stock.labelKinds > 1) {
        fit.refusal = name + " has " + std::to_string(stock.labelKinds) +
                      " kinds of label on one sheet; the page grid holds one label size.";
        return fit;
    }
    if (stock.layouts.size() != 1) {
        fit.refusal = name + " places its labels in " + std::to_string(stock.layouts.size()) +
                      " blocks with different spacing; the page grid needs one evenly pitched block.";
        return fit;
    }
    const TStockLayout& l = stock.layouts.front();
    // One label across (or down) has no pitch of its own: its cell is the label.
    const double dx = l.nx > 1 ? l.dx : stock.labelWidth;
    const double dy = l.ny > 1 ? l.dy : stock.labelHeight;
    if (dx + kSameLength < stock.labelWidth || dy + kSameLength < stock.labelHeight) {
        fit.refusal = name + " places its labels " + Mm(dx) + " by " + Mm(dy) +
                      " apart, closer than their size (" + stock.LabelSizeText() +
                      "); the labels would overlap.";
        return fit;
    }
    const double overhang = std::max(l.x0 + (l.nx - 1) * dx + stock.labelWidth - stock.pageWidth,
                                     l.y0 + (l.ny - 1) * dy + stock.labelHeight - stock.pageHeight);
    if (overhang > kOverhang) {
        fit.refusal = name + "'s labels reach " + Mm(overhang) + " past the edge of its sheet (" +
                      stock.PaperText() + "); its entry in the stock database looks damaged.";
        return fit;
    }
    if (l.ny > TLabelProject::kMaxLinage || l.nx > TLabelProject::kMaxColumn) {
        fit.refusal = name + " has " + std::to_string(l.nx) + " x " + std::to_string(l.ny) +
                      " labels; the page grid holds at most " + std::to_string(TLabelProject::kMaxColumn) +
                      " columns and " + std::to_string(TLabelProject::kMaxLinage) + " rows.";
        return fit;
    }
    // Each cell is one pitch wide and high, centred on its label: the gap between labels is shared
    // half and half by the cells on either side of it. A sheet whose first label sits nearer its edge
    // than half a gap gets a margin below zero: the outer cells then reach past the paper, which
    // prints nothing there, and every label still has its cell centred on it.
    const double left = l.x0 - (dx - stock.labelWidth) / 2;
    const double top = l.y0 - (dy - stock.labelHeight) / 2;
    const double right = stock.pageWidth - left - l.nx * dx;
    const double bottom = stock.pageHeight - top - l.ny * dy;

    TStockGrid grid;
    grid.rows = l.ny;
    grid.columns = l.nx;
    grid.orientation = stock.pageWidth > stock.pageHeight ? TPrinterOrientation::poLandscape
                                                          : TPrinterOrientation::poPortrait;
    grid.paper = {std::min(stock.pageWidth, stock.pageHeight), std::max(stock.pageWidth, stock.pageHeight)};
    TStockChoice& c = grid.choice;
    c.brand = stock.brand;
    c.part = stock.part;
    c.marginLeft = Hundredths(left);
    c.marginTop = Hundredths(top);
    c.marginRight = Hundredths(right);
    c.marginBottom = Hundredths(bottom);
    c.pageWidth = Hundredths(stock.pageWidth);
    c.pageHeight = Hundredths(stock.pageHeight);
    c.labelWidth = Hundredths(stock.labelWidth);
    c.labelHeight = Hundredths(stock.labelHeight);
    c.labelRadius = Hundredths(stock.cornerRadius);
    fit.grid = grid;
    return fit;
}

void ApplyStockGrid(TLabelProject& project, const TStockGrid& grid) {
    const TStockChoice& c = grid.choice;
    project.SetLinage(grid.rows);
    project.SetColumn(grid.columns);
    // The setters hold a margin below zero at zero: the whole millimetres are for readers that do
    // not know the stock.
    project.SetMarginLeft(Rnd(c.marginLeft / 100.0));
    project.SetMarginTop(Rnd(c.marginTop / 100.0));
    project.SetMarginRight(Rnd(c.marginRight / 100.0));
    project.SetMarginBottom(Rnd(c.marginBottom / 100.0));
    project.SetOrientation(grid.orientation);
    project.SetStock(c);
}

std::optional<TPaperSize> StockPaper(const TLabelProject& project) {
    const auto& s = project.Stock();
    if (!s || s->pageWidth <= 0 || s->pageHeight <= 0) return std::nullopt;
    return TPaperSize{std::min(s->pageWidth, s->pageHeight) / 100.0,
                      std::max(s->pageWidth, s->pageHeight) / 100.0};
}

} // namespace qbm
