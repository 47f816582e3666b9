#include "surface/CanvasText.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include "util/Text.h"

#include <gtest/gtest.h>

#include <optional>

namespace qbm {
namespace {

bool IsBlack(const TBitmap& b, int x, int y) {
    return b.Pixel(x, y) == clBlack;
}

void SolidBlack(TCanvas& c) {
    c.Pen().style = TPenStyle::psSolid;
    c.Pen().color = clBlack;
    c.Pen().width = 1;
    c.Brush().style = TBrushStyle::bsSolid;
    c.Brush().color = clBlack;
}

TEST(Canvas, FillRectIsHalfOpen) {
    TBitmap b(10, 10);
    b.Canvas().Brush().color = clBlack;
    b.Canvas().FillRect({2, 3, 5, 7});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(IsBlack(b, x, y), x >= 2 && x < 5 && y >= 3 && y < 7) << x << "," << y;
}

TEST(Canvas, ClearBrushFillsNothing) {
    TBitmap b(5, 5);
    b.Canvas().Brush() = {clBlack, TBrushStyle::bsClear};
    b.Canvas().FillRect({0, 0, 5, 5});
    EXPECT_EQ(b.Pixel(2, 2), clWhite);
}

TEST(Canvas, RectanglePolygonOwnsItsCornersAndEdges) {
    TBitmap b(12, 12);
    SolidBlack(b.Canvas());
    // The corners of a bar: columns 2..4, rows 1..8 inclusive.
    b.Canvas().Polygon({{2, 1}, {2, 8}, {4, 8}, {4, 1}});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(IsBlack(b, x, y), x >= 2 && x <= 4 && y >= 1 && y <= 8) << x << "," << y;
}

TEST(Canvas, OnePixelWidePolygonIsALine) {
    TBitmap b(6, 6);
    SolidBlack(b.Canvas());
    b.Canvas().Polygon({{3, 0}, {3, 4}, {3, 4}, {3, 0}});
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(IsBlack(b, 3, y), y <= 4) << y;
        EXPECT_FALSE(IsBlack(b, 2, y));
        EXPECT_FALSE(IsBlack(b, 4, y));
    }
}

TEST(Canvas, TurnedPolygonFillsInsideAndCorners) {
    TBitmap b(40, 40);
    SolidBlack(b.Canvas());
    const std::vector<TPoint> diamond{{20, 5}, {35, 20}, {20, 35}, {5, 20}};
    b.Canvas().Polygon(diamond);
    for (const TPoint& p : diamond) EXPECT_TRUE(IsBlack(b, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_TRUE(IsBlack(b, 20, 20));
    EXPECT_FALSE(IsBlack(b, 6, 6));
    EXPECT_FALSE(IsBlack(b, 34, 34));
}

TEST(Canvas, LineToLeavesTheEndPointOut) {
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    SolidBlack(c);
    c.MoveTo(1, 2);
    c.LineTo(6, 2);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(IsBlack(b, x, 2), x >= 1 && x < 6) << x;
    c.MoveTo(8, 0);
    c.LineTo(8, 4);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(IsBlack(b, 8, y), y < 4) << y;
    c.MoveTo(0, 9);
    c.LineTo(3, 6);
    EXPECT_TRUE(IsBlack(b, 0, 9));
    EXPECT_TRUE(IsBlack(b, 2, 7));
    EXPECT_FALSE(IsBlack(b, 3, 6));
    EXPECT_EQ(c.PenPos(), (TPoint{3, 6}));
}

TEST(Canvas, RectangleOutlinesInsideTheHalfOpenBox) {
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    c.Pen() = {clBlack, 1, TPenStyle::psSolid};
    c.Brush() = {clSilver, TBrushStyle::bsSolid};
    c.Rectangle(1, 1, 6, 5);
    EXPECT_TRUE(IsBlack(b, 1, 1));
    EXPECT_TRUE(IsBlack(b, 5, 4));
    EXPECT_FALSE(IsBlack(b, 6, 4));
    EXPECT_FALSE(IsBlack(b, 5, 5));
    EXPECT_EQ(b.Pixel(3, 2), clSilver);
}

TEST(Canvas, FloodFillStopsAtTheBorderColour) {
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.Pen() = {clBlack, 1, TPenStyle::psSolid};
    c.Brush() = {clBlack, TBrushStyle::bsClear};
    c.Rectangle(2, 2, 12, 12);
    c.Brush() = {clRed, TBrushStyle::bsSolid};
    c.FloodFill(6, 6, clBlack);
    EXPECT_EQ(b.Pixel(6, 6), clRed);
    EXPECT_EQ(b.Pixel(3, 10), clRed);
    EXPECT_EQ(b.Pixel(2, 2), clBlack);
    EXPECT_EQ(b.Pixel(15, 15), clWhite);
}

TEST(Canvas, FloodFillInTheBorderColourFillsAConcaveShapeWhole) {
    TBitmap b(30, 30);
    TCanvas& c = b.Canvas();
    SolidBlack(c);
    c.Brush().style = TBrushStyle::bsClear;
    // A U shape: the fill has to turn around the inner wall.
    c.Polygon({{2, 2}, {27, 2}, {27, 27}, {18, 27}, {18, 10}, {11, 10}, {11, 27}, {2, 27}});
    c.Brush() = {clBlack, TBrushStyle::bsSolid};
    c.FloodFill(5, 20, clBlack);
    EXPECT_EQ(b.Pixel(5, 20), clBlack);
    EXPECT_EQ(b.Pixel(24, 20), clBlack) << "the other arm of the U";
    EXPECT_EQ(b.Pixel(14, 20), clWhite) << "outside, between the arms";
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

TEST(Canvas, TextCellStartsAtThePoint) {
    TBitmap b(200, 60);
    TCanvas& c = b.Canvas();
    c.Font().SetName("DejaVu Sans");
    c.Font().SetHeight(-20);
    c.Brush().style = TBrushStyle::bsClear;
    c.TextOut(50, 10, "H");
    int minX = 1000, minY = 1000, maxY = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (b.Pixel(x, y) != clWhite) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 50);
    EXPECT_LE(minX, 54);
    EXPECT_GE(minY, 10);
    EXPECT_LT(maxY, 10 + c.TextHeight("H"));
    EXPECT_GT(c.TextWidth("HHHH"), 3 * c.TextWidth("H"));
}

TEST(Canvas, TurnedTextGoesUpFromThePoint) {
    TBitmap b(100, 200);
    TCanvas& c = b.Canvas();
    c.Font().SetName("DejaVu Sans");
    c.Font().SetHeight(-20);
    c.Font().SetOrientation(900);
    c.Brush().style = TBrushStyle::bsClear;
    c.TextOut(20, 150, "HHHH");
    int minY = 1000, maxY = -1, minX = 1000;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 100; ++x)
            if (b.Pixel(x, y) != clWhite) {
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
                minX = std::min(minX, x);
            }
    // Turned counter-clockwise: the text runs upwards from y = 150 and its cell lies right of x = 20.
    EXPECT_LE(maxY, 150);
    EXPECT_LT(minY, 120);
    EXPECT_GE(minX, 20);
}

TEST(Canvas, StretchDrawScalesWithoutSmoothing) {
    TBitmap src(2, 1);
    src.SetPixel(0, 0, clBlack);
    TBitmap dst(20, 10);
    dst.Canvas().StretchDraw({0, 0, 20, 10}, src);
    EXPECT_EQ(dst.Pixel(9, 5), clBlack);
    EXPECT_EQ(dst.Pixel(10, 5), clWhite);
}

} // namespace
} // namespace qbm

namespace qbm {
namespace {

// The canvas code page: Latin-1 with Windows-1252's printable characters at 0x80-0x9F.
TEST(CanvasCodePage, TextWithACodeForEveryCharacterTakesTheGlyphTables) {
    struct Case {
        const char* text;
        std::optional<std::string> codes;
    };
    const Case cases[] = {
        /* 0 */ {"ABC 123", "ABC 123"},
        /* 1 */ {"K\u00E4se", "K\xE4se"},
        /* 2 */ {"1,50 \u20AC \u2013 \u201Eja\u201C", "1,50 \x80 \x96 \x84ja\x93"},
        /* 3 */ {"\u0178\u017E\u0152", "\x9F\x9E\x8C"},
        /* 4 */ {"\u0085", std::nullopt}, // a control character of Latin-1
        /* 5 */ {"\u0394", std::nullopt}, // Greek
        /* 6 */ {"caf\xE9", "caf\xE9"},   // no UTF-8: Latin-1 bytes as they are
        /* 7 */ {"x\x80y", std::nullopt}, // ... and a Latin-1 control code as before
        /* 8 */ {"", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CanvasSingleBytes(cases[i].text), cases[i].codes) << i;
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<unsigned char>(code);
        std::string utf8;
        AppendUtf8(utf8, CanvasCodeChar(c));
        const bool control = CanvasCodeChar(c) >= 0x80 && CanvasCodeChar(c) <= 0x9F;
        // Every printable code reads back as itself; the five Windows-1252 leaves free stay controls.
        EXPECT_EQ(CanvasSingleBytes(utf8), control ? std::nullopt : std::optional(std::string(1, char(c))))
            << code;
    }
    EXPECT_EQ(CanvasQString("1,50 \u20AC"), QString::fromUtf8("1,50 \u20AC"));
    EXPECT_EQ(CanvasQString("caf\xE9"), QString::fromUtf8("caf\u00E9"));
}

} // namespace
} // namespace qbm
