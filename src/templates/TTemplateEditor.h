#pragma once
// The linear template editor without its widgets: the values its controls hold, what each control's
// change does, and the writes into the template library. The dialog shows these values and
// forwards every user action here.

#include "barcode/TBarcode.h"
#include "ini/TSectionList.h"
#include "surface/TBitmap.h"
#include "surface/TFont.h"

#include <functional>
#include <optional>
#include <string>

namespace qbm {

class TUserPrompts;

class TTemplateEditor {
public:
    // The items of the format list ("CodeType" ordinals), the code alignments and caption alignments.
    static const TStrings& FormatItems();
    // The format list's index of a "CodeType" ordinal and back; -1 for what the list does not hold.
    static int FormatIndexOf(int codeType);
    static int CodeTypeAt(int formatIndex);
    static const TStrings& TextLayoutItems();
    static const TStrings& CaptionPositionItems();
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 800;

    TTemplateEditor(std::string libraryPath, TUserPrompts& prompts);

    const std::string& LibraryPath() const { return m_libraryPath; }
    // Horizontal resolution of the printer the templates print on (300 without a printer).
    void SetPrinterResolution(int dpi);
    int PrinterResolution() const { return m_dpi; }

    // The view refreshes its picture when this runs.
    void SetOnPreviewChanged(std::function<void()> handler) { m_onPreviewChanged = std::move(handler); }

    // What an opener hands over before showing: drawn only when the dialog shows.
    void PrepareOpening(int preselected, const std::string& testCode, const std::string& testCaption);
    // Showing the dialog: the list is read again, the preselected template selected and loaded.
    void Show();

    const TStrings& Names() const { return m_names; }
    int Selected() const { return m_selected; }
    std::string SelectedName() const;
    // The template selected when the dialog shows (kept between openings).
    int Preselected() const { return m_preselected; }
    void SetPreselected(int index) { m_preselected = index; }
    // A click in the list: select and load that template.
    void SelectTemplate(int index);
    void LoadTemplate();
    // Writes the controls into the selected template; false when the write failed (the message has
    // been shown). Without a selection nothing is written.
    bool SaveTemplate();
    // Cancel: the library goes back to what it held when the editor showed (templates added, deleted
    // or changed since are undone); false, with the message shown, when it cannot be written.
    bool Cancel();

    // Control values.
    // The "CodeType" ordinal, -1 for none of the list's.
    int CodeType() const { return m_codeType; }
    int FormatIndex() const { return FormatIndexOf(m_codeType); }
    int TextLayout() const { return m_textLayout; }
    int CaptionPosition() const { return m_captionPosition; }
    int BarHeight() const { return m_height; }
    int BarWidth() const { return m_barWidth; }
    bool CheckSum() const { return m_checkSum; }
    const std::string& TestCode() const { return m_testCode; }
    const std::string& TestCaption() const { return m_testCaption; }
    const TFont& CodeFont() const { return m_codeFont; }
    const TFont& CaptionFont() const { return m_captionFont; }
    bool CodeFontChosen() const { return m_codeFontChosen; }
    bool CaptionFontChosen() const { return m_captionFontChosen; }

    // Change handlers; each redraws the preview.
    void SetTestCode(const std::string& code);
    void SetTestCaption(const std::string& caption);
    void SetCaptionPosition(int index);
    void SetCodeType(int type);
    // A choice in the format list.
    void SetFormatIndex(int index);
    void SetTextLayout(int index);
    void SetBarHeight(int mm);
    void SetBarWidth(int hundredths);
    void SetCheckSum(bool checked);
    // A confirmed font dialog: the font is marked as chosen and the template saved.
    void ChooseCodeFont(const TFont& font);
    void ChooseCaptionFont(const TFont& font);

    // "Add New": asks for a name and creates the template; false when a write failed.
    bool AddNew();
    // "Delete": erases the selected template at once.
    bool Delete();
    // "&OK": true when the dialog may close (the template was written).
    bool Ok();

    // The dialog's own barcode, which the preview draws (its sizes at printer resolution).
    TBarcode& Barcode() { return m_barcode; }
    void DrawTemplatePreview();
    const TBitmap& Preview() const { return m_preview; }
    // The encoder's message when the test code cannot be drawn, otherwise empty.
    const std::string& PreviewError() const { return m_previewError; }

private:
    bool Write(const std::function<void()>& writes);
    void ReloadNames();
    void PreviewChanged();

    std::string m_libraryPath;
    TUserPrompts& m_prompts;
    int m_dpi = 300;
    std::function<void()> m_onPreviewChanged;

    TStrings m_names;
    int m_selected = -1;
    int m_preselected = 0;

    int m_codeType = -1;
    int m_textLayout = -1;
    int m_captionPosition = 0;
    int m_height = kMinSize;
    int m_barWidth = kMinSize;
    bool m_checkSum = false;
    std::string m_testCode;
    std::string m_testCaption;
    TFont m_codeFont;
    TFont m_captionFont;
    bool m_codeFontChosen = false;
    bool m_captionFontChosen = false;

    TBarcode m_barcode;
    TBitmap m_preview;
    std::string m_previewError;
    std::optional<std::string> m_libraryAtShow;
};

} // namespace qbm
