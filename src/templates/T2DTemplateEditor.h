#pragma once
// The 2D template editor without its widgets: the values of its two pages, what each control's
// change redraws, and the writes of the library's "Barcode2D" section. The controls are the working
// copy of that section: it is read once, when the editor is created.

#include "ini/TSectionList.h"
#include "surface/TBitmap.h"
#include "templates/T2DSettings.h"

#include <functional>
#include <string>

namespace qbm {

class TUserPrompts;
class TStPDF417Barcode;
class TStMaxiCodeBarcode;

class T2DTemplateEditor {
public:
    enum class TPage { Pdf417, MaxiCode };
    // The control a preview's problem belongs to, so that the view shows the message beside it.
    enum class TProblemField { None, TestText, PostalCode, Country, ServiceClass, Settings };

    // The entries of "ECC Level" (ordinals of the error-correction enumeration, entry "0" automatic)
    // and of "Mode" (MaxiCode modes 2 to 6).
    static const TStrings& EccItems();
    static const TStrings& ModeItems();
    static constexpr int kMinBarWidth = 1, kMaxBarWidth = 10;
    static constexpr int kMinHeightToWidth = 1, kMaxHeightToWidth = 4;
    static constexpr int kMaxColumns = 30, kMaxRows = 90;
    // The preview area shown before the view says otherwise.
    static constexpr int kVisibleWidth = 320, kVisibleHeight = 240;
    // Room around the symbol and its quiet zone in the preview picture.
    static constexpr int kPreviewMargin = 40;

    // Reads the library's 2D section with the editor's defaults.
    T2DTemplateEditor(std::string libraryPath, TUserPrompts& prompts);

    const std::string& LibraryPath() const { return m_libraryPath; }
    void SetOnPreviewChanged(std::function<void()> handler) { m_onPreviewChanged = std::move(handler); }
    // The size of the visible preview area: the preview picture is never smaller.
    void SetVisibleArea(int width, int height);

    TPage Page() const { return m_page; }
    // Showing a page (or the dialog) draws that page's preview.
    void SetPage(TPage page);
    // What an opener hands over before showing: the page and its test text, drawn when shown.
    void PrepareOpening(TPage page, const std::string& testText);
    // The same with the settings the opener's project holds, which the controls then show.
    void PrepareOpening(TPage page, const std::string& testText, const T2DSettings& settings);
    void Show();

    // PDF417 page.
    const std::string& Pdf417Text() const { return m_pdfText; }
    const std::string& EccText() const { return m_eccText; }
    int EccIndex() const { return m_eccIndex; }
    bool Truncated() const { return m_truncated; }
    int BarWidth() const { return m_barWidth; }
    int HeightToWidth() const { return m_heightToWidth; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    void SetPdf417Text(const std::string& text);
    // A typed text that is not an entry gives index -1.
    void SetEccText(const std::string& text);
    void SetTruncated(bool truncated);
    void SetBarWidth(int width);
    void SetHeightToWidth(int ratio);
    void SetColumns(int columns);
    // Rows count only while the columns are chosen by the symbol; otherwise nothing is redrawn.
    void SetRows(int rows);

    // MaxiCode page.
    const std::string& MaxiCodeText() const { return m_maxiText; }
    const std::string& ModeText() const { return m_modeText; }
    int ModeIndex() const { return m_modeIndex; }
    int Country() const { return m_country; }
    int ServiceClass() const { return m_serviceClass; }
    const std::string& PostalCode() const { return m_postalCode; }
    bool AutoScale() const { return m_autoScale; }
    int ModuleSize() const { return m_moduleSize; }
    void SetMaxiCodeText(const std::string& text);
    void SetModeText(const std::string& text);
    void SetCountry(int country);
    void SetServiceClass(int serviceClass);
    void SetPostalCode(const std::string& postalCode);
    void SetAutoScale(bool autoScale);
    void SetModuleSize(int pixels);

    // The settings as the controls hold them (what "Barcode2D" receives).
    T2DSettings Settings() const;
    // Writes both pages into "Barcode2D"; false when the write failed (the message has been shown).
    bool Save2DSettings();
    // "&OK": true when the dialog may close. A page that cannot be drawn is reported here, once the
    // user confirms, and keeps the dialog open.
    bool Ok();
    // "&Cancel" (and Esc): the controls and the library's section go back to what they held when
    // the dialog was opened.
    void Cancel();

    // Sets a component from the page's controls and gives it the page's test text, as the preview
    // and the export draw it. Component errors propagate.
    void SetUpPdf417(TStPDF417Barcode& pdf417) const;
    void SetUpMaxiCode(TStMaxiCodeBarcode& maxiCode) const;

    void DrawPdf417Preview();
    void DrawMaxiCodePreview();
    const TBitmap& Preview() const { return m_preview; }
    // The component's message when the page cannot be drawn, otherwise empty; shown beside the
    // control it belongs to and in the preview, never as a box while the user types.
    const std::string& PreviewError() const { return m_previewError; }
    TProblemField PreviewErrorField() const { return m_previewErrorField; }

private:
    void LoadSettings(const T2DSettings& settings);
    void DrawPreview(const std::function<void(TBitmap&)>& paint, TProblemField componentField);
    void DrawCurrentPage();

    std::string m_libraryPath;
    TUserPrompts& m_prompts;
    std::function<void()> m_onPreviewChanged;
    int m_visibleWidth = kVisibleWidth;
    int m_visibleHeight = kVisibleHeight;
    TPage m_page = TPage::Pdf417;

    std::string m_pdfText;
    std::string m_eccText;
    int m_eccIndex = -1;
    bool m_truncated = false;
    int m_barWidth = kMinBarWidth;
    int m_heightToWidth = kMinHeightToWidth;
    int m_columns = 0;
    int m_rows = 0;

    std::string m_maxiText;
    std::string m_modeText;
    int m_modeIndex = -1;
    int m_country = 0;
    int m_serviceClass = 0;
    std::string m_postalCode;
    bool m_autoScale = true;
    int m_moduleSize = 0;

    T2DSettings ReadLibrary() const;

    // What Cancel goes back to: the controls and the library's section as they were at opening.
    T2DSettings m_opened;
    T2DSettings m_libraryOpened;
    bool m_savedSinceOpening = false;
    TBitmap m_preview;
    std::string m_previewError;
    TProblemField m_previewErrorField = TProblemField::None;
};

} // namespace qbm
