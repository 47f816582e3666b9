#include "output/PreviewExport.h"

#include "barcode/BarcodeRender.h"
#include "barcode/EBarcodeError.h"
#include "barcode/TFontsAtResolution.h"
#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "output/BarcodeExport.h"
#include "surface/TCanvas.h"
#include "surface/TVectorFile.h"
#include "surface/TiffEncoder.h"
#include "templates/T2DTemplateEditor.h"
#include "templates/TTemplateEditor.h"
#include "util/Errors.h"
#include "util/IntConversion.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace qbm {
namespace {

// Linear symbols need ten modules of white on either side.
constexpr int kLinearQuietModules = 10;

bool IsVector(TPictureFormat f) {
    return f == TPictureFormat::pfSvg || f == TPictureFormat::pfPdf;
}

TPictureFormat FormatOrRefuse(const std::string& path) {
    const auto format = PictureFormatOf(path);
    if (!format)
        throw EInOutError("Unsupported picture format: " + path +
                          " (use .bmp, .png, .jpg, .tif, .svg or .pdf)");
    return *format;
}

void CheckDpi(int dpi) {
    if (dpi < TPictureExport::kMinDpi || dpi > TPictureExport::kMaxDpi)
        throw EInOutError("The resolution of an exported picture is " + IntToStr(TPictureExport::kMinDpi) +
                          " to " + IntToStr(TPictureExport::kMaxDpi) + " dots per inch, not " +
                          IntToStr(dpi) + ".");
}

void SaveRaster(TBitmap& picture, const std::string& path, TPictureFormat format, int dpi) {
    picture.SetResolution(dpi);
    switch (format) {
    case TPictureFormat::pfBmp:
        return picture.SaveToBmpFile(path);
    case TPictureFormat::pfPng:
        return picture.SaveToPngFile(path);
    case TPictureFormat::pfJpeg:
        return picture.SaveToJpegFile(path, 90);
    case TPictureFormat::pfTiff:
        return WriteTiff(picture, path);
    default:
        throw EInOutError("Unsupported picture format: " + path);
    }
}

bool Dark(TColor c) {
    return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 128;
}

// The smallest rectangle holding every dark pixel; empty (right < left) for a blank picture.
TRect DarkBounds(const TBitmap& picture) {
    TRect r{picture.Width(), picture.Height(), -1, -1};
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (Dark(picture.Pixel(x, y))) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    return r;
}

// The dark pixels of a picture as rectangles: runs within a row, joined with the same run of the
// rows below. PDF417 modules come out as whole bars.
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

// A 2D symbol drawn for the device: its picture, where the symbol lies in it, and the white it needs.
struct TDeviceSymbol {
    TBitmap picture;
    TRect symbol;
    int quiet = 0;
};

TDeviceSymbol RenderSymbol(TStCustom2DBarcode& component, int dpi, int quietModulePixels) {
    component.SetAlignment(taCenter);
    SizeToSymbol(component);
    TDeviceSymbol s;
    s.picture.SetResolution(dpi);
    component.RenderToBitmap(s.picture, dpi, dpi);
    s.symbol = DarkBounds(s.picture);
    if (s.symbol.right < s.symbol.left) throw E2DBarcodeError("The symbol has no modules to export.");
    s.quiet = std::max(quietModulePixels, Rnd(dpi / 25.4)); // never less than a millimetre
    return s;
}

// The symbol cut out of its device picture and set in the middle of its quiet zone.
TBitmap Framed(const TDeviceSymbol& s) {
    const int w = s.symbol.Width(), h = s.symbol.Height();
    TBitmap framed(w + 2 * s.quiet, h + 2 * s.quiet);
    framed.Canvas().CopyRect(TRect{s.quiet, s.quiet, s.quiet + w, s.quiet + h}, s.picture, s.symbol);
    return framed;
}

TVectorFormat VectorFormat(TPictureFormat f) {
    return f == TPictureFormat::pfSvg ? TVectorFormat::vfSvg : TVectorFormat::vfPdf;
}

} // namespace

std::optional<TPictureFormat> PictureFormatOf(const std::string& path) {
    const std::string lower = LowerCase(path);
    const size_t dot = lower.rfind('.');
    if (dot == std::string::npos || lower.find('/', dot) != std::string::npos) return std::nullopt;
    const std::string ext = lower.substr(dot + 1);
    if (ext == "bmp") return TPictureFormat::pfBmp;
    if (ext == "png") return TPictureFormat::pfPng;
    if (ext == "jpg" || ext == "jpeg") return TPictureFormat::pfJpeg;
    if (ext == "tif" || ext == "tiff") return TPictureFormat::pfTiff;
    if (ext == "svg") return TPictureFormat::pfSvg;
    if (ext == "pdf") return TPictureFormat::pfPdf;
    return std::nullopt;
}

void ExportTemplatePreview(TTemplateEditor& editor, const std::string& path, const TPictureExport& choice) {
    if (!editor.PreviewError().empty()) throw EBarcodeError(editor.PreviewError());
    const TPictureFormat format = FormatOrRefuse(path);
    if (choice.previewPicture && !IsVector(format)) {
        TBitmap preview = editor.Preview();
        return SaveRaster(preview, path, format, 96);
    }
    // Vector files keep the barcode at the printer's resolution (its real size); pictures take the
    // chosen one, the template's millimetres turned into whole dots for it.
    const int dpi = IsVector(format) ? editor.PrinterResolution() : choice.dpi;
    CheckDpi(dpi);
    TBarcode barcode;
    barcode.Assign(editor.Barcode());
    barcode.SetOnChange({});
    // What Assign leaves out, as the print run's working barcode takes it.
    const TBarcode& shown = editor.Barcode();
    barcode.SetShowTextFont(shown.ShowTextFont());
    barcode.SetExtCapFont(shown.ExtCapFont());
    barcode.SetShowTextPosition(shown.ShowTextPosition());
    barcode.ExtCaption = shown.ExtCaption;
    barcode.ExtCaptionPosition = shown.ExtCaptionPosition;
    barcode.SetModul(std::max(1, HundredthsMmToDots(editor.BarWidth(), dpi)));
    if (editor.BarHeight() > 0) barcode.SetHeight(static_cast<int>(editor.BarHeight() / 25.4 * dpi));
    const TFontsAtResolution fonts(barcode, dpi);
    const int margin = kLinearQuietModules * barcode.Modul();
    if (IsVector(format)) return ExportBarcode(barcode, path, margin, dpi);
    TBitmap picture = RenderBarcode(barcode, margin);
    SaveRaster(picture, path, format, dpi);
}

void Export2DPreview(T2DTemplateEditor& editor, const std::string& path, const TPictureExport& choice) {
    if (!editor.PreviewError().empty()) throw E2DBarcodeError(editor.PreviewError());
    const TPictureFormat format = FormatOrRefuse(path);
    if (choice.previewPicture && !IsVector(format)) {
        TBitmap preview = editor.Preview();
        return SaveRaster(preview, path, format, 96);
    }
    CheckDpi(choice.dpi);
    const int dpi = choice.dpi;
    if (editor.Page() == T2DTemplateEditor::TPage::Pdf417) {
        TStPDF417Barcode pdf417;
        editor.SetUpPdf417(pdf417);
        // Modules are whole device pixels: the bar width is scaled and truncated for the device.
        const int module = std::max(1, static_cast<int>(std::trunc(pdf417.BarWidth() * dpi / 96.0)));
        const TDeviceSymbol s = RenderSymbol(pdf417, dpi, 2 * module);
        TBitmap framed = Framed(s);
        if (!IsVector(format)) return SaveRaster(framed, path, format, dpi);
        const std::vector<TRect> rects = TraceDarkAreas(framed);
        return SaveVectorPicture(path, VectorFormat(format), framed.Width(), framed.Height(), dpi,
                                 [&](TCanvas& canvas) {
                                     canvas.Brush() = TBrush{clBlack, TBrushStyle::bsSolid};
                                     for (const TRect& r : rects) canvas.FillRect(r);
                                 });
    }
    TStMaxiCodeBarcode maxiCode;
    editor.SetUpMaxiCode(maxiCode);
    const TDeviceSymbol s = RenderSymbol(maxiCode, dpi, 0);
    if (!IsVector(format)) {
        TBitmap framed = Framed(s);
        return SaveRaster(framed, path, format, dpi);
    }
    // Hexagons and rings as shapes, placed where the picture has them.
    const int width = s.symbol.Width() + 2 * s.quiet, height = s.symbol.Height() + 2 * s.quiet;
    SaveVectorPicture(path, VectorFormat(format), width, height, dpi, [&](TCanvas& canvas) {
        maxiCode.PrintToCanvasAtDpi(canvas, TPoint{s.quiet - s.symbol.left, s.quiet - s.symbol.top}, dpi,
                                    dpi);
    });
}

} // namespace qbm
