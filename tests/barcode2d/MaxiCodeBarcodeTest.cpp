#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TCanvas.h"
#include "util/Rounding.h"

#include "TestSupport.h"

namespace qbm {
namespace {

// Exposes where the symbol was laid out, to find modules in the picture.
class TMaxiCodeProbe : public TStMaxiCodeBarcode {
public:
    using TStMaxiCodeBarcode::BarCodeRect;
};

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

// Dark pixels' bounding box inside the window (left, top, right, bottom) of the picture.
TRect DarkBox(const TBitmap& bmp, TRect window) {
    TRect box{1 << 30, 1 << 30, -1, -1};
    for (int y = window.top; y < window.bottom; ++y)
        for (int x = window.left; x < window.right; ++x)
            if (bmp.Pixel(x, y) == clBlack) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

TEST(MaxiCodeComponent, Defaults) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    EXPECT_EQ(bc.Width(), 121);
    EXPECT_EQ(bc.Height(), 129);
    EXPECT_EQ(bc.BarWidth(), 0);
    EXPECT_EQ(bc.BarHeight(), 0);
    EXPECT_EQ(bc.Mode(), cmMode4);
    EXPECT_EQ(bc.CarrierPostalCode(), "000000000");
    EXPECT_TRUE(bc.AutoScale());
    EXPECT_EQ(bc.HorPixelsPerMM(), 4.0);
    EXPECT_EQ(bc.VerPixelsPerMM(), 4.0);
    EXPECT_EQ(bc.Codewords()[0], 4);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(bc.Codewords()[i], 33) << i;
    for (int i = 20; i <= 103; ++i) EXPECT_EQ(bc.Codewords()[i], 33) << i;
    EXPECT_EQ(bc.Codewords()[10], 9);
    EXPECT_EQ(bc.Codewords()[19], 4);
    EXPECT_EQ(bc.Codewords()[142], 40);
    EXPECT_EQ(bc.Codewords()[143], 40);
    EXPECT_EQ(bc.Bitmap().Width(), 121);
}

TEST(MaxiCodeComponent, ModuleSizes) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    EXPECT_NEAR(bc.ModuleWidth(), 3.3234, 5e-5);
    EXPECT_NEAR(bc.ModuleHeight(), 3.1761, 5e-5);
    EXPECT_EQ(bc.BarCodeWidth(), 101);
    EXPECT_EQ(bc.BarCodeHeight(), 87);

    bc.CalcModuleSize(600, 600);
    EXPECT_NEAR(bc.ModuleWidth(), 20.7711, 5e-5);
    EXPECT_NEAR(bc.ModuleHeight(), 19.8507, 5e-5);
    EXPECT_EQ(bc.BarCodeWidth(), 634);
    EXPECT_EQ(bc.BarCodeHeight(), 546);
    bc.CalcModuleSize(96, 96);

    bc.SetAutoScale(false);
    EXPECT_DOUBLE_EQ(bc.ModuleWidth(), 108.0 / 29);
    EXPECT_DOUBLE_EQ(bc.ModuleHeight(), 100.0 / 29);
    EXPECT_EQ(bc.BarCodeWidth(), 114);
    EXPECT_EQ(bc.BarCodeHeight(), 95);
    bc.SetBarWidth(10);
    bc.SetBarHeight(7);
    EXPECT_EQ(bc.ModuleWidth(), 10);
    EXPECT_EQ(bc.ModuleHeight(), 7);
    bc.SetHorPixelsPerMM(8);
    EXPECT_EQ(bc.ModuleWidth(), 10); // an explicit width wins over pixels per mm
    bc.SetBarWidth(0);
    EXPECT_DOUBLE_EQ(bc.ModuleWidth(), 8.0 * 27 / 29);
    bc.SetAutoScale(true);
    EXPECT_NEAR(bc.ModuleWidth(), 3.3234, 5e-5);
}

TEST(MaxiCodeComponent, SizeSetterErrors) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetHorPixelsPerMM(0); // accepted while the size comes from the resolution
    EXPECT_THROW_MSG(bc.SetAutoScale(false), E2DBarcodeError, "Horizontal size needs to be specified");
    EXPECT_TRUE(bc.AutoScale());
    bc.SetVerPixelsPerMM(0);
    // both missing: the horizontal size is named first
    EXPECT_THROW_MSG(bc.SetAutoScale(false), E2DBarcodeError, "Horizontal size needs to be specified");
    bc.SetBarWidth(6);
    EXPECT_THROW_MSG(bc.SetAutoScale(false), E2DBarcodeError, "Vertical size needs to be specified");
    bc.SetBarHeight(6);
    bc.SetAutoScale(false);
    EXPECT_THROW_MSG(bc.SetBarWidth(0), E2DBarcodeError, "Horizontal size needs to be specified");
    EXPECT_THROW_MSG(bc.SetBarHeight(0), E2DBarcodeError, "Vertical size needs to be specified");
    EXPECT_EQ(bc.BarWidth(), 6);
    EXPECT_EQ(bc.BarHeight(), 6);
    bc.SetHorPixelsPerMM(5);
    bc.SetBarWidth(0);
    EXPECT_THROW_MSG(bc.SetHorPixelsPerMM(0), E2DBarcodeError, "Horizontal size needs to be specified");
    EXPECT_EQ(bc.HorPixelsPerMM(), 5);
    bc.SetVerPixelsPerMM(5);
    bc.SetBarHeight(0);
    EXPECT_THROW_MSG(bc.SetVerPixelsPerMM(0), E2DBarcodeError, "Vertical size needs to be specified");
    EXPECT_EQ(bc.VerPixelsPerMM(), 5);
}

TEST(MaxiCodeComponent, SettersRestoreTheOldValueOnError) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetCode("FIRST");
    const auto codewords = bc.Codewords();
    const TBitmap before = bc.Bitmap();
    EXPECT_THROW_MSG(bc.SetCode(std::string(85, 'A')), E2DBarcodeError, "Code too large for barcode");
    EXPECT_THROW_MSG(bc.SetCode("\\300"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(bc.SetCode("\\C99"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(bc.SetCode("\\e-00002"), E2DBarcodeError, "GLI value out of range");
    EXPECT_EQ(bc.Code(), "FIRST");
    EXPECT_EQ(bc.Codewords(), codewords);
    EXPECT_TRUE(SamePixels(bc.Bitmap(), before));

    bc.SetMode(cmMode5);
    EXPECT_THROW_MSG(bc.SetCode(std::string(69, 'A')), E2DBarcodeError, "Code too large for barcode");
    bc.SetCode(std::string(68, 'A'));
    // a full mode 5 message still fits the standard error correction of mode 6
    bc.SetMode(cmMode6);
    EXPECT_EQ(bc.Codewords()[0], 6);
    bc.SetMode(static_cast<TStMaxiCodeMode>(9));
    EXPECT_EQ(bc.Mode(), cmMode4);
    EXPECT_EQ(bc.Codewords()[0], 4);
    bc.SetMode(cmMode6);

    // carrier fields are only stored outside modes 2 and 3, and checked when the mode changes
    bc.SetCarrierPostalCode("");
    EXPECT_EQ(bc.CarrierPostalCode(), "");
    EXPECT_THROW_MSG(bc.SetMode(cmMode2), E2DBarcodeError,
                     "Invalid Postal Code \"\": mode 2 takes 1 to 9 digits.");
    EXPECT_EQ(bc.Mode(), cmMode6);
    bc.SetCarrierPostalCode("12345");
    bc.SetCode("X");
    bc.SetMode(cmMode3);
    EXPECT_EQ(bc.Codewords()[0] & 15, 2); // digits only: mode 2 whatever the property says
    EXPECT_THROW_MSG(bc.SetCarrierPostalCode("99999999999"), E2DBarcodeError,
                     "Invalid Postal Code \"99999999999\": mode 2 takes 1 to 9 digits.");
    EXPECT_EQ(bc.CarrierPostalCode(), "12345");
    // a country beyond 999 would be cut to its low 10 bits: refused, the old value kept
    EXPECT_THROW_MSG(bc.SetCarrierCountryCode(1024 + 5), E2DBarcodeError,
                     "Invalid Country Code: 1029 is not in 0 to 999.");
    EXPECT_EQ(bc.CarrierCountryCode(), 0);
}

TEST(MaxiCodeComponent, CarrierDataChangesInOneStep) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetCarrier({cmMode3, "W1A1AA", 826, 1});
    EXPECT_EQ(bc.Codewords()[0] & 15, 3);
    // one by one, mode 2 would first meet the letters of the old postal code
    EXPECT_THROW(bc.SetMode(cmMode2), E2DBarcodeError);
    bc.SetCarrier({cmMode2, "152382802", 840, 1});
    EXPECT_EQ(bc.Codewords()[0] & 15, 2);
    // a refused set leaves every field as it was
    EXPECT_THROW_MSG(bc.SetCarrier({cmMode2, "W1A 1AA", 826, 1}), E2DBarcodeError,
                     "Invalid Postal Code \"W1A 1AA\": mode 2 takes digits only; mode 3 takes letters (up "
                     "to 6 characters).");
    EXPECT_EQ(bc.Carrier(), (TMaxiCodeCarrier{cmMode2, "152382802", 840, 1}));
}

TEST(MaxiCodeComponent, RepaintsOnlyWhenSomethingChanged) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    int repaints = 0;
    bc.SetOnInvalidate([&repaints] { ++repaints; });
    bc.SetMode(cmMode4);
    bc.SetAutoScale(true);
    bc.SetHorPixelsPerMM(4.0);
    bc.SetCarrierCountryCode(7); // stored only in mode 4
    EXPECT_EQ(repaints, 0);
    bc.SetBarWidth(0); // the size setters recompute and repaint even for the same value
    bc.SetBarHeight(0);
    EXPECT_EQ(repaints, 2);
    bc.SetCode("A");
    EXPECT_EQ(repaints, 3);
}

TEST(MaxiCodeDrawing, HexagonsFinderAndOrientationModules) {
    EnsureGuiApplication();
    TMaxiCodeProbe bc;
    bc.SetBarWidth(10);
    bc.SetBarHeight(10);
    bc.SetAutoScale(false);
    bc.SetBounds(bc.BarCodeWidth() + 16, 320);
    const TBitmap& bmp = bc.Bitmap();
    const TRect r = bc.BarCodeRect();
    // Module (0, 29): cell at x = 290; e = 2.375, so the hexagon of 8 x 8 starts 2 pixels in.
    const int left = r.left + 290, top = r.top;
    // (0, 28) ends at the corner of this cell; one light pixel column separates the two
    EXPECT_EQ(DarkBox(bmp, {left + 1, top, left + 12, top + 11}),
              (TRect{left + 2, top + 2, left + 11, top + 11}));
    EXPECT_EQ(bmp.Pixel(left + 6, top + 2), clBlack); // top point
    EXPECT_EQ(bmp.Pixel(left + 2, top + 2), clWhite); // cut corner
    EXPECT_EQ(bmp.Pixel(left + 6, top + 6), clBlack); // filled
    EXPECT_EQ(bmp.Pixel(left + 2, top + 6), clBlack); // flat side

    // Every orientation module is dark, and the centre of the bull's eye light, whatever the data.
    const int orientation[][2] = {{9, 10},  {9, 11},  {10, 11}, {15, 7},  {16, 8}, {16, 20},
                                  {17, 20}, {22, 10}, {23, 10}, {22, 17}, {23, 17}};
    for (const std::string& code : {std::string(), std::string("ABC"), std::string(40, '\x7f')}) {
        bc.SetCode(code);
        for (const auto& m : orientation) {
            const int x = r.left + Rnd((m[0] % 2) * 5.0 + m[1] * 10.0) + 6;
            const int y = r.top + Rnd(m[0] * 10 * 0.8660254) + 6;
            EXPECT_EQ(bmp.Pixel(x, y), clBlack)
                << "module " << m[0] << "," << m[1] << " code '" << code << "'";
        }
        const int cx = r.left + 145, cy = r.top + Rnd(16.5 * 10 * 0.8660254);
        EXPECT_EQ(bmp.Pixel(cx, cy), clWhite);
        // rings: pen 8 pixels wide on half-axes 40, 25 and 10
        EXPECT_EQ(bmp.Pixel(cx + 40, cy), clBlack);
        EXPECT_EQ(bmp.Pixel(cx + 33, cy), clWhite);
        EXPECT_EQ(bmp.Pixel(cx + 25, cy), clBlack);
        EXPECT_EQ(bmp.Pixel(cx + 18, cy), clWhite);
        EXPECT_EQ(bmp.Pixel(cx + 10, cy), clBlack);
    }
}

TEST(MaxiCodeDrawing, ScreenModulesAreSmallDotsAndPrinterModulesHexagons) {
    EnsureGuiApplication();
    TMaxiCodeProbe bc;
    const TRect r = bc.BarCodeRect();
    // (0, 28) and (0, 29) are always dark; at 96 dpi they are 3 x 3 dots in cells of 3.3 pixels
    const int x28 = r.left + Rnd(28 * bc.ModuleWidth());
    const TRect dots = DarkBox(bc.Bitmap(), {x28, r.top, r.right + 2, r.top + 3});
    EXPECT_EQ(dots.Height(), 3);
    EXPECT_EQ(dots.left, x28);

    TBitmap printer;
    printer.SetResolution(600);
    const TPictureSize size = bc.RenderToBitmap(printer, 600, 600);
    EXPECT_EQ(size.width, static_cast<int>(121 * 6.25));
    EXPECT_EQ(size.height, static_cast<int>(129 * 6.25));
    EXPECT_EQ(printer.Width(), size.width);
    EXPECT_NEAR(bc.ModuleWidth(), 3.3234, 5e-5); // back at the screen's size afterwards
    EXPECT_EQ(bc.Bitmap().Width(), 121);
    // The symbol is 634 wide; centred in 756 with its top-right dark module at the right end.
    const int symbolLeft = (size.width - 634) / 2;
    const int symbolTop = 8 + (size.height - 16 - 546) / 2;
    const TRect right = DarkBox(printer, {symbolLeft + 600, symbolTop, size.width, symbolTop + 21});
    // hexagon of 17 x 16 from cell corner + e = 3.7214; the cell of (0, 29) begins at 29 W = 602.4
    EXPECT_EQ(right.right, symbolLeft + Rnd(Rnd(29 * 20.7711) + 3.7214) + 17 + 1);
    EXPECT_EQ(right.top, symbolTop + 4);
    EXPECT_EQ(right.Height(), 17);
}
TEST(MaxiCodeDrawing, ExplicitSizesScaleWithTheDevice) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetBarWidth(4);
    bc.SetBarHeight(4);
    bc.SetAutoScale(false);
    EXPECT_EQ(bc.BarCodeWidth(), 122);
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 24);
    TBitmap target;
    bc.RenderToBitmap(target, 192, 192);
    EXPECT_EQ(bc.BarWidth(), 4);
    EXPECT_EQ(bc.ModuleWidth(), 4);
    EXPECT_EQ(target.Width(), 2 * 138);
    // drawn with 8-pixel modules: 244 wide, centred; (0, 29) ends at its cell + e (2.125) + 6 + 1
    const TRect box = DarkBox(target, {0, 0, target.Width(), target.Height()});
    EXPECT_EQ(box.right, Rnd(16 + 232 + 2.125) + 6 + 1);
}

TEST(MaxiCodeDrawing, AbsurdSizesAreCutOffAtThePictureEdge) {
    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetBarWidth(2000000000);
    bc.SetBarHeight(-2000000000);
    bc.SetAutoScale(false);
    TBitmap target;
    EXPECT_EQ(bc.RenderToBitmap(target, 600, 600).width, static_cast<int>(121 * 6.25));
    EXPECT_EQ(bc.BarWidth(), 2000000000);
    bc.SetBarWidth(0);
    bc.SetBarHeight(0);
    bc.SetHorPixelsPerMM(1e300);
    bc.SetVerPixelsPerMM(-1e300);
    EXPECT_EQ(bc.Bitmap().Width(), 121);
}

} // namespace
} // namespace qbm
