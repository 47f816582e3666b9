#include "output/LabelFit.h"

#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TFont.h"
#include "util/Rounding.h"

#include "TestSupport.h"

namespace qbm {
namespace {

constexpr int kDpi = 600;
const TPage kPage{4961, 7016, kDpi, kDpi}; // A4

// Cells of w x h millimetres.
TCellGrid Cells(double w, double h) {
    TCellGrid g;
    g.pitchX = w / 25.4 * kDpi;
    g.pitchY = h / 25.4 * kDpi;
    g.cellWidth = Rnd(g.pitchX);
    g.cellHeight = Rnd(g.pitchY);
    return g;
}

TEST(LabelFit, SaysBothSizesAndWhatToChange) {
    struct Case {
        double w, h; // label, mm
        const char* message;
    };
    const Case cases[] = {
        {63.9, 38.0, ""}, // as large as the cell, or nearly, fits
        {52.3, 41.0,
         "The labels are 52.3 x 41.0 mm with their quiet zones; the cells are 64.0 x 38.1 mm. "
         "Lower the bar height by 3 mm or print fewer rows."},
        {70.0, 30.0,
         "The labels are 70.0 x 30.0 mm with their quiet zones; the cells are 64.0 x 38.1 mm. "
         "Choose a narrower module width or print fewer columns."},
        {70.0, 40.0,
         "The labels are 70.0 x 40.0 mm with their quiet zones; the cells are 64.0 x 38.1 mm. "
         "Lower the bar height by 2 mm or print fewer rows. Choose a narrower module width or print fewer "
         "columns."},
    };
    for (const Case& c : cases) {
        const TLabelFit fit =
            CheckLabelFit(Rnd(c.w / 25.4 * kDpi), Rnd(c.h / 25.4 * kDpi), kPage, Cells(64.0, 38.1), true);
        EXPECT_EQ(fit.message, c.message);
        EXPECT_EQ(fit.fits, std::string(c.message).empty());
    }
}

TEST(LabelFit, TheBoxHoldsTheQuietZonesBesideTheBarsAndTheDigits) {
    EnsureGuiApplication();
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("590123412345");
    bc.SetModul(10);
    bc.SetHeight(300);
    const TRect bars = LinearLabelBox(bc, kDpi).whole;
    EXPECT_EQ(bars.left, -110);      // 11 modules before the first bar
    EXPECT_EQ(bars.right, 950 + 70); // 95 modules of bars and 7 after them
    EXPECT_LE(bars.Height(), 301);   // no text shown: the bars (their edge pixel included)
    bc.SetShowText(bcoCode);
    TFont digits = bc.ShowTextFont();
    digits.SetPixelsPerInch(kDpi);
    bc.SetShowTextFont(digits);
    EXPECT_GT(LinearLabelBox(bc, kDpi).whole.bottom, 300); // the digits under the bars count
    EXPECT_EQ(bc.Left(), 0);
}

// Intelligent Mail keeps its clear zone beside the bars; DataBar's light guards are part of the symbol.
TEST(LabelFit, TheGeometryTypesBoxHoldsTheirEncodersQuietZone) {
    EnsureGuiApplication();
    TBarcode bc;
    bc.SetModul(4);
    bc.SetHeight(200);
    bc.SetTyp(bcCodeIMb);
    bc.SetText("01234567094987654321");
    TRect box = LinearLabelBox(bc, kDpi).whole;
    EXPECT_EQ(box.left, -5 * 4);
    EXPECT_EQ(box.right, (129 + 5) * 4);
    EXPECT_EQ(box.Height(), 201);
    bc.SetTyp(bcCodeDataBarLimited);
    bc.SetText("0950110153000");
    box = LinearLabelBox(bc, kDpi).whole;
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 79 * 4);
}

TEST(LabelFit, TheInkIsCentredAndMovedOnlyToKeepTheQuietZonesInTheCell) {
    // An EAN-like label: 100 dots of ink, 22 dots of quiet zone before it and 14 after.
    const TLabelBox box{{0, 0, 100, 40}, {-22, 0, 114, 40}};
    const auto x = [&](double pitch) {
        TCellGrid g;
        g.pitchX = pitch;
        g.pitchY = 60;
        return LabelOffsetInCell(box, g);
    };
    EXPECT_EQ(x(200), (TPoint{50, 10})); // room enough: the ink centred
    EXPECT_EQ(x(140).x, 22);             // centred at 20 the left quiet zone would leave the cell
    EXPECT_EQ(x(136).x, 22);             // exactly as wide as the cell
    EXPECT_EQ(x(130).x, 15);             // too wide (refused before printing): centred
}

TEST(LabelFit, FitLinearLabelFindsTheLargestModuleAndBarThatFit) {
    EnsureGuiApplication();
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("590123412345");
    bc.SetModul(15);                  // 0.64 mm at 600 dpi
    bc.SetHeight(MmToDots(30, kDpi)); // 30 mm
    const TCellGrid cells = Cells(66.04, 38.1);
    const auto fitted = FitLinearLabel(bc, kPage, cells);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(bc.Modul(), 15); // measured, not changed
    EXPECT_EQ(fitted->moduleDots, 13);
    const auto boxWith = [&](int modul, int heightMm) {
        bc.SetModul(modul);
        bc.SetHeight(MmToDots(heightMm, kDpi));
        return LinearLabelBox(bc, kDpi).whole;
    };
    EXPECT_LE(boxWith(fitted->moduleDots, fitted->heightMm).Width(), cells.pitchX);
    EXPECT_GT(boxWith(fitted->moduleDots + 1, fitted->heightMm).Width(), cells.pitchX);
    EXPECT_EQ(fitted->heightMm, 30); // no text: the bars fit as they are
    // A cell lower than the bars: the bar comes down to the most whole millimetres that fit.
    const TCellGrid lowCells = Cells(66.04, 20.0);
    const auto low = FitLinearLabel(bc, kPage, lowCells);
    ASSERT_TRUE(low);
    EXPECT_LE(boxWith(low->moduleDots, low->heightMm).Height(), lowCells.pitchY);
    EXPECT_GT(boxWith(low->moduleDots, low->heightMm + 1).Height(), lowCells.pitchY);
    EXPECT_GE(low->heightMm, 18);
    EXPECT_FALSE(FitLinearLabel(bc, kPage, Cells(4.0, 20.0))); // 113 modules of one dot are 4.8 mm
}

} // namespace
} // namespace qbm
