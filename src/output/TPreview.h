#pragma once
// The page preview: one page of the run drawn by the print loop itself, scaled to the screen, over
// the margin rectangle, the split marks and a label stock's faint outlines; the zoom figures; and the
// check that a label fits its cell.

#include "output/TPageLayout.h"
#include "output/TPrintRun.h"

#include <string>

namespace qbm {

class TBitmap;
class TUserPrompts;

// Where a failed fit check sends the user.
enum class TLayoutFocus { lfNone, lfColumns, lfRows };

// How large the preview shows the paper, in picture pixels per inch of paper: 96 shows it at its
// real size on an ordinary screen. Kept within limits so that no zoom asks for a picture larger
// than a screen can use.
inline constexpr double kMinPreviewPixelsPerInch = 8;
inline constexpr double kMaxPreviewPixelsPerInch = 600;
inline constexpr double kMaxPreviewPictureArea = 40e6;

// The zoom that shows the whole page, or its whole width, in a view of the given size.
double FitPagePixelsPerInch(const TPage& page, int viewWidth, int viewHeight);
double FitWidthPixelsPerInch(const TPage& page, int viewWidth);
// `pixelsPerInch` within the limits for this page.
double ClampPreviewPixelsPerInch(const TPage& page, double pixelsPerInch);

struct TPreviewLayout {
    double pixelsPerInch = 0;
    int pictureWidth = 0; // the page picture
    int pictureHeight = 0;
    TCellGrid grid;     // the cells where the print loop puts them, in device pixels
    int labelWidth = 0; // the label picture in device pixels
    int labelHeight = 0;
    TLayoutFocus fit = TLayoutFocus::lfNone;

    // Device pixels to picture pixels.
    double ScaleX(const TPage& page) const { return pictureWidth / static_cast<double>(page.width); }
    double ScaleY(const TPage& page) const { return pictureHeight / static_cast<double>(page.height); }
};

// The label picture of a linear barcode is at printer resolution, that of a 2D symbol at 96 dpi. A
// label as wide as its cell or wider fails the width check, else one as high or higher the height
// check; both are measured at the printer's resolution, so the zoom never changes the verdict.
TPreviewLayout ComputePreviewLayout(const TPage& page, const TLayoutSettings& layout, double pixelsPerInch,
                                    int labelWidth, int labelHeight, bool is2D);

// The page the preview shows and the run's page count.
struct TPreviewPage {
    int number = 1; // 1-based; 1 also when the run has no page
    int pages = 0;
    std::string problem; // why labels are missing from the page (a value the symbology refused)
};

// Draws page `number` of the run (kept within the run's pages) into `picture`, resized to the
// layout: the silver margin rectangle, the split marks (with a label stock: its label outlines,
// faint, with their corner radius), then the page as the print loop prints it, each cell with its
// own label, and a red outline round every label that does not fit its cell. The job's labels and
// symbols are those of a print run; the job's label picture and 2D symbol are left as they were.
TPreviewPage DrawPreviewPage(TBitmap& picture, const TPreviewLayout& preview, const TPage& page,
                             const TPrintJob& job, int number);

// What a preview refresh tells the window.
struct TPreviewResult {
    TPreviewLayout layout;
    TPreviewPage page;
    std::string pageCountText;
    // "To many barcode per line! " or "Out of output range!" when a fit check failed, else empty;
    // the window shows it beside the layout, never as a box that comes back on every refresh.
    std::string warning;
};

// Lays out and draws the preview of page `number`, tells which fit check failed (the window shows it
// beside the layout, never as a box), and computes the page count text for `labels` labels. The page
// is drawn whether or not the checks pass.
TPreviewResult RefreshPreview(TBitmap& picture, const TPage& page, const TPrintJob& job, double pixelsPerInch,
                              int number, long long labels);

} // namespace qbm
