#pragma once
// What would print a design's labels wrong, found before the first page: merge fields no column
// gives, values a barcode object cannot carry, texts that do not fit their boxes and may not shrink.

#include "design/TLabelDesign.h"

#include <string>

namespace qbm {

class TDatasheet;
class TLabelFeed;

// One message for the user listing the problems (the first 20, then "... and N more"), or empty when
// the labels `first` to `last` of the feed all print as designed at `dpi`.
std::string DesignPrintProblems(const TLabelDesign& design, const TDatasheet* sheet, TLabelFeed& feed,
                                long long first, long long last, int dpi);

} // namespace qbm
