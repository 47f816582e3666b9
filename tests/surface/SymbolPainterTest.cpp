#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TModuleRectBuilder.h"
#include "surface/TOffsetCanvas.h"
#include "surface/TPdfPrinter.h"

#include "ShapesOnlyCanvas.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

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

// A random matrix symbol with its modules both as rectangles and as rows, as the encoder gives it.
TSymbolGeometry RandomMatrix(int columns, int rowCount, int quiet, unsigned seed) {
    std::mt19937 rng(seed);
    TSymbolGeometry g;
    g.width = columns + 2 * quiet;
    g.height = rowCount + 2 * quiet;
    g.quietX = g.quietY = quiet;
    g.modules = {columns, rowCount, (columns + 7) / 8, quiet, quiet, {}};
    g.modules.bits.resize(static_cast<size_t>(rowCount) * g.modules.bytesPerRow);
    TModuleRectBuilder rects(g.rects, columns, quiet);
    for (int y = 0; y < rowCount; ++y, rects.NextRow()) {
        for (int x = 0; x < columns;) {
            if (rng() % 2) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < columns && rng() % 3) ++x;
            x = std::max(x, start + 1);
            rects.AddRun(start, x);
            for (int c = start; c < x; ++c) g.modules.bits[y * g.modules.bytesPerRow + c / 8] |= 1 << (c % 8);
            ++x;
        }
    }
    return g;
}

// Written row by row from the module rows, the picture is the one the rectangles give: at every
// whole number of dots, anywhere on the picture, cut off at its edges, on paper or on what is there;
// and so do the shapes of a matrix symbol.
TEST(SymbolPainter, ModuleRowsPaintAsTheRectangles) {
    for (const int columns : {7, 8, 21, 33}) {
        const TSymbolGeometry g = RandomMatrix(columns, columns - 3, columns % 4, 7u * columns);
        TSymbolGeometry rectsOnly = g;
        rectsOnly.modules = {};
        for (const double dots : {1.0, 2.0, 3.0, 8.0, 2.5}) {
            for (const TPoint origin : {TPoint{0, 0}, TPoint{5, 9}, TPoint{-11, -6}, TPoint{40, 30}}) {
                for (const bool fillPaper : {true, false}) {
                    SCOPED_TRACE(std::to_string(columns) + " columns, dots " + std::to_string(dots) +
                                 ", origin " + std::to_string(origin.x) + ", paper " +
                                 std::to_string(fillPaper));
                    TSymbolPlacement p;
                    p.dotsPerModule = dots;
                    p.origin = origin;
                    p.fillPaper = fillPaper;
                    p.ink = RGBColor(20, 40, 120);
                    p.paper = RGBColor(250, 240, 200);
                    TBitmap rows(90, 70), rects(90, 70), shapes(90, 70);
                    for (TBitmap* b : {&rows, &rects, &shapes}) {
                        b->Canvas().SetBrush({clRed, TBrushStyle::bsSolid});
                        b->Canvas().FillRect({0, 0, 45, 70}); // what is there stays where the symbol is light
                    }
                    PaintSymbolPixels(rows.Canvas(), g, p);
                    PaintSymbolPixels(rects.Canvas(), rectsOnly, p);
                    EXPECT_EQ(test::FirstDifference(rows, rects), "");
                    // Shapes of a matrix symbol take their edges from whole modules the same way.
                    test::TShapesOnlyCanvas canvas(shapes);
                    PaintSymbolShapes(canvas, g, p);
                    EXPECT_EQ(test::FirstDifference(shapes, rects), "");
                }
            }
        }
    }
}

// Rectangles as a symbol hands them over: neighbours, one empty, one far from the rest.
const std::vector<TRect> kModules = {
    {10, 10, 14, 12}, {14, 10, 16, 20}, {20, 20, 20, 30}, {10, 30, 40, 32}, {90, 4, 92, 6}};

TEST(SymbolPainter, RectanglesInOneCallDrawAsOneAtATimeThroughAnOffset) {
    for (const bool measureOnly : {false, true}) {
        TBitmap batch(120, 60), single(120, 60);
        test::TShapesOnlyCanvas batchPage(batch), singlePage(single);
        TOffsetCanvas batchOffset(batchPage, {5, 7}, measureOnly),
            singleOffset(singlePage, {5, 7}, measureOnly);
        for (TCanvas* c : {static_cast<TCanvas*>(&batchOffset), static_cast<TCanvas*>(&singleOffset)})
            c->SetBrush({clRed, TBrushStyle::bsSolid});
        batchOffset.FillRects(kModules);
        for (const TRect& r : kModules) singleOffset.FillRect(r);
        EXPECT_EQ(test::FirstDifference(batch, single), "") << measureOnly;
        EXPECT_EQ(batch.Pixel(15, 17), measureOnly ? clWhite : clRed);
        EXPECT_EQ(batchOffset.Covered(), singleOffset.Covered()) << measureOnly;
        EXPECT_EQ(batchOffset.Covered(), (TRect{10, 4, 92, 32}));
    }
}

// The PDF page writes the rectangles of one call exactly as those of a call each: the same bytes.
TEST(SymbolPainter, RectanglesInOneCallMakeTheSamePdfPage) {
    const std::string dir = test::MakeTempDir();
    const auto print = [&](const std::string& name, bool oneCall, const std::vector<TRect>& rects) {
        TPdfPrinter printer(dir + "/" + name, TPaperSize{50, 50}, 300);
        printer.BeginDoc();
        TCanvas& c = printer.Canvas();
        c.SetBrush({clBlack, TBrushStyle::bsSolid});
        c.FillRect({1, 1, 3, 3}); // a batch of the same colour already open
        if (oneCall)
            c.FillRects(rects);
        else
            for (const TRect& r : rects) c.FillRect(r);
        c.SetBrush({clRed, TBrushStyle::bsClear});
        c.FillRects(rects); // a clear brush fills nothing
        c.SetBrush({clRed, TBrushStyle::bsSolid});
        c.FillRects(std::vector<TRect>{{5, 5, 5, 9}}); // nothing to fill: no empty path is written
        c.FillRect({50, 50, 60, 60});
        printer.EndDoc();
        return test::ReadWholeFile(dir + "/" + name);
    };
    for (const auto& rects : {kModules, std::vector<TRect>{}, std::vector<TRect>{{0, 0, 4, 4}}}) {
        const std::string batch = print("batch.pdf", true, rects), single = print("single.pdf", false, rects);
        EXPECT_FALSE(batch.empty());
        EXPECT_EQ(batch, single) << rects.size() << " rectangles";
    }
}

} // namespace
} // namespace qbm
