#include "output/BarcodeExport.h"

#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "barcode/TBoundsCanvas.h"
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

// Puts the barcode's position back however the export ends.
class TPositionGuard {
public:
    explicit TPositionGuard(TBarcode& bc) : m_bc(bc), m_left(bc.Left()), m_top(bc.Top()) {}
    ~TPositionGuard() {
        m_bc.SetLeft(m_left);
        m_bc.SetTop(m_top);
    }

private:
    TBarcode& m_bc;
    int m_left;
    int m_top;
};

} // namespace

void ExportBarcode(TBarcode& bc, const std::string& path, int margin, int dpi) {
    const std::string lower = LowerCase(path);
    const bool svg = EndsWith(lower, ".svg"), pdf = EndsWith(lower, ".pdf");
    if (!svg && !pdf && !EndsWith(lower, ".png") && !EndsWith(lower, ".bmp") && !EndsWith(lower, ".jpg") &&
        !EndsWith(lower, ".jpeg"))
        throw EInOutError("Unsupported picture format: " + path + " (use .png, .bmp, .jpg, .svg or .pdf)");
    const TPositionGuard guard(bc);
    if (!svg && !pdf) {
        TBitmap picture = RenderBarcode(bc, margin);
        picture.SetResolution(dpi);
        picture.SaveToFile(path);
        return;
    }
    bc.SetLeft(0);
    bc.SetTop(0);
    TBoundsCanvas bounds;
    bounds.SetResolution(dpi);
    bc.Draw(bounds);
    const TRect box = bounds.Bounds();
    SaveVectorPicture(path, svg ? TVectorFormat::vfSvg : TVectorFormat::vfPdf, box.Width() + 2 * margin,
                      box.Height() + 2 * margin, dpi, [&](TCanvas& canvas) {
                          bc.SetLeft(margin - box.left);
                          bc.SetTop(margin - box.top);
                          bc.Draw(canvas);
                      });
}

} // namespace qbm
