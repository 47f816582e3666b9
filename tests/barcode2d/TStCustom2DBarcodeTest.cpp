// Layout, caption and device painting of the 2D base, seen through the PDF417 component.

#include "TestSupport.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"
#include "surface/TCanvas.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

class TProbe : public TStPDF417Barcode {
public:
    using TStCustom2DBarcode::BarCodeRect;
};

class Custom2D : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
    static int CaptionHeight(const TStCustom2DBarcode& bc) {
        TBitmap probe;
        probe.Canvas().SetFont(bc.Font());
        return probe.Canvas().TextHeight("Yg0");
    }
};

// Rows of the picture that hold a dark pixel.
std::pair<int, int> DarkRows(const TBitmap& bmp, int fromY, int toY) {
    int first = -1, last = -1;
    for (int y = fromY; y < toY; ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Pixel(x, y) != clWhite) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

TEST_F(Custom2D, CaptionReservesItsLineAboveOrBelowOnly) {
    TProbe bc;
    const int h = CaptionHeight(bc);
    const int height = 56 + h + 4; // symbol 206 x 40, quiet zone 8, one caption line
    const int d = (h + 4) / 2;
    bc.SetBounds(222, height);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8 + d, 214, height - 8 - d})); // no caption: centred
    bc.SetCaption("Label");
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8, 214, 48}));
    const auto [captionTop, captionBottom] = DarkRows(bc.Bitmap(), 50, bc.Height());
    EXPECT_GT(captionTop, 48);
    EXPECT_LE(captionBottom, bc.Height() - 2);
    bc.SetCaptionLayout(tlTop);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8 + h + 4, 214, 48 + h + 4}));
    EXPECT_GE(DarkRows(bc.Bitmap(), 0, 8 + h + 4).first, 0);
    bc.SetCaptionLayout(tlCenter);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8 + d, 214, height - 8 - d})); // written across the symbol
    bc.SetCaption("");
    bc.SetCaptionLayout(tlTop);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8 + d, 214, height - 8 - d}));
}

TEST_F(Custom2D, AlignmentPlacesANarrowSymbol) {
    TProbe bc;
    bc.SetBounds(400, 56);
    EXPECT_EQ(bc.BarCodeRect().left, 97); // centred: equal margins wider than the quiet zone
    bc.SetAlignment(taLeftJustify);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8, 214, 48}));
    bc.SetAlignment(taRightJustify);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{186, 8, 392, 48}));
    // A symbol wider than the inner width starts at the left quiet zone and is cut at the edge.
    bc.SetBounds(100, 56);
    EXPECT_EQ(bc.BarCodeRect(), (TRect{8, 8, 92, 48}));
    EXPECT_EQ(bc.Bitmap().Pixel(99, 8), clBlack);
}

TEST_F(Custom2D, WideCaptionStartsAtTheLeftEdge) {
    TProbe bc;
    bc.SetBounds(60, 100);
    bc.SetAlignment(taRightJustify);
    bc.SetCaption("WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    const int h = CaptionHeight(bc);
    bool darkNearLeft = false;
    for (int y = 100 - 2 - h; y < 98; ++y)
        for (int x = 0; x < 4; ++x) darkNearLeft |= bc.Bitmap().Pixel(x, y) != clWhite;
    EXPECT_TRUE(darkNearLeft);
}

TEST_F(Custom2D, ColoursFillBackgroundAndModules) {
    TProbe bc;
    bc.SetBounds(222, 56);
    bc.SetBackgroundColor(RGBColor(255, 255, 0));
    bc.SetColor(RGBColor(0, 0, 255));
    EXPECT_EQ(bc.Bitmap().Pixel(0, 0), RGBColor(255, 255, 0));
    EXPECT_EQ(bc.Bitmap().Pixel(8, 8), RGBColor(0, 0, 255));
}

TEST_F(Custom2D, PaintingAtScreenResolutionGivesTheOwnPicture) {
    TStPDF417Barcode bc;
    bc.SetCode("Paint");
    bc.SetCaption("Paint");
    TBitmap page(400, 200);
    bc.PaintToCanvas(page.Canvas(), TPoint{5, 7});
    const TBitmap& own = bc.Bitmap();
    for (int y = 0; y < own.Height(); ++y)
        for (int x = 0; x < own.Width(); ++x)
            ASSERT_EQ(page.Pixel(x + 5, y + 7), own.Pixel(x, y)) << x << "," << y;
    TBitmap printed(400, 200);
    bc.PrintToCanvas(printed.Canvas(), TPoint{5, 7});
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(printed.Pixel(x, y), page.Pixel(x, y)) << x << "," << y;
}

TEST_F(Custom2D, DoubleResolutionDoublesThePictureAndKeepsTheCaptionPointSize) {
    TStPDF417Barcode bc;
    bc.SetCode("Twice");
    bc.SetCaption("Twice");
    bc.SetBounds(bc.BarCodeWidth() + 16, 120);
    TBitmap page(1000, 400);
    page.SetResolution(192);
    bc.PaintToCanvas(page.Canvas(), TPoint{0, 0});
    TBitmap picture;
    picture.SetResolution(192);
    const TPictureSize size = bc.RenderToBitmap(picture, 192, 192);
    EXPECT_EQ(size, (TPictureSize{2 * bc.Width(), 2 * bc.Height()}));
    // The caption's ink is about twice as tall as on the screen.
    const auto screen = DarkRows(bc.Bitmap(), bc.Height() - 2 - CaptionHeight(bc), bc.Height());
    const auto device = DarkRows(picture, size.height - 2 * (2 + CaptionHeight(bc)), size.height);
    const int screenInk = screen.second - screen.first + 1;
    const int deviceInk = device.second - device.first + 1;
    EXPECT_NEAR(deviceInk, 2 * screenInk, 3);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            ASSERT_EQ(page.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
    // And it still scans.
    const test::Decoded d = test::Decode(picture, ZXing::BarcodeFormat::PDF417);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.bytes, "Twice");
}

// A device picture is drawn in a pass of its own: the screen's picture and symbol rectangle stay as
// they were, and a second device picture comes out as the first.
TEST_F(Custom2D, DevicePicturesLeaveTheScreensPictureAndLayout) {
    TProbe bc;
    bc.SetCode("Device");
    bc.SetCaption("Device");
    bc.SetBounds(bc.BarCodeWidth() + 16, 120);
    const auto pixels = [](const TBitmap& b) {
        std::vector<TColor> all;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) all.push_back(b.Pixel(x, y));
        return all;
    };
    const std::vector<TColor> screen = pixels(bc.Bitmap());
    const TRect rect = bc.BarCodeRect();
    std::vector<TColor> first;
    for (const int dpi : {300, 600, 300}) {
        TBitmap device;
        device.SetResolution(dpi);
        bc.RenderToBitmap(device, dpi, dpi);
        EXPECT_EQ(bc.BarCodeRect(), rect) << dpi;
        EXPECT_TRUE(pixels(bc.Bitmap()) == screen) << dpi;
        if (dpi != 300) continue;
        if (first.empty()) {
            first = pixels(device);
        } else {
            EXPECT_TRUE(pixels(device) == first);
        }
    }
    EXPECT_EQ(bc.BarWidth(), 2);
}

TEST_F(Custom2D, CoarseDeviceKeepsAtLeastOnePixelPerModule) {
    TStPDF417Barcode bc;
    bc.SetCode("Coarse");
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    TBitmap picture;
    bc.RenderToBitmap(picture, 40, 40); // 2 x 40/96 would truncate to nothing
    bool dark = false;
    for (int x = 0; x < picture.Width(); ++x) dark |= picture.Pixel(x, picture.Height() / 2) == clBlack;
    EXPECT_TRUE(dark);
    EXPECT_EQ(bc.BarWidth(), 2);
}

TEST_F(Custom2D, BitmapAssignmentCopiesThePicture) {
    TStPDF417Barcode bc;
    TBitmap other(10, 10);
    other.SetPixel(3, 3, clRed);
    bc.SetBitmap(other);
    EXPECT_EQ(bc.Bitmap().Width(), 10);
    EXPECT_EQ(bc.Bitmap().Pixel(3, 3), clRed);
}

} // namespace
} // namespace qbm
