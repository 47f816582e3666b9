#include "output/TPreview.h"

#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qbm {
namespace {
constexpr int kMarkLength = 4;
// The page picture is centred vertically in the 330 pixels above the status bar.
constexpr int kPreviewAreaHeight = 330;
// The stock's labels show where the labels will land; faint, so that the page still reads as ours.
constexpr TColor kStockOutline = RGBColor(176, 200, 232);
constexpr int kCornerSteps = 6;

// A rounded rectangle of short lines: the canvas draws lines and polygons only.
void DrawRoundedOutline(TCanvas& c, double left, double top, double width, double height, double radius) {
    radius = std::clamp(radius, 0.0, std::min(width, height) / 2);
    const double right = left + width - radius, bottom = top + height - radius;
    const double cx[4] = {right, right, left + radius, left + radius};
    const double cy[4] = {top + radius, bottom, bottom, top + radius};
    const int steps = radius >= 1 ? kCornerSteps : 1;
    TPoint first{};
    for (int k = 0; k < 4; ++k)
        for (int s = 0; s <= steps; ++s) {
            // Quarter turns clockwise from the top of the right edge.
            const double a = (-90.0 + 90.0 * k + 90.0 * s / steps) * std::numbers::pi / 180;
            const TPoint p{Rnd(cx[k] + radius * std::cos(a)), Rnd(cy[k] + radius * std::sin(a))};
            if (k == 0 && s == 0) {
                c.MoveTo(p.x, p.y);
                first = p;
            } else {
                c.LineTo(p.x, p.y);
            }
        }
    c.LineTo(first.x, first.y);
}
} // namespace

TPreviewLayout ComputePreviewLayout(const TPage& page, const TLayoutSettings& layout, TPanelSize panel,
                                    int labelWidth, int labelHeight, bool is2D) {
    TPreviewLayout p;
    const double w = page.width, h = page.height;
    const int s = page.width < page.height ? Rnd(h / (panel.height - 45)) : Rnd(w / (panel.width - 60));
    // A page smaller than half the preview would round to scale 0; show it unscaled instead.
    p.scale = std::max(1, s);
    p.pictureHeight = Rnd(h / p.scale);
    p.pictureWidth = Rnd(w / p.scale);
    p.pictureTop = Rnd((kPreviewAreaHeight - p.pictureHeight) / 2.0);
    p.pictureLeft = Rnd((panel.width - p.pictureWidth) / 2.0);
    p.marginLeft = Rnd(layout.LeftMm() / 25.4 * page.resX / p.scale);
    p.marginTop = Rnd(layout.TopMm() / 25.4 * page.resY / p.scale);
    p.marginRight = Rnd(layout.RightMm() / 25.4 * page.resX / p.scale);
    p.marginBottom = Rnd(layout.BottomMm() / 25.4 * page.resY / p.scale);
    p.cellWidth =
        Rnd(static_cast<double>(p.pictureWidth - p.marginLeft - p.marginRight) / std::max(1, layout.columns));
    p.cellHeight =
        Rnd(static_cast<double>(p.pictureHeight - p.marginTop - p.marginBottom) / std::max(1, layout.rows));
    if (is2D) {
        p.labelWidth = Rnd(static_cast<double>(labelWidth) / p.scale * page.resX / 96.0);
        p.labelHeight = Rnd(static_cast<double>(labelHeight) / p.scale * page.resX / 96.0);
    } else {
        p.labelWidth = Rnd(static_cast<double>(labelWidth) / p.scale);
        p.labelHeight = Rnd(static_cast<double>(labelHeight) / p.scale);
    }
    if (layout.stockLabelWidth > 0 && layout.stockLabelHeight > 0) {
        p.stockWidth = layout.stockLabelWidth / 2540.0 * page.resX / p.scale;
        p.stockHeight = layout.stockLabelHeight / 2540.0 * page.resY / p.scale;
        p.stockRadius = layout.stockLabelRadius / 2540.0 * page.resX / p.scale;
    }
    if (p.labelWidth >= p.cellWidth)
        p.fit = TLayoutFocus::lfColumns;
    else if (p.labelHeight >= p.cellHeight)
        p.fit = TLayoutFocus::lfRows;
    return p;
}

bool DrawPreviewPage(TBitmap& picture, const TPreviewLayout& p, const TLayoutSettings& layout,
                     const TBitmap& label) {
    picture.SetSize(p.pictureWidth, p.pictureHeight);
    if (p.fit != TLayoutFocus::lfNone) return false;
    picture = TBitmap(p.pictureWidth, p.pictureHeight);
    TCanvas& c = picture.Canvas();
    const TColor oldPen = c.Pen().color;
    c.Pen() = {clSilver, 1, TPenStyle::psSolid};
    c.Brush() = {clWhite, TBrushStyle::bsSolid};
    const int right = p.pictureWidth - p.marginRight, bottom = p.pictureHeight - p.marginBottom;
    c.Rectangle(p.marginLeft, p.marginTop, right, bottom);
    if (layout.splitMarks) {
        for (int col = 0; col < layout.columns; ++col) {
            const int x = col * p.cellWidth + p.marginLeft;
            c.MoveTo(x, p.marginTop);
            c.LineTo(x, p.marginTop + kMarkLength);
            c.MoveTo(x, bottom - kMarkLength);
            c.LineTo(x, bottom);
        }
        for (int row = 0; row < layout.rows; ++row) {
            const int y = row * p.cellHeight + p.marginTop;
            c.MoveTo(p.marginLeft, y);
            c.LineTo(p.marginLeft + kMarkLength, y);
            c.MoveTo(right - kMarkLength, y);
            c.LineTo(right, y);
        }
    }
    if (layout.splitMarks && p.stockWidth > 0) {
        // Each cell is centred on one label of the stock.
        c.Pen() = {kStockOutline, 1, TPenStyle::psSolid};
        for (int row = 0; row < layout.rows; ++row)
            for (int col = 0; col < layout.columns; ++col)
                DrawRoundedOutline(c, p.marginLeft + col * p.cellWidth + (p.cellWidth - p.stockWidth) / 2,
                                   p.marginTop + row * p.cellHeight + (p.cellHeight - p.stockHeight) / 2,
                                   p.stockWidth, p.stockHeight, p.stockRadius);
    }
    c.Pen().color = oldPen;
    const int ox = Rnd((p.cellWidth - p.labelWidth) / 2.0);
    const int oy = Rnd((p.cellHeight - p.labelHeight) / 2.0);
    for (int row = 0; row < layout.rows; ++row)
        for (int col = 0; col < layout.columns; ++col) {
            const int left = p.marginLeft + ox + col * p.cellWidth;
            const int top = p.marginTop + oy + row * p.cellHeight;
            c.StretchDraw({left, top, left + p.labelWidth, top + p.labelHeight}, label);
        }
    return true;
}

TPreviewResult RefreshPreview(TBitmap& picture, const TPage& page, const TLayoutSettings& layout,
                              TPanelSize panel, const TBitmap& label, bool is2D, long long labels,
                              TUserPrompts& prompts) {
    TPreviewResult r;
    r.layout = ComputePreviewLayout(page, layout, panel, label.Width(), label.Height(), is2D);
    if (r.layout.fit == TLayoutFocus::lfColumns)
        prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, "To many barcode per line! ");
    else if (r.layout.fit == TLayoutFocus::lfRows)
        prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, "Out of output range!");
    DrawPreviewPage(picture, r.layout, layout, label);
    r.pageCountText = PageCountText(PageCount(labels, layout.rows, layout.columns));
    return r;
}

} // namespace qbm
