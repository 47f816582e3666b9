#pragma once
// The page preview: one page at a reduced integer scale with the label in every cell, and the checks
// that a label fits its cell.

#include "output/TPageLayout.h"

#include <string>

namespace qbm {

class TBitmap;
class TUserPrompts;

// Where a failed fit check sends the user.
enum class TLayoutFocus { lfNone, lfColumns, lfRows };

struct TPreviewLayout {
    int scale = 1;        // device pixels per preview pixel
    int pictureWidth = 0; // the page picture
    int pictureHeight = 0;
    int pictureTop = 0;
    int pictureLeft = 0;
    int marginLeft = 0; // in preview pixels
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int labelWidth = 0; // the label picture in preview pixels
    int labelHeight = 0;
    // A label stock's label in preview pixels (0: no stock); drawn faintly in every cell.
    double stockWidth = 0;
    double stockHeight = 0;
    double stockRadius = 0;
    TLayoutFocus fit = TLayoutFocus::lfNone;
};

// The preview panel's size (368 x 350 in the main window).
struct TPanelSize {
    int width = 368;
    int height = 350;
};

// The label picture of a linear barcode is at printer resolution, that of a 2D symbol at 96 dpi.
TPreviewLayout ComputePreviewLayout(const TPage& page, const TLayoutSettings& layout, TPanelSize panel,
                                    int labelWidth, int labelHeight, bool is2D);

// Draws the page picture (resized to the layout) when the label fits: the silver margin rectangle,
// the split marks, with a label stock and split marks on the stock's label outlines (faint, with
// their corner radius), and the label stretched into every cell. Returns false, leaving the picture's
// content alone, when a fit check failed.
bool DrawPreviewPage(TBitmap& picture, const TPreviewLayout& preview, const TLayoutSettings& layout,
                     const TBitmap& label);

// What a preview refresh tells the window.
struct TPreviewResult {
    TPreviewLayout layout;
    std::string pageCountText;
};

// Lays out and draws the preview, shows the fit warnings through the prompts, and computes the page
// count text for `labels` labels (also when a check failed).
TPreviewResult RefreshPreview(TBitmap& picture, const TPage& page, const TLayoutSettings& layout,
                              TPanelSize panel, const TBitmap& label, bool is2D, long long labels,
                              TUserPrompts& prompts);

} // namespace qbm
