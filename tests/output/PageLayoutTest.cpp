#include "output/TPageLayout.h"
#include "output/TPreview.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TRasterPrinter.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"

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

TEST(Preview, WorkedFiguresPortraitAndLandscape) {
    const TLayoutSettings layout;
    const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, layout, {}, 600, 300, false);
    EXPECT_EQ(p.scale, 12);
    EXPECT_EQ(p.pictureWidth, 207);
    EXPECT_EQ(p.pictureHeight, 292);
    EXPECT_EQ(p.pictureTop, 19);
    EXPECT_EQ(p.pictureLeft, 80);
    EXPECT_EQ(p.marginLeft, 10);
    EXPECT_EQ(p.marginBottom, 10);
    EXPECT_EQ(p.cellWidth, 94);
    EXPECT_EQ(p.cellHeight, 136);
    EXPECT_EQ(p.labelWidth, 50);
    EXPECT_EQ(p.fit, TLayoutFocus::lfNone);

    const TPreviewLayout l = ComputePreviewLayout(kA4Landscape, layout, {}, 600, 300, false);
    EXPECT_EQ(l.scale, 11);
    EXPECT_EQ(l.pictureWidth, 319);
    EXPECT_EQ(l.pictureHeight, 225);
    EXPECT_EQ(l.pictureTop, 52);
    EXPECT_EQ(l.pictureLeft, 24);
}

TEST(Preview, TwoDimensionalLabelsScaleFromScreenResolution) {
    // A 96 dpi picture of 100 px is 312.5 printer pixels at 300 dpi: 26 preview pixels at scale 12.
    const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, TLayoutSettings{}, {}, 100, 100, true);
    EXPECT_EQ(p.labelWidth, 26);
    EXPECT_EQ(p.labelHeight, 26);
}

TEST(Preview, FitChecksWarnAndNameTheFieldToFix) {
    TLayoutSettings layout;
    // Exactly as wide as the cell (94 x 12 printer pixels) fails the width check.
    EXPECT_EQ(ComputePreviewLayout(kA4Portrait, layout, {}, 94 * 12, 10, false).fit, TLayoutFocus::lfColumns);
    EXPECT_EQ(ComputePreviewLayout(kA4Portrait, layout, {}, 93 * 12, 136 * 12, false).fit,
              TLayoutFocus::lfRows);
    layout.marginLeft = 150;
    layout.marginRight = 150; // no room left at all
    EXPECT_EQ(ComputePreviewLayout(kA4Portrait, layout, {}, 12, 12, false).fit, TLayoutFocus::lfColumns);

    TScriptedPrompts prompts;
    TBitmap picture(5, 5), label(94 * 12, 10);
    const TPreviewResult r =
        RefreshPreview(picture, kA4Portrait, TLayoutSettings{}, {}, label, false, 5, prompts);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "To many barcode per line! ");
    EXPECT_EQ(r.pageCountText, "Total: 2Pages") << "the count is updated when a check fails";
    TBitmap tall(10, 3000);
    RefreshPreview(picture, kA4Portrait, TLayoutSettings{}, {}, tall, false, 0, prompts);
    EXPECT_EQ(prompts.Messages().back().text, "Out of output range!");
}

TEST(Preview, OneCellTheSizeOfThePageWithoutMargins) {
    TLayoutSettings layout{1, 1, 0, 0, 0, 0, false};
    const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, layout, {}, 12, 12, false);
    EXPECT_EQ(p.cellWidth, p.pictureWidth);
    EXPECT_EQ(p.cellHeight, p.pictureHeight);
}

// Counts silver pixels along a row or a column of the preview page.
int SilverRuns(const TBitmap& b, bool alongRow, int fixed, int from, int to) {
    int runs = 0;
    bool in = false;
    for (int k = from; k < to; ++k) {
        const bool s = (alongRow ? b.Pixel(k, fixed) : b.Pixel(fixed, k)) == clSilver;
        if (s && !in) ++runs;
        in = s;
    }
    return runs;
}

TEST(Preview, DrawsMarginSplitMarksAndTheLabelInEveryCell) {
    TLayoutSettings layout;
    layout.rows = 2;
    layout.columns = 3;
    TBitmap label(240, 240);
    label.Canvas().Brush().color = clBlack;
    label.Canvas().FillRect({0, 0, 240, 240});
    const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, layout, {}, 240, 240, false);
    TBitmap picture;
    ASSERT_TRUE(DrawPreviewPage(picture, p, layout, label));
    EXPECT_EQ(picture.Width(), 207);
    // One mark per column just inside the top margin line: the column marks at x = c * cw + mL.
    const int y = p.marginTop + 2;
    EXPECT_EQ(SilverRuns(picture, true, y, 0, picture.Width()), 3 + 1) << "3 marks, the right margin line";
    const int x = p.marginLeft + 2;
    EXPECT_EQ(SilverRuns(picture, false, x, 0, picture.Height()), 2 + 1) << "2 marks, the bottom margin line";
    // Six black labels of 20 x 20 preview pixels.
    int black = 0;
    for (int yy = 0; yy < picture.Height(); ++yy)
        for (int xx = 0; xx < picture.Width(); ++xx) black += picture.Pixel(xx, yy) == clBlack;
    EXPECT_EQ(black, 6 * 20 * 20);
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

namespace qbm {
TEST(PagePreview, StockOutlinesShowFaintlyInThePreviewWithSplitMarksOnly) {
    // One 100 x 50 mm label centred in a single cell of an A4 page; the label picture is tiny.
    TLayoutSettings layout;
    layout.rows = 1;
    layout.columns = 1;
    layout.exactMargins = true;
    layout.exactLeft = layout.exactRight = 5500;
    layout.exactTop = layout.exactBottom = 12350;
    layout.stockPageWidth = 21000;
    layout.stockPageHeight = 29700;
    layout.stockLabelWidth = 10000;
    layout.stockLabelHeight = 5000;
    layout.stockLabelRadius = 500;
    const TBitmap label(10, 10);
    const auto outlinePixels = [&](bool splitMarks) {
        layout.splitMarks = splitMarks;
        const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, layout, TPanelSize{}, 10, 10, false);
        TBitmap picture;
        EXPECT_TRUE(DrawPreviewPage(picture, p, layout, label));
        int n = 0, outsideLabel = 0;
        const double left = p.marginLeft, top = p.marginTop;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const TColor c = picture.Pixel(x, y);
                if (c == clWhite || c == clSilver || c == clBlack) continue;
                ++n;
                if (x < left - 1 || x > left + p.stockWidth + 1 || y < top - 1 || y > top + p.stockHeight + 1)
                    ++outsideLabel;
            }
        EXPECT_EQ(outsideLabel, 0);
        return n;
    };
    EXPECT_GT(outlinePixels(true), 200); // about 2 x (98 + 49) pixels round a 100 x 50 mm label at scale 12
    EXPECT_EQ(outlinePixels(false), 0);
}
} // namespace qbm
