#include "barcode/BarcodeRender.h"

#include "barcode/TBarcode.h"
#include "barcode/TBoundsCanvas.h"
#include "surface/GuiApplication.h"
#include "surface/LinearLayoutPainter.h"
#include "surface/TCanvasStateGuard.h"

#include <algorithm>

namespace qbm {
namespace {
constexpr long long kMaxPixels = 100'000'000;
} // namespace

namespace {

TPlacedBarcode LayOutPattern(TBarcode& bc, int dpi, TBoundsCanvas& bounds, std::string pattern) {
    TPlacedBarcode placed;
    placed.pattern = std::move(pattern);
    // Measured with the metrics every canvas of the product measures text with, then drawn onto a
    // canvas that only records the box everything covers.
    bounds.Reset();
    bounds.SetResolution(dpi);
    bc.LayOut(placed.pattern, bounds, placed.layout);
    placed.layout.Move(-bc.Left(), -bc.Top());
    PaintLayout(bounds, placed.layout);
    placed.empty = bounds.Empty();
    placed.ink = bounds.Bounds();
    return placed;
}

} // namespace

TPlacedBarcode LayOutAtOrigin(TBarcode& bc, int dpi) {
    std::string pattern = bc.BuildPattern(); // a text the engine rejects fails before any font machinery
    EnsureGuiApplication();
    TBoundsCanvas bounds;
    return LayOutPattern(bc, dpi, bounds, std::move(pattern));
}

TPlacedBarcode LayOutAtOrigin(TBarcode& bc, int dpi, TBoundsCanvas& bounds) {
    return LayOutPattern(bc, dpi, bounds, bc.BuildPattern());
}

void PaintLayout(TCanvas& canvas, const TLinearLayout& layout) {
    const TCanvasStateGuard guard(canvas);
    PaintLinearBars(canvas, layout);
    PaintLinearTexts(canvas, layout);
}

TBitmap RenderBarcode(TBarcode& bc, int margin, TBitmapPixels pixels) {
    TPlacedBarcode placed = LayOutAtOrigin(bc);
    margin = std::max(0, margin);
    const TRect box = placed.ink;
    const long long w = static_cast<long long>(box.Width()) + 2LL * margin;
    const long long h = static_cast<long long>(box.Height()) + 2LL * margin;
    if (w * h > kMaxPixels || w > 1'000'000 || h > 1'000'000) throw EBarcodeError("Picture too large");
    placed.layout.Move(margin - box.left, margin - box.top);
    TBitmap bitmap(static_cast<int>(std::max(1LL, w)), static_cast<int>(std::max(1LL, h)), pixels);
    PaintLayout(bitmap.Canvas(), placed.layout);
    return bitmap;
}

} // namespace qbm
