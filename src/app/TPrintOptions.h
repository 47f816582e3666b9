#pragma once
// Everything a print run can be asked for beyond the project itself, in one place, so that new print
// choices join as fields here and the window, the tool and the tests pass them the same way.

#include "app/TPrinterChoice.h"
#include "output/TPrintRun.h"

namespace qbm {

struct TPrintOptions {
    // Called after each page with (pages done, pages in all); returning false cancels the run, which
    // aborts the document so that no file is left behind.
    TPrintProgress progress;
    // After the confirmation and the checks: the print dialog's answer, the printer and the run's
    // choices made beside it, which replace those in `run`; a choice without a printer ends quietly.
    // Unset: the printer handed to Print, with `run` as it is.
    TChoosePrintRun choosePrinter;
    // Reading labels back first, start cell, page range, first label, calibration and journal.
    TPrintRunOptions run;
    // Where the chosen printer's calibration is read: the user's settings unless a file is named.
    TCalibrationStore calibrations = TCalibrationStore();
    // Labels larger than their cells: the message offers "Fit to label" (the window) or just says so.
    bool offerFitToLabel = false;
};

} // namespace qbm
