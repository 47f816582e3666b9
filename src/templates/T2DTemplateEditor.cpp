#include "templates/T2DTemplateEditor.h"

#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "ini/TIniFile.h"
#include "templates/Apply2DSettings.h"
#include "templates/TemplateLibrary.h"
#include "templates/TemplatePreview.h"
#include "util/Errors.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <algorithm>

namespace qbm {
namespace {

int IndexOf(const TStrings& items, const std::string& text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

std::string ItemText(const TStrings& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : "";
}

// The picture the symbol is painted into: its size plus the quiet zone on each side and some room,
// but never smaller than the visible area; the symbol centred at the top.
void PaintCentred(TStCustom2DBarcode& component, int visibleWidth, int visibleHeight, int margin,
                  TBitmap& picture) {
    const int quiet = 2 * component.QuietZone();
    const int width = std::max(visibleWidth, component.BarCodeWidth() + quiet + margin);
    const int height = std::max(visibleHeight, component.BarCodeHeight() + quiet + margin);
    component.SetBounds(width, height);
    const int x = std::max(0, Rnd((width - component.BarCodeWidth() - quiet) / 2.0));
    picture = TBitmap(width, height);
    component.PaintToCanvas(picture.Canvas(), TPoint{x, 0});
}

} // namespace

const TStrings& T2DTemplateEditor::EccItems() {
    static const TStrings items = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
    return items;
}

const TStrings& T2DTemplateEditor::ModeItems() {
    static const TStrings items = {"2", "3", "4", "5", "6"};
    return items;
}

T2DTemplateEditor::T2DTemplateEditor(std::string libraryPath, TUserPrompts& prompts)
    : m_libraryPath(std::move(libraryPath)), m_prompts(prompts), m_preview(kVisibleWidth, kVisibleHeight) {
    // The editor's own defaults, which differ from those the main window applies the section with.
    const TIniFile library(m_libraryPath);
    const char* s = kBarcode2DSection;
    m_eccIndex = library.ReadInteger(s, "PECC", 2);
    m_eccText = ItemText(EccItems(), m_eccIndex);
    if (m_eccText.empty()) m_eccIndex = -1;
    m_truncated = library.ReadBool(s, "PTruncated", false);
    m_barWidth = std::clamp(library.ReadInteger(s, "PBW", 0), kMinBarWidth, kMaxBarWidth);
    m_heightToWidth = std::clamp(library.ReadInteger(s, "PBH", 0), kMinHeightToWidth, kMaxHeightToWidth);
    m_columns = std::clamp(library.ReadInteger(s, "PCol", 4), 0, kMaxColumns);
    m_rows = std::clamp(library.ReadInteger(s, "PRow", 0), 0, kMaxRows);
    m_modeIndex = library.ReadInteger(s, "MMode", 0);
    m_modeText = ItemText(ModeItems(), m_modeIndex);
    if (m_modeText.empty()) m_modeIndex = -1;
    m_autoScale = library.ReadBool(s, "MMAS", true);
    m_country = library.ReadInteger(s, "MCON", 0);
    m_serviceClass = library.ReadInteger(s, "MSEV", 0);
    m_postalCode = library.ReadString(s, "MPST", "0");
    m_moduleSize = library.ReadInteger(s, "MBWH", 4);
}

void T2DTemplateEditor::SetVisibleArea(int width, int height) {
    m_visibleWidth = std::max(1, width);
    m_visibleHeight = std::max(1, height);
}

void T2DTemplateEditor::SetPage(TPage page) {
    m_page = page;
    DrawCurrentPage();
}

void T2DTemplateEditor::PrepareOpening(TPage page, const std::string& testText) {
    m_page = page;
    (page == TPage::Pdf417 ? m_pdfText : m_maxiText) = testText;
}

void T2DTemplateEditor::Show() {
    DrawCurrentPage();
}

void T2DTemplateEditor::DrawCurrentPage() {
    if (m_page == TPage::Pdf417)
        DrawPdf417Preview();
    else
        DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetPdf417Text(const std::string& text) {
    m_pdfText = text;
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetEccText(const std::string& text) {
    m_eccText = text;
    m_eccIndex = IndexOf(EccItems(), text);
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetTruncated(bool truncated) {
    m_truncated = truncated;
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetBarWidth(int width) {
    m_barWidth = std::clamp(width, kMinBarWidth, kMaxBarWidth);
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetHeightToWidth(int ratio) {
    m_heightToWidth = std::clamp(ratio, kMinHeightToWidth, kMaxHeightToWidth);
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetColumns(int columns) {
    m_columns = std::clamp(columns, 0, kMaxColumns);
    DrawPdf417Preview();
}

void T2DTemplateEditor::SetRows(int rows) {
    m_rows = std::clamp(rows, 0, kMaxRows);
    if (m_columns == 0) DrawPdf417Preview();
}

void T2DTemplateEditor::SetMaxiCodeText(const std::string& text) {
    m_maxiText = text;
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetModeText(const std::string& text) {
    m_modeText = text;
    m_modeIndex = IndexOf(ModeItems(), text);
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetCountry(int country) {
    m_country = country;
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetServiceClass(int serviceClass) {
    m_serviceClass = serviceClass;
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetPostalCode(const std::string& postalCode) {
    m_postalCode = postalCode;
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetAutoScale(bool autoScale) {
    m_autoScale = autoScale;
    DrawMaxiCodePreview();
}

void T2DTemplateEditor::SetModuleSize(int pixels) {
    m_moduleSize = pixels;
    DrawMaxiCodePreview();
}

T2DSettings T2DTemplateEditor::Settings() const {
    T2DSettings s;
    s.PECC = m_eccIndex;
    s.PTruncated = m_truncated;
    s.PBW = m_barWidth;
    s.PBH = m_heightToWidth;
    s.PCol = m_columns;
    s.PRow = m_rows;
    s.MMode = m_modeIndex;
    s.MMAS = m_autoScale;
    s.MCON = m_country;
    s.MSEV = m_serviceClass;
    s.MPST = m_postalCode;
    s.MBarWidth = m_moduleSize;
    s.MBarHeight = m_moduleSize;
    return s;
}

bool T2DTemplateEditor::Save2DSettings() {
    const T2DSettings s = Settings();
    TIniFile library(m_libraryPath);
    const char* section = kBarcode2DSection;
    try {
        library.WriteInteger(section, "PECC", s.PECC);
        library.WriteBool(section, "PTruncated", s.PTruncated);
        library.WriteInteger(section, "PBW", s.PBW);
        library.WriteInteger(section, "PBH", s.PBH);
        library.WriteInteger(section, "PCol", s.PCol);
        library.WriteInteger(section, "PRow", s.PRow);
        library.WriteInteger(section, "MMode", s.MMode);
        library.WriteInteger(section, "MCON", s.MCON);
        library.WriteInteger(section, "MSEV", s.MSEV);
        library.WriteString(section, "MPST", s.MPST);
        library.WriteBool(section, "MMAS", s.MMAS);
        library.WriteInteger(section, "MBWH", s.MBarWidth);
        return true;
    } catch (const EInOutError& e) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

bool T2DTemplateEditor::Ok() {
    return Save2DSettings();
}

void T2DTemplateEditor::SetUpPdf417(TStPDF417Barcode& pdf417) const {
    // An ECC level typed outside the list is drawn as the main window will print it.
    ApplyPdf417Settings(Settings(), pdf417);
    pdf417.SetCode(Trim(m_pdfText));
}

void T2DTemplateEditor::SetUpMaxiCode(TStMaxiCodeBarcode& maxiCode) const {
    T2DSettings s = Settings();
    s.MPST = Trim(s.MPST);
    ApplyMaxiCodeSettings(s, maxiCode);
    maxiCode.SetCode(m_maxiText);
}

void T2DTemplateEditor::DrawPdf417Preview() {
    DrawPreview([&](TBitmap& picture) {
        TStPDF417Barcode pdf417;
        SetUpPdf417(pdf417);
        PaintCentred(pdf417, m_visibleWidth, m_visibleHeight, kPreviewMargin, picture);
    });
}

void T2DTemplateEditor::DrawMaxiCodePreview() {
    // Sized like the PDF417 preview, so a large symbol (big modules without AutoScale) is never cut.
    DrawPreview([&](TBitmap& picture) {
        TStMaxiCodeBarcode maxiCode;
        maxiCode.SetBounds(m_preview.Width(), m_preview.Height());
        SetUpMaxiCode(maxiCode);
        PaintCentred(maxiCode, m_visibleWidth, m_visibleHeight, kPreviewMargin, picture);
    });
}

void T2DTemplateEditor::DrawPreview(const std::function<void(TBitmap&)>& paint) {
    const std::string previous = m_previewError;
    try {
        TBitmap picture;
        paint(picture);
        m_preview = std::move(picture);
        m_previewError.clear();
    } catch (const E2DBarcodeError& e) {
        m_previewError = e.what();
    } catch (const EConvertError& e) {
        m_previewError = e.what();
    }
    if (!m_previewError.empty()) m_preview = MessagePreview(m_visibleWidth, m_visibleHeight, m_previewError);
    if (m_onPreviewChanged) m_onPreviewChanged();
    // A text that stays wrong while the user types on is reported once; the preview keeps the message.
    if (!m_previewError.empty() && m_previewError != previous)
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, m_previewError);
}

} // namespace qbm
