#pragma once
// Everything a print run can be asked for beyond the project itself, in one place, so that new print
// choices join as fields here and the window, the tool and the tests pass them the same way.

#include "output/TPrintRun.h"

namespace qbm {

struct TPrintOptions {
    // Called after each page with (pages done, pages in all); returning false cancels the run, which
    // aborts the document so that no file is left behind.
    TPrintProgress progress;
    // After the confirmation and the checks: the printer the run goes to (the print dialog asks the
    // user here), nullptr to end quietly. Unset: the printer handed to Print.
    TChoosePrinter choosePrinter;
    // Reading labels back first, start cell, page range, first label, calibration and journal.
    TPrintRunOptions run;
};

} // namespace qbm
