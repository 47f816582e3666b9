#pragma once
// The label a design is drawn on: one label of the project's sheet.

namespace qbm {

class TLabelProject;
class TPrinter;

struct TLabelSizeMm {
    double width = 0;
    double height = 0;
};

// The stock's label, or the cell of the page grid when no stock is chosen, on the printer's page
// (A4 when none is installed).
TLabelSizeMm DesignLabelSize(const TLabelProject& project, const TPrinter* printer);

} // namespace qbm
