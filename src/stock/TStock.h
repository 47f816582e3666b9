#pragma once
// One label stock of the stock database: a maker's sheet of labels and where the labels sit on it.

#include <string>
#include <vector>

namespace qbm {

// Round and CD labels are held as their bounding squares, ellipses as their bounding rectangles; the
// corner radius keeps their look for the preview. A continuous roll has no sheet to lay out.
enum class TStockShape { ssRectangle, ssRound, ssEllipse, ssCd, ssContinuous };

// `nx` x `ny` labels, the first with its top left corner at (x0, y0), the next ones `dx` and `dy`
// further on. Millimetres.
struct TStockLayout {
    int nx = 1;
    int ny = 1;
    double x0 = 0;
    double y0 = 0;
    double dx = 0;
    double dy = 0;
};

struct TStock {
    std::string brand;
    std::string part;
    std::string description;
    // The paper's name as the database calls it ("A4", "US Letter"), or "Other" for a sheet of its own size.
    std::string paperName;
    // The sheet as it lies (a landscape sheet is wider than high), millimetres.
    double pageWidth = 0;
    double pageHeight = 0;
    TStockShape shape = TStockShape::ssRectangle;
    double labelWidth = 0;
    double labelHeight = 0;
    double cornerRadius = 0;
    // More than one kind of label on one sheet (a rectangle beside a round one, say).
    int labelKinds = 1;
    std::vector<TStockLayout> layouts;
    // The part this one is sold as an equivalent of (the same sheet under another number).
    std::string equivalentOf;
    // The database file it came from, without its folder.
    std::string file;

    std::string Name() const { return brand + " " + part; }
    bool IsSheet() const { return shape != TStockShape::ssContinuous; }
    int LabelsPerSheet() const;
    // "66.7 x 25.4 mm"
    std::string LabelSizeText() const;
    // "3 x 10" (columns by rows), "2 layouts, 12 labels", or "roll".
    std::string GridText() const;
    // The paper's name, with its size when it has no name of its own.
    std::string PaperText() const;
};

} // namespace qbm
