#include "templates/Apply2DSettings.h"

#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "ini/TIniFile.h"
#include "templates/LabelLimits.h"

#include <string>

namespace qbm {
namespace {

// An ordinal beyond the enumeration (a hand-edited file) falls back to the reader's default.
template <typename E> E Ordinal(int value, int last, int def) {
    return static_cast<E>(value >= 0 && value <= last ? value : def);
}

// A library value beyond what any label uses is refused by its key's name.
void CheckSetting(const char* key, int value, int most) {
    if (value > most)
        throw E2DBarcodeError("The 2D setting " + std::string(key) + " of the template library is " +
                              std::to_string(value) + "; it can be at most " + std::to_string(most) + ".");
}

} // namespace

void Paint2DLabel(TStCustom2DBarcode& component, const std::string& text, TLabelPicture& label) {
    component.SetCode(text);
    const long long width = component.BarCodeWidth() + 2LL * component.QuietZone();
    const long long height = component.BarCodeHeight() + 2LL * component.QuietZone();
    // Bar width and row height multiply: each within its limit, together they may still be too large.
    if (width > kMaxLabelPixels || height > kMaxLabelPixels || width * height > kMaxLabelArea)
        throw E2DBarcodeError("The 2D symbol would be " + std::to_string(width) + " x " +
                              std::to_string(height) +
                              " pixels, more than a label picture can hold; check the bar and module sizes "
                              "(PBW, PBH, MBWH) of the template library.");
    component.SetBounds(static_cast<int>(width), static_cast<int>(height));
    for (int pass = 0; pass < 2; ++pass) {
        label.Bitmap = TBitmap(static_cast<int>(width), static_cast<int>(height));
        component.PaintToCanvas(label.Bitmap.Canvas(), TPoint{0, 0});
    }
}

void ApplyPdf417Settings(const T2DSettings& s, TStPDF417Barcode& pdf417) {
    const T2DSettings d;
    CheckSetting("PBW", s.PBW, kMax2DModulePixels);
    CheckSetting("PBH", s.PBH, kMaxPdf417HeightToWidth);
    pdf417.SetECCLevel(Ordinal<TStPDF417ECCLevels>(s.PECC, ecLevel8, d.PECC));
    pdf417.SetBarWidth(s.PBW);
    pdf417.SetBarHeightToWidth(s.PBH);
    pdf417.SetNumColumns(s.PCol);
    // A row count only matters when the component chooses the columns.
    if (pdf417.NumColumns() == 0) pdf417.SetNumRows(s.PRow);
    pdf417.SetTruncated(s.PTruncated);
    pdf417.SetAlignment(taLeftJustify);
}

void ApplyMaxiCodeSettings(const T2DSettings& s, TStMaxiCodeBarcode& maxiCode) {
    CheckSetting("MBWH", std::max(s.MBarWidth, s.MBarHeight), kMax2DModulePixels);
    maxiCode.SetCarrier(CarrierOf(s));
    maxiCode.SetAutoScale(s.MMAS);
    maxiCode.SetBarWidth(s.MBarWidth);
    maxiCode.SetBarHeight(s.MBarHeight);
    maxiCode.SetAlignment(taLeftJustify);
}

void Apply2DComponentSettings(const T2DSettings& s, TStPDF417Barcode& pdf417, TStMaxiCodeBarcode& maxiCode) {
    ApplyPdf417Settings(s, pdf417);
    ApplyMaxiCodeSettings(s, maxiCode);
}

void Apply2DSettings(const T2DSettings& settings, const std::string& formatItem, const std::string& text,
                     TStPDF417Barcode& pdf417, TStMaxiCodeBarcode& maxiCode, TLabelPicture& label) {
    Apply2DComponentSettings(settings, pdf417, maxiCode);
    if (formatItem == kPdf417FormatItem) {
        label.StatusText = "Barcode Type: PDF417 ";
        Paint2DLabel(pdf417, text, label);
    } else if (formatItem == kMaxiCodeFormatItem) {
        label.StatusText = "Barcode Type: MaxiCode ";
        Paint2DLabel(maxiCode, text, label);
    }
}

void Apply2DSettings(const TIniFile& library, const std::string& formatItem, const std::string& text,
                     TStPDF417Barcode& pdf417, TStMaxiCodeBarcode& maxiCode, TLabelPicture& label) {
    Apply2DSettings(Read2DSettings(library), formatItem, text, pdf417, maxiCode, label);
}

} // namespace qbm
