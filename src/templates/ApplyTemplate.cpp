#include "templates/ApplyTemplate.h"

#include "barcode/TBarcode.h"
#include "ini/TIniFile.h"
#include "surface/TCanvas.h"
#include "templates/FontStyleLetters.h"
#include "templates/LabelLimits.h"
#include "util/Errors.h"
#include "util/Rounding.h"

#include <algorithm>

namespace qbm {
namespace {

// Font names longer than this are cut, as the platform's font records hold no more.
constexpr size_t kMaxFontNameLength = 31;

// The picture is cleared (a fresh white bitmap of its size) and the barcode drawn on it.
void DrawInto(TBitmap& bitmap, TBarcode& barcode) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
    bitmap = TBitmap(bitmap.Width(), bitmap.Height());
    barcode.Draw(bitmap.Canvas());
}

TFont TemplateFont(const TFont& current, const std::string& name, const std::string& letters) {
    TFont font = current;
    if (!name.empty()) font.SetName(name.substr(0, kMaxFontNameLength));
    font.SetStyle(LettersToStyle(letters));
    return font;
}

TFont WithSize(const TFont& font, int points) {
    TFont sized = font;
    sized.SetSize(points);
    return sized;
}

} // namespace

void ApplyTemplate(const TTemplate& t, TBarcode& barcode, TLabelPicture& label, int dpiX, int dpiY) {
    if (t.Height > kMaxTemplateHeightMm)
        throw EInOutError("The template's Height of " + std::to_string(t.Height) +
                          " mm is more than a label can be (at most " + std::to_string(kMaxTemplateHeightMm) +
                          " mm).");
    if (t.BarWidth > kMaxTemplateBarWidth)
        throw EInOutError("The template's BarWidth of " + std::to_string(t.BarWidth) +
                          " hundredths of a millimetre is more than a label can be (at most " +
                          std::to_string(kMaxTemplateBarWidth) + ").");
    const int modul = std::max(1, HundredthsMmToDots(t.BarWidth, dpiX));

    // Ordinals beyond the enumerations (a hand-edited file) leave the barcode's setting as it is.
    if (t.CodeType >= 0 && t.CodeType < kBarcodeTypeCount)
        barcode.SetTyp(static_cast<TBarcodeType>(t.CodeType));
    if (t.TextContent >= 0 && t.TextContent <= bcoBoth)
        barcode.SetShowText(static_cast<TBarcodeOption>(t.TextContent));
    if (t.TextLayout >= 0 && t.TextLayout <= stpBottomCenter) {
        barcode.SetShowTextPosition(static_cast<TShowTextPosition>(t.TextLayout));
        // The layout decides whether there is text at all; "TextContent" then has no say.
        barcode.SetShowText(t.TextLayout == 3 ? bcoNone : bcoCode);
    }
    // The bar height converts with the horizontal resolution too: labels were laid out that way.
    if (t.Height > 0) barcode.SetHeight(MmToDots(t.Height, dpiX));
    // The barcode ignores a narrow bar wider than it draws: the label would come out with the bars
    // of the setting before, far too thin, and still scan as something.
    if (modul > kMaxModul) {
        int fits = dpiX;
        while (fits > 1 && HundredthsMmToDots(t.BarWidth, fits) > kMaxModul) --fits;
        throw EInOutError("The template's bar width of " + std::to_string(t.BarWidth) +
                          " hundredths of a millimetre is " + std::to_string(modul) + " dots at " +
                          std::to_string(dpiX) + " dpi, more than the " + std::to_string(kMaxModul) +
                          " dots a bar may be; choose " + std::to_string(fits) + " dpi or less.");
    }
    barcode.SetModul(modul);
    if (t.ExtCaptionPosition >= 0 && t.ExtCaptionPosition <= 2)
        barcode.ExtCaptionPosition = static_cast<uint8_t>(t.ExtCaptionPosition);

    const int codeSize = std::max(0, t.CFontSize);
    const int captionSize = std::max(0, t.XFontSize);
    const TFont codeFont = TemplateFont(barcode.ShowTextFont(), t.CFontName, t.CFontStyle);
    const TFont captionFont = TemplateFont(barcode.ExtCapFont(), t.XFontName, t.XFontStyle);
    // Fonts hold point sizes; while drawing for the printer they are scaled to its resolution.
    barcode.SetShowTextFont(WithSize(codeFont, Rnd(static_cast<double>(dpiX) * codeSize / 96)));
    barcode.SetExtCapFont(WithSize(captionFont, Rnd(static_cast<double>(dpiX) * captionSize / 96)));
    barcode.SetChecksum(t.CheckSum);
    barcode.SetTop(Rnd(dpiX * 20.0 / 96));
    barcode.SetLeft(0);

    // Whatever happens while drawing, the fonts return to their nominal sizes.
    struct RestoreFonts {
        TBarcode& barcode;
        const TFont& code;
        const TFont& caption;
        int codeSize, captionSize;
        ~RestoreFonts() {
            barcode.SetShowTextFont(WithSize(code, codeSize));
            barcode.SetExtCapFont(WithSize(caption, captionSize));
        }
    } restore{barcode, codeFont, captionFont, codeSize, captionSize};

    // The picture's size is known before it is drawn: a code too long for any label is refused here.
    RefuseCodeWiderThanAnyLabel(barcode.Text().size());
    const long long width = barcode.Width(),
                    height = Rnd(dpiY * 30.0 / 96) + static_cast<long long>(barcode.Height());
    if (width > kMaxLabelPixels || height > kMaxLabelPixels || width * height > kMaxLabelArea)
        throw EInOutError("The label would be " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, more than a label picture can hold; the code has " +
                          std::to_string(barcode.Text().size()) + " characters.");

    // Drawn once into the picture as it stands, then again at the size of the barcode.
    DrawInto(label.Bitmap, barcode);
    label.Bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    DrawInto(label.Bitmap, barcode);

    label.StatusText = std::string("Barcode Type: ") + barcode.TypeName() + " ";
}

void ApplyTemplate(const TIniFile& library, const std::string& name, TBarcode& barcode, TLabelPicture& label,
                   int dpiX, int dpiY) {
    ApplyTemplate(ReadTemplate(library, name), barcode, label, dpiX, dpiY);
}

} // namespace qbm
