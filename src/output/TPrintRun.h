#pragma once
// The print command and the print loop: one label per cell, row by row, at the printer's resolution,
// a new page only while labels remain.

#include "output/TLabelFeed.h"
#include "output/TPageLayout.h"
#include "output/TPrintRunOptions.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TBarcode;
class TBitmap;
class TDatasheet;
struct TLabelDesign;
class TPrinter;
class TStCustom2DBarcode;
class TUserPrompts;

// Called after each page with (pages done, pages in all); returning false cancels the run.
using TPrintProgress = std::function<bool(int pagesDone, int pageCount)>;
// Called once the confirmation and the checks have passed, before the loop reads the printer: the
// printer to print on (the print dialog's choice), or nullptr when the user cancelled it, which ends
// the command without printing. The dialog may change the run's options it is handed (start cell,
// pages, first label, reading back, the printer's calibration); the run follows them.
using TChoosePrinter = std::function<TPrinter*(TPrintRunOptions& run)>;

struct TPrintJob {
    TLayoutSettings layout;
    bool is2D = false;
    // Linear: the on-screen barcode whose settings (module and height in printer pixels, fonts in
    // points) the working barcode copies.
    const TBarcode* bcdMain = nullptr;
    // 2D: the component that paints every label.
    TStCustom2DBarcode* symbol2D = nullptr;
    // The label picture: linear labels redraw it with the first code; a 2D one holds the symbol at 96 dpi.
    TBitmap* labelPicture = nullptr;
    TLabelFeed* feed = nullptr;
    // A label design, when the project has one: it draws every label in place of the barcode alone,
    // its merge fields read from `datasheet`'s row of each label.
    const TLabelDesign* design = nullptr;
    const TDatasheet* datasheet = nullptr;
    // What would print the design's labels first to last wrong at a resolution, in one message; the
    // run prints nothing when it says something.
    std::function<std::string(long long first, long long last, int dpi)> designProblems;
    TPrintProgress progress;
    TChoosePrinter choosePrinter;
    TPrintRunOptions run;
};

// The working barcode of a print run: every setting of the on-screen barcode, fonts at the printer's
// resolution.
std::unique_ptr<TBarcode> MakeWorkingBarcode(const TBarcode& main, int dpi);

// poNotVerified: some label did not read back as its value, and nothing was printed.
// poNotFitting: the labels are larger than their cells, and nothing was printed.
enum class TPrintOutcome {
    poPrinted,
    poNothingPrinted,
    poNoPrinter,
    poCancelled,
    poNotVerified,
    poNotFitting
};

struct TPrintResult {
    TPrintOutcome outcome = TPrintOutcome::poNothingPrinted;
    int pages = 0;    // pages printed
    int runPages = 0; // pages of the whole run, start cell included
    long long labels = 0;
    long long verified = 0; // labels read back before printing
    long long unreadable = 0;
    // Why the labels were printed without being read back although that was asked (no reader for
    // their symbology), or empty.
    std::string notReadBack;
};

// The print loop. "No printr device installed! " when the printer has no device. Options the run
// cannot follow (start cell, page range, first label) and labels that do not read back as their value
// are reported through `prompts` before anything is printed. An error while drawing a label aborts the
// document (nothing is left behind that looks complete) and is re-raised.
TPrintResult RunPrintLoop(TPrinter& printer, const TPrintJob& job, TUserPrompts& prompts);

// What the print command checks for a linear run before printing.
struct TLinearPrintChecks {
    bool datasheetSource = false;
    // The constant value as typed: the project's own text (a code can be very long; it is not copied).
    std::string_view constantCode;
    long long datasheetRowCount = 0; // header row included
    int codeFieldIndex = 0;          // the code field list's selected index; below 1: none chosen
    std::string symbologyName;       // for the messages
    // Code of datasheet row n (1-based), and why the symbology cannot print a code (empty when it can).
    std::function<std::string(long long row)> rowCode;
    std::function<std::string(const std::string& code)> problem;
};

// Why a linear run has no label to print: "There are no various or fixed code to print! " (no
// datasheet row, or a blank constant code) or "Please choose the barcode data field from datasheet! ";
// empty when it has labels.
std::string NothingToPrintMessage(const TLinearPrintChecks& checks);

// Every datasheet row that cannot be printed — an invalid code, a wrong check digit, an empty code —
// listed by number in one message (the first 20, then "... and N more"). Empty when all rows print.
std::string InvalidRowsMessage(const TLinearPrintChecks& checks);

// The print command: confirmation, the checks for linear runs, then the loop.
TPrintResult RunPrintCommand(TPrinter& printer, const TPrintJob& job, const TLinearPrintChecks* linearChecks,
                             TUserPrompts& prompts);

} // namespace qbm
