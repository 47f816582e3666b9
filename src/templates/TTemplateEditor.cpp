#include "templates/TTemplateEditor.h"

#include "barcode/EBarcodeError.h"
#include "ini/TIniFile.h"
#include "templates/FontStyleLetters.h"
#include "templates/TEditorTemplate.h"
#include "templates/TemplateLibrary.h"
#include "templates/TemplatePreview.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

namespace qbm {
namespace {

constexpr int kMatrix25 = bcCode_2_5_matrix;
constexpr int kLayoutNone = 3;
// The format list holds the types up to EAN128C at their ordinals, then those drawn from a symbol
// geometry; Code128Auto (23) between them is not offered.
constexpr int kLastPatternFormat = bcCodeEAN128C;
constexpr int kFirstGeometryType = bcCodeDataBar;

int InList(int index, int last) {
    return index >= 0 && index <= last ? index : -1;
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    return std::strftime(text, sizeof text, "%X", &local) ? text : "";
}

} // namespace

const TStrings& TTemplateEditor::FormatItems() {
    static const TStrings items = {"Code_2_5_interleaved",
                                   "Code_2_5_industrial",
                                   "Code_2_5_matrix",
                                   "Code39",
                                   "Code39Extended",
                                   "Code128A",
                                   "Code128B",
                                   "Code128C",
                                   "Code93",
                                   "Code93Extended",
                                   "MSI",
                                   "PostNet",
                                   "Codabar",
                                   "EAN8",
                                   "EAN13 & ISBN",
                                   "UPC_A",
                                   "UPC_E0",
                                   "UPC_E1",
                                   "UPC_Supp2",
                                   "UPC_Supp5",
                                   "EAN128A",
                                   "EAN128B",
                                   "EAN128C",
                                   "GS1 DataBar",
                                   "GS1 DataBar Stacked",
                                   "GS1 DataBar Limited",
                                   "GS1 DataBar Expanded",
                                   "Intelligent Mail"};
    return items;
}

int TTemplateEditor::FormatIndexOf(int codeType) {
    if (codeType >= 0 && codeType <= kLastPatternFormat) return codeType;
    if (codeType >= kFirstGeometryType && codeType < kBarcodeTypeCount)
        return codeType - kFirstGeometryType + kLastPatternFormat + 1;
    return -1;
}

int TTemplateEditor::CodeTypeAt(int formatIndex) {
    if (formatIndex >= 0 && formatIndex <= kLastPatternFormat) return formatIndex;
    const int type = formatIndex - (kLastPatternFormat + 1) + kFirstGeometryType;
    return formatIndex > kLastPatternFormat && type < kBarcodeTypeCount ? type : -1;
}

const TStrings& TTemplateEditor::TextLayoutItems() {
    static const TStrings items = {"Left", "Right", "Center", "None"};
    return items;
}

const TStrings& TTemplateEditor::CaptionPositionItems() {
    static const TStrings items = {"Left", "Right", "Center"};
    return items;
}

TTemplateEditor::TTemplateEditor(std::string libraryPath, TUserPrompts& prompts)
    : m_libraryPath(std::move(libraryPath)), m_prompts(prompts),
      m_preview(kTemplatePreviewWidth, kTemplatePreviewHeight) {
    m_barcode.SetTyp(bcCodePostNet);
    m_barcode.SetHeight(50);
    m_barcode.SetModul(1);
    m_barcode.SetRatio(2);
    m_barcode.SetShowText(bcoCode);
}

void TTemplateEditor::SetPrinterResolution(int dpi) {
    if (dpi > 0) m_dpi = dpi;
}

std::string TTemplateEditor::SelectedName() const {
    return m_selected >= 0 && m_selected < static_cast<int>(m_names.size()) ? m_names[m_selected] : "";
}

void TTemplateEditor::ReloadNames() {
    // The reserved section is hidden only under its exact name, as the library list does it.
    m_names = LoadTemplateNames(m_libraryPath);
}

void TTemplateEditor::PrepareOpening(int preselected, const std::string& testCode,
                                     const std::string& testCaption) {
    m_preselected = preselected;
    m_testCode = testCode;
    m_testCaption = testCaption;
}

namespace {

std::optional<std::string> FileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace

void TTemplateEditor::Show() {
    // The controls write the library as they change; Cancel puts back the library as it was here.
    m_libraryAtShow = FileContent(m_libraryPath);
    ReloadNames();
    m_selected = -1;
    if (!m_names.empty() && m_preselected >= 0 && m_preselected < static_cast<int>(m_names.size()))
        m_selected = m_preselected;
    LoadTemplate();
    DrawTemplatePreview();
}

void TTemplateEditor::SelectTemplate(int index) {
    m_selected = index >= 0 && index < static_cast<int>(m_names.size()) ? index : -1;
    LoadTemplate();
}

void TTemplateEditor::LoadTemplate() {
    if (m_selected < 0) return;
    m_preselected = m_selected;
    const TEditorTemplate t = ReadEditorTemplate(TIniFile(m_libraryPath), SelectedName());
    // A value the lists do not hold (a hand-edited file) leaves the list without a selection.
    m_codeType = FormatIndexOf(t.CodeType) >= 0 ? t.CodeType : -1;
    m_captionPosition = InList(t.ExtCaptionPosition, 2);
    m_textLayout = InList(t.TextLayout, kLayoutNone);
    m_height = std::clamp(t.Height, kMinSize, kMaxSize);
    m_barWidth = std::clamp(t.BarWidth, kMinSize, kMaxSize);
    m_checkSum = t.CheckSum;
    m_captionFont = StoredFont(m_captionFont, t.XFontName, t.XFontSize, t.XFontStyle);
    m_codeFont = StoredFont(m_codeFont, t.CFontName, t.CFontSize, t.CFontStyle);
    m_barcode.SetExtCapFont(m_captionFont);
    m_barcode.SetShowTextFont(m_codeFont);
    DrawTemplatePreview();
}

bool TTemplateEditor::Write(const std::function<void()>& writes) {
    try {
        writes();
        return true;
    } catch (const EInOutError& e) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

bool TTemplateEditor::SaveTemplate() {
    if (m_selected < 0) return true;
    const std::string name = SelectedName();
    TIniFile library(m_libraryPath);
    return Write([&] {
        library.WriteInteger(name, "CodeType", m_codeType);
        // Fonts are written only after the user chose one, so a template keeps the fonts it has.
        if (m_codeFontChosen) {
            library.WriteString(name, "CFontName", m_codeFont.Name());
            library.WriteInteger(name, "CFontSize", m_codeFont.Size());
            library.WriteString(name, "CFontStyle", StyleToLetters(m_codeFont.Style()));
            m_codeFontChosen = false;
        }
        library.WriteInteger(name, "ExtCaptionPosition", m_captionPosition);
        if (m_captionFontChosen) {
            library.WriteString(name, "XFontName", m_captionFont.Name());
            library.WriteInteger(name, "XFontSize", m_captionFont.Size());
            library.WriteString(name, "XFontStyle", StyleToLetters(m_captionFont.Style()));
            m_captionFontChosen = false;
        }
        library.WriteInteger(name, "TextLayout", m_textLayout);
        library.WriteInteger(name, "Height", m_height);
        library.WriteInteger(name, "BarWidth", m_barWidth);
        library.WriteBool(name, "CheckSum", m_checkSum);
    });
}

void TTemplateEditor::SetTestCode(const std::string& code) {
    m_testCode = code;
    DrawTemplatePreview();
}

void TTemplateEditor::SetTestCaption(const std::string& caption) {
    m_testCaption = caption;
    DrawTemplatePreview();
}

void TTemplateEditor::SetCaptionPosition(int index) {
    m_captionPosition = InList(index, 2);
    DrawTemplatePreview();
}

void TTemplateEditor::SetCodeType(int type) {
    m_codeType = FormatIndexOf(type) >= 0 ? type : -1;
    DrawTemplatePreview();
}

void TTemplateEditor::SetFormatIndex(int index) {
    SetCodeType(CodeTypeAt(index));
}

void TTemplateEditor::SetTextLayout(int index) {
    m_textLayout = InList(index, kLayoutNone);
    DrawTemplatePreview();
}

void TTemplateEditor::SetBarHeight(int mm) {
    m_height = std::clamp(mm, kMinSize, kMaxSize);
    DrawTemplatePreview();
}

void TTemplateEditor::SetBarWidth(int hundredths) {
    m_barWidth = std::clamp(hundredths, kMinSize, kMaxSize);
    DrawTemplatePreview();
}

void TTemplateEditor::SetCheckSum(bool checked) {
    m_checkSum = checked;
    DrawTemplatePreview();
}

void TTemplateEditor::ChooseCodeFont(const TFont& font) {
    m_codeFont = font;
    m_codeFontChosen = true;
    m_barcode.SetShowTextFont(font);
    SaveTemplate();
    DrawTemplatePreview();
}

void TTemplateEditor::ChooseCaptionFont(const TFont& font) {
    m_captionFont = font;
    m_captionFontChosen = true;
    m_barcode.SetExtCapFont(font);
    SaveTemplate();
    DrawTemplatePreview();
}

bool TTemplateEditor::AddNew() {
    const auto answer = m_prompts.InputBox("New Template", "Please name this Template", "");
    if (!answer) return true;
    // Template names are the library file's Latin-1 text.
    const std::string name = Trim(Utf8ToLatin1Replacing(*answer));
    if (name.empty()) return true;
    if (name == kBarcode2DSection) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK,
                          "Barcode2D is reserved words! Please input another one!");
        return true;
    }
    TIniFile library(m_libraryPath);
    if (library.SectionExists(name)) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK,
                          "Template name: " + name + " has been exist!");
    } else if (!Write([&] { library.WriteString(name, "Create Time", LocalTimeText()); })) {
        return false;
    }
    // The new template takes the values shown when the user next leaves a control, so the
    // remaining controls keep those of the template shown before.
    ReloadNames();
    m_testCode.clear();
    m_codeType = 0;
    m_height = 30;
    m_checkSum = false;
    m_selected = static_cast<int>(m_names.size()) - 1;
    DrawTemplatePreview();
    return true;
}

bool TTemplateEditor::Delete() {
    if (m_selected < 0) return true;
    const std::string name = Trim(SelectedName());
    if (!Write([&] { TIniFile(m_libraryPath).EraseSection(name); })) return false;
    ReloadNames();
    m_selected = static_cast<int>(m_names.size()) - 1;
    LoadTemplate();
    return true;
}

bool TTemplateEditor::Ok() {
    if (!SaveTemplate()) return false;
    // A test code the template cannot draw is reported once the user confirms, not while typing.
    if (m_previewError.empty()) return true;
    m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, m_previewError);
    return false;
}

bool TTemplateEditor::Cancel() {
    if (!m_libraryAtShow || FileContent(m_libraryPath) == m_libraryAtShow) return true;
    try {
        WriteFileAtomically(m_libraryPath, *m_libraryAtShow);
    } catch (const std::exception& e) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
    return true;
}

void TTemplateEditor::DrawTemplatePreview() {
    // Format 2 cannot draw an empty code, so the preview gives it one to show.
    if (m_codeType == kMatrix25 && Trim(m_testCode).empty()) m_testCode = "123";
    m_barcode.SetText(m_testCode);
    if (m_codeType >= 0) m_barcode.SetTyp(static_cast<TBarcodeType>(m_codeType));
    if (m_textLayout >= 0) {
        m_barcode.SetShowTextPosition(static_cast<TShowTextPosition>(m_textLayout));
        // The preview shows the text exactly when the printed label will (the main window decides
        // by the layout too), whichever way the layout was set.
        m_barcode.SetShowText(m_textLayout == kLayoutNone ? bcoNone : bcoCode);
    }
    if (m_height > 0) m_barcode.SetHeight(static_cast<int>(m_height / 25.4 * m_dpi));
    m_barcode.SetModul(std::max(1, HundredthsMmToDots(m_barWidth, m_dpi)));
    m_barcode.SetChecksum(m_checkSum);
    m_barcode.ExtCaption = m_testCaption;
    if (m_captionPosition >= 0) m_barcode.ExtCaptionPosition = static_cast<uint8_t>(m_captionPosition);

    try {
        m_preview = qbm::DrawTemplatePreview(m_barcode, m_dpi);
        m_previewError.clear();
    } catch (const EBarcodeError& e) {
        m_previewError = e.what();
    } catch (const EConvertError& e) {
        m_previewError = e.what();
    }
    if (!m_previewError.empty())
        m_preview = MessagePreview(kTemplatePreviewWidth, kTemplatePreviewHeight, m_previewError);
    // The preview and the line beside the test code show the message; no box interrupts the typing.
    PreviewChanged();
}

void TTemplateEditor::PreviewChanged() {
    if (m_onPreviewChanged) m_onPreviewChanged();
}

} // namespace qbm
