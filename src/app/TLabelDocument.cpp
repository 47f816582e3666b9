#include "app/TLabelDocument.h"

#include "app/ProjectPrinting.h"
#include "app/TProjectSettings.h"
#include "app/TSettingsCommand.h"
#include "barcode/LinearSymbolGeometry.h"
#include "data/DatasheetCommands.h"
#include "ini/TIniFile.h"
#include "output/CalibrationSheet.h"
#include "output/LabelFit.h"
#include "output/TPageLayout.h"
#include "project/CodeListFile.h"
#include "project/CodeValueSources.h"
#include "project/ProjectFile.h"
#include "surface/TBitmapImpl.h"
#include "surface/TPrinter.h"
#include "templates/Apply2DSettings.h"
#include "templates/ApplyTemplate.h"
#include "templates/LabelLimits.h"
#include "templates/TemplateLibrary.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <QUndoStack>

#include <algorithm>
#include <exception>
#include <filesystem>

namespace qbm {
namespace {

constexpr std::string_view kSerialColumn = "Serial";

// Undo ids of the fields whose keystrokes merge into one step.
enum TMergeId : int {
    kNoMerge = -1,
    kFixedCodeId = 1,
    kExtCaptionId,
    kAmountId,
    kText2DId,
    kAmount2DId,
    kLinageId,
    kColumnId,
    kMarginLeftId,
    kMarginRightId,
    kMarginTopId,
    kMarginBottomId,
};

constexpr const char* kUntitledSuffix = " - Untitled Project";
constexpr const char* kClearListQuestion = "Are you sure clear all Various Code?";

} // namespace

TLabelDocument::TLabelDocument(TUserPrompts& prompts, TFileDialogs& dialogs, std::string libraryPath,
                               QObject* parent)
    : QObject(parent), m_prompts(prompts), m_dialogs(dialogs), m_libraryPath(std::move(libraryPath)),
      m_caption(std::string(kBaseCaption) + kUntitledSuffix), m_undo(std::make_unique<QUndoStack>()) {
    connect(m_undo.get(), &QUndoStack::cleanChanged, this, [this] { UpdateModified(); });
    try {
        WriteDefaultTemplates(m_libraryPath);
        // Known from the start, so that a project read before the window shows finds its template.
        m_templateNames = LoadTemplateNames(m_libraryPath);
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
    m_amountLabel2D = "Amount: 0";
}

TLabelDocument::~TLabelDocument() {
    // The stack's commands call back into the document; they go first. A stack that is not clean
    // announces "clean" while it is destroyed: that signal must not reach the half-destroyed document.
    disconnect(m_undo.get(), nullptr, this, nullptr);
    m_undo.reset();
}

// ---- helpers ----

template <typename Edit> void TLabelDocument::Change(int mergeId, const char* text, Edit&& edit) {
    TProjectSettings before = TProjectSettings::Capture(m_project);
    edit();
    TProjectSettings after = TProjectSettings::Capture(m_project);
    if (before == after) return;
    m_undo->push(
        new TSettingsCommand(*this, mergeId, QString::fromLatin1(text), std::move(before), std::move(after)));
    UpdateModified();
    emit projectChanged();
}

void TLabelDocument::RestoreSettings(const TProjectSettings& settings) {
    settings.RestoreInto(m_project);
    if (m_printer && m_printer->PrinterCount() > 0) m_printer->SetOrientation(m_project.Orientation());
    // The on-screen code follows the restored source quietly (the value was checked when it was
    // typed), against the symbology of the restored template.
    if (Kind() == TBarcodeKind::bkLinear && m_project.HasTemplate()) {
        try {
            DrawLinearLabel(false);
        } catch (const std::exception&) {
        }
    }
    if (!ShowConstantCode(false)) ShowFieldValue(false);
    ApplyLabel();
    UpdateModified();
    emit projectChanged();
    emit fieldListChanged();
}

void TLabelDocument::RestoreDesign(std::optional<TLabelDesign> design) {
    m_project.SetDesign(std::move(design));
    UpdateModified();
    emit designChanged();
    // The page preview shows the labels as they print, so it follows each step of the design. A
    // value the design cannot draw yet is the designer's to show; the preview keeps what it has.
    try {
        DrawPreview();
    } catch (const std::exception&) {
    }
}

bool TLabelDocument::ProjectModified() const {
    return m_changedOutsideStack || !m_undo->isClean();
}

void TLabelDocument::UpdateModified() {
    const bool modified = ProjectModified();
    if (modified == m_lastModified) return;
    m_lastModified = modified;
    emit modifiedChanged(modified);
}

void TLabelDocument::SetClean() {
    m_undo->setClean();
    m_changedOutsideStack = false;
    UpdateModified();
}

void TLabelDocument::SetCaptionFile(const std::string& file) {
    m_caption = std::string(kBaseCaption) + (file.empty() ? std::string(kUntitledSuffix) : " - " + file);
    emit captionChanged();
}

void TLabelDocument::ShowError(const std::string& text) {
    m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, text);
}

void TLabelDocument::SetAmountLabel(std::string text) {
    m_amountLabel2D = std::move(text);
    emit amountLabelChanged();
}

int TLabelDocument::Resolution() const {
    if (m_printer && m_printer->PrinterCount() > 0) return m_printer->ResolutionX();
    return kDefaultPrinterDpi;
}

long long TLabelDocument::LabelCount() const {
    return qbm::LabelCount(m_project);
}

QImage TLabelDocument::PagePictureImage() const {
    return m_pagePicture.Internal().Image();
}

// ---- start-up and kind ----

void TLabelDocument::Start() {
    try {
        m_templateNames = LoadTemplateNames(m_libraryPath);
    } catch (const std::exception& e) {
        m_templateNames.clear();
        ShowError(e.what());
    }
    emit templateListChanged();
    m_project.SetTemplateName(m_templateNames.empty() ? std::string() : m_templateNames.back());
    ApplyLabel();
    m_untitled = true;
    m_undo->clear();
    SetClean();
    emit projectChanged();
    emit fieldListChanged();
    emit amountLabelChanged();
}

void TLabelDocument::SetKind(TBarcodeKind kind) {
    if (m_project.Kind() == kind) return;
    m_project.SetKind(kind);
    // The problem shown is that of the kind's own input; the 2D one is found when its settings apply.
    const bool constant =
        kind == TBarcodeKind::bkLinear && m_project.LinearSource() == TLinearSource::lsConstant;
    SetInputProblem(
        constant ? CodeProblem(m_project.FixedCode(), m_setup.bcdMain.Typ(), m_setup.bcdMain.Checksum())
                 : std::string());
    emit kindChanged();
}

void TLabelDocument::TabChanged(TMainTab tab) {
    if (tab == TMainTab::mtLinear) {
        SetKind(TBarcodeKind::bkLinear);
        ApplyTemplate();
    } else if (tab == TMainTab::mt2D) {
        SetKind(TBarcodeKind::bk2D);
        Apply2DSettings();
    }
}

// ---- project commands ----

bool TLabelDocument::AskSaveModified() {
    if (!ProjectModified()) return true;
    const TMsgResult answer = m_prompts.Message(TMsgKind::mkConfirmation, TMsgButtons::mbYesNoCancel,
                                                std::string(kAskSaveModified));
    if (answer == TMsgResult::mrCancel) return false;
    // A project the user wanted kept is never thrown away unsaved: when Save is refused, cancelled or
    // fails, the command that asked stops and the project stays as it is. "No" discards it.
    if (answer == TMsgResult::mrYes) return Save();
    return true;
}

void TLabelDocument::New() {
    if (!m_welcomeShown) return;
    if (!AskSaveModified()) return;
    m_untitled = true;
    m_project.NewProject();
    m_datasheetHistory.Clear();
    SetAmountLabel("Amount: 0");
    SetCaptionFile({});
    // The emptied constant code is shown at once, as typing it would.
    if (!ShowConstantCode(false)) ShowFieldValue(false);
    ApplyLabel();
    m_undo->clear();
    SetClean();
    emit projectChanged();
    emit fieldListChanged();
}

bool TLabelDocument::Open() {
    if (!AskSaveModified()) return false;
    const auto path = m_dialogs.AskOpenPath(TFileKind::fkProject);
    if (!path) return false;
    return LoadFile(*path);
}

bool TLabelDocument::OpenPath(const std::string& path) {
    if (!AskSaveModified()) return false;
    return LoadFile(path);
}

bool TLabelDocument::Load(const std::string& path) {
    return LoadFile(path);
}

bool TLabelDocument::LoadFile(const std::string& path) {
    // The project is read into a fresh model and taken over only when the whole file was read: a file
    // that fails half-way must not leave a mix of two projects that Save would write over either file.
    TLabelProject loaded;
    loaded.SetKind(m_project.Kind());
    std::vector<std::string> warnings;
    try {
        if (!std::filesystem::is_regular_file(path)) throw EInOutError("Cannot open file \"" + path + "\"");
        TProjectEnvironment env;
        env.templateNames = m_templateNames;
        env.printer = m_printer;
        const auto progress = m_progressMaker ? m_progressMaker("Loading " + path) : nullptr;
        env.progress = progress.get();
        warnings = LoadProject(path, loaded, env);
    } catch (const EOperationCancelled&) {
        return false; // the user stopped it: the open project stays as it was, nothing to report
    } catch (const std::exception& e) {
        ShowError(e.what());
        return false;
    }
    m_project = std::move(loaded);
    m_projectTemplateChosen = ChooseProjectTemplate();
    SetAmountLabel("Amount: " + std::to_string(m_project.CodeList2D().size()));
    m_datasheetHistory.Clear();
    m_untitled = false;
    m_fileName = path;
    m_lastSaveName = path;
    SetCaptionFile(path);
    for (const std::string& w : warnings) m_prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, w);
    emit fieldListChanged();
    if (Kind() == TBarcodeKind::bk2D) {
        Apply2DSettings();
    } else {
        // The template is applied first, so that the constant code and the chosen field are checked
        // against its symbology as when they are entered.
        ApplyTemplate();
        const bool constant = ShowConstantCode(true);
        const bool field = ShowFieldValue(true);
        if (constant || field) ApplyTemplate();
    }
    m_undo->clear();
    SetClean();
    emit projectChanged();
    return true;
}

bool TLabelDocument::ChooseProjectTemplate() {
    const auto& copy = m_project.TemplateCopy();
    if (!copy) return false;
    const TIniFile library(m_libraryPath);
    const std::string& name = m_project.TemplateName();
    if (!library.SectionExists(name)) return true;
    if (ReadTemplate(library, name) == *copy) return false;
    return m_prompts.Message(TMsgKind::mkConfirmation, TMsgButtons::mbProjectOrLibrary,
                             "The template \"" + name +
                                 "\" in this project differs from the one in the template library.") ==
           TMsgResult::mrYes;
}

bool TLabelDocument::Save() {
    if (!m_project.HasTemplate()) {
        ShowError(std::string(kNoTemplateError));
        return false;
    }
    if (!m_untitled) return SaveTo(m_fileName);
    const auto path = m_dialogs.AskSavePath(TFileKind::fkProject, "Untitled.bpj");
    if (!path) return false;
    return SaveTo(*path);
}

bool TLabelDocument::SaveAs() {
    if (!m_project.HasTemplate()) {
        ShowError(std::string(kNoTemplateError));
        return false;
    }
    const auto path = m_dialogs.AskSavePath(TFileKind::fkProject, m_lastSaveName);
    if (!path) return false;
    return SaveTo(*path);
}

bool TLabelDocument::SaveTo(const std::string& path) {
    TSaveReport report;
    try {
        report = SaveProject(path, m_project, m_printer);
    } catch (const std::exception& e) {
        // The previous file stays whole and the project stays marked as modified. The system's text
        // ("I/O error 21") does not say which file, so the path goes with it.
        ShowError(std::string(e.what()) + " (" + path + ")");
        return false;
    }
    if (!report.Complete()) m_prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, report.Message());
    m_fileName = path;
    m_lastSaveName = path;
    SetCaptionFile(path);
    SetClean();
    return true;
}

bool TLabelDocument::CloseQuery() {
    return AskSaveModified();
}

// ---- templates, 2D settings, preview ----

int TLabelDocument::SelectedTemplate() const {
    if (!m_project.HasTemplate()) return -1;
    for (size_t i = 0; i < m_templateNames.size(); ++i)
        if (m_templateNames[i] == m_project.TemplateName()) return static_cast<int>(i);
    return -1;
}

void TLabelDocument::SelectTemplate(int index) {
    const std::string name = index >= 0 && static_cast<size_t>(index) < m_templateNames.size()
                                 ? m_templateNames[static_cast<size_t>(index)]
                                 : std::string();
    Change(kNoMerge, "Template", [&] { m_project.SetTemplateName(name); });
    m_projectTemplateChosen = false;
    ApplyTemplate();
}

void TLabelDocument::LinearEditorClosed(int rememberedIndex) {
    try {
        m_templateNames = LoadTemplateNames(m_libraryPath);
    } catch (const std::exception& e) {
        m_templateNames.clear();
        ShowError(e.what());
    }
    emit templateListChanged();
    const int count = static_cast<int>(m_templateNames.size());
    int index = SelectedTemplate();
    if (rememberedIndex >= 0 && rememberedIndex < count - 1)
        index = rememberedIndex;
    else if (index < 0)
        index = count - 1;
    SelectTemplate(index);
}

void TLabelDocument::SetFormat2D(int index) {
    Change(kNoMerge, "2D format", [&] { m_project.SetFormat2D(index); });
    Apply2DSettings();
}

void TLabelDocument::SetSymbolOptions2D(const TSymbolSettings& options) {
    Change(kNoMerge, "2D options", [&] { m_project.SetSymbolOptions2D(options); });
    Apply2DSettings();
}

void TLabelDocument::ApplyLabel() {
    if (Kind() == TBarcodeKind::bk2D)
        Apply2DSettings();
    else
        ApplyTemplate();
}

TTemplate TLabelDocument::TemplateToDraw() {
    const TIniFile library(m_libraryPath);
    const std::string& name = m_project.TemplateName();
    // The library's version is taken unless the user chose the project's own copy when opening it;
    // a template the library lacks is drawn from the copy.
    if (!m_projectTemplateChosen && library.SectionExists(name))
        m_project.SetTemplateCopy(ReadTemplate(library, name));
    return m_project.TemplateCopy() ? *m_project.TemplateCopy() : ReadTemplate(library, name);
}

void TLabelDocument::DrawLinearLabel(bool report) {
    const TTemplate drawn = TemplateToDraw();
    const int dpi = Resolution();
    const int dpiY = m_printer && m_printer->PrinterCount() > 0 ? m_printer->ResolutionY() : dpi;
    m_codeRefused = false;
    try {
        qbm::ApplyTemplate(drawn, m_setup.bcdMain, m_setup.label, dpi, dpiY);
    } catch (const EBarcodeError& e) {
        // The template's symbology cannot draw the code (another template was chosen, or the library
        // changed since the code was checked): the label shows no code and the user is told; the code
        // itself stays, so that a template that can draw it brings it back.
        m_codeRefused = true;
        const std::string code = m_setup.bcdMain.Text();
        m_setup.bcdMain.SetText("");
        qbm::ApplyTemplate(drawn, m_setup.bcdMain, m_setup.label, dpi, dpiY);
        m_setup.bcdMain.SetText(code);
        // The symbol encoders' own message says what the value lacks (a GTIN's length, a GS1 identifier).
        const TBarcodeType type = m_setup.bcdMain.Typ();
        if (report) ShowError(IsGeometryType(type) ? std::string(e.what()) : InvalidCodeMessage(type));
    }
}

void TLabelDocument::ApplyTemplate() {
    if (!m_project.HasTemplate()) return;
    try {
        DrawLinearLabel();
    } catch (const std::exception& e) {
        // No label could be drawn for the code (a code too long for any label): a run must not go on
        // with the picture of the code before it.
        m_codeRefused = true;
        ShowError(e.what());
        return;
    }
    emit labelPictureChanged();
    RefreshPreview();
    emit barcodeTypeChanged();
}

T2DSettings TLabelDocument::Settings2D() {
    // A project without its own copy takes the library's, and keeps it from then on.
    if (!m_project.Settings2D()) m_project.SetSettings2D(Read2DSettings(TIniFile(m_libraryPath)));
    return *m_project.Settings2D();
}

void TLabelDocument::Set2DSettings(const T2DSettings& settings) {
    if (m_project.Settings2D() != settings)
        Change(kNoMerge, "2D settings", [&] { m_project.SetSettings2D(settings); });
    Apply2DSettings();
}

void TLabelDocument::Apply2DSettings() {
    Apply2DSettings(true);
}

void TLabelDocument::SetPrintPreferences(const TPrintPreferences& preferences) {
    if (m_project.PrintPreferences() == preferences) return;
    Change(kNoMerge, "Print options", [&] { m_project.SetPrintPreferences(preferences); });
}

void TLabelDocument::Apply2DSettings(bool report) {
    std::string problem;
    try {
        ApplyProjectLabel2D(m_setup, m_project, Settings2D());
    } catch (const std::exception& e) {
        problem = e.what();
        if (report) ShowError(problem);
    }
    // Shown beside the text, not in a box: it is typed one character at a time.
    if (problem.empty()) problem = Latin1Problem2D(m_project);
    if (Kind() == TBarcodeKind::bk2D) SetInputProblem(problem);
    emit labelPictureChanged();
    RefreshPreview();
    emit barcodeTypeChanged();
}

void TLabelDocument::SetInputProblem(std::string text) {
    if (text == m_inputProblem) return;
    m_inputProblem = std::move(text);
    emit inputProblemChanged();
}

TPrintJob TLabelDocument::PreviewJob(TSourceFeed& feed) {
    TPrintJob job =
        PrintJobOf(m_project, m_setup.bcdMain, &m_setup.Symbol2D(m_project), m_setup.label.Bitmap, feed);
    if (!job.is2D &&
        (!m_project.HasTemplate() ||
         !NothingToPrintMessage(PrintChecksOf(m_project, m_setup.bcdMain.Typ(), m_setup.bcdMain.Checksum()))
              .empty()))
        job.feed = nullptr;
    return job;
}

TPage TLabelDocument::PreviewPaper() const {
    return PageOf(m_printer, m_project.Orientation());
}

void TLabelDocument::RefreshPreview() {
    if (!m_previewShown) {
        m_pageCountText = qbm::PageCountText(PageCount(LabelCount(), m_project.Linage(), m_project.Column()));
        emit pageCountChanged();
        return;
    }
    TSourceFeed feed(m_project);
    const TPreviewResult r = qbm::RefreshPreview(m_pagePicture, PreviewPaper(), PreviewJob(feed),
                                                 m_previewPixelsPerInch, m_previewPage.number, LabelCount());
    m_preview = r.layout;
    m_previewPage = r.page;
    m_pageCountText = r.pageCountText;
    emit previewChanged();
    emit pageCountChanged();
    // A linear label is measured as it prints, with its quiet zones, digits and caption, rather than
    // by its picture; the warning keeps the layout check's words and adds both sizes.
    SetLayoutWarning(PrintFitWarning(PreviewPaper(), r.warning));
}

std::string TLabelDocument::PrintFitWarning(const TPage& page, const std::string& pictureWarning) {
    if (Kind() != TBarcodeKind::bkLinear || !m_project.HasTemplate() || m_codeRefused) return pictureWarning;
    try {
        // Measured as the print loop measures it: with the quiet zones, digits and caption.
        auto working = MakeWorkingBarcode(m_setup.bcdMain, page.resY);
        const TRect box = LinearLabelBox(*working, page.resY).whole;
        const TLabelFit fit =
            CheckLabelFit(box.Width(), box.Height(), page, PrinterCellGrid(page, LayoutOf(m_project)), true);
        if (fit.fits) return {};
        return std::string(fit.tooWide ? "To many barcode per line! " : "Out of output range! ") +
               fit.message;
    } catch (const std::exception&) {
        return pictureWarning; // the code's own message has been given where it was typed
    }
}

void TLabelDocument::DrawPreview() {
    if (!m_previewShown) return;
    TSourceFeed feed(m_project);
    const TPrintJob job = PreviewJob(feed);
    const TPage paper = PreviewPaper();
    m_preview = ComputePreviewLayout(paper, job.layout, m_previewPixelsPerInch, LabelPicture().Width(),
                                     LabelPicture().Height(), job.is2D);
    m_previewPage = DrawPreviewPage(m_pagePicture, m_preview, paper, job, m_previewPage.number);
    emit previewChanged();
}

void TLabelDocument::SetPreviewPixelsPerInch(double pixelsPerInch) {
    const double clamped = ClampPreviewPixelsPerInch(PreviewPaper(), pixelsPerInch);
    if (clamped == m_previewPixelsPerInch) return;
    m_previewPixelsPerInch = clamped;
    DrawPreview();
}

void TLabelDocument::ShowPreviewPage(int number) {
    const int shown = std::clamp(number, 1, std::max(1, m_previewPage.pages));
    if (shown == m_previewPage.number) return;
    m_previewPage.number = shown;
    DrawPreview();
}

std::string TLabelDocument::PreviewPageText() const {
    if (m_previewPage.pages < 1) return "No labels";
    return "Page " + std::to_string(m_previewPage.number) + " of " + std::to_string(m_previewPage.pages);
}

void TLabelDocument::SetLayoutWarning(const std::string& warning) {
    if (warning == m_layoutWarning) return;
    m_layoutWarning = warning;
    emit layoutWarningChanged();
}

// ---- linear sources ----

bool TLabelDocument::ShowConstantCode(bool report) {
    if (m_project.LinearSource() != TLinearSource::lsConstant) return false;
    const std::string problem =
        CodeProblem(m_project.FixedCode(), m_setup.bcdMain.Typ(), m_setup.bcdMain.Checksum());
    SetInputProblem(problem);
    if (!problem.empty()) {
        if (report) ShowError(problem);
        // No label can hold it: a run must not go on with the code shown before.
        if (CodeWiderThanAnyLabel(m_project.FixedCode().size())) m_codeRefused = true;
        return false;
    }
    m_setup.bcdMain.SetText(m_project.FixedCode());
    m_setup.bcdMain.ExtCaption = m_project.ExtCaption();
    return true;
}

bool TLabelDocument::ShowFieldValue(bool report) {
    if (m_project.LinearSource() != TLinearSource::lsDatasheet) return false;
    TDatasheet& sheet = m_project.Datasheet();
    const std::string code = FieldValue(sheet, m_project.CodeFieldName(), 1);
    const std::string problem = CodeProblem(code, m_setup.bcdMain.Typ(), m_setup.bcdMain.Checksum());
    SetInputProblem(problem);
    if (!problem.empty()) {
        if (report) ShowError(problem);
        return false;
    }
    m_setup.bcdMain.SetText(code);
    m_setup.bcdMain.ExtCaption = FieldText(sheet, m_project.CapFieldName(), 1);
    return true;
}

void TLabelDocument::SetLinearSource(TLinearSource source) {
    Change(kNoMerge, "Linear source", [&] { m_project.SetLinearSource(source); });
    const bool constant = ShowConstantCode(true);
    const bool field = ShowFieldValue(true);
    if (constant || field) ApplyLabel();
}

void TLabelDocument::SetFixedCode(const std::string& code) {
    Change(kFixedCodeId, "Constant code", [&] { m_project.SetFixedCode(code); });
    if (ShowConstantCode(false))
        ApplyLabel();
    else
        DrawPreview(); // a blank code leaves the cells empty; a refused one says why
}

void TLabelDocument::SetTypedFixedCode(const std::string& utf8) {
    SetFixedCode(Utf8ToLatin1Replacing(utf8));
    if (!FitsLatin1(utf8))
        SetInputProblem("Linear barcodes carry Latin-1 characters only; the others in \"" + utf8 +
                        "\" become '?'. QR Code, Data Matrix and Aztec on the 2D tab carry any script.");
}

void TLabelDocument::SetExtCaption(const std::string& caption) {
    Change(kExtCaptionId, "Extended caption", [&] { m_project.SetExtCaption(caption); });
    if (ShowConstantCode(false)) ApplyLabel();
}

void TLabelDocument::SetFixedCodeAmount(int amount) {
    Change(kAmountId, "Amount", [&] { m_project.SetFixedCodeAmount(amount); });
    // The count follows the amount at once, whatever source is selected, without the fit warnings of
    // a refresh; the preview shows the pages the amount gives.
    m_pageCountText =
        qbm::PageCountText(PageCount(m_project.FixedCodeAmount(), m_project.Linage(), m_project.Column()));
    emit pageCountChanged();
    DrawPreview();
}

void TLabelDocument::SetCodeField(int index) {
    Change(kNoMerge, "Code field", [&] { m_project.SetCodeField(index); });
    if (ShowFieldValue(true)) ApplyLabel();
}

void TLabelDocument::SetCapField(int index) {
    Change(kNoMerge, "Caption field", [&] { m_project.SetCapField(index); });
    if (ShowFieldValue(true)) ApplyLabel();
}

TControlCharMenu TLabelDocument::ControlCharMenu() const {
    return ControlCharMenuFor(m_setup.bcdMain.Typ());
}

void TLabelDocument::InsertControlChar(const TControlCharEntry& entry) {
    SetFixedCode(AppendControlChar(m_project.FixedCode(), entry));
}

void TLabelDocument::FixedValue() {
    if (Kind() == TBarcodeKind::bk2D) {
        SetSource2D(T2DSource::tsFixedText);
        emit showTabRequested(TMainTab::mt2D);
        emit focusRequested(TFocusTarget::ftText2D);
    } else {
        SetLinearSource(TLinearSource::lsConstant);
        emit showTabRequested(TMainTab::mtLinear);
        emit focusRequested(TFocusTarget::ftFixedCode);
    }
}

void TLabelDocument::ImportVariousCode() {
    if (Kind() != TBarcodeKind::bkLinear) return;
    SetLinearSource(TLinearSource::lsDatasheet);
    emit showTabRequested(TMainTab::mtLinear);
    if (!ImportCodesInto(m_project.LinearCodeList(), TCodeListText::ctLatin1)) return;
    if (!m_project.LinearCodeList().empty()) m_setup.bcdMain.SetText(m_project.LinearCodeList().front());
    ApplyTemplate();
}

// ---- 2D sources ----

void TLabelDocument::SetSource2D(T2DSource source) {
    Change(kNoMerge, "2D source", [&] { m_project.SetSource2D(source); });
    ApplyLabel();
}

void TLabelDocument::SetText2D(const std::string& text) {
    Change(kText2DId, "2D text", [&] { m_project.SetText2D(text); });
    if (Kind() == TBarcodeKind::bk2D)
        Apply2DSettings(false);
    else
        ApplyLabel();
}

void TLabelDocument::SetAmount2D(int amount) {
    Change(kAmount2DId, "2D amount", [&] { m_project.SetAmount2D(amount); });
    m_pageCountText =
        qbm::PageCountText(PageCount(m_project.Amount2D(), m_project.Linage(), m_project.Column()));
    emit pageCountChanged();
    DrawPreview();
}

void TLabelDocument::Import2D() {
    if (!ImportCodesInto(m_project.CodeList2D(), TCodeListText::ctUtf8)) return;
    // The count under the list follows the list it counts.
    SetAmountLabel("Amount: " + std::to_string(m_project.CodeList2D().size()));
    ApplyLabel();
}

bool TLabelDocument::ImportCodesInto(std::vector<std::string>& list, TCodeListText text) {
    const auto path = m_dialogs.AskOpenPath(TFileKind::fkCodeList);
    if (!path) return false;
    std::string error;
    Change(kNoMerge, "Import codes", [&] {
        try {
            ImportCodeList(*path, list, text);
        } catch (const std::exception& e) {
            error = e.what();
        }
    });
    if (!error.empty()) ShowError(error);
    return true;
}

void TLabelDocument::Clear2D() {
    if (!m_project.CodeList2D().empty() &&
        m_prompts.Message(TMsgKind::mkConfirmation, TMsgButtons::mbYesCancel, kClearListQuestion) ==
            TMsgResult::mrYes)
        Change(kNoMerge, "Clear codes", [&] { m_project.CodeList2D().clear(); });
    // The label follows the list: an emptied list shows the fixed text's symbol.
    ApplyLabel();
}

void TLabelDocument::DeleteListItem(int index) {
    auto& list = Kind() == TBarcodeKind::bk2D ? m_project.CodeList2D() : m_project.LinearCodeList();
    if (index >= 0 && static_cast<size_t>(index) < list.size())
        Change(kNoMerge, "Delete code", [&] { list.erase(list.begin() + index); });
    SetAmountLabel("Output Amount: " + std::to_string(m_project.CodeList2D().size()));
    ApplyLabel();
}

void TLabelDocument::ClearAllList() {
    auto& list = Kind() == TBarcodeKind::bk2D ? m_project.CodeList2D() : m_project.LinearCodeList();
    if (list.empty()) return;
    if (m_prompts.Message(TMsgKind::mkConfirmation, TMsgButtons::mbYesCancel, kClearListQuestion) ==
        TMsgResult::mrYes)
        Change(kNoMerge, "Clear codes", [&] { list.clear(); });
    SetAmountLabel("Output Amount: " + std::to_string(m_project.CodeList2D().size()));
    ApplyLabel();
}

// ---- sequences and the datasheet ----

void TLabelDocument::SerialCode(const std::vector<std::string>& codes) {
    if (codes.empty()) return;
    if (Kind() == TBarcodeKind::bk2D) {
        Change(kNoMerge, "Serial codes", [&] {
            m_project.CodeList2D() = codes;
            m_project.SetSource2D(T2DSource::tsCodeList);
        });
        emit showTabRequested(TMainTab::mt2D);
        SetAmountLabel("Output Amount: " + std::to_string(codes.size()));
        Apply2DSettings();
        return;
    }
    // The codes fill the datasheet column "Serial" from its first row, and that column becomes the
    // code field: the labels print them. (Left in the code list alone, they would print nothing and
    // leave the source on a datasheet with no field chosen.) Older codes below them are cleared.
    TDatasheet& sheet = m_project.Datasheet();
    if (FindFieldColumn(sheet, kSerialColumn) < 0) {
        sheet.AddColumn(kSerialColumn);
        m_changedOutsideStack = true;
    }
    const int column = FindFieldColumn(sheet, kSerialColumn);
    std::vector<std::string> values = codes;
    if (sheet.RowCount() - 1 > static_cast<int>(values.size()))
        values.resize(static_cast<size_t>(sheet.RowCount() - 1));
    sheet.SetCurrentCell(column, 1);
    PlaceInColumn(sheet, values, "Serial Code", &m_datasheetHistory);
    m_changedOutsideStack = true;
    Change(kNoMerge, "Serial codes", [&] {
        m_project.LinearCodeList() = codes;
        m_project.RebuildFieldList(kFieldPlaceholderDatasheet);
        m_project.SetCodeField(column);
        m_project.SetLinearSource(TLinearSource::lsDatasheet);
    });
    emit fieldListChanged();
    // The datasheet source shows its first value when that is valid.
    ShowFieldValue(true);
    emit showTabRequested(TMainTab::mtLinear);
    ApplyTemplate();
}

void TLabelDocument::Serial2D(const std::vector<std::string>& codes) {
    if (!codes.empty()) Change(kNoMerge, "Serial codes", [&] { m_project.CodeList2D() = codes; });
    SetAmountLabel("Amount: " + std::to_string(m_project.CodeList2D().size()));
    ApplyLabel();
}

void TLabelDocument::DatasheetWindowOpening() {
    m_noted = NoteFieldChoices(m_project);
}

void TLabelDocument::DatasheetWindowClosed(bool changed) {
    RestoreFieldChoices(m_project, m_noted);
    if (changed) m_changedOutsideStack = true;
    UpdateModified();
    emit fieldListChanged();
    emit projectChanged();
    if (changed) RefreshPreview();
}

// ---- layout ----

void TLabelDocument::SetLinage(int rows) {
    Change(kLinageId, "Rows", [&] { m_project.SetLinage(rows); });
    RefreshPreview();
}

void TLabelDocument::SetColumn(int columns) {
    Change(kColumnId, "Columns", [&] { m_project.SetColumn(columns); });
    RefreshPreview();
}

void TLabelDocument::SetMargin(TMarginSide side, int mm) {
    switch (side) {
    case TMarginSide::msLeft:
        Change(kMarginLeftId, "Left margin", [&] { m_project.SetMarginLeft(mm); });
        break;
    case TMarginSide::msRight:
        Change(kMarginRightId, "Right margin", [&] { m_project.SetMarginRight(mm); });
        break;
    case TMarginSide::msTop:
        Change(kMarginTopId, "Top margin", [&] { m_project.SetMarginTop(mm); });
        break;
    case TMarginSide::msBottom:
        Change(kMarginBottomId, "Bottom margin", [&] { m_project.SetMarginBottom(mm); });
        break;
    }
    RefreshPreview();
}

void TLabelDocument::SetSplitMarks(bool on) {
    Change(kNoMerge, "Split marks", [&] { m_project.SetSplitMarks(on); });
    RefreshPreview();
}

void TLabelDocument::SetVerifyLabels(bool on) {
    Change(kNoMerge, "Verify every label", [&] { m_project.SetVerifyLabels(on); });
}

void TLabelDocument::SetOrientation(TPrinterOrientation orientation) {
    Change(kNoMerge, "Orientation", [&] { m_project.SetOrientation(orientation); });
    if (m_printer && m_printer->PrinterCount() > 0) m_printer->SetOrientation(orientation);
    RefreshPreview();
}

void TLabelDocument::ChooseStock(const TStockGrid& grid) {
    Change(kNoMerge, "Label stock", [&] { ApplyStockGrid(m_project, grid); });
    if (m_printer && m_printer->PrinterCount() > 0) m_printer->SetOrientation(m_project.Orientation());
    RefreshPreview();
}

void TLabelDocument::SetPrinter(TPrinter* printer) {
    m_printer = printer;
    if (m_printer && m_printer->PrinterCount() > 0) m_printer->SetOrientation(m_project.Orientation());
    ApplyLabel();
}

void TLabelDocument::PrinterSettingsChanged() {
    if (m_printer && m_printer->PrinterCount() > 0) {
        const TPrinterOrientation o = m_printer->Orientation();
        Change(kNoMerge, "Printer setting", [&] { m_project.SetOrientation(o); });
    }
    // The resolution may have changed: the label is drawn again for it.
    ApplyLabel();
}

// ---- printing ----

bool TLabelDocument::FitToLabel() {
    return FitToLabelOn(PageOf(m_printer, m_project.Orientation()));
}

bool TLabelDocument::FitToLabelOn(const TPage& page) {
    if (Kind() != TBarcodeKind::bkLinear || !m_project.HasTemplate()) return false;
    TTemplate fitted = TemplateToDraw();
    try {
        // Measured as the print loop draws it: the template at the page's resolution, the first label.
        TBarcode atPage;
        TLabelPicture scratch;
        qbm::ApplyTemplate(fitted, atPage, scratch, page.resX, page.resY);
        auto working = MakeWorkingBarcode(atPage, page.resY);
        TSourceFeed feed(m_project);
        if (feed.Count() > feed.FirstIndex()) {
            const TLabelValue first = feed.Value(feed.FirstIndex());
            working->SetText(first.code);
            working->ExtCaption = first.caption;
        }
        const auto size = FitLinearLabel(*working, page, PrinterCellGrid(page, LayoutOf(m_project)));
        if (!size) {
            ShowError(
                "The labels cannot fit their cells even with a module of one printer dot and a bar 1 mm "
                "high: print fewer rows or columns.");
            return false;
        }
        fitted.Height = size->heightMm;
        fitted.BarWidth = DotsToHundredthsMm(size->moduleDots, page.resX);
        const TIniFile library(m_libraryPath);
        if (library.SectionExists(m_project.TemplateName())) {
            TIniFile writable(m_libraryPath);
            writable.WriteInteger(m_project.TemplateName(), "Height", fitted.Height);
            writable.WriteInteger(m_project.TemplateName(), "BarWidth", fitted.BarWidth);
        }
    } catch (const std::exception& e) {
        ShowError(e.what());
        return false;
    }
    m_project.SetTemplateCopy(fitted);
    m_changedOutsideStack = true;
    ApplyTemplate();
    UpdateModified();
    return true;
}

TPrintResult TLabelDocument::Print(TPrinter& printer, const TPrintOptions& options) {
    // Linear labels print from a barcode set up in the dots of the run's own printer, made from the
    // on-screen one, which stays as it is: the window's label is neither changed nor drawn again.
    const bool linear = Kind() == TBarcodeKind::bkLinear && m_project.HasTemplate();
    TBarcode device;
    TLabelPicture deviceLabel;
    const auto copyScreen = [&] {
        device.Assign(m_setup.bcdMain);
        device.SetOnChange(nullptr);
        device.SetShowTextFont(m_setup.bcdMain.ShowTextFont());
        device.SetExtCapFont(m_setup.bcdMain.ExtCapFont());
        device.SetShowTextPosition(m_setup.bcdMain.ShowTextPosition());
        device.ExtCaption = m_setup.bcdMain.ExtCaption;
        device.ExtCaptionPosition = m_setup.bcdMain.ExtCaptionPosition;
    };
    copyScreen();
    auto setUp = [&](int dpiX, int dpiY) {
        copyScreen();
        qbm::ApplyTemplate(TemplateToDraw(), device, deviceLabel, dpiX, dpiY);
    };
    auto setUpFor = [&](TPrinter& printerToUse) {
        if (!linear || printerToUse.PrinterCount() < 1) return;
        try {
            setUp(printerToUse.ResolutionX(), printerToUse.ResolutionY());
        } catch (const EBarcodeError&) {
            // The print command's checks name the value; the label picture just stays without code.
        }
    };
    // The printer chosen after the checks (another one, or the same with other settings) may have
    // another resolution than the one the label was set up for; the choices made with it and its
    // calibration go into the run before its labels are planned.
    TChoosePrinter choose;
    if (options.choosePrinter) {
        choose = [&](TPrintRunOptions& run) -> TPrinter* {
            const TPrinterChoice chosen = options.choosePrinter();
            if (!chosen.printer) return nullptr;
            ApplyPrinterChoice(chosen, options.calibrations, run);
            setUpFor(*chosen.printer);
            return chosen.printer;
        };
    }
    TPrintRunOptions run = options.run;
    if (options.offerFitToLabel && linear) {
        run.fitToLabel = [this, &setUp](const TPage& page) {
            if (!FitToLabelOn(page)) return false;
            // The run goes on at its own printer's resolution.
            setUp(page.resX, page.resY);
            return true;
        };
    }
    TPrintResult result;
    try {
        setUpFor(printer);
        result = PrintProject(
            m_project, printer, linear ? device : m_setup.bcdMain, &m_setup.Symbol2D(m_project),
            linear ? deviceLabel.Bitmap : m_setup.label.Bitmap, m_prompts, options.progress, choose, run);
    } catch (const std::exception& e) {
        ShowError(e.what());
        result = {};
    }
    return result;
}

bool TLabelDocument::PrintCalibrationSheet(TPrinter& printer, const std::string& printerName) {
    if (printer.PrinterCount() < 1) {
        m_prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, "No printr device installed! ");
        return false;
    }
    try {
        qbm::PrintCalibrationSheet(printer, LayoutOf(m_project), printerName);
    } catch (const std::exception& e) {
        ShowError(e.what());
        return false;
    }
    return true;
}

} // namespace qbm
