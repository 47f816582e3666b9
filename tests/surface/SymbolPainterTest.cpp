#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include "ShapesOnlyCanvas.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

// A symbol of every kind of shape: modules of a matrix, a bar, a hexagon, a ring and a text.
TSymbolGeometry EveryShape() {
    TSymbolGeometry g;
    g.width = 30;
    g.height = 24;
    g.quietX = g.quietY = 2;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x * 7 + y * 3) % 5 < 2) g.rects.push_back({2.0 + x, 2.0 + y, 1, 1});
    g.rects.push_back({12, 2, 3, 8});
    g.rects.push_back({15.5, 2, 0.5, 8}); // half a module: the edges round on their own
    g.hexagons.push_back({20, 5, 2});
    g.rings.push_back({24, 6, 6, 1});
    g.texts.push_back({"ABC 123", 15, 12, 6, TTextAlign::Centre});
    return g;
}

TEST(SymbolPainter, PixelsAndShapesGiveTheSamePicture) {
    const TSymbolGeometry g = EveryShape();
    for (const double dots : {1.0, 2.0, 3.0, 4.5}) {
        for (const TPoint origin : {TPoint{0, 0}, TPoint{7, 3}}) {
            SCOPED_TRACE("dots " + std::to_string(dots) + ", origin " + std::to_string(origin.x));
            TSymbolPlacement p;
            p.dotsPerModule = dots;
            p.origin = origin;
            p.paper = RGBColor(250, 240, 200);
            p.ink = RGBColor(20, 40, 120);
            const TRect b = p.Bounds(g);
            TBitmap direct(b.right + 5, b.bottom + 5), shapes(b.right + 5, b.bottom + 5);
            PaintSymbolPixels(direct.Canvas(), g, p);
            test::TShapesOnlyCanvas canvas(shapes);
            PaintSymbolShapes(canvas, g, p);
            EXPECT_EQ(test::FirstDifference(direct, shapes), "");
            // The paper covers the whole picture, quiet zone included, and nothing beyond it.
            EXPECT_EQ(direct.Pixel(b.left, b.top), p.paper);
            EXPECT_EQ(direct.Pixel(b.right - 1, b.bottom - 1), p.paper);
            EXPECT_EQ(direct.Pixel(b.right, b.bottom), clWhite);
        }
    }
}

TEST(SymbolPainter, NeighbouringModulesShareTheirEdgeAtAnyScale) {
    TSymbolGeometry g;
    g.width = 10;
    g.height = 1;
    for (int x = 0; x < 10; ++x) g.rects.push_back({static_cast<double>(x), 0, 1, 1});
    for (const double dots : {1.0, 1.5, 2.5, 3.3, 7.7}) {
        TSymbolPlacement p;
        p.dotsPerModule = dots;
        TBitmap picture(100, 10);
        PaintSymbolPixels(picture.Canvas(), g, p);
        const TRect b = p.Bounds(g);
        for (int x = b.left; x < b.right; ++x) ASSERT_EQ(picture.Pixel(x, 0), clBlack) << dots << " at " << x;
        EXPECT_EQ(picture.Pixel(b.right, 0), clWhite) << dots;
    }
}

TEST(SymbolPainter, PictureHoldsTheQuietZone) {
    TSymbolGeometry g;
    g.width = 29;
    g.height = 29;
    g.quietX = g.quietY = 4;
    g.rects.push_back({4, 4, 21, 21});
    const TBitmap picture = SymbolPicture(g, 3);
    EXPECT_EQ(picture.Width(), 87);
    EXPECT_EQ(picture.Height(), 87);
    EXPECT_EQ(picture.Pixel(11, 11), clWhite);
    EXPECT_EQ(picture.Pixel(12, 12), clBlack);
    EXPECT_EQ(picture.Pixel(74, 74), clBlack);
    EXPECT_EQ(picture.Pixel(75, 75), clWhite);
}

} // namespace
} // namespace qbm
