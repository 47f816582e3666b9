#pragma once
// The calibration sheet: the page's cell grid as thin outlines, a millimetre ruler along the top and
// left edges and a cross at every cell centre. Held against a sheet of labels it shows how far, and
// how much stretched, the printer puts things from where they belong. It is printed without any
// calibration, so what it shows is the printer's own error.

#include "output/TPageLayout.h"

#include <string>

namespace qbm {

class TPrinter;

// Prints the one page; `printerName` goes into its caption. The printer's document is aborted on error.
void PrintCalibrationSheet(TPrinter& printer, const TLayoutSettings& layout, const std::string& printerName);

} // namespace qbm
