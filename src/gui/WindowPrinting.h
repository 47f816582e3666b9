#pragma once
// Printing from the window: the print dialog (printer and copies, and on its "Labels" tab reading every
// label back, the first free cell, the label to start at and the pages), printing to a PDF file, the
// page setup, the calibration sheet and each printer's calibration, and the progress of a run with its
// Cancel button.

#include "app/TPrinterChoice.h"

#include <QObject>
#include <QString>

#include "surface/TPaperSize.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace qbm {

class TLabelDocument;
class TPaperPrinter;
class TPdfPrinter;
class TPrinter;
class TSystemPrinter;
struct TPrintResult;

class WindowPrinting : public QObject {
    Q_OBJECT
public:
    explicit WindowPrinting(QWidget* window);
    ~WindowPrinting() override;

    // Hands the document the printer its page follows: the system's default printer, or none
    // (A4 at 300 dots per inch) when no printer is installed.
    void SetDocument(TLabelDocument* doc);

    // Toolbar "Print", Ctrl+P: the print command (its confirmation and checks), then the print dialog
    // chooses the printer and the copies. With no printer installed the dialog offers its PDF file
    // target.
    void Print();
    // "Print to PDF ...": a file chosen in a save dialog, the paper of the page setup, 300 dots per inch.
    void PrintToPdf();
    // Prints to the PDF file without asking for it; false when nothing was written.
    bool PrintToPdfFile(const QString& path);
    // "Printer ..." / "Printer Setting ...": paper and orientation; the preview follows them.
    void PageSetup();
    // "Print Calibration Sheet": the print dialog chooses the printer (or a PDF file), which gets the
    // sheet for the project's layout; false when nothing was printed.
    bool PrintCalibrationSheet();
    // "Printer Calibration ...": the offsets and scales of a printer, the current one first.
    void EditCalibration();

    // The printer runs go to now, as calibrations name it ("PDF" without a printer), and every name a
    // calibration can be kept for.
    std::string CurrentPrinterName() const;
    std::vector<std::string> CalibratedPrinterNames() const;

    // Where "Print to PDF ..." writes; a save dialog unless replaced (tests answer it themselves).
    void SetPdfPathChooser(std::function<QString()> chooser) { m_choosePdfPath = std::move(chooser); }
    // In place of the print dialog: the printer a run goes to and the choices made with it, no
    // printer for Cancel (tests).
    void SetPrintDialog(std::function<TPrinterChoice()> dialog) { m_printDialog = std::move(dialog); }
    // Where calibrations are kept: the user's settings unless a test names a file.
    void SetCalibrationStore(TCalibrationStore store) { m_calibrations = std::move(store); }

    // A label stock chosen (or a project opened with one) brings its sheet: the printer, the PDF
    // targets and the page setup take the stock's paper. A paper chosen afterwards in the page setup
    // stays until another stock comes.
    void FollowStockPaper();

    bool PrinterInstalled() const;
    // Works as on a machine without printers: the A4 page at 300 dots per inch, printing to PDF files.
    void IgnoreSystemPrinters();

signals:
    // After every run: pages written, and whether the run was cancelled.
    void printFinished(int pages, bool cancelled);

private:
    TPrintResult Run(TPrinter& printer, const QString& what, TChoosePrintRun choosePrinter = {});
    QString AskPdfPath();
    // The print dialog; `labelsTab` adds the run's choices (the calibration sheet has none).
    TPrinterChoice RunPrintDialog(bool labelsTab);
    // The paper the window prints on: the system printer's, or the page setup's without one.
    QPrinter& PaperSource() const;
    void UsePaper(const TPaperSize& paper);
    // What the status bar names when the run has ended: the file written or the printer.
    void SetSummaryTarget(const QString& target, bool toFile);

    QWidget* m_window;
    TLabelDocument* m_doc = nullptr;
    std::unique_ptr<TSystemPrinter> m_system;
    // Paper and orientation chosen in the page setup while no printer is installed.
    std::unique_ptr<QPrinter> m_paperSetup;
    std::unique_ptr<TPaperPrinter> m_paper;
    std::function<QString()> m_choosePdfPath;
    std::function<TPrinterChoice()> m_printDialog;
    TCalibrationStore m_calibrations;
    std::string m_summaryTarget = "the printer";
    bool m_summaryToFile = false;
    // The PDF file the print dialog chose, for the run in progress.
    std::unique_ptr<TPdfPrinter> m_dialogPdf;
    QString m_lastPdf;
    // The stock paper last taken over, so that other changes to the project leave the paper alone.
    std::optional<TPaperSize> m_stockPaper;
};

} // namespace qbm
