#include "templates/T2DTemplateEditor.h"

#include "barcode2d/TMaxiCodeCarrier.h"
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
    LoadSettings(ReadLibrary());
    m_opened = Settings();
    m_libraryOpened = m_opened;
}

T2DSettings T2DTemplateEditor::ReadLibrary() const {
    // The editor's own defaults, which differ from those the main window applies the section with.
    const TIniFile library(m_libraryPath);
    T2DSettings defaults;
    defaults.PECC = 2;
    defaults.PBW = 0;
    defaults.PBH = 0;
    defaults.PCol = 4;
    defaults.MMode = 0;
    defaults.MBarWidth = 4;
    return Read2DSettingsKeys(library, kBarcode2DSection, defaults);
}

void T2DTemplateEditor::LoadSettings(const T2DSettings& s) {
    m_eccIndex = s.PECC;
    m_eccText = ItemText(EccItems(), m_eccIndex);
    if (m_eccText.empty()) m_eccIndex = -1;
    m_truncated = s.PTruncated;
    m_barWidth = std::clamp(s.PBW, kMinBarWidth, kMaxBarWidth);
    m_heightToWidth = std::clamp(s.PBH, kMinHeightToWidth, kMaxHeightToWidth);
    m_columns = std::clamp(s.PCol, 0, kMaxColumns);
    m_rows = std::clamp(s.PRow, 0, kMaxRows);
    m_modeIndex = s.MMode;
    m_modeText = ItemText(ModeItems(), m_modeIndex);
    if (m_modeText.empty()) m_modeIndex = -1;
    m_autoScale = s.MMAS;
    m_country = s.MCON;
    m_serviceClass = s.MSEV;
    m_postalCode = s.MPST;
    m_moduleSize = s.MBarWidth;
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
    m_opened = Settings();
    m_libraryOpened = ReadLibrary();
    m_savedSinceOpening = false;
}

void T2DTemplateEditor::PrepareOpening(TPage page, const std::string& testText, const T2DSettings& settings) {
    LoadSettings(settings);
    PrepareOpening(page, testText);
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
    try {
        m_savedSinceOpening = true;
        Write2DSettingsKeys(library, kBarcode2DSection, s);
        return true;
    } catch (const EInOutError& e) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

bool T2DTemplateEditor::Ok() {
    if (!Save2DSettings()) return false;
    DrawCurrentPage();
    if (m_previewError.empty()) return true;
    m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, m_previewError);
    return false;
}

void T2DTemplateEditor::Cancel() {
    if (m_savedSinceOpening) {
        // Every field left has been written: the section is put back as it was found.
        LoadSettings(m_libraryOpened);
        Save2DSettings();
        m_savedSinceOpening = false;
    }
    if (Settings() == m_opened) return;
    LoadSettings(m_opened);
    DrawCurrentPage();
}

void T2DTemplateEditor::SetUpPdf417(TStPDF417Barcode& pdf417) const {
    // An ECC level typed outside the list is drawn as the main window will print it.
    ApplyPdf417Settings(Settings(), pdf417);
    pdf417.SetCode(Trim(m_pdfText));
}

void T2DTemplateEditor::SetUpMaxiCode(TStMaxiCodeBarcode& maxiCode) const {
    ApplyMaxiCodeSettings(Settings(), maxiCode);
    maxiCode.SetCode(m_maxiText);
}

void T2DTemplateEditor::DrawPdf417Preview() {
    DrawPreview(
        [&](TBitmap& picture) {
            TStPDF417Barcode pdf417;
            SetUpPdf417(pdf417);
            PaintCentred(pdf417, m_visibleWidth, m_visibleHeight, kPreviewMargin, picture);
        },
        TProblemField::TestText);
}

void T2DTemplateEditor::DrawMaxiCodePreview() {
    // Sized like the PDF417 preview, so a large symbol (big modules without AutoScale) is never cut.
    // A carrier value out of range belongs to its own field; what else the component refuses, to
    // the test text.
    const T2DSettings s = Settings();
    const TCarrierProblem carrier =
        CheckCarrier({static_cast<TStMaxiCodeMode>(std::clamp(s.MMode, 0, 4)), Trim(s.MPST), s.MCON, s.MSEV});
    const TProblemField field = carrier.field == TCarrierField::cfPostalCode     ? TProblemField::PostalCode
                                : carrier.field == TCarrierField::cfCountryCode  ? TProblemField::Country
                                : carrier.field == TCarrierField::cfServiceClass ? TProblemField::ServiceClass
                                                                                 : TProblemField::TestText;
    DrawPreview(
        [&](TBitmap& picture) {
            TStMaxiCodeBarcode maxiCode;
            maxiCode.SetBounds(m_preview.Width(), m_preview.Height());
            SetUpMaxiCode(maxiCode);
            PaintCentred(maxiCode, m_visibleWidth, m_visibleHeight, kPreviewMargin, picture);
        },
        field);
}

void T2DTemplateEditor::DrawPreview(const std::function<void(TBitmap&)>& paint,
                                    TProblemField componentField) {
    m_previewErrorField = TProblemField::None;
    try {
        TBitmap picture;
        paint(picture);
        m_preview = std::move(picture);
        m_previewError.clear();
    } catch (const E2DBarcodeError& e) {
        m_previewError = e.what();
        m_previewErrorField = componentField;
    } catch (const EConvertError& e) {
        // Only the library's own values convert (a damaged section), not what is typed.
        m_previewError = e.what();
        m_previewErrorField = TProblemField::Settings;
    }
    if (!m_previewError.empty()) m_preview = MessagePreview(m_visibleWidth, m_visibleHeight, m_previewError);
    if (m_onPreviewChanged) m_onPreviewChanged();
}

} // namespace qbm
