#pragma once
// "Convert to Design": the classic label (one barcode and its caption) as a design that prints the
// same — a barcode object of the template's symbology reading {Code}, sized and placed as the classic
// label draws it in its cell, and the caption as a text object {Caption} where the classic label has
// one.

#include "design/TLabelDesign.h"
#include "output/TPageLayout.h"

namespace qbm {

class TLabelProject;
struct TLabelSetup;

// `setup` holds the barcodes as the document drew them for `page`'s resolution.
TLabelDesign ClassicLabelDesign(const TLabelProject& project, const TLabelSetup& setup, const TPage& page);

// The design name of the project's 2D format ("pdf417", "qrcode" ...).
const char* Format2DSymbologyName(int format2D);

} // namespace qbm
