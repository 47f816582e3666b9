#include "barcode/BarcodeRender.h"

#include "barcode/TBarcode.h"
#include "barcode/TBoundsCanvas.h"
#include "surface/GuiApplication.h"

#include <algorithm>

namespace qbm {
namespace {
constexpr long long kMaxPixels = 100'000'000;
} // namespace

TBitmap RenderBarcode(TBarcode& bc, int margin, TBitmapPixels pixels) {
    bc.BuildPattern(); // a text the engine rejects fails before any font machinery starts
    EnsureGuiApplication();
    margin = std::max(0, margin);
    bc.SetLeft(0);
    bc.SetTop(0);
    TBoundsCanvas bounds;
    bc.Draw(bounds);
    const TRect box = bounds.Bounds();
    const long long w = static_cast<long long>(box.Width()) + 2LL * margin;
    const long long h = static_cast<long long>(box.Height()) + 2LL * margin;
    if (w * h > kMaxPixels || w > 1'000'000 || h > 1'000'000) throw EBarcodeError("Picture too large");
    bc.SetLeft(margin - box.left);
    bc.SetTop(margin - box.top);
    TBitmap bitmap(static_cast<int>(std::max(1LL, w)), static_cast<int>(std::max(1LL, h)), pixels);
    bc.Draw(bitmap.Canvas());
    return bitmap;
}

} // namespace qbm
