#pragma once
// Reading a design's labels back before they are printed: every barcode object of every label drawn
// at the printer's resolution, read as a scanner reads it and compared with the value it was given.

#include "design/TLabelDesign.h"
#include "output/TLabelVerifier.h"

#include <string>

namespace qbm {

class TDatasheet;
class TLabelFeed;

// Why the design's labels cannot be read back at all (no barcode object, or none a reader here
// knows), or empty.
std::string DesignNoReader(const TLabelDesign& design);

// The labels first..last of the feed; a failure names its object ("object 2: 4006381333931").
// Barcode objects no reader knows are passed over.
TVerifyReport VerifyDesignLabels(const TLabelDesign& design, const TDatasheet* sheet, TLabelFeed& feed,
                                 long long first, long long last, int dpi,
                                 const TVerifyProgress& progress = {});

} // namespace qbm
