#include "app/TPrinterChoice.h"

namespace qbm {

void ApplyPrinterChoice(const TPrinterChoice& choice, const TCalibrationStore& calibrations,
                        TPrintRunOptions& run) {
    run.verify = choice.verify;
    run.startCell = choice.startCell;
    run.firstPage = choice.firstPage;
    run.lastPage = choice.lastPage;
    run.fromLabel = choice.fromLabel;
    if (choice.printerName.empty()) return;
    run.printerName = choice.printerName;
    run.calibration = calibrations.Load(choice.printerName);
}

} // namespace qbm
