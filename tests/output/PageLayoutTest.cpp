#include "output/TPageLayout.h"
#include "surface/TRasterPrinter.h"
#include "util/Rounding.h"

#include "TestSupport.h"

namespace qbm {
namespace {

const TPage kA4Portrait{2479, 3508, 300, 300};
const TPage kA4Landscape{3508, 2479, 300, 300};

TEST(PageLayout, NoPrinterMeansA4At300Dpi) {
    const TPage p = PageOf(nullptr, TPrinterOrientation::poPortrait);
    EXPECT_EQ(p.width, 2479);
    EXPECT_EQ(p.height, 3508);
    EXPECT_EQ(p.resX, 300);
    const TPage l = PageOf(nullptr, TPrinterOrientation::poLandscape);
    EXPECT_EQ(l.width, 3508);
    EXPECT_EQ(l.height, 2479);
    TRasterPrinter printer(TPaperSize::Letter(), 600);
    const TPage lp = PageOf(&printer, TPrinterOrientation::poPortrait);
    EXPECT_EQ(lp.width, 5100);
    EXPECT_EQ(lp.resY, 600);
}

TEST(PageLayout, PageCountRoundsUp) {
    EXPECT_EQ(PageCount(5, 2, 2), 2);
    EXPECT_EQ(PageCount(4, 2, 2), 1);
    EXPECT_EQ(PageCount(0, 2, 2), 0);
    EXPECT_EQ(PageCount(1, 30, 50), 1);
    EXPECT_EQ(PageCount(999999999, 1, 1), 999999999);
    EXPECT_EQ(PageCountText(3), "Total: 3Pages");
}

TEST(PageLayout, PrinterCellsAtPrinterResolution) {
    const TCellGrid g = PrinterCellGrid(kA4Portrait, TLayoutSettings{});
    EXPECT_EQ(g.marginLeft, 118); // 10 mm at 300 dpi
    EXPECT_EQ(g.cellWidth, Rnd((2479 - 236) / 2.0));
    EXPECT_EQ(g.cellHeight, (3508 - 236) / 2);
}

} // namespace
} // namespace qbm

namespace qbm {
TEST(PageLayout, StockMarginsPlaceEveryCellToTheStocksPitch) {
    // Letter at 300 dpi: 2550 x 3300. Three columns of 66.675 mm from 4.7625 mm: whole millimetres
    // would gather a pixel of error per column; the exact pitch keeps each cell within half a pixel.
    TLayoutSettings layout;
    layout.rows = 10;
    layout.columns = 3;
    layout.exactMargins = true;
    layout.exactLeft = 476;
    layout.exactRight = 476;
    layout.exactTop = 1270;
    layout.exactBottom = 1270;
    layout.stockPageWidth = 21590;
    layout.stockPageHeight = 27940;
    const TCellGrid g = PrinterCellGrid({2550, 3300, 300, 300}, layout);
    EXPECT_EQ(g.marginLeft, 56);
    EXPECT_EQ(g.marginTop, 150);
    for (int c = 0; c <= 3; ++c)
        EXPECT_NEAR(g.CellLeft(c), (4.76 + c * (215.9 - 9.52) / 3) / 25.4 * 300, 0.5) << "column " << c;
    for (int r = 0; r <= 10; ++r)
        EXPECT_NEAR(g.CellTop(r), (12.7 + r * 25.4) / 25.4 * 300, 0.5) << "row " << r;

    // Without a stock the cells are as wide as the first, as ever.
    const TCellGrid plain = PrinterCellGrid({2550, 3300, 300, 300}, TLayoutSettings{});
    EXPECT_EQ(plain.CellLeft(1) - plain.CellLeft(0), plain.cellWidth);
    EXPECT_EQ(plain.CellTop(1) - plain.CellTop(0), plain.cellHeight);
}
} // namespace qbm
