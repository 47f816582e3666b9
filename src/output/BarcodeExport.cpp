#include "output/BarcodeExport.h"

#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "surface/TCanvas.h"
#include "surface/TVectorFile.h"
#include "util/Errors.h"
#include "util/Text.h"

namespace qbm {
namespace {

bool EndsWith(const std::string& lower, const char* ext) {
    const std::string e(ext);
    return lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
}

} // namespace

void ExportBarcode(TBarcode& bc, const std::string& path, int margin, int dpi) {
    const std::string lower = LowerCase(path);
    const bool svg = EndsWith(lower, ".svg"), pdf = EndsWith(lower, ".pdf");
    if (!svg && !pdf && !EndsWith(lower, ".png") && !EndsWith(lower, ".bmp") && !EndsWith(lower, ".jpg") &&
        !EndsWith(lower, ".jpeg"))
        throw EInOutError("Unsupported picture format: " + path + " (use .png, .bmp, .jpg, .svg or .pdf)");
    if (!svg && !pdf) {
        TBitmap picture = RenderBarcode(bc, margin);
        picture.SetResolution(dpi);
        picture.SaveToFile(path);
        return;
    }
    TPlacedBarcode placed = LayOutAtOrigin(bc, dpi);
    const TRect box = placed.ink;
    placed.layout.Move(margin - box.left, margin - box.top);
    SaveVectorPicture(path, svg ? TVectorFormat::vfSvg : TVectorFormat::vfPdf, box.Width() + 2 * margin,
                      box.Height() + 2 * margin, dpi,
                      [&](TCanvas& canvas) { PaintLayout(canvas, placed.layout); });
}

} // namespace qbm
