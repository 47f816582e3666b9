#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include "RecordingCanvas.h"
#include "TestSupport.h"

#include <cmath>

namespace qbm {
namespace {

bool Dark(const TBitmap& bmp, int x, int y) {
    const TColor c = bmp.Pixel(x, y);
    return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 128;
}

TBitmap WhiteBitmap(int w, int h) {
    EnsureGuiApplication();
    return TBitmap(w, h);
}

// An empty PostNet is a narrow bar, a two-pixel gap and a narrow bar.
void SetUpEmptyPostNet(TBarcode& bc) {
    bc.SetTyp(bcCodePostNet);
    bc.SetText("");
    bc.SetHeight(20);
    bc.SetLeft(5);
    bc.SetTop(3);
}

TEST(BarcodeDraw, PostNetBarsAreColumnsLeftAndLeftPlusThree) {
    TBarcode bc;
    SetUpEmptyPostNet(bc);
    ASSERT_EQ(bc.BuildPattern(), "515");
    TBitmap bmp = WhiteBitmap(20, 30);
    bc.Draw(bmp.Canvas());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool bar = (x == 5 || x == 8) && y >= 3 && y <= 23;
            EXPECT_EQ(Dark(bmp, x, y), bar) << x << "," << y;
        }
}

TEST(BarcodeDraw, NinetyDegreesPutsTheFirstElementLowest) {
    TBarcode bc;
    SetUpEmptyPostNet(bc);
    bc.SetAngle(90);
    TBitmap bmp = WhiteBitmap(40, 20);
    bc.Draw(bmp.Canvas());
    // W = 4: the box is x 5..25 (Height 20), y 3..7; the first bar lies on the bottom row.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool bar = x >= 5 && x <= 25 && (y == 3 + 4 || y == 3 + 1);
            EXPECT_EQ(Dark(bmp, x, y), bar) << x << "," << y;
        }
}

TEST(BarcodeDraw, FortyFiveDegreesTurnsEachBarAsAPolygon) {
    TBarcode bc;
    bc.SetTyp(bcCodePostNet);
    bc.SetModul(4); // "515": bar 4, gap 8, bar 4
    bc.SetHeight(40);
    bc.SetLeft(10);
    bc.SetTop(10);
    bc.SetAngle(45);
    test::TRecordingCanvas rec;
    bc.Draw(rec);
    ASSERT_EQ(rec.polygons.size(), 2u);
    EXPECT_EQ(rec.polygons[0].size(), 4u);

    TBitmap bmp = WhiteBitmap(80, 80);
    bc.Draw(bmp.Canvas());
    // Frame point (u, v) lies at O + (rnd(c u + s v), rnd(-s u + c v)); O = (Left, Top + rnd(s W)).
    const double r = std::sqrt(0.5);
    const auto at = [&](double u, double v) {
        return TPoint{10 + static_cast<int>(std::lround(r * u + r * v)),
                      10 + static_cast<int>(std::lround(r * 16)) +
                          static_cast<int>(std::lround(-r * u + r * v))};
    };
    for (const double v : {5.0, 20.0, 35.0}) {
        const TPoint bar1 = at(1.5, v), gap = at(8, v), bar2 = at(13.5, v);
        EXPECT_TRUE(Dark(bmp, bar1.x, bar1.y)) << v;
        EXPECT_FALSE(Dark(bmp, gap.x, gap.y)) << v;
        EXPECT_TRUE(Dark(bmp, bar2.x, bar2.y)) << v;
    }
    const TPoint below = at(8, 48);
    EXPECT_FALSE(Dark(bmp, below.x, below.y));
}

TEST(BarcodeDraw, NothingIsPaintedWhenThePatternFails) {
    TBarcode bc;
    bc.SetTyp(bcCodeMSI);
    bc.SetText("12x");
    bc.SetHeight(10);
    test::TRecordingCanvas rec;
    rec.Pen().color = clRed;
    EXPECT_THROW_MSG(bc.Draw(rec), EBarcodeError, "Barcode must be numeric");
    EXPECT_TRUE(rec.polygons.empty());
    EXPECT_EQ(rec.Pen().color, clRed);
}

TEST(BarcodeDraw, RestoresTheCanvasFontPenAndBrush) {
    TBarcode bc;
    bc.SetTyp(bcCode39);
    bc.SetText("AB");
    bc.SetHeight(10);
    bc.SetShowText(bcoBoth);
    bc.ExtCaption = "cap";
    test::TRecordingCanvas rec;
    TFont f;
    f.SetName("DejaVu Serif");
    f.SetOrientation(123);
    rec.SetFont(f);
    rec.SetPen(TPen{clRed, 3, TPenStyle::psClear});
    rec.SetBrush(TBrush{clSilver, TBrushStyle::bsSolid});
    bc.Draw(rec);
    EXPECT_EQ(rec.Font(), f);
    EXPECT_EQ(rec.Pen(), (TPen{clRed, 3, TPenStyle::psClear}));
    EXPECT_EQ(rec.Brush(), (TBrush{clSilver, TBrushStyle::bsSolid}));
    EXPECT_FALSE(rec.texts.empty());
}

// Code text, type name and caption of a Code 39 "AB" at (100, 200), Height 30, on the recording
// canvas; the default font is 8 points at 96 dpi, so fh = -11.
struct TTextLayout {
    int width;
    std::vector<test::TRecordingCanvas::Text> texts;
};

TTextLayout LayOut(TShowTextPosition pos, TBarcodeOption show, uint8_t captionPos, double angle = 0) {
    TBarcode bc;
    bc.SetTyp(bcCode39);
    bc.SetText("AB");
    bc.SetHeight(30);
    bc.SetLeft(100);
    bc.SetTop(200);
    bc.SetShowText(show);
    bc.SetShowTextPosition(pos);
    bc.SetAngle(angle);
    bc.ExtCaption = " cap ";
    bc.ExtCaptionPosition = captionPos;
    test::TRecordingCanvas rec;
    bc.Draw(rec);
    return {bc.Width(), rec.texts};
}

TEST(BarcodeText, CodeTextOffsetsForTheThreeAlignments) {
    ASSERT_EQ(TFont().Height(), -11);
    const int textY = 200 + 30 + 2; // rnd(|-11 / 5|) = 2
    const auto left = LayOut(stpBottomLeft, bcoCode, 0);
    ASSERT_EQ(left.texts.size(), 2u);
    EXPECT_EQ(left.texts[0].text, "AB");
    EXPECT_EQ(left.texts[0].x, 100);
    EXPECT_EQ(left.texts[0].y, textY);
    const auto right = LayOut(stpTopRight, bcoCode, 0);
    EXPECT_EQ(right.texts[0].x, 100 + right.width - 12);
    EXPECT_EQ(right.texts[0].y, textY); // top positions also go under the bars
    const auto centre = LayOut(stpBottomCenter, bcoCode, 0);
    EXPECT_EQ(centre.texts[0].x, 100 + (centre.width - 12) / 2);
}

TEST(BarcodeText, TypeNameAndCaptionAboveTheSymbol) {
    const auto both = LayOut(stpTopLeft, bcoBoth, 1);
    ASSERT_EQ(both.texts.size(), 3u);
    EXPECT_EQ(both.texts[1].text, "Code39");
    EXPECT_EQ(both.texts[1].x, 100);
    EXPECT_EQ(both.texts[1].y, 200 + std::lrint(2.5 * -11)); // -27.5 rounds to -28
    EXPECT_EQ(both.texts[2].text, " cap ");                  // drawn as stored
    EXPECT_EQ(both.texts[2].x, 100 + both.width - 30);
    EXPECT_EQ(both.texts[2].y, 200 - 16); // 1.5 x -11 = -16.5 rounds to -16
    EXPECT_EQ(LayOut(stpTopLeft, bcoTyp, 0).texts[1].x, 100);
    EXPECT_EQ(LayOut(stpTopLeft, bcoTyp, 2).texts[1].x, 100 + (both.width - 30) / 2);
    EXPECT_EQ(LayOut(stpTopLeft, bcoTyp, 7).texts[1].x, 0);
    EXPECT_EQ(LayOut(stpTopLeft, bcoNone, 0).texts.size(), 0u);
}

TEST(BarcodeText, TurnedTextUsesTheTurnedFontAndPoint) {
    const auto turned = LayOut(stpTopLeft, bcoCode, 0, 90);
    ASSERT_EQ(turned.texts.size(), 2u);
    EXPECT_EQ(turned.texts[0].font.Orientation(), 900);
    // O = (Left, Top + W); the point (0, Height + 2) turns to (Height + 2, 0).
    EXPECT_EQ(turned.texts[0].x, 100 + 32);
    EXPECT_EQ(turned.texts[0].y, 200 + turned.width);
    EXPECT_EQ(turned.texts[1].font.Orientation(), 0); // the caption is never turned
}

TEST(BarcodeText, ControlCharactersAndTheNulMarkerShowAsBlanks) {
    TBarcode bc;
    bc.SetTyp(bcCode39Extended);
    bc.SetText(std::string("A\tB\x80") + "C");
    bc.SetHeight(10);
    bc.SetShowText(bcoCode);
    test::TRecordingCanvas rec;
    bc.Draw(rec);
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0].text, "A B C");
}

TEST(BarcodeText, Ean13ShortensTheDigitBarsAndPlacesTheDigits) {
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("590123412345");
    bc.SetChecksum(true);
    bc.SetHeight(50);
    bc.SetShowText(bcoCode);
    test::TRecordingCanvas rec; // letter "A" is 10 pixels high: elements 5..28 and 33..56 end at 44
    bc.Draw(rec);
    const std::string pattern = bc.BuildPattern();
    size_t bar = 0;
    for (size_t k = 0; k < pattern.size(); ++k) {
        if (bc.ElementWidth(pattern[k]).kind == 0) continue;
        ASSERT_LT(bar, rec.polygons.size());
        const int i = static_cast<int>(k) + 1;
        const bool shortened = (i >= 5 && i <= 28) || (i >= 33 && i <= 56);
        EXPECT_EQ(rec.polygons[bar][1].y, shortened ? 44 : 50) << "element " << i;
        ++bar;
    }
    EXPECT_EQ(bar, rec.polygons.size());
    // Group marks at elements 5, 28, 33 and 56: the first bar of the left digits, the first gap of
    // the centre guard, the first bar of the right digits and the last gap before the end guard.
    EXPECT_EQ(bc.GroupMarks, (std::array<int, 4>{6, 45, 50, 91}));
    ASSERT_EQ(rec.texts.size(), 3u);
    EXPECT_EQ(rec.texts[0].text, "5");
    EXPECT_EQ(rec.texts[0].x, -6 - 2);
    EXPECT_EQ(rec.texts[0].y, 45);
    EXPECT_EQ(rec.texts[1].text, "901234");
    EXPECT_EQ(rec.texts[1].x, 6 + 2); // rnd((45 - 6 - 36) / 2) = rnd(1.5) = 2
    EXPECT_EQ(rec.texts[2].text, "123457");
    EXPECT_EQ(rec.texts[2].x, 50 + 2); // rnd((91 - 50 - 36) / 2) = rnd(2.5) = 2
    EXPECT_EQ(rec.texts[2].y, 45);
}

TEST(BarcodeText, Ean13WithoutChecksumShowsTheDigitsItDraws) {
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("123"); // padded, and given its check digit: the symbol stands for 0000000001236
    bc.SetHeight(50);
    bc.SetShowText(bcoTyp); // EAN digits show for any text option, never the type name
    test::TRecordingCanvas rec;
    bc.Draw(rec);
    ASSERT_EQ(rec.texts.size(), 3u);
    EXPECT_EQ(rec.texts[0].text, "0");
    EXPECT_EQ(rec.texts[1].text, "000000");
    EXPECT_EQ(rec.texts[2].text, "001236");
}

TEST(BarcodeText, UpcAPutsTheFirstAndLastDigitsOutside) {
    TBarcode bc;
    bc.SetTyp(bcCodeUPC_A);
    bc.SetText("03600029145");
    bc.SetChecksum(true);
    bc.SetHeight(50);
    bc.SetShowText(bcoBoth);
    test::TRecordingCanvas rec;
    bc.Draw(rec);
    const int w = bc.Width();
    ASSERT_EQ(rec.texts.size(), 4u);
    EXPECT_EQ(rec.texts[0].text, "0");
    EXPECT_EQ(rec.texts[0].x, -8);
    EXPECT_EQ(rec.texts[1].text, "36000");
    EXPECT_EQ(rec.texts[2].text, "29145");
    EXPECT_EQ(rec.texts[3].text, "2"); // the check digit, right of the bars
    EXPECT_EQ(rec.texts[3].x, w + 2);
    EXPECT_EQ(rec.texts[3].y, 45);
}

TEST(BarcodeText, DisplayedTextPerType) {
    const auto shown = [](TBarcodeType type, const std::string& text, bool checksum,
                          TShowTextPosition pos = stpTopLeft) {
        TBarcode bc;
        bc.SetTyp(type);
        bc.SetText(text);
        bc.SetChecksum(checksum);
        bc.SetHeight(20);
        bc.SetShowText(bcoCode);
        bc.SetShowTextPosition(pos);
        test::TRecordingCanvas rec;
        bc.Draw(rec);
        EXPECT_EQ(rec.texts.size(), 1u);
        return std::pair{rec.texts.empty() ? std::string() : rec.texts[0].text,
                         rec.texts.empty()
                             ? 0
                             : rec.texts[0].x + 6 * static_cast<int>(rec.texts[0].text.size()) - bc.Width()};
    };
    // EAN-8 with Checksum, right-aligned: the eight digits end exactly at the bars' right edge.
    EXPECT_EQ(shown(bcCodeEAN8, "1234567", true, stpTopRight), (std::pair{std::string("12345670"), 0}));
    EXPECT_EQ(shown(bcCodeEAN8, "123", false).first, "00001236"); // the digits the symbol stands for
    EXPECT_EQ(shown(bcCodeUPC_E0, "0123456", false).first, "01234565");
    EXPECT_EQ(shown(bcCode128C, "123", false).first, "0123");
    EXPECT_EQ(shown(bcCode128Auto, "A\\9B\tC", false).first, "AB C");
    EXPECT_EQ(shown(bcCode128Auto, "A\tB", false).first, "A B");
    // Application identifier 01 gets its check digit; an odd result is filled up with "0".
    EXPECT_EQ(shown(bcCodeEAN128C, "011234567890123", false).first, "0112345678901231");
    EXPECT_EQ(shown(bcCodeEAN128C, "991", false).first, "9910");
    EXPECT_EQ(shown(bcCode_2_5_interleaved, "123", false).first, "0123");
}

TEST(BarcodeRaster, NoneSuppressesTheCaption) {
    TBarcode bc;
    bc.SetTyp(bcCode39);
    bc.SetText("A");
    bc.SetHeight(20);
    bc.SetLeft(10);
    bc.SetTop(40);
    bc.ExtCaption = "CAPTION";
    const auto darkAbove = [&](TBarcodeOption show) {
        bc.SetShowText(show);
        TBitmap bmp = WhiteBitmap(120, 80);
        bc.Draw(bmp.Canvas());
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x) n += Dark(bmp, x, y);
        return n;
    };
    EXPECT_EQ(darkAbove(bcoNone), 0);
    EXPECT_GT(darkAbove(bcoCode), 0);
}

TEST(BarcodeRaster, CodeTextAlignsLeftRightAndCentre) {
    // Column range of the dark text pixels under the bars.
    const auto textColumns = [](TShowTextPosition pos, int& width) {
        TBarcode bc;
        bc.SetTyp(bcCode39);
        bc.SetText("WIDE-CODE-39");
        bc.SetHeight(20);
        bc.SetLeft(10);
        bc.SetTop(10);
        bc.SetShowText(bcoCode);
        bc.SetShowTextPosition(pos);
        TFont f;
        f.SetName("DejaVu Sans");
        bc.SetShowTextFont(f);
        TBitmap bmp = WhiteBitmap(300, 60);
        bc.Draw(bmp.Canvas());
        width = bc.Width();
        int lo = 1000, hi = -1;
        for (int y = 32; y < 60; ++y)
            for (int x = 0; x < 300; ++x)
                if (Dark(bmp, x, y)) lo = std::min(lo, x), hi = std::max(hi, x);
        return std::pair{lo, hi};
    };
    int w = 0;
    const auto [l0, l1] = textColumns(stpBottomLeft, w);
    EXPECT_GE(l0, 10);
    EXPECT_LE(l0, 12);
    const auto [r0, r1] = textColumns(stpBottomRight, w);
    EXPECT_LE(r1, 10 + w - 1);
    EXPECT_GE(r1, 10 + w - 4);
    EXPECT_EQ(r1 - r0, l1 - l0);
    const auto [c0, c1] = textColumns(stpTopCenter, w);
    EXPECT_NEAR((c0 + c1) / 2.0, 10 + (w - 1) / 2.0, 2.0);
}

TEST(BarcodeRender, MarginSurroundsBarsAndText) {
    TBarcode bc;
    bc.SetTyp(bcCode39);
    bc.SetText("AB");
    bc.SetHeight(30);
    bc.SetShowText(bcoBoth);
    bc.ExtCaption = "caption";
    const TBitmap bmp = RenderBarcode(bc, 7);
    int minX = bmp.Width(), minY = bmp.Height(), maxX = -1, maxY = -1;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (Dark(bmp, x, y)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 7); // the first bar
    EXPECT_GE(minY, 7);
    EXPECT_LE(maxX, bmp.Width() - 1 - 7);
    EXPECT_LE(maxY, bmp.Height() - 1 - 7);
    EXPECT_LE(minY, 7 + 3); // text cells hug their glyphs within a few pixels
    EXPECT_GE(maxY, bmp.Height() - 1 - 7 - 4);
}

// The picture is made from one layout of the symbol: wherever the barcode stands, turned or not, the
// picture is the same and the barcode is not moved (nor told it changed) on the way.
TEST(BarcodeRender, ThePictureDoesNotDependOnOrMoveTheBarcodesPosition) {
    const auto picture = [](int left, int top, double angle, int& changes) {
        TBarcode bc;
        bc.SetTyp(bcCodeEAN13);
        bc.SetText("590123412345");
        bc.SetHeight(40);
        bc.SetModul(2);
        bc.SetShowText(bcoCode);
        bc.SetAngle(angle);
        bc.ExtCaption = "Shelf 12";
        bc.SetLeft(left);
        bc.SetTop(top);
        bc.SetOnChange([&](TBarcode&) { ++changes; });
        const TBitmap bmp = RenderBarcode(bc, 5);
        EXPECT_EQ(bc.Left(), left);
        EXPECT_EQ(bc.Top(), top);
        std::vector<TColor> pixels;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) pixels.push_back(bmp.Pixel(x, y));
        return std::make_pair(std::make_pair(bmp.Width(), bmp.Height()), pixels);
    };
    for (const double angle : {0.0, 90.0, 30.0}) {
        int changes = 0;
        const auto atOrigin = picture(0, 0, angle, changes);
        EXPECT_EQ(picture(37, -11, angle, changes), atOrigin) << angle;
        EXPECT_EQ(changes, 0) << angle;
    }
}

} // namespace
} // namespace qbm
