#include "barcode2d/Pdf417Geometry.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"
#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TCanvas.h"

#include "ShapesOnlyCanvas.h"
#include "TestSupport.h"

#include <string>
#include <vector>

namespace qbm {
namespace {

class TPdf417Probe : public TStPDF417Barcode {
public:
    using TStCustom2DBarcode::BarCodeRect;
};

std::vector<uint16_t> Codewords(const TStPDF417Barcode& bc) {
    std::vector<uint16_t> v;
    for (const int c : bc.SymbolCodewords()) v.push_back(static_cast<uint16_t>(c));
    return v;
}

// The drawing of a component's screen picture, as the component lays it out.
TPdf417Drawing ScreenDrawing(const TPdf417Probe& bc) {
    const TPdf417Dimensions d = bc.CalcDimensions();
    const TRect& r = bc.BarCodeRect();
    return {d.columns,      d.rows,        bc.EffectiveECCLevel(),
            bc.Truncated(), bc.BarWidth(), (r.bottom - r.top) / d.rows,
            bc.QuietZone()};
}

// Dark modules of the first row.
int FirstRowModules(const TSymbolGeometry& g) {
    int modules = 0;
    for (int c = 0; c < g.stacked.columns; ++c) modules += g.stacked.Dark(0, c);
    return modules;
}

TEST(Pdf417Geometry, RowsHoldTheirBarsWithinTheQuietZone) {
    struct Case {
        int columns, rows, moduleWidth, rowHeight, quiet;
        bool truncated;
    };
    constexpr Case kCases[] = {
        /* 0 */ {1, 3, 1, 3, 0, false},
        /* 1 */ {4, 6, 2, 8, 8, false},
        /* 2 */ {4, 6, 2, 8, 8, true},
        /* 3 */ {30, 90, 3, 9, 5, false}, // the quiet zone is no whole number of modules
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        const std::vector<uint16_t> codewords(static_cast<size_t>(c.columns) * c.rows, 900);
        const TSymbolGeometry g = Pdf417Geometry(
            codewords, {c.columns, c.rows, 2, c.truncated, c.moduleWidth, c.rowHeight, c.quiet});
        const double quiet = static_cast<double>(c.quiet) / c.moduleWidth;
        EXPECT_DOUBLE_EQ(g.quietX, quiet) << i;
        EXPECT_DOUBLE_EQ(g.width, 17 * c.columns + (c.truncated ? 35 : 69) + 2 * quiet) << i;
        EXPECT_NEAR(g.height, c.rows * static_cast<double>(c.rowHeight) / c.moduleWidth + 2 * quiet, 1e-9)
            << i;
        EXPECT_TRUE(g.rects.empty()) << i;
        EXPECT_EQ(g.stacked.rows, c.rows) << i;
        EXPECT_DOUBLE_EQ(g.stackedRowHeight, static_cast<double>(c.rowHeight) / c.moduleWidth) << i;
        // Start pattern 4 bars, every codeword and row indicator 4, stop pattern 5 or the single bar.
        const std::vector<TModuleRect> bars = StackedBars(g);
        EXPECT_EQ(bars.size(), c.rows * (4 + 4 * (c.columns + (c.truncated ? 1 : 2)) + (c.truncated ? 1 : 5)))
            << i;
        for (const TModuleRect& r : bars) {
            ASSERT_GE(r.x, g.quietX) << i;
            ASSERT_LE(r.x + r.width, g.width - g.quietX + 1e-9) << i;
            ASSERT_GE(r.y, g.quietY) << i;
            ASSERT_LE(r.y + r.height, g.height - g.quietY + 1e-9) << i;
        }
        // The stop pattern's last bar ends the row.
        EXPECT_DOUBLE_EQ(bars.back().x + bars.back().width, g.width - quiet) << i;
    }
}

TEST(Pdf417Geometry, ChecksEveryCodewordEvenInRowsOfNoHeight) {
    std::vector<uint16_t> codewords(3 * 3, 900);
    EXPECT_TRUE(Pdf417Geometry(codewords, {3, 3, 0, false, 1, 0, 0}).stacked.bits.empty());
    codewords[8] = 929;
    EXPECT_THROW_MSG(Pdf417Geometry(codewords, {3, 3, 0, false, 1, 0, 0}), E2DBarcodeError,
                     "Invalid Codeword");
    EXPECT_THROW_MSG(Pdf417Geometry(codewords, {3, 3, 0, false, 2, 6, 4}), E2DBarcodeError,
                     "Invalid Codeword");
}

TEST(Pdf417Geometry, IsWhatTheComponentDraws) {
    EnsureGuiApplication();
    struct Case {
        const char* text;
        int barWidth, ratio, quiet;
        bool truncated;
        const char* caption;
    };
    constexpr Case kCases[] = {
        /* 0 */ {"Quirbel 4711", 2, 4, 8, false, ""},
        /* 1 */ {"Quirbel 4711", 3, 3, 5, true, "Lot 12"},
        /* 2 */ {"0123456789012345678901234567890123456789", 1, 2, 0, false, ""},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        TPdf417Probe bc;
        bc.SetCode(c.text);
        bc.SetBarWidth(c.barWidth);
        bc.SetBarHeightToWidth(c.ratio);
        bc.SetTruncated(c.truncated);
        bc.SetQuietZone(c.quiet);
        bc.SetCaption(c.caption);
        SizeToSymbol(bc);
        const TSymbolGeometry g = Pdf417Geometry(Codewords(bc), ScreenDrawing(bc));
        const TRect& r = bc.BarCodeRect();
        EXPECT_EQ(bc.BarCodeWidth(), static_cast<int>(g.width - 2 * g.quietX) * c.barWidth) << i;

        // The geometry painted onto the component's picture without its symbol gives the picture.
        TBitmap expected = bc.Bitmap();
        expected.Canvas().SetBrush({clWhite, TBrushStyle::bsSolid});
        expected.Canvas().FillRect({r.left, r.top, r.right, r.bottom});
        TSymbolPlacement at;
        at.origin = {r.left - c.quiet, r.top - c.quiet};
        at.dotsPerModule = c.barWidth;
        at.fillPaper = false;
        PaintSymbolPixels(expected.Canvas(), g, at);
        std::string difference = test::FirstDifference(bc.Bitmap(), expected);
        EXPECT_TRUE(difference.empty()) << i << ": differs at " << difference;
        // The same through the shape operations, as on pages.
        TBitmap shapes = bc.Bitmap();
        shapes.Canvas().SetBrush({clWhite, TBrushStyle::bsSolid});
        shapes.Canvas().FillRect({r.left, r.top, r.right, r.bottom});
        test::TShapesOnlyCanvas page(shapes);
        PaintSymbolShapes(page, g, at);
        difference = test::FirstDifference(bc.Bitmap(), shapes);
        EXPECT_TRUE(difference.empty()) << i << ": shapes differ at " << difference;

        // Every module of the first row is barWidth dark pixels of its top pixel row.
        int dark = 0;
        for (int x = r.left; x < r.right; ++x) dark += bc.Bitmap().Pixel(x, r.top) == clBlack;
        EXPECT_EQ(dark, FirstRowModules(g) * c.barWidth) << i;
    }
}

TEST(Pdf417Geometry, PrinterPictureIsComputedForThePrinterAlone) {
    EnsureGuiApplication();
    TPdf417Probe bc;
    bc.SetCode("Quirbel 4711");
    bc.SetBarWidth(2);
    SizeToSymbol(bc);
    const TBitmap screen = bc.Bitmap();
    TBitmap printer;
    printer.SetResolution(300);
    const TPictureSize size = bc.RenderToBitmap(printer, 300, 300);
    // Modules of trunc(2 * 300 / 96) = 6 dots, rows of four modules.
    const int columns = bc.CalcDimensions().columns;
    int first = printer.Width(), last = -1, top = printer.Height(), bottom = -1;
    for (int y = 0; y < printer.Height(); ++y)
        for (int x = 0; x < printer.Width(); ++x)
            if (printer.Pixel(x, y) == clBlack) {
                first = std::min(first, x);
                last = std::max(last, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(last + 1 - first, 6 * Pdf417ModuleColumns(columns, false));
    EXPECT_EQ(bottom + 1 - top, 24 * bc.CalcDimensions().rows);
    EXPECT_EQ(size.width, static_cast<int>(bc.Width() * 300.0 / 96));
    // The screen's component is as it was: sizes and picture.
    EXPECT_EQ(bc.BarWidth(), 2);
    EXPECT_EQ(bc.BarCodeWidth(), 2 * Pdf417ModuleColumns(columns, false));
    EXPECT_TRUE(test::FirstDifference(screen, bc.Bitmap()).empty());
}

} // namespace
} // namespace qbm
