#include "output/TPageLayout.h"

#include "surface/TPrinter.h"
#include "util/Rounding.h"

#include <algorithm>

namespace qbm {
namespace {
constexpr int kA4Width300 = 2479;
constexpr int kA4Height300 = 3508;
} // namespace

TPage PageOf(const TPrinter* printer, TPrinterOrientation orientation) {
    if (printer && printer->PrinterCount() > 0)
        return {printer->PageWidth(), printer->PageHeight(), printer->ResolutionX(), printer->ResolutionY()};
    if (orientation == TPrinterOrientation::poPortrait) return {kA4Width300, kA4Height300, 300, 300};
    return {kA4Height300, kA4Width300, 300, 300};
}

TCellGrid PrinterCellGrid(const TPage& page, const TLayoutSettings& layout) {
    TCellGrid g;
    g.marginLeft = MmToDots(layout.LeftMm(), page.resX);
    g.marginRight = MmToDots(layout.RightMm(), page.resX);
    g.marginTop = MmToDots(layout.TopMm(), page.resY);
    g.marginBottom = MmToDots(layout.BottomMm(), page.resY);
    g.cellWidth =
        Rnd(static_cast<double>(page.width - g.marginLeft - g.marginRight) / std::max(1, layout.columns));
    g.cellHeight =
        Rnd(static_cast<double>(page.height - g.marginTop - g.marginBottom) / std::max(1, layout.rows));
    g.originX = g.marginLeft;
    g.originY = g.marginTop;
    g.pitchX = g.cellWidth;
    g.pitchY = g.cellHeight;
    if (layout.exactMargins && layout.stockPageWidth > 0 && layout.stockPageHeight > 0) {
        // The pitch of the stock's own sheet: the page in printer dots is rounded, and a printer may
        // hold other paper than the stock; the labels still sit where the stock puts them.
        const double widthMm = layout.stockPageWidth / 100.0, heightMm = layout.stockPageHeight / 100.0;
        g.pitchX =
            (widthMm - layout.LeftMm() - layout.RightMm()) / std::max(1, layout.columns) / 25.4 * page.resX;
        g.pitchY =
            (heightMm - layout.TopMm() - layout.BottomMm()) / std::max(1, layout.rows) / 25.4 * page.resY;
        g.originX = layout.LeftMm() / 25.4 * page.resX;
        g.originY = layout.TopMm() / 25.4 * page.resY;
        g.cellWidth = Rnd(g.pitchX);
        g.cellHeight = Rnd(g.pitchY);
    }
    return g;
}

int PageCount(long long labels, int rows, int columns) {
    const long long perPage = static_cast<long long>(std::max(1, rows)) * std::max(1, columns);
    if (labels <= 0) return 0;
    return static_cast<int>(labels / perPage + (labels % perPage != 0 ? 1 : 0));
}

std::string PageCountText(int pages) {
    return "Total: " + std::to_string(pages) + "Pages";
}

} // namespace qbm
