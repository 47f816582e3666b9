#include "output/PreviewExport.h"

#include "barcode/EBarcodeError.h"
#include "barcode/TFontsAtResolution.h"
#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "output/BarcodeExport.h"
#include "surface/TCanvas.h"
#include "surface/TVectorFile.h"
#include "templates/T2DTemplateEditor.h"
#include "templates/TTemplateEditor.h"
#include "util/Errors.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <map>
#include <utility>
#include <vector>

namespace qbm {
namespace {

bool HasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
    const std::string lower = LowerCase(path);
    for (const std::string ext : extensions)
        if (lower.size() >= ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0)
            return true;
    return false;
}

bool Dark(TColor c) {
    return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 128;
}

// The dark pixels of a picture as rectangles: runs within a row, joined with the same run of the
// rows below. PDF417 modules come out as whole bars; MaxiCode hexagons as stacks of rows.
std::vector<TRect> TraceDarkAreas(const TBitmap& picture) {
    std::vector<TRect> done;
    std::map<std::pair<int, int>, TRect> open;
    for (int y = 0; y <= picture.Height(); ++y) {
        std::map<std::pair<int, int>, TRect> next;
        for (int x = 0; y < picture.Height() && x < picture.Width();) {
            if (!Dark(picture.Pixel(x, y))) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < picture.Width() && Dark(picture.Pixel(x, y))) ++x;
            const auto key = std::make_pair(start, x);
            const auto it = open.find(key);
            TRect rect = it != open.end() ? it->second : TRect{start, y, x, y};
            if (it != open.end()) open.erase(it);
            rect.bottom = y + 1;
            next.emplace(key, rect);
        }
        for (const auto& [key, rect] : open) done.push_back(rect);
        open = std::move(next);
    }
    return done;
}

void ExportTraced(const TBitmap& picture, const std::string& path, int dpi) {
    const std::vector<TRect> rects = TraceDarkAreas(picture);
    SaveVectorPicture(path, HasExtension(path, {".svg"}) ? TVectorFormat::vfSvg : TVectorFormat::vfPdf,
                      picture.Width(), picture.Height(), dpi, [&](TCanvas& canvas) {
                          canvas.Brush() = TBrush{clBlack, TBrushStyle::bsSolid};
                          for (const TRect& r : rects) canvas.FillRect(r);
                      });
}

// The component sized to its symbol and quiet zone and rendered for the device.
TBitmap RenderAtDpi(TStCustom2DBarcode& component, int dpi) {
    component.SetBounds(component.BarCodeWidth() + 2 * component.QuietZone(),
                        component.BarCodeHeight() + 2 * component.QuietZone());
    TBitmap picture;
    picture.SetResolution(dpi);
    component.RenderToBitmap(picture, dpi, dpi);
    return picture;
}

} // namespace

void ExportTemplatePreview(TTemplateEditor& editor, const std::string& path) {
    if (!editor.PreviewError().empty()) throw EBarcodeError(editor.PreviewError());
    if (HasExtension(path, {".bmp"})) return editor.Preview().SaveToBmpFile(path);
    if (HasExtension(path, {".png"})) return editor.Preview().SaveToPngFile(path);
    if (!HasExtension(path, {".svg", ".pdf"}))
        throw EInOutError("Unsupported picture format: " + path + " (use .bmp, .png, .svg or .pdf)");
    // The barcode holds the template's sizes in printer dots; drawn at that resolution into a vector
    // file it keeps its real size. Its fonts hold points and are scaled only for the drawing.
    TBarcode& barcode = editor.Barcode();
    const int dpi = editor.PrinterResolution();
    const TFontsAtResolution fonts(barcode, dpi);
    ExportBarcode(barcode, path, 10 * barcode.Modul(), dpi);
}

void Export2DPreview(T2DTemplateEditor& editor, const std::string& path, int dpi) {
    if (!editor.PreviewError().empty()) throw E2DBarcodeError(editor.PreviewError());
    if (HasExtension(path, {".jpg", ".jpeg"})) return editor.Preview().SaveToJpegFile(path, 90);
    if (HasExtension(path, {".png"})) return editor.Preview().SaveToPngFile(path);
    if (HasExtension(path, {".bmp"})) return editor.Preview().SaveToBmpFile(path);
    if (!HasExtension(path, {".svg", ".pdf"}))
        throw EInOutError("Unsupported picture format: " + path + " (use .jpg, .png, .bmp, .svg or .pdf)");
    if (editor.Page() == T2DTemplateEditor::TPage::Pdf417) {
        TStPDF417Barcode pdf417;
        editor.SetUpPdf417(pdf417);
        ExportTraced(RenderAtDpi(pdf417, dpi), path, dpi);
    } else {
        TStMaxiCodeBarcode maxiCode;
        editor.SetUpMaxiCode(maxiCode);
        ExportTraced(RenderAtDpi(maxiCode, dpi), path, dpi);
    }
}

} // namespace qbm
