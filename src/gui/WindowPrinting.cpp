#include "gui/WindowPrinting.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"
#include "surface/TPdfPrinter.h"
#include "surface/TSystemPrinter.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QWidget>

namespace qbm {

namespace {

constexpr int kPdfDpi = 300;

TPaperSize PaperOf(const QPrinter& printer)
{
    // The page size in its portrait form; the orientation travels on its own.
    const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    return {std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height())};
}

TPrinterOrientation OrientationOf(const QPrinter& printer)
{
    return printer.pageLayout().orientation() == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                                       : TPrinterOrientation::poPortrait;
}

bool IsA4(const TPaperSize& paper)
{
    return std::abs(paper.widthMm - 210.0) < 0.5 && std::abs(paper.heightMm - 297.0) < 0.5;
}

} // namespace

WindowPrinting::WindowPrinting(QWidget* window) : QObject(window), m_window(window)
{
    if (!TSystemPrinter::InstalledPrinters().empty()) m_system = std::make_unique<TSystemPrinter>();
    m_paperSetup = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_paperSetup->setOutputFormat(QPrinter::PdfFormat);
    m_paperSetup->setPageSize(QPageSize(QPageSize::A4));
}

WindowPrinting::~WindowPrinting() = default;

bool WindowPrinting::PrinterInstalled() const
{
    return m_system != nullptr;
}

void WindowPrinting::IgnoreSystemPrinters()
{
    if (m_doc) m_doc->SetPrinter(m_paper.get());
    m_system.reset();
}

void WindowPrinting::SetDocument(TLabelDocument* doc)
{
    m_doc = doc;
    if (!doc) return;
    doc->SetPrinter(m_system ? static_cast<TPrinter*>(m_system.get()) : m_paper.get());
}

TPrintResult WindowPrinting::Run(TPrinter& printer, const QString& what, std::function<TPrinter*()> choosePrinter)
{
    // The progress dialog appears with the first page, after the questions and the print dialog.
    std::unique_ptr<QProgressDialog> progress;
    TPrintOptions options;
    options.choosePrinter = std::move(choosePrinter);
    options.progress = [&](int done, int total) {
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
        progress->setLabelText(QString("Page %1 of %2").arg(done).arg(total));
        QCoreApplication::processEvents();
        return !progress->wasCanceled();
    };
    const TPrintResult result = m_doc->Print(printer, options);
    progress.reset();
    m_dialogPdf.reset();
    emit printFinished(result.pages, result.outcome == TPrintOutcome::poCancelled);
    return result;
}

TPrinter* WindowPrinting::RunPrintDialog()
{
    if (m_printDialog) return m_printDialog();
    // The dialog works on the system printer itself, so printer, copies and paper chosen there are
    // the ones the run uses; with no printer installed it offers its PDF file target.
    QPrinter* target = m_system ? static_cast<QPrinter*>(m_system->NativePrinter()) : m_paperSetup.get();
    if (!m_system && target->outputFileName().isEmpty())
        target->setOutputFileName(m_lastPdf.isEmpty() ? QDir::home().filePath("labels.pdf") : m_lastPdf);
    QPrintDialog dialog(target, m_window);
    dialog.setObjectName("PrintDialog");
    dialog.setWindowTitle("Print");
    // Every page of the run is printed: page ranges, selections and the current page are not offered.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (target->outputFormat() == QPrinter::PdfFormat || !m_system) {
        const QString path = target->outputFileName();
        if (path.isEmpty()) return nullptr;
        m_lastPdf = path;
        m_dialogPdf = std::make_unique<TPdfPrinter>(PathFromQ(path), PaperOf(*target), kPdfDpi);
        m_dialogPdf->SetOrientation(OrientationOf(*target));
        return m_dialogPdf.get();
    }
    return m_system.get();
}

void WindowPrinting::Print()
{
    if (!m_doc) return;
    if (m_system) {
        Run(*m_system, "Print", [this] { return RunPrintDialog(); });
        return;
    }
    // Without a printer the label is set up for the A4 page until the dialog has chosen a file.
    TPdfPrinter page(std::string(), TPaperSize::A4(), kPdfDpi);
    page.SetOrientation(m_doc->Project().Orientation());
    Run(page, "Print", [this] { return RunPrintDialog(); });
}

QString WindowPrinting::AskPdfPath()
{
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

void WindowPrinting::PrintToPdf()
{
    if (!m_doc) return;
    const QString path = AskPdfPath();
    if (path.isEmpty()) return;
    m_lastPdf = path;
    PrintToPdfFile(path);
}

bool WindowPrinting::PrintToPdfFile(const QString& path)
{
    if (!m_doc) return false;
    const QPrinter* paperFrom = m_system ? static_cast<QPrinter*>(m_system->NativePrinter()) : m_paperSetup.get();
    TPdfPrinter pdf(PathFromQ(path), PaperOf(*paperFrom), kPdfDpi);
    pdf.SetOrientation(m_doc->Project().Orientation());
    return Run(pdf, "Print to PDF").outcome == TPrintOutcome::poPrinted;
}

void WindowPrinting::PageSetup()
{
    if (!m_doc) return;
    QPrinter* target = m_system ? static_cast<QPrinter*>(m_system->NativePrinter()) : m_paperSetup.get();
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
    // Without a printer the page is A4 at 300 dots per inch; another paper becomes a page of its own.
    const TPaperSize paper = PaperOf(*target);
    if (IsA4(paper)) {
        m_paper.reset();
    } else {
        m_paper = std::make_unique<TPdfPrinter>(std::string(), paper, kPdfDpi);
    }
    m_doc->SetPrinter(m_paper.get());
    m_doc->SetOrientation(OrientationOf(*target));
}

} // namespace qbm
