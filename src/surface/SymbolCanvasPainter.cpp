#include "surface/SymbolCanvasPainter.h"

#include "surface/DotShapePainter.h"
#include "surface/TCanvas.h"
#include "surface/TCanvasStateGuard.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qbm {
namespace {

void PaintHexagons(TCanvas& canvas, const TSymbolGeometry& g, const TSymbolPlacement& p) {
    if (g.hexagons.empty()) return;
    canvas.SetBrush({p.ink, TBrushStyle::bsSolid});
    canvas.SetPen({p.ink, 1, TPenStyle::psClear});
    // Point up: corners at 90 degrees and every 60 degrees on.
    constexpr double kHalfSqrt3 = 0.8660254037844386;
    for (const TModuleHexagon& h : g.hexagons) {
        const double r = h.diameter / 2;
        canvas.Polygon({{p.X(h.x), p.Y(h.y - r)},
                        {p.X(h.x + r * kHalfSqrt3), p.Y(h.y - r / 2)},
                        {p.X(h.x + r * kHalfSqrt3), p.Y(h.y + r / 2)},
                        {p.X(h.x), p.Y(h.y + r)},
                        {p.X(h.x - r * kHalfSqrt3), p.Y(h.y + r / 2)},
                        {p.X(h.x - r * kHalfSqrt3), p.Y(h.y - r / 2)}});
    }
}

void PaintRings(TCanvas& canvas, const TSymbolGeometry& g, const TSymbolPlacement& p) {
    if (g.rings.empty()) return;
    canvas.SetBrush({p.ink, TBrushStyle::bsClear});
    for (const TModuleRing& ring : g.rings) {
        const int width = std::max(1, Rnd(ring.lineWidth * p.dotsPerModule));
        canvas.SetPen({p.ink, width, TPenStyle::psSolid});
        // The pen runs on the middle of the line.
        const double r = (ring.diameter - ring.lineWidth) / 2;
        canvas.Ellipse(p.X(ring.x - r), p.Y(ring.y - r), p.X(ring.x + r), p.Y(ring.y + r));
    }
}

void PaintTexts(TCanvas& canvas, const TSymbolGeometry& g, const TSymbolPlacement& p) {
    if (g.texts.empty()) return;
    canvas.SetBrush({p.paper, TBrushStyle::bsClear});
    for (const TTextRun& run : g.texts) {
        TFont font;
        font.SetName(p.fontName);
        // A positive height is the cell height in dots.
        font.SetHeight(std::max(1, Rnd(run.size * p.dotsPerModule)));
        font.SetColor(p.ink);
        canvas.SetFont(font);
        const int width = canvas.TextWidth(run.text);
        int x = p.X(run.x);
        if (run.align == TTextAlign::Centre) x -= width / 2;
        if (run.align == TTextAlign::Right) x -= width;
        canvas.TextOut(x, p.Y(run.top), run.text);
    }
}

} // namespace

std::vector<TModuleRect> StackedBars(const TSymbolGeometry& g) {
    std::vector<TModuleRect> bars;
    const TModuleRows& m = g.stacked;
    for (int row = 0; row < m.rows; ++row) {
        const double top = g.quietY + row * g.stackedRowHeight;
        m.ForEachRun(row, [&](int start, int end) {
            bars.push_back({g.quietX + start, top, static_cast<double>(end - start), g.stackedRowHeight});
        });
    }
    return bars;
}

void PaintSymbolExtras(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement) {
    const TCanvasStateGuard keep(canvas);
    PaintHexagons(canvas, geometry, placement);
    PaintRings(canvas, geometry, placement);
    PaintTexts(canvas, geometry, placement);
}

void PaintSymbolShapes(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement) {
    {
        const TCanvasStateGuard keep(canvas);
        if (placement.fillPaper) {
            canvas.SetBrush({placement.paper, TBrushStyle::bsSolid});
            canvas.FillRect(placement.Bounds(geometry));
        }
        canvas.SetBrush({placement.ink, TBrushStyle::bsSolid});
        // In one call: a page gathers them into one path without a call for each.
        thread_local std::vector<TRect> boxes;
        boxes.clear();
        const int dots = static_cast<int>(placement.dotsPerModule);
        if (!geometry.modules.bits.empty() && dots >= 1 && dots == placement.dotsPerModule) {
            // A matrix symbol's rectangles lie on whole modules: at whole dots a module their edges
            // are exact products, the very values the rounding gives.
            const TPoint o = placement.origin;
            for (const TModuleRect& r : geometry.rects) {
                const int x = static_cast<int>(r.x) * dots, y = static_cast<int>(r.y) * dots;
                boxes.push_back({o.x + x, o.y + y, o.x + x + static_cast<int>(r.width) * dots,
                                 o.y + y + static_cast<int>(r.height) * dots});
            }
        } else {
            for (const TModuleRect& r : geometry.rects) {
                const TRect box = placement.Box(r);
                if (box.right > box.left && box.bottom > box.top) boxes.push_back(box);
            }
        }
        const TModuleRows& stacked = geometry.stacked;
        for (int row = 0; row < stacked.rows; ++row) {
            const double y = geometry.quietY + row * geometry.stackedRowHeight;
            const int top = placement.Y(y), bottom = placement.Y(y + geometry.stackedRowHeight);
            if (bottom <= top) continue;
            stacked.ForEachRun(row, [&](int start, int end) {
                const int left = placement.X(geometry.quietX + start),
                          right = placement.X(geometry.quietX + end);
                if (right > left) boxes.push_back({left, top, right, bottom});
            });
        }
        canvas.FillRects(boxes);
    }
    PaintDotShapes(canvas, geometry, placement);
    PaintSymbolExtras(canvas, geometry, placement);
}

} // namespace qbm
