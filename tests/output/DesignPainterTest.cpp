#include "output/DesignTextLayout.h"
#include "output/TDesignPainter.h"

#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TTurnedCanvas.h"
#include "util/Rounding.h"

#include "DesignObjects.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

constexpr int kDpi = 300;

using test::Placed;

// The label drawn alone on white, 300 dpi, with its merge fields.
TBitmap Label(const TLabelDesign& design, double widthMm, double heightMm, const TMergeValues& values = {}) {
    TBitmap bitmap(MmToDots(widthMm, kDpi), MmToDots(heightMm, kDpi));
    bitmap.SetResolution(kDpi);
    TDesignPainter(design, kDpi, kDpi).Draw(bitmap.Canvas(), {0, 0}, values);
    return bitmap;
}

// The box of the dark pixels, half-open.
TRect Ink(const TBitmap& b) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != clWhite)
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                     std::max(r.bottom, y + 1)};
    return r;
}

TEST(TurnedCanvas, QuarterTurnsMapTheUprightBoxOntoTheCoveredOne) {
    EnsureGuiApplication();
    TBitmap page(10, 10);
    struct Case {
        int degrees;
        TPoint topLeft, topRight, bottomLeft;
        TRect box;
    };
    // A 40 x 20 box; turned a quarter it covers 20 x 40 from (100, 200).
    const Case cases[] = {
        /* 0 */ {0, {100, 200}, {140, 200}, {100, 220}, {100, 200, 140, 220}},
        /* 1 */ {90, {100, 240}, {100, 200}, {120, 240}, {100, 200, 120, 240}},
        /* 2 */ {180, {140, 220}, {100, 220}, {140, 200}, {100, 200, 140, 220}},
        /* 3 */ {270, {120, 200}, {120, 240}, {100, 200}, {100, 200, 120, 240}},
    };
    for (const Case& c : cases) {
        const TTurnedCanvas turned(page.Canvas(), {100, 200}, 40, 20, c.degrees);
        EXPECT_EQ(turned.Map(TPoint{0, 0}), c.topLeft) << c.degrees;
        EXPECT_EQ(turned.Map(TPoint{40, 0}), c.topRight) << c.degrees;
        EXPECT_EQ(turned.Map(TPoint{0, 20}), c.bottomLeft) << c.degrees;
        EXPECT_EQ(turned.Map(TRect{0, 0, 40, 20}), c.box) << c.degrees;
    }
}

TEST(DesignPainter, BarcodesFillTheirBoxesTurnedAndReadBack) {
    EnsureGuiApplication();
    struct Case {
        const char* symbology;
        const char* code;
        ZXing::BarcodeFormat format;
        const char* read;
    };
    const Case cases[] = {
        /* 0 */ {"bcCodeEAN13", "400638133393", ZXing::BarcodeFormat::EAN13, "4006381333931"},
        /* 1 */ {"bcCode128Auto", "ABC-12345", ZXing::BarcodeFormat::Code128, "ABC-12345"},
        /* 2 */
        {"qrcode", "https://example.com/K\u00E4se", ZXing::BarcodeFormat::QRCode,
         "https://example.com/K\u00E4se"},
    };
    for (const Case& c : cases)
        for (const int rotation : {0, 90, 180, 270}) {
            TLabelDesign d;
            TDesignObject code = Placed(TDesignKind::Barcode, 5, 15, 40, 20, rotation);
            code.symbology = c.symbology;
            code.value = "{Code}";
            d.objects.push_back(code);
            TMergeValues values;
            values.code = c.code;
            const TBitmap label = Label(d, 50, 50, values);
            EXPECT_EQ(test::Decode(label, c.format).text, c.read) << c.symbology << " " << rotation;
            // Inside the box the object covers once turned about its centre (25, 25).
            const bool across = rotation % 180 != 0;
            const TRect covered{MmToDots(across ? 15 : 5, kDpi), MmToDots(across ? 5 : 15, kDpi),
                                MmToDots(across ? 35 : 45, kDpi), MmToDots(across ? 45 : 35, kDpi)};
            const TRect ink = Ink(label);
            EXPECT_GE(ink.left, covered.left) << c.symbology << " " << rotation;
            EXPECT_GE(ink.top, covered.top) << c.symbology << " " << rotation;
            EXPECT_LE(ink.right, covered.right) << c.symbology << " " << rotation;
            EXPECT_LE(ink.bottom, covered.bottom) << c.symbology << " " << rotation;
            // The symbol takes most of its box (whole modules, quiet zones beside): a bar code its width,
            // the square QR Code its height.
            const bool square = c.format == ZXing::BarcodeFormat::QRCode;
            EXPECT_GT(across ? ink.Height() : ink.Width(), MmToDots(square ? 14 : 25, kDpi)) << c.symbology;
        }
}

TEST(DesignTextLayout, ShrinksToItsBoxOrSaysItDoesNotFit) {
    EnsureGuiApplication();
    TBitmap page(10, 10);
    page.SetResolution(kDpi);
    TCanvas& canvas = page.Canvas();
    TDesignObject text = Placed(TDesignKind::Text, 0, 0, 30, 10);
    text.sizePt = 30;
    const std::string value = "Frühstücksbrötchen\nmit Käse – 1,50 €";
    const int w = MmToDots(30, kDpi), h = MmToDots(10, kDpi);
    const TDesignTextLayout shrunk = LayOutDesignText(canvas, text, value, w, h);
    EXPECT_TRUE(shrunk.fits);
    ASSERT_EQ(shrunk.lines.size(), 2u);
    canvas.SetFont(shrunk.font);
    EXPECT_LE(canvas.TextWidth(shrunk.lines[0].text), w);
    EXPECT_LE(shrunk.lines[1].y + canvas.TextHeight("Ag"), h);
    EXPECT_LT(-shrunk.font.Height(), 30 * kDpi / 72);

    text.shrinkToFit = false;
    text.align = TDesignAlign::Right;
    const TDesignTextLayout kept = LayOutDesignText(canvas, text, value, w, h);
    EXPECT_FALSE(kept.fits);
    EXPECT_EQ(-kept.font.Height(), 125); // 30 pt at 300 dpi
    canvas.SetFont(kept.font);
    EXPECT_EQ(kept.lines[1].x, w - canvas.TextWidth(kept.lines[1].text));
}

} // namespace
} // namespace qbm
