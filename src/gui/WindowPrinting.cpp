#include "gui/WindowPrinting.h"

#include "app/ProjectPrinting.h"
#include "app/TLabelDocument.h"
#include "gui/GuiText.h"
#include "gui/TCalibrationDialog.h"
#include "gui/TPrintRunTab.h"
#include "output/TPrintJournal.h"
#include "stock/StockGrid.h"
#include "surface/TPdfPrinter.h"
#include "surface/TSystemPrinter.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QWidget>

namespace qbm {

namespace {

constexpr int kPdfDpi = 300;

TPaperSize PaperOf(const QPrinter& printer) {
    // The page size in its portrait form; the orientation travels on its own.
    const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    return {std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height())};
}

TPrinterOrientation OrientationOf(const QPrinter& printer) {
    return printer.pageLayout().orientation() == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                                        : TPrinterOrientation::poPortrait;
}

bool SamePaper(const TPaperSize& a, const TPaperSize& b) {
    return std::abs(a.widthMm - b.widthMm) < 0.5 && std::abs(a.heightMm - b.heightMm) < 0.5;
}

bool IsA4(const TPaperSize& paper) {
    return SamePaper(paper, TPaperSize::A4());
}

} // namespace

WindowPrinting::WindowPrinting(QWidget* window) : QObject(window), m_window(window) {
    if (!TSystemPrinter::InstalledPrinters().empty()) m_system = std::make_unique<TSystemPrinter>();
    m_paperSetup = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_paperSetup->setOutputFormat(QPrinter::PdfFormat);
    m_paperSetup->setPageSize(QPageSize(QPageSize::A4));
}

WindowPrinting::~WindowPrinting() = default;

bool WindowPrinting::PrinterInstalled() const {
    return m_system != nullptr;
}

void WindowPrinting::IgnoreSystemPrinters() {
    if (m_doc) m_doc->SetPrinter(m_paper.get());
    m_system.reset();
    m_stockPaper.reset();
    FollowStockPaper();
}

void WindowPrinting::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    m_stockPaper.reset();
    if (!doc) return;
    doc->SetPrinter(m_system ? static_cast<TPrinter*>(m_system.get()) : m_paper.get());
    connect(doc, &TLabelDocument::projectChanged, this, &WindowPrinting::FollowStockPaper);
    FollowStockPaper();
}

QPrinter& WindowPrinting::PaperSource() const {
    return m_system ? *static_cast<QPrinter*>(m_system->NativePrinter()) : *m_paperSetup;
}

void WindowPrinting::FollowStockPaper() {
    if (!m_doc) return;
    const std::optional<TPaperSize> paper = StockPaper(m_doc->Project());
    if (!paper || (m_stockPaper && SamePaper(*m_stockPaper, *paper))) return;
    m_stockPaper = paper;
    if (SamePaper(PaperOf(PaperSource()), *paper)) return;
    UsePaper(*paper);
}

void WindowPrinting::UsePaper(const TPaperSize& paper) {
    QPrinter& target = PaperSource();
    // Sizes the printer knows by name keep their name (a driver picks its tray by it).
    const QPageSize size(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyOrientationMatch);
    if (!target.setPageSize(size) && m_system) {
        if (auto* window = qobject_cast<QMainWindow*>(m_window))
            window->statusBar()->showMessage(
                QString("The printer offers no %1 x %2 mm paper: choose it under Printer Setting")
                    .arg(paper.widthMm, 0, 'f', 1)
                    .arg(paper.heightMm, 0, 'f', 1));
        return;
    }
    if (m_system) {
        m_doc->PrinterSettingsChanged();
        return;
    }
    // Without a printer the page is A4 at 300 dots per inch; another paper becomes a page of its own.
    if (IsA4(paper)) {
        m_paper.reset();
    } else {
        m_paper = std::make_unique<TPdfPrinter>(std::string(), paper, kPdfDpi);
    }
    m_doc->SetPrinter(m_paper.get());
}

TPrintResult WindowPrinting::Run(TPrinter& printer, const QString& what, TChoosePrintRun choosePrinter) {
    // The progress dialog appears with the reading back or the first page, after the questions and
    // the print dialog.
    std::unique_ptr<QProgressDialog> progress;
    const auto show = [&](int done, int total, const QString& text) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(m_window);
            progress->setObjectName("PrintProgress");
            progress->setWindowTitle(what);
            progress->setAccessibleName(what);
            progress->setCancelButtonText("Cancel");
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoReset(false);
            progress->setAutoClose(false);
        }
        progress->setRange(0, total);
        progress->setValue(done);
        progress->setLabelText(text);
        QCoreApplication::processEvents();
        return !progress->wasCanceled();
    };
    TPrintOptions options;
    options.choosePrinter = std::move(choosePrinter);
    options.calibrations = m_calibrations;
    if (!options.choosePrinter) {
        // Printing to a file chosen beforehand: the file's calibration is the one kept for "PDF".
        options.run.printerName = "PDF";
        options.run.calibration = m_calibrations.Load("PDF");
    }
    if (!m_doc->Untitled() && !m_doc->ProjectFileName().empty() &&
        m_doc->Project().PrintPreferences().journal)
        options.run.journalPath = JournalPathFor(m_doc->ProjectFileName());
    options.run.verifyProgress = [&](long long done, long long total) {
        // Counted in thousandths, so runs beyond the progress bar's range move it evenly too.
        const int permille = static_cast<int>(done * 1000 / std::max(1LL, total));
        const bool go = show(permille, 1000, QString("Verifying label %1 of %2").arg(done).arg(total));
        // The list of failures, or the pages, come next: the verifying dialog makes way for them.
        if (done == total) progress.reset();
        return go;
    };
    options.progress = [&](int done, int total) {
        return show(done, total, QString("Page %1 of %2").arg(done).arg(total));
    };
    options.run.verify = m_doc->Project().VerifyLabels();
    options.offerFitToLabel = true;
    const TPrintResult result = m_doc->Print(printer, options);
    progress.reset();
    m_dialogPdf.reset();
    if (result.outcome == TPrintOutcome::poPrinted) {
        const std::string summary = PrintSummary(result, m_summaryTarget, m_summaryToFile);
        if (auto* window = qobject_cast<QMainWindow*>(m_window))
            window->statusBar()->showMessage(ToQ(summary));
    }
    emit printFinished(result.pages, result.outcome == TPrintOutcome::poCancelled);
    return result;
}

TPrinterChoice WindowPrinting::RunPrintDialog(bool labelsTab) {
    if (m_printDialog) return m_printDialog();
    // The dialog works on the system printer itself, so printer, copies and paper chosen there are
    // the ones the run uses; with no printer installed it offers its PDF file target.
    QPrinter* target = &PaperSource();
    if (!m_system && target->outputFileName().isEmpty())
        target->setOutputFileName(m_lastPdf.isEmpty() ? QDir::home().filePath("labels.pdf") : m_lastPdf);
    QPrintDialog dialog(target, m_window);
    dialog.setObjectName("PrintDialog");
    dialog.setWindowTitle("Print");
    // Pages are chosen on the "Labels" tab in the run's own terms (the empty cells of the first sheet
    // count): the dialog's own page ranges, selection and current page are not offered.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    TPrintRunTab* runTab = nullptr;
    if (labelsTab) {
        runTab = new TPrintRunTab(m_doc->Project().Linage() * m_doc->Project().Column(), m_doc->LabelCount(),
                                  m_doc->Project().VerifyLabels());
        runTab->Show(m_doc->Project().PrintPreferences());
        dialog.setOptionTabs({runTab});
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    TPrinterChoice choice;
    if (runTab) {
        runTab->FillIn(choice);
        // The tab's choices are the project's print options, kept for the next run.
        m_doc->SetPrintPreferences(runTab->Preferences(m_doc->Project().PrintPreferences()));
    }
    if (target->outputFormat() == QPrinter::PdfFormat || !m_system) {
        const QString path = target->outputFileName();
        if (path.isEmpty()) return {};
        m_lastPdf = path;
        m_dialogPdf = std::make_unique<TPdfPrinter>(PathFromQ(path), PaperOf(*target), kPdfDpi);
        m_dialogPdf->SetOrientation(OrientationOf(*target));
        SetSummaryTarget(QFileInfo(path).fileName(), true);
        choice.printer = m_dialogPdf.get();
        choice.printerName = "PDF";
        return choice;
    }
    choice.printer = m_system.get();
    choice.printerName = target->printerName().toStdString();
    SetSummaryTarget(target->printerName(), false);
    return choice;
}

void WindowPrinting::SetSummaryTarget(const QString& target, bool toFile) {
    m_summaryTarget = PathFromQ(target);
    m_summaryToFile = toFile;
}

void WindowPrinting::Print() {
    if (!m_doc) return;
    if (m_system) {
        Run(*m_system, "Print", [this] { return RunPrintDialog(true); });
        return;
    }
    // Without a printer the label is set up for the A4 page until the dialog has chosen a file.
    TPdfPrinter page(std::string(), TPaperSize::A4(), kPdfDpi);
    page.SetOrientation(m_doc->Project().Orientation());
    Run(page, "Print", [this] { return RunPrintDialog(true); });
}

bool WindowPrinting::PrintCalibrationSheet() {
    if (!m_doc) return false;
    const TPrinterChoice choice = RunPrintDialog(false);
    const bool printed = choice.printer && m_doc->PrintCalibrationSheet(*choice.printer, choice.printerName);
    m_dialogPdf.reset();
    return printed;
}

void WindowPrinting::EditCalibration() {
    TCalibrationDialog dialog(
        CalibratedPrinterNames(), CurrentPrinterName(), m_calibrations, [this] { PrintCalibrationSheet(); },
        m_window);
    dialog.exec();
}

std::string WindowPrinting::CurrentPrinterName() const {
    if (!m_system) return "PDF";
    return static_cast<QPrinter*>(m_system->NativePrinter())->printerName().toStdString();
}

std::vector<std::string> WindowPrinting::CalibratedPrinterNames() const {
    std::vector<std::string> names;
    if (m_system) names = TSystemPrinter::InstalledPrinters();
    names.push_back("PDF");
    return names;
}

QString WindowPrinting::AskPdfPath() {
    if (m_choosePdfPath) return m_choosePdfPath();
    QFileDialog dialog(m_window, "Print to PDF", {}, "PDF Files (*.pdf);;All Files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("pdf");
    QString proposed = m_lastPdf;
    if (proposed.isEmpty()) {
        const QString project = PathToQ(m_doc->ProjectFileName());
        proposed = project.isEmpty() ? "labels.pdf" : QFileInfo(project).completeBaseName() + ".pdf";
    }
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void WindowPrinting::PrintToPdf() {
    if (!m_doc) return;
    const QString path = AskPdfPath();
    if (path.isEmpty()) return;
    m_lastPdf = path;
    PrintToPdfFile(path);
}

bool WindowPrinting::PrintToPdfFile(const QString& path) {
    if (!m_doc) return false;
    const QPrinter* paperFrom = &PaperSource();
    TPdfPrinter pdf(PathFromQ(path), PaperOf(*paperFrom), kPdfDpi);
    pdf.SetOrientation(m_doc->Project().Orientation());
    SetSummaryTarget(QFileInfo(path).fileName(), true);
    return Run(pdf, "Print to PDF").outcome == TPrintOutcome::poPrinted;
}

void WindowPrinting::PageSetup() {
    if (!m_doc) return;
    QPrinter* target = &PaperSource();
    target->setPageOrientation(m_doc->Project().Orientation() == TPrinterOrientation::poLandscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    QPageSetupDialog dialog(target, m_window);
    dialog.setObjectName("PageSetupDialog");
    if (dialog.exec() != QDialog::Accepted) return;
    if (m_system) {
        m_doc->PrinterSettingsChanged();
        return;
    }
    UsePaper(PaperOf(*target));
    m_doc->SetOrientation(OrientationOf(*target));
}

} // namespace qbm
