#pragma once
// What the print dialog answers once the confirmation and the checks have passed: the printer, and the
// choices offered beside it for this run only. The document turns them into the run's options, with
// the calibration saved for the chosen printer.

#include "output/TPrintRunOptions.h"

#include <functional>
#include <string>

namespace qbm {

class TPrinter;

struct TPrinterChoice {
    TPrinter* printer = nullptr; // nullptr: the dialog was cancelled and nothing is printed
    std::string printerName;     // whose calibration applies, as the journal names it ("PDF" for files)
    bool verify = false;         // read every label back before the first page goes out
    int startCell = 1;           // first free cell of the first sheet, 1 to rows x columns, row by row
    int firstPage = 1;           // the run's pages to print; lastPage 0: to the end
    int lastPage = 0;
    long long fromLabel = 1; // number of the first label to print (a datasheet row's number)
};

using TChoosePrintRun = std::function<TPrinterChoice()>;

// The run's options as the choice sets them: its own fields, and the printer's calibration from
// `calibrations` when it names a printer. Progress, journal and the rest stay as `run` had them.
void ApplyPrinterChoice(const TPrinterChoice& choice, const TCalibrationStore& calibrations,
                        TPrintRunOptions& run);

} // namespace qbm
