#include "output/BarcodeExport.h"

#include "barcode/TBarcode.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TVectorFile.h"
#include "util/Errors.h"
#include "util/Text.h"

#include <algorithm>

namespace qbm {
namespace {

struct TBox {
    int left, top, right, bottom; // half-open
};

// The box of everything Draw paints, found by drawing once on a generous scratch bitmap.
TBox PaintedBox(TBarcode& bc, int dpi) {
    const int w = bc.Width();
    const int text = std::max(std::abs(bc.ShowTextFont().Height()), std::abs(bc.ExtCapFont().Height())) * 4;
    const int pad = w + bc.Height() + text + 64;
    const int size = 2 * pad + std::max(w, bc.Height());
    TBitmap scratch(size, size);
    scratch.SetResolution(dpi);
    const int oldLeft = bc.Left(), oldTop = bc.Top();
    bc.SetLeft(pad);
    bc.SetTop(pad);
    bc.Draw(scratch.Canvas());
    bc.SetLeft(oldLeft);
    bc.SetTop(oldTop);
    TBox box{size, size, 0, 0};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (scratch.Pixel(x, y) != clWhite) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    if (box.right <= box.left) return {pad, pad, pad + 1, pad + 1};
    return {box.left - pad, box.top - pad, box.right - pad, box.bottom - pad};
}

} // namespace

void ExportBarcode(TBarcode& bc, const std::string& path, int margin, int dpi) {
    const std::string lower = LowerCase(path);
    auto endsWith = [&](const char* ext) {
        const std::string e(ext);
        return lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    };
    const TBox box = PaintedBox(bc, dpi);
    const int width = box.right - box.left + 2 * margin;
    const int height = box.bottom - box.top + 2 * margin;
    const int oldLeft = bc.Left(), oldTop = bc.Top();
    auto paint = [&](TCanvas& canvas) {
        bc.SetLeft(margin - box.left);
        bc.SetTop(margin - box.top);
        bc.Draw(canvas);
    };
    try {
        if (endsWith(".svg") || endsWith(".pdf")) {
            SaveVectorPicture(path, endsWith(".svg") ? TVectorFormat::vfSvg : TVectorFormat::vfPdf, width, height,
                              dpi, paint);
        } else {
            TBitmap picture(width, height);
            picture.SetResolution(dpi);
            paint(picture.Canvas());
            picture.SaveToFile(path);
        }
    } catch (...) {
        bc.SetLeft(oldLeft);
        bc.SetTop(oldTop);
        throw;
    }
    bc.SetLeft(oldLeft);
    bc.SetTop(oldTop);
}

} // namespace qbm
