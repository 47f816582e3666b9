#include "surface/SymbolRasterPainter.h"

#include "surface/SymbolCanvasPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TPixelRows.h"

#include <vector>

namespace qbm {

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
    // Kept from symbol to symbol: a print run paints one after the other.
    thread_local std::vector<TPixelBox> boxes;
    boxes.clear();
    for (const TModuleRect& r : geometry.rects) {
        const TRect box = placement.Box(r);
        if (box.right > box.left && box.bottom > box.top)
            boxes.push_back({box.left, box.top, box.right, box.bottom});
    }
    rows->FillBoxes(boxes, rows->ValueOf(placement.ink));
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
