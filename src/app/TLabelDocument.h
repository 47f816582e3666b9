#pragma once
// The document behind the main window and the qbm tool: one labelling job and the state of the run.
//
// Overview
//   Owns:     the project (TLabelProject), the label setup (on-screen barcode Bcd_main, the PDF417 and
//             MaxiCode components, the label picture), the page picture of the preview, the template
//             library path and its name list, the file name, and the run-wide flags (Untitled,
//             ProjectModified, WelcomeShown), the current kind and the undo stack.
//   Asks:     every question and message through TUserPrompts, every file name through TFileDialogs.
//   Commands: New, Open, OpenPath, Load, Save, SaveAs, CloseQuery; SelectTemplate, ApplyTemplate,
//             Apply2DSettings, RefreshPreview; the source commands (SetFixedCode ... ClearAllList,
//             InsertControlChar, SerialCode, Import2D, ImportVariousCode); layout setters; Print.
//             Commands catch the product's errors and show them; they never throw to the caller.
//   Undo:     every change of a stored setting made here is one step on UndoStack(); keystrokes in one
//             field merge into one step; undoing back to the saved state clears the modified mark.
//             The datasheet is edited by its own window and is not part of the stack.
//   View:     a window connects to the signals and reads the accessors; it never changes the project
//             behind the document's back (except the datasheet, announced by DatasheetWindowClosed).
//             Requests to show a tab or focus a control are signals carrying a TMainTab / TFocusTarget.

#include "app/TFileDialogs.h"
#include "app/TLabelSetup.h"
#include "app/TPrintOptions.h"
#include "app/TSourceFeed.h"
#include "data/TDatasheetHistory.h"
#include "output/TPreview.h"
#include "output/TPrintRun.h"
#include "project/CodeListFile.h"
#include "project/CodeValueSources.h"
#include "project/ControlCharMenu.h"
#include "project/TLabelProject.h"
#include "stock/StockGrid.h"
#include "surface/TBitmap.h"
#include "util/TProgress.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QImage;
class QUndoStack;

namespace qbm {

class TPrinter;
class TUserPrompts;
struct TProjectSettings;

// The tabs of the main window's page control.
enum class TMainTab { mtLinear, mt2D, mtLayout, mtDesign };

// The control a command wants the focus in; the window maps each to its widget.
enum class TFocusTarget {
    ftNone,
    ftColumns,   // Edt_Col: a label as wide as its cell or wider
    ftRows,      // Edt_Lin: a label as high as its cell or higher
    ftFixedCode, // Edt_singletxt
    ftText2D,    // Memo1
};

enum class TMarginSide { msLeft, msRight, msTop, msBottom };

inline constexpr const char* kBaseCaption = "Quirbel Barcode Maker";

class TLabelDocument : public QObject {
    Q_OBJECT

public:
    // Writes the default template library at `libraryPath` when it is missing (a failure is shown
    // through the prompts and leaves the template list empty). Prompts and dialogs must outlive the
    // document.
    TLabelDocument(TUserPrompts& prompts, TFileDialogs& dialogs, std::string libraryPath,
                   QObject* parent = nullptr);
    ~TLabelDocument() override;

    // ---- start-up and run-wide state ----

    // The window is shown: the template names are loaded and the last one selected, the label of the
    // current kind applied, Untitled set and the modified mark cleared.
    void Start();
    // The welcome dialog is due (not shown yet); MarkWelcomeShown when it shows, so that its first
    // choice (New) works.
    bool NeedsWelcome() const { return !m_welcomeShown; }
    void MarkWelcomeShown() { m_welcomeShown = true; }
    bool WelcomeShown() const { return m_welcomeShown; }

    // "Quirbel Barcode Maker - Untitled Project" or "Quirbel Barcode Maker - <file>".
    const std::string& Caption() const { return m_caption; }
    const std::string& ProjectFileName() const { return m_fileName; }
    bool Untitled() const { return m_untitled; }
    bool ProjectModified() const;

    TBarcodeKind Kind() const { return m_project.Kind(); }
    // The kind without the tab-change handling (command line runs, the start-up tab).
    void SetKind(TBarcodeKind kind);
    // The user showed a tab: the linear tab makes the kind linear and applies the template, the 2D tab
    // makes it 2D and applies the 2D settings, the layout tab changes nothing.
    void TabChanged(TMainTab tab);
    // The focus entered the 2D page: the 2D settings are applied again.
    void Focus2DPage() { Apply2DSettings(); }
    // "Import Various Code ..." is offered in the linear kind only.
    bool ImportVariousCodeEnabled() const { return Kind() == TBarcodeKind::bkLinear; }

    // ---- project commands ----

    // Nothing while the welcome dialog has not shown. Asks to save a modified project first.
    void New();
    // Asks to save a modified project, then for a file; false when cancelled or the file failed.
    bool Open();
    // The same with the file already chosen (recent files, the command line, a dropped file).
    bool OpenPath(const std::string& path);
    // Reads a project without asking first (the tool's runs); warnings and errors are shown.
    bool Load(const std::string& path);
    // True when the project was written. Refuses without a template; asks for a name while Untitled.
    bool Save();
    bool SaveAs();
    // Whether the window may close: asks to save a modified project (Cancel, or a save that did not
    // happen, keeps it open).
    bool CloseQuery();

    // ---- templates and 2D formats ----

    const std::vector<std::string>& TemplateNames() const { return m_templateNames; }
    // Index in TemplateNames(), -1 when none is selected.
    int SelectedTemplate() const;
    // Choosing a template (undoable) applies it.
    void SelectTemplate(int index);
    // After the linear template editor closed: the list is reloaded, the remembered index selected
    // when it is below the item count - 1, else the last item when nothing is selected; then applied.
    void LinearEditorClosed(int rememberedIndex);
    const std::string& LibraryPath() const { return m_libraryPath; }

    // 0 "PDF417 Format", 1 "Maxicode Format", then "QR Code Format", "Data Matrix Format", "Aztec Format",
    // "Micro QR Format" (undoable); applies the 2D settings.
    void SetFormat2D(int index);
    // The options of QR Code, Data Matrix, Aztec and Micro QR (undoable); applies the 2D settings.
    void SetSymbolOptions2D(const TSymbolSettings& options);

    // Carry the library's settings into the on-screen symbols, redraw the label picture, refresh.
    // The 2D settings are the project's own copy; a project without one takes the library's.
    void ApplyTemplate();
    void Apply2DSettings();
    // The 2D settings the labels are drawn with.
    T2DSettings Settings2D();
    // After the 2D editor closed with OK: its settings become the project's (undoable) and apply.
    void Set2DSettings(const T2DSettings& settings);
    // "Page > Print Options ..." and the print dialog's "Labels" tab (undoable).
    void SetPrintPreferences(const TPrintPreferences& preferences);
    // Lays out and draws the shown page of the preview with the current grid and updates the page
    // count; a label that does not fit its cell shows its warning and asks for the layout tab and the
    // focus in the columns or rows field.
    void RefreshPreview();

    // ---- code value sources (linear) ----

    void SetLinearSource(TLinearSource source);
    // Every keystroke: the value is stored and checked against the symbology; a valid one becomes the
    // on-screen code, an invalid one's message ("Invild code data of <name> format!") becomes the
    // input problem, shown beside the field. Nothing typed is lost, and no box interrupts the typing.
    void SetFixedCode(const std::string& code);
    // The code as typed (UTF-8). Linear symbologies carry Latin-1: a character beyond it becomes '?',
    // as the label then shows, and is named beside the code rather than passed over.
    void SetTypedFixedCode(const std::string& utf8);
    void SetExtCaption(const std::string& caption);
    void SetFixedCodeAmount(int amount);
    void SetCodeField(int index);
    void SetCapField(int index);
    // The control-character pop-up for the current symbology, and appending one of its entries.
    TControlCharMenu ControlCharMenu() const;
    void InsertControlChar(const TControlCharEntry& entry);
    // Menu "Fixed Value": the constant value (linear) or the fixed text (2D) becomes the source, and
    // its tab and field are asked for.
    void FixedValue();
    // Menu "Import Various Code ..." (linear kind): asks for a text file, fills the linear code list.
    void ImportVariousCode();

    // ---- code value sources (2D) ----

    void SetSource2D(T2DSource source);
    // The fixed 2D text, lines joined by CR LF.
    void SetText2D(const std::string& text);
    void SetAmount2D(int amount);
    // Button "Import": asks for a text file whose lines replace the 2D code list.
    void Import2D();
    // Button "Clear": asks, then empties the 2D code list.
    void Clear2D();
    // Pop-up "Delete This Item" / "Clear All" on the list of the current kind.
    void DeleteListItem(int index);
    void ClearAllList();
    // "Amount: n" or "Output Amount: n" under the 2D list, as the last command set it.
    const std::string& AmountLabel2D() const { return m_amountLabel2D; }

    // ---- sequences and the datasheet ----

    // Menu "Serial Code ..." after the sequence dialog closed with OK: the codes go to the 2D list
    // (2D kind) or the linear code list (linear kind); no codes change nothing.
    void SerialCode(const std::vector<std::string>& codes);
    // Button "Serial " on the 2D tab: codes (none when cancelled) replace the 2D list.
    void Serial2D(const std::vector<std::string>& codes);
    // The datasheet the datasheet window edits in place (not on the undo stack).
    TDatasheet& Datasheet() { return m_project.Datasheet(); }
    // The datasheet window's undo steps: they belong to the table, not to one showing of the window,
    // so closing and opening the window keeps them; a new or loaded project starts without any.
    TDatasheetHistory& DatasheetHistory() { return m_datasheetHistory; }
    // Makes the progress of long work (a project whose datasheet is large); the window passes one
    // that shows a dialog with Cancel. Without a maker the work runs unobserved.
    using TProgressMaker = std::function<std::unique_ptr<TProgress>(const std::string& label)>;
    void SetProgressMaker(TProgressMaker maker) { m_progressMaker = std::move(maker); }
    // Before the datasheet window opens: the chosen fields are noted by name.
    void DatasheetWindowOpening();
    // After it closed: the field lists are rebuilt from the header row and select the noted fields
    // again; `changed` marks the project modified.
    void DatasheetWindowClosed(bool changed);

    // ---- layout ----

    void SetLinage(int rows);
    void SetColumn(int columns);
    void SetMargin(TMarginSide side, int mm);
    void SetSplitMarks(bool on);
    // "Verify every label", kept in the project (undoable).
    void SetVerifyLabels(bool on);
    void SetOrientation(TPrinterOrientation orientation);
    // A label stock chosen: rows, columns, margins, orientation and the stock, as one undo step.
    void ChooseStock(const TStockGrid& grid);
    // The printer the page follows (nullptr: none installed, A4 at 300 dpi). Not owned. Setting it, and
    // PrinterSettingsChanged after the page setup dialog, re-apply the label and refresh the preview.
    void SetPrinter(TPrinter* printer);
    TPrinter* Printer() const { return m_printer; }
    void PrinterSettingsChanged();
    // A run without a preview panel (the tool's print) skips drawing the page and its fit warnings;
    // the page count is still kept.
    void SetPreviewShown(bool shown) { m_previewShown = shown; }

    // ---- the page preview (what the view shows: neither stored nor undone, never "modified") ----

    // How large the preview shows the paper, in picture pixels per inch of paper (96 shows it at its
    // real size on an ordinary screen); the shown page is drawn again at that size.
    void SetPreviewPixelsPerInch(double pixelsPerInch);
    double PreviewPixelsPerInch() const { return m_previewPixelsPerInch; }
    // Shows page `number` of the run, kept within the run's pages.
    void ShowPreviewPage(int number);
    int PreviewPage() const { return m_previewPage.number; }
    int PreviewPageCount() const { return m_previewPage.pages; }
    // "Page 2 of 6"; "No labels" while the run has none.
    std::string PreviewPageText() const;
    // Why labels are missing from the shown page (a value its symbology refused); empty when none is.
    const std::string& PreviewProblem() const { return m_previewPage.problem; }
    // The paper the preview shows: the printer's page in its device pixels (A4 at 300 dpi without one).
    TPage PreviewPaper() const;

    // ---- printing ----

    // The print command: confirmation, the checks and the pre-print test of datasheet rows, then the
    // loop on `printer` at its resolution (or on the printer the options' print dialog chooses, with
    // the run choices made there and that printer's calibration). Errors are shown; a cancelled or
    // failed run leaves no file.
    TPrintResult Print(TPrinter& printer, const TPrintOptions& options = {});
    // The calibration sheet for the project's layout on `printer`, without any calibration;
    // `printerName` goes into its caption. Errors are shown; false when nothing was printed.
    bool PrintCalibrationSheet(TPrinter& printer, const std::string& printerName);

    // "Fit to label": lowers the template's bar height (whole millimetres) and module width (whole
    // dots of the printer) until the labels fit their cells with their quiet zones; the library's
    // template and the project's copy take the new sizes. False, with a message, when nothing fits.
    bool FitToLabel();
    bool FitToLabelOn(const TPage& page);

    // ---- what a view reads ----

    const TLabelProject& Project() const { return m_project; }
    // Whether the template's symbology refused the on-screen code the last time the label was drawn
    // (the invalid-code message was shown and the label drawn without code).
    bool CodeRefused() const { return m_codeRefused; }
    // Why the value being typed (the constant code, its caption, the chosen code field's first value,
    // the 2D text) cannot be drawn; empty when it can.
    const std::string& InputProblem() const { return m_inputProblem; }
    const TLabelSetup& Setup() const { return m_setup; }
    const TBitmap& LabelPicture() const { return m_setup.label.Bitmap; }
    const TBitmap& PagePicture() const { return m_pagePicture; }
    QImage PagePictureImage() const;
    const TPreviewLayout& PreviewLayout() const { return m_preview; }
    // Why the labels do not fit their cells ("To many barcode per line! ", "Out of output range!" or
    // both sizes in millimetres with what to change), empty when they fit; shown beside the layout.
    const std::string& LayoutWarning() const { return m_layoutWarning; }
    // "Total: nPages", status bar panel 1.
    const std::string& PageCountText() const { return m_pageCountText; }
    // "Barcode Type: <name> ", status bar panel 2.
    const std::string& BarcodeTypeText() const { return m_setup.label.StatusText; }
    long long LabelCount() const;
    // The labels of the current source as the print loop walks them.
    TSourceFeed LabelFeed() { return TSourceFeed(m_project); }
    QUndoStack* UndoStack() const { return m_undo.get(); }

    // Used by the undo commands: puts stored settings back and redraws.
    void RestoreSettings(const TProjectSettings& settings);
    // Used by the design editor's undo steps: the project's label design (none: the classic label).
    void RestoreDesign(std::optional<TLabelDesign> design);

signals:
    void projectChanged(); // any stored setting; widgets refresh from Project()
    void modifiedChanged(bool modified);
    void captionChanged();
    void labelPictureChanged();
    void previewChanged(); // the page picture and its layout
    void pageCountChanged();
    void barcodeTypeChanged(); // status bar panel 2
    void fieldListChanged();   // the two data-field lists
    void templateListChanged();
    void kindChanged();
    void amountLabelChanged();
    void inputProblemChanged();
    void showTabRequested(qbm::TMainTab tab);
    void focusRequested(qbm::TFocusTarget target);
    void layoutWarningChanged();
    void designChanged(); // the label design's objects, or whether there is one

private:
    // The template the linear label is drawn with: the library's, or the project's copy.
    TTemplate TemplateToDraw();
    // After a project was read: whether its own copy of the template is to be used (the library
    // lacks the template, or the user chose the copy over a library version that differs).
    bool ChooseProjectTemplate();
    // The layout warning: for a linear label measured as it prints (quiet zones, digits, caption),
    // else the warning of the label picture's check.
    std::string PrintFitWarning(const TPage& page, const std::string& pictureWarning);
    void SetLayoutWarning(const std::string& warning);
    // Reads a code list file the user picks into `list` as one undo step; false when the user cancels.
    bool ImportCodesInto(std::vector<std::string>& list, TCodeListText text);
    template <typename Edit> void Change(int mergeId, const char* text, Edit&& edit);
    bool AskSaveModified();
    bool SaveTo(const std::string& path);
    bool LoadFile(const std::string& path);
    void SetCaptionFile(const std::string& file);
    void SetClean();
    void UpdateModified();
    void ApplyLabel();
    bool ShowConstantCode(bool report);
    bool ShowFieldValue(bool report);
    // Draws the label picture with the on-screen code; a code the symbology cannot draw is left out
    // and, with `report`, the invalid-code message shown.
    void DrawLinearLabel(bool report = true);
    int Resolution() const;
    // The print job whose labels the preview shows: none while the print command would refuse the
    // run for want of a code (a blank constant code, no datasheet row or no code field).
    TPrintJob PreviewJob(TSourceFeed& feed);
    // Draws the shown page again (zoom, page turns): no warning, no page count, no modified mark.
    void DrawPreview();
    void ShowError(const std::string& text);
    void SetAmountLabel(std::string text);
    void SetInputProblem(std::string text);
    void Apply2DSettings(bool report);

    TUserPrompts& m_prompts;
    TFileDialogs& m_dialogs;
    std::string m_libraryPath;
    std::vector<std::string> m_templateNames;
    TLabelProject m_project;
    TLabelSetup m_setup;
    TBitmap m_pagePicture;
    TPreviewLayout m_preview;
    TPreviewPage m_previewPage;
    // A4 at 25 pixels an inch is the 207 x 292 picture the preview has always opened with.
    double m_previewPixelsPerInch = 25;
    TPrinter* m_printer = nullptr;
    std::string m_pageCountText = "Total: 1 Page";
    std::string m_amountLabel2D;
    std::string m_caption;
    std::string m_fileName;
    std::string m_lastSaveName = "Untitled.bpj";
    bool m_untitled = true;
    bool m_welcomeShown = false;
    bool m_changedOutsideStack = false;
    bool m_lastModified = false;
    bool m_previewShown = true;
    bool m_codeRefused = false;
    std::string m_inputProblem;
    bool m_projectTemplateChosen = false;
    std::string m_layoutWarning;
    TNotedFields m_noted;
    std::unique_ptr<QUndoStack> m_undo;
    TDatasheetHistory m_datasheetHistory;
    TProgressMaker m_progressMaker;
};

} // namespace qbm
