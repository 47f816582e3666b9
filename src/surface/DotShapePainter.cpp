#include "surface/DotShapePainter.h"

#include "surface/TCanvas.h"
#include "surface/TRasterStamp.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace qbm {
namespace {

constexpr int kStampMargin = 2;
// Larger shapes are drawn through the canvas: their pixels are few against their area anyway.
constexpr int kLargestStamp = 1024;

// Puts the canvas' pen and brush back, however the drawing ends; the font is never touched here.
class TPenAndBrush {
public:
    explicit TPenAndBrush(TCanvas& canvas) : m_canvas(canvas), m_pen(canvas.Pen()), m_brush(canvas.Brush()) {}
    ~TPenAndBrush() {
        m_canvas.SetPen(m_pen);
        m_canvas.SetBrush(m_brush);
    }
    TPenAndBrush(const TPenAndBrush&) = delete;
    TPenAndBrush& operator=(const TPenAndBrush&) = delete;

private:
    TCanvas& m_canvas;
    TPen m_pen;
    TBrush m_brush;
};

// Draws with pen and brush in the ink, a one-dot outline; `h` is already on the device.
void PaintHexagon(TCanvas& canvas, const TDotHexagon& h, TColor ink, bool onBitmap) {
    const int px = h.left, py = h.top, d = h.width, c = h.height;
    if (h.ellipse) {
        canvas.Ellipse(px, py, px + d, py + c);
        return;
    }
    if (!onBitmap) {
        canvas.Polygon({{px + d / 2, py},
                        {px + d, py + c / 4},
                        {px + d, py + c - c / 4},
                        {px + d / 2, py + c},
                        {px, py + c - c / 4},
                        {px, py + c / 4}});
        return;
    }
    canvas.MoveTo(px + d / 2, py);
    canvas.LineTo(px + d, py + c / 4);
    canvas.LineTo(px + d, py + c - c / 4);
    canvas.LineTo(px + d / 2, py + c);
    canvas.LineTo(px, py + c - c / 4);
    canvas.LineTo(px, py + c / 4);
    canvas.LineTo(px + d / 2, py);
    // Only the paper and the ink are in the picture while modules are drawn, so filling up to the
    // ink fills exactly the paper inside the outline.
    canvas.FloodFill(px + d / 2, py + c / 2, ink);
}

// Pen and brush for the modules: solid ink, one dot wide.
void UseInk(TCanvas& canvas, TColor ink) {
    canvas.SetPen(TPen{ink, 1, TPenStyle::psSolid});
    canvas.SetBrush(TBrush{ink, TBrushStyle::bsSolid});
}

// `r` is already on the device; pen and brush are solid.
void PaintRings(TCanvas& canvas, const TDotRings& r, const TSymbolPlacement& p) {
    canvas.Brush().color = p.paper;
    canvas.Pen().width = r.penWidth;
    for (const TPoint& radius : r.radii)
        canvas.Ellipse(r.x - radius.x, r.y - radius.y, r.x + radius.x, r.y + radius.y);
    canvas.Pen().width = 1;
    canvas.Brush().color = p.ink;
}

TDotHexagon OnDevice(TDotHexagon h, const TSymbolPlacement& p) {
    h.left += p.origin.x;
    h.top += p.origin.y;
    return h;
}

TDotRings OnDevice(TDotRings r, const TSymbolPlacement& p) {
    r.x += p.origin.x;
    r.y += p.origin.y;
    return r;
}

// A scratch colour that is neither of the given ones.
TColor OtherColour(TColor a, TColor b) {
    for (const TColor c : {TColor{0x030201}, TColor{0x060504}, TColor{0x090807}})
        if (c != a && c != b) return c;
    return 0x0C0B0A;
}

bool StampFits(const TRasterStamp& stamp, const TPixelRows& rows, int x, int y, bool needsClearArea,
               TColor ink) {
    if (stamp.TouchesBorder()) return false;
    const TRect b = stamp.Bounds();
    if (x + b.left < 0 || y + b.top < 0 || x + b.right > rows.width || y + b.bottom > rows.height)
        return false;
    if (!needsClearArea) return true;
    // A flood fill stops at any pixel of the ink: only where there is none yet inside the outline
    // (pixels outside it are never reached) does the module come out as it did on the scratch picture.
    return !stamp.AnyPixelIs(rows, x, y, TPixelRows::Value(ink));
}

// Modules have a one-dot outline: drawn at whole-dot offsets they cover the same pixels anywhere, so
// one stamp serves every module of a size. A print run draws symbol after symbol, on every core.
bool StampHexagon(const TPixelRows& rows, const TDotHexagon& h, TColor ink) {
    if (std::max(h.width, h.height) + 2 * kStampMargin >= kLargestStamp) return false;
    thread_local TStampCache<std::tuple<int, int, bool, TColor>> stamps;
    const TRasterStamp& stamp = stamps.Get(std::tuple(h.width, h.height, h.ellipse, ink), [&] {
        TDotHexagon at = h;
        at.left = at.top = kStampMargin;
        const int size = std::max(h.width, h.height) + 2 * kStampMargin + 1;
        return TRasterStamp::Record(size, size, OtherColour(ink, ink), [&](TCanvas& c) {
            UseInk(c, ink);
            PaintHexagon(c, at, ink, true);
        });
    });
    const int x = h.left - kStampMargin, y = h.top - kStampMargin;
    if (!StampFits(stamp, rows, x, y, !h.ellipse, ink)) return false;
    stamp.Stamp(rows, x, y);
    return true;
}

// The rings' thick outlines come out slightly differently at different places: their stamp is
// recorded at the very place they are drawn, for the picture's origin.
bool StampRings(const TPixelRows& rows, const TDotRings& r, const TSymbolPlacement& p) {
    const int reach = std::max(std::abs(r.radii[0].x), std::abs(r.radii[0].y)) + std::abs(r.penWidth) + 2;
    if (r.x + reach >= std::min(rows.width, 4 * kLargestStamp) ||
        r.y + reach >= std::min(rows.height, 4 * kLargestStamp))
        return false;
    thread_local TStampCache<std::tuple<TDotRings, TColor, TColor>> stamps;
    const TRasterStamp& stamp = stamps.Get(std::tuple(r, p.ink, p.paper), [&] {
        return TRasterStamp::Record(r.x + reach + 1, r.y + reach + 1, OtherColour(p.ink, p.paper),
                                    [&](TCanvas& c) {
                                        UseInk(c, p.ink);
                                        PaintRings(c, r, p);
                                    });
    });
    if (!StampFits(stamp, rows, 0, 0, false, p.ink)) return false;
    stamp.Stamp(rows, 0, 0);
    return true;
}

} // namespace

void PaintDotShapes(TCanvas& canvas, const TSymbolGeometry& g, const TSymbolPlacement& p) {
    if (g.dotHexagons.empty() && g.dotRings.radii.empty()) return;
    const TPenAndBrush keep(canvas);
    UseInk(canvas, p.ink);
    for (const TDotHexagon& h : g.dotHexagons) PaintHexagon(canvas, OnDevice(h, p), p.ink, p.onPicture);
    if (!g.dotRings.radii.empty()) PaintRings(canvas, OnDevice(g.dotRings, p), p);
}

void StampDotShapes(TCanvas& canvas, const TPixelRows& rows, const TSymbolGeometry& g,
                    const TSymbolPlacement& p) {
    if (g.dotHexagons.empty() && g.dotRings.radii.empty()) return;
    const TPenAndBrush keep(canvas);
    UseInk(canvas, p.ink);
    for (const TDotHexagon& h : g.dotHexagons) {
        const TDotHexagon on = OnDevice(h, p);
        if (!StampHexagon(rows, on, p.ink)) PaintHexagon(canvas, on, p.ink, true);
    }
    if (g.dotRings.radii.empty()) return;
    const TDotRings on = OnDevice(g.dotRings, p);
    if (!StampRings(rows, on, p)) PaintRings(canvas, on, p);
}

} // namespace qbm
