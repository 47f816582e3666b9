#include "surface/LinearLayoutPainter.h"

#include "surface/TCanvas.h"
#include "surface/TPixelRows.h"

#include <algorithm>

namespace qbm {

void PaintLinearBars(TCanvas& canvas, const TLinearLayout& layout) {
    canvas.Pen().width = 1;
    canvas.SetFont(layout.barFont);
    canvas.SetPen(TPen{clBlack, 1, TPenStyle::psSolid});
    canvas.SetBrush(TBrush{clBlack, TBrushStyle::bsSolid});
    const TPixelRows* rows = layout.upright ? canvas.PixelRows() : nullptr;
    if (rows) {
        // The bar boxes of every symbol drawn on this thread share one buffer: a symbol's bars take
        // less time to write than a buffer takes to be allocated and freed.
        thread_local std::vector<TPixelBox> boxes;
        boxes.clear();
        for (const auto& c : layout.bars) {
            const auto [minY, maxY] = std::minmax(c[0].y, c[1].y);
            boxes.push_back({c[0].x, minY, c[2].x + 1, maxY + 1});
        }
        rows->FillBoxes(boxes, rows->ValueOf(clBlack));
        return;
    }
    thread_local std::vector<TPoint> corners(4);
    for (const auto& c : layout.bars) {
        corners.assign(c.begin(), c.end());
        canvas.Polygon(corners);
    }
}

void PaintLinearTexts(TCanvas& canvas, const TLinearLayout& layout) {
    for (const TLinearText& t : layout.texts) {
        canvas.SetFont(t.font);
        canvas.Pen().color = t.penColor;
        canvas.SetBrush(TBrush{clWhite, TBrushStyle::bsClear});
        canvas.TextOut(t.at.x, t.at.y, t.text);
    }
}

} // namespace qbm
