#pragma once
// The print command and the page count for a project: its layout, its current source, its checks.

#include "barcode/TBarcodeTypes.h"
#include "output/TPageLayout.h"
#include "output/TPrintRun.h"

#include <string>

namespace qbm {

class TBarcode;
class TBitmap;
class TLabelProject;
class TPrinter;
class TStCustom2DBarcode;
class TUserPrompts;

TLayoutSettings LayoutOf(const TLabelProject& project);

// The checks of a linear run: the constant code, the datasheet rows against the symbology.
TLinearPrintChecks PrintChecksOf(TLabelProject& project, TBarcodeType type, bool checksum);

// The line a finished run leaves in the status bar: "24 labels on 2 pages written to shelf.pdf; every
// label read back." (`target` is a file's name or "the printer NAME").
std::string PrintSummary(const TPrintResult& result, const std::string& target, bool toFile);

// The print job of the project's current kind and source, before any run choice: its layout, the
// barcodes that draw its labels, and `feed` (the project's labels) as the source.
TPrintJob PrintJobOf(const TLabelProject& project, const TBarcode& bcdMain, TStCustom2DBarcode* symbol2D,
                     TBitmap& labelPicture, TLabelFeed& feed);

// Runs the print command for the project's current kind and source. Linear labels copy `bcdMain`
// (set up by the template for the printer's resolution); 2D labels are painted by `symbol2D`.
TPrintResult PrintProject(TLabelProject& project, TPrinter& printer, const TBarcode& bcdMain,
                          TStCustom2DBarcode* symbol2D, TBitmap& labelPicture, TUserPrompts& prompts,
                          TPrintProgress progress = {}, TChoosePrinter choosePrinter = {},
                          TPrintRunOptions options = {});

} // namespace qbm
