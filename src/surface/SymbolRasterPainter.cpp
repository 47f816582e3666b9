#include "surface/SymbolRasterPainter.h"

#include "surface/DotShapePainter.h"
#include "surface/SymbolCanvasPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TPixelRows.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qbm {
namespace {

// Each dark run of a module row fills its pixels in all the module's pixel rows at once: no
// rectangle, no rounding on the way. Only for whole dots a module, where every module edge falls on
// a pixel edge exactly as the rectangles' rounded edges do.
void PaintModuleRows(const TPixelRows& rows, const TModuleRows& m, const TSymbolPlacement& p,
                     uint32_t value) {
    const int dots = static_cast<int>(p.dotsPerModule);
    const int left = p.origin.x + m.x * dots;
    for (int row = 0, top = p.origin.y + m.y * dots; row < m.rows; ++row, top += dots) {
        if (top + dots <= 0 || top >= rows.height) continue;
        const uint8_t* bits = m.Row(row);
        for (int column = 0; column < m.columns;) {
            if (!((bits[column >> 3] >> (column & 7)) & 1)) {
                // Eight light modules at a time.
                column += (column & 7) == 0 && bits[column >> 3] == 0 ? 8 : 1;
                continue;
            }
            const int start = column;
            while (column < m.columns && ((bits[column >> 3] >> (column & 7)) & 1)) ++column;
            rows.Fill(left + start * dots, top, left + column * dots, top + dots, value);
        }
    }
}

void PaintRectangles(const TPixelRows& rows, const TSymbolGeometry& g, const TSymbolPlacement& p) {
    // Kept from symbol to symbol: a print run paints one after the other.
    thread_local std::vector<TPixelBox> boxes;
    boxes.clear();
    for (const TModuleRect& r : g.rects) {
        const TRect box = p.Box(r);
        if (box.right > box.left && box.bottom > box.top)
            boxes.push_back({box.left, box.top, box.right, box.bottom});
    }
    rows.FillBoxes(boxes, rows.ValueOf(p.ink));
}

// A stacked symbol's rows (PDF417), at whole dots a module. On plain paper every pixel row of a
// symbol row is the same: its first visible one is filled and copied to the others, one copy a
// pixel row instead of a fill for each bar.
void PaintStackedRows(const TPixelRows& rows, const TSymbolGeometry& g, const TSymbolPlacement& p,
                      uint32_t value) {
    const TModuleRows& m = g.stacked;
    const int dots = static_cast<int>(p.dotsPerModule);
    const int left = p.X(g.quietX);
    const bool copyRows = p.plainPaper && rows.depth == 4;
    for (int row = 0; row < m.rows; ++row) {
        const int top = std::max(p.Y(g.quietY + row * g.stackedRowHeight), 0);
        const int bottom = std::min(p.Y(g.quietY + (row + 1) * g.stackedRowHeight), rows.height);
        if (top >= bottom) continue;
        if (!copyRows) {
            m.ForEachRun(row, [&](int start, int end) {
                rows.Fill(left + start * dots, top, left + end * dots, bottom, value);
            });
            continue;
        }
        uint32_t* const line = rows.Row(top);
        int first = -1, last = 0;
        m.ForEachRun(row, [&](int start, int end) {
            const int l = std::max(left + start * dots, 0), r = std::min(left + end * dots, rows.width);
            if (l >= r) return;
            std::fill(line + l, line + r, value);
            if (first < 0) first = l;
            last = r;
        });
        for (int y = top + 1; first >= 0 && y < bottom; ++y)
            std::copy(line + first, line + last, rows.Row(y) + first);
    }
}

bool OnWholeDots(const TSymbolPlacement& p) {
    return p.dotsPerModule >= 1 && p.dotsPerModule == std::floor(p.dotsPerModule);
}

} // namespace

void PaintSymbolPixels(TCanvas& canvas, const TSymbolGeometry& geometry, const TSymbolPlacement& placement) {
    const TPixelRows* rows = canvas.PixelRows();
    if (!rows) {
        PaintSymbolShapes(canvas, geometry, placement);
        return;
    }
    if (placement.fillPaper) {
        const TRect b = placement.Bounds(geometry);
        rows->Fill(b.left, b.top, b.right, b.bottom, rows->ValueOf(placement.paper));
    }
    if (!geometry.modules.bits.empty() && OnWholeDots(placement)) {
        PaintModuleRows(*rows, geometry.modules, placement, rows->ValueOf(placement.ink));
    } else {
        PaintRectangles(*rows, geometry, placement);
    }
    if (!geometry.stacked.bits.empty()) {
        if (OnWholeDots(placement)) {
            PaintStackedRows(*rows, geometry, placement, rows->ValueOf(placement.ink));
        } else {
            TSymbolGeometry bars;
            bars.rects = StackedBars(geometry);
            PaintRectangles(*rows, bars, placement);
        }
    }
    const bool dotShapes = !geometry.dotHexagons.empty() || !geometry.dotRings.radii.empty();
    if (dotShapes && rows->depth == 4) {
        StampDotShapes(canvas, *rows, geometry, placement);
    } else if (dotShapes) {
        TSymbolPlacement onPicture = placement;
        onPicture.onPicture = true;
        PaintDotShapes(canvas, geometry, onPicture);
    }
    if (!geometry.hexagons.empty() || !geometry.rings.empty() || !geometry.texts.empty())
        PaintSymbolExtras(canvas, geometry, placement);
}

TBitmap SymbolPicture(const TSymbolGeometry& geometry, int dotsPerModule) {
    TSymbolPlacement placement;
    placement.dotsPerModule = dotsPerModule;
    const TRect bounds = placement.Bounds(geometry);
    TBitmap picture(bounds.Width(), bounds.Height());
    // A new bitmap is white already.
    placement.fillPaper = false;
    PaintSymbolPixels(picture.Canvas(), geometry, placement);
    return picture;
}

} // namespace qbm
