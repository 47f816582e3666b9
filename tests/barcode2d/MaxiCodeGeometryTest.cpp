#include "barcode2d/MaxiCodeGeometry.h"
#include "barcode2d/MaxiCodeModuleMap.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TCanvas.h"

#include "ShapesOnlyCanvas.h"
#include "TestSupport.h"

#include <bit>
#include <string>

namespace qbm {
namespace {

class TMaxiCodeProbe : public TStMaxiCodeBarcode {
public:
    using TStCustom2DBarcode::BarCodeRect;
};

// Dark modules of a symbol counted from its codewords' bits and the fixed orientation modules.
int DarkModuleCount(const TMaxiCodeEncoder::TBuffer& codewords) {
    int dark = 0;
    for (int i = 0; i < 144; ++i) dark += std::popcount(static_cast<unsigned>(codewords[i] & 0x3F));
    for (int row = 0; row < kMaxiCodeRows; ++row)
        for (int column = 0; column < kMaxiCodeColumns; ++column) dark += MaxiCodeModuleAt(row, column) == -1;
    return dark;
}

// The component's picture with its symbol rectangle blank again.
TBitmap WithoutSymbol(const TMaxiCodeProbe& bc) {
    TBitmap picture = bc.Bitmap();
    const TRect& r = bc.BarCodeRect();
    picture.Canvas().SetBrush({bc.BackgroundColor(), TBrushStyle::bsSolid});
    picture.Canvas().FillRect({r.left, r.top, r.right, r.bottom});
    return picture;
}

TEST(MaxiCodeGeometry, HasAHexagonForEveryDarkModuleAndThreeRings) {
    EnsureGuiApplication();
    struct Case {
        TStMaxiCodeMode mode;
        const char* text;
        int barSize; // 0: AutoScale
        bool ellipses;
    };
    constexpr Case kCases[] = {
        /* 0 */ {cmMode4, "Quirbel 4711", 0, true}, // modules of 3.3 dots on the screen
        /* 1 */ {cmMode5, "K\xe4se 12", 11, false},
        /* 2 */ {cmMode6, "", 5, false},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        TMaxiCodeProbe bc;
        bc.SetMode(c.mode);
        bc.SetCode(c.text);
        if (c.barSize != 0) {
            bc.SetBarWidth(c.barSize);
            bc.SetBarHeight(c.barSize);
            bc.SetAutoScale(false);
        }
        const TMaxiCodeModuleSize size{bc.ModuleWidth(), bc.ModuleHeight()};
        const TSymbolGeometry g = MaxiCodeGeometry(bc.Codewords(), size, {8, 8}, 8);
        EXPECT_EQ(static_cast<int>(g.dotHexagons.size()), DarkModuleCount(bc.Codewords())) << i;
        EXPECT_EQ(g.dotHexagons.front().ellipse, c.ellipses) << i;
        EXPECT_TRUE(g.rects.empty() && g.hexagons.empty() && g.rings.empty()) << i;
        ASSERT_EQ(g.dotRings.radii.size(), 3u) << i;
        // Outer ring four modules from the centre, the centre near the symbol's middle.
        EXPECT_NEAR(g.dotRings.radii[0].x, 4 * size.width, 2) << i;
        EXPECT_NEAR(g.dotRings.x, g.width / 2, size.width) << i;
        EXPECT_NEAR(g.dotRings.y, g.height / 2, size.height) << i;
        EXPECT_EQ(g.width, bc.BarCodeWidth() + 16) << i;
        EXPECT_EQ(g.height, bc.BarCodeHeight() + 16) << i;
        // The last row reaches a little past the symbol's nominal height, into the quiet zone below.
        for (const TDotHexagon& h : g.dotHexagons) {
            ASSERT_GE(h.left, 8) << i;
            ASSERT_GE(h.top, 8) << i;
            ASSERT_LE(h.left + h.width, g.width - 8 + 1) << i;
            ASSERT_LE(h.top + h.height, g.height - 8 + 1.5 * size.height) << i;
        }
    }
}

TEST(MaxiCodeGeometry, ModulesAreRoundedWhereTheyLand) {
    // Modules of 11 dots keep a gap of 2.5 dots, which rounds to even: one dot further on, the
    // modules move by one or two dots.
    const TMaxiCodeEncoder::TBuffer codewords{};
    const TMaxiCodeModuleSize size{11, 11};
    const TSymbolGeometry even = MaxiCodeGeometry(codewords, size, {10, 10}, 0);
    const TSymbolGeometry odd = MaxiCodeGeometry(codewords, size, {11, 10}, 0);
    ASSERT_EQ(even.dotHexagons.size(), odd.dotHexagons.size());
    bool moved = false;
    for (size_t i = 0; i < even.dotHexagons.size(); ++i) {
        EXPECT_EQ(even.dotHexagons[i].top, odd.dotHexagons[i].top);
        moved = moved || even.dotHexagons[i].left != odd.dotHexagons[i].left;
    }
    EXPECT_TRUE(moved);
}

TEST(MaxiCodeGeometry, IsWhatTheComponentDrawsOnEveryPath) {
    EnsureGuiApplication();
    for (const int barSize : {0, 3, 5, 11}) {
        TMaxiCodeProbe bc;
        bc.SetCode("Quirbel 4711");
        if (barSize != 0) {
            bc.SetBarWidth(barSize);
            bc.SetBarHeight(barSize);
            bc.SetAutoScale(false);
        }
        bc.SetQuietZone(7);
        SizeToSymbol(bc);
        const TRect& r = bc.BarCodeRect();
        const TSymbolGeometry g = MaxiCodeGeometry(bc.Codewords(), {bc.ModuleWidth(), bc.ModuleHeight()},
                                                   {r.left, r.top}, bc.QuietZone());
        TSymbolPlacement at;
        at.origin = {r.left - 7, r.top - 7};
        at.fillPaper = false;
        // Stamped into the pixel rows.
        TBitmap stamped = WithoutSymbol(bc);
        PaintSymbolPixels(stamped.Canvas(), g, at);
        std::string difference = test::FirstDifference(bc.Bitmap(), stamped);
        EXPECT_TRUE(difference.empty()) << barSize << ": stamped picture differs at " << difference;
        // Outlined and flood-filled through the canvas.
        TBitmap outlined = WithoutSymbol(bc);
        at.onPicture = true;
        test::TShapesOnlyCanvas canvas(outlined);
        PaintSymbolShapes(canvas, g, at);
        difference = test::FirstDifference(bc.Bitmap(), outlined);
        EXPECT_TRUE(difference.empty()) << barSize << ": outlined picture differs at " << difference;
    }
}

TEST(MaxiCodeGeometry, PrinterPictureLeavesTheScreenSizesAlone) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetCode("Quirbel 4711");
    bc.SetBarWidth(4);
    bc.SetBarHeight(4);
    bc.SetAutoScale(false);
    SizeToSymbol(bc);
    const TBitmap screen = bc.Bitmap();
    TBitmap printer;
    printer.SetResolution(300);
    bc.RenderToBitmap(printer, 300, 300);
    EXPECT_EQ(bc.BarWidth(), 4);
    EXPECT_EQ(bc.ModuleWidth(), 4);
    EXPECT_EQ(bc.BarCodeWidth(), MaxiCodeSymbolWidth({4, 4}));
    EXPECT_TRUE(test::FirstDifference(screen, bc.Bitmap()).empty());
    // The printer's picture is the geometry for modules of trunc(4 * 300 / 96) = 12 dots, centred in a
    // picture of the component's size at 300 dpi with the quiet zone scaled alike.
    const TMaxiCodeModuleSize printed = MaxiCodeModuleSize({false, 12, 12, 0, 0}, 300, 300);
    ASSERT_EQ(printer.Width(), static_cast<int>(bc.Width() * 300.0 / 96));
    ASSERT_EQ(printer.Height(), static_cast<int>(bc.Height() * 300.0 / 96));
    const int w = MaxiCodeSymbolWidth(printed), h = MaxiCodeSymbolHeight(printed), quiet = bc.QuietZone();
    const TPoint corner{w < printer.Width() - 2 * quiet ? (printer.Width() - w) / 2 : quiet,
                        quiet + (printer.Height() - 2 * quiet - h) / 2};
    TBitmap expected(printer.Width(), printer.Height());
    TSymbolPlacement at;
    at.origin = {corner.x - quiet, corner.y - quiet};
    at.fillPaper = false;
    PaintSymbolPixels(expected.Canvas(), MaxiCodeGeometry(bc.Codewords(), printed, corner, quiet), at);
    const std::string difference = test::FirstDifference(printer, expected);
    EXPECT_TRUE(difference.empty()) << "differs at " << difference;
}

} // namespace
} // namespace qbm
