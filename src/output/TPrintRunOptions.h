#pragma once
// The choices of one print run beyond the project's own settings: reading every label back first,
// where on the first sheet to start, which pages and from which label to print, the printer's
// calibration and the journal.

#include "output/TLabelVerifier.h"
#include "output/TPageLayout.h"
#include "output/TPrinterCalibration.h"

#include <functional>
#include <string>

namespace qbm {

struct TPrintRunOptions {
    bool verify = false;
    TVerifyProgress verifyProgress;
    int startCell = 1; // first free cell of the first sheet, 1 to rows x columns, row by row
    int firstPage = 1; // the run's pages to print; lastPage 0: to the end
    int lastPage = 0;
    long long fromLabel = 1; // number of the first label to print (a datasheet row's number)
    TPrinterCalibration calibration;
    std::string printerName;    // as the journal names it
    std::string journalPath;    // empty: no journal
    bool datasheetRows = false; // label numbers are datasheet rows in messages
    // Offered beside the message of labels larger than their cells: makes the label fit the cells of
    // a page (true when it did), after which the run starts again. Unset: the message has OK alone.
    std::function<bool(const TPage& page)> fitToLabel;
    // The preview draws labels larger than their cells as they would print, instead of refusing them.
    bool drawLabelsThatDoNotFit = false;
};

} // namespace qbm
