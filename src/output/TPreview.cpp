#include "output/TPreview.h"

#include "barcode/TBarcode.h"
#include "barcode2d/TStCustom2DBarcode.h"
#include "output/LabelFit.h"
#include "output/TPrintPlan.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TScaledPagePrinter.h"
#include "templates/LabelLimits.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

namespace qbm {
namespace {
constexpr int kMarkLength = 4;
// The stock's labels show where the labels will land; faint, so that the page still reads as ours.
constexpr TColor kStockOutline = RGBColor(176, 200, 232);
constexpr int kCornerSteps = 6;
constexpr int kMisfitPenWidth = 2;

double WidthInches(const TPage& page) {
    return page.width / static_cast<double>(std::max(1, page.resX));
}

double HeightInches(const TPage& page) {
    return page.height / static_cast<double>(std::max(1, page.resY));
}

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

// The page under the labels: margin rectangle, split marks, the stock's label outlines.
void DrawPageGround(TBitmap& picture, const TPreviewLayout& p, const TPage& page,
                    const TLayoutSettings& layout) {
    const double sx = p.ScaleX(page), sy = p.ScaleY(page);
    const TCellGrid& g = p.grid;
    TCanvas& c = picture.Canvas();
    c.Pen() = {clSilver, 1, TPenStyle::psSolid};
    c.Brush() = {clWhite, TBrushStyle::bsSolid};
    const int left = Rnd(g.marginLeft * sx), top = Rnd(g.marginTop * sy);
    const int right = Rnd((page.width - g.marginRight) * sx),
              bottom = Rnd((page.height - g.marginBottom) * sy);
    c.Rectangle(left, top, right, bottom);
    if (!layout.splitMarks) return;
    for (int col = 0; col < layout.columns; ++col) {
        const int x = Rnd(g.CellLeft(col) * sx);
        c.MoveTo(x, top);
        c.LineTo(x, top + kMarkLength);
        c.MoveTo(x, bottom - kMarkLength);
        c.LineTo(x, bottom);
    }
    for (int row = 0; row < layout.rows; ++row) {
        const int y = Rnd(g.CellTop(row) * sy);
        c.MoveTo(left, y);
        c.LineTo(left + kMarkLength, y);
        c.MoveTo(right - kMarkLength, y);
        c.LineTo(right, y);
    }
    if (layout.stockLabelWidth <= 0 || layout.stockLabelHeight <= 0) return;
    // Each cell is centred on one label of the stock.
    const double w = layout.stockLabelWidth / 2540.0 * page.resX,
                 h = layout.stockLabelHeight / 2540.0 * page.resY;
    const double radius = layout.stockLabelRadius / 2540.0 * page.resX * sx;
    c.Pen() = {kStockOutline, 1, TPenStyle::psSolid};
    for (int row = 0; row < layout.rows; ++row)
        for (int col = 0; col < layout.columns; ++col)
            DrawRoundedOutline(c, (g.originX + col * g.pitchX + (g.pitchX - w) / 2) * sx,
                               (g.originY + row * g.pitchY + (g.pitchY - h) / 2) * sy, w * sx, h * sy,
                               radius);
}

// A red frame round each label of the page that is larger than its cell, where it lands.
void OutlineMisfits(TBitmap& picture, const TPreviewLayout& p, const TPage& page, const TPrintJob& job,
                    const TPrintPlan& plan, int number) {
    if (p.fit == TLayoutFocus::lfNone) return;
    const double sx = p.ScaleX(page), sy = p.ScaleY(page);
    const TCellGrid& g = p.grid;
    TCanvas& c = picture.Canvas();
    c.Pen() = {clRed, kMisfitPenWidth, TPenStyle::psSolid};
    c.Brush() = {clWhite, TBrushStyle::bsClear};
    for (int row = 0; row < job.layout.rows; ++row)
        for (int col = 0; col < job.layout.columns; ++col) {
            if (plan.IndexAt(number, row, col, job.layout.columns) < 0) continue;
            const double left = g.CellLeft(col) + (g.pitchX - p.labelWidth) / 2;
            const double top = g.CellTop(row) + (g.pitchY - p.labelHeight) / 2;
            c.Rectangle(Rnd(left * sx), Rnd(top * sy), Rnd((left + p.labelWidth) * sx) + 1,
                        Rnd((top + p.labelHeight) * sy) + 1);
        }
}

// The preview paints with the window's own 2D symbol; it shows the window's code again afterwards.
class TKeepSymbol {
public:
    explicit TKeepSymbol(TStCustom2DBarcode* symbol)
        : m_symbol(symbol), m_code(symbol ? symbol->Code() : std::string()),
          m_width(symbol ? symbol->Width() : 0), m_height(symbol ? symbol->Height() : 0) {}
    ~TKeepSymbol() {
        if (!m_symbol) return;
        try {
            m_symbol->SetCode(m_code);
            m_symbol->SetBounds(m_width, m_height);
        } catch (const std::exception&) { // the code was shown before; it encodes again
        }
    }
    TKeepSymbol(const TKeepSymbol&) = delete;
    TKeepSymbol& operator=(const TKeepSymbol&) = delete;

private:
    TStCustom2DBarcode* m_symbol;
    std::string m_code;
    int m_width, m_height;
};

} // namespace

double ClampPreviewPixelsPerInch(const TPage& page, double pixelsPerInch) {
    const double area = WidthInches(page) * HeightInches(page);
    const double largest =
        std::min(kMaxPreviewPixelsPerInch, area > 0 ? std::sqrt(kMaxPreviewPictureArea / area) : 0.0);
    if (!(pixelsPerInch > 0)) pixelsPerInch = kMinPreviewPixelsPerInch;
    return std::clamp(pixelsPerInch, std::min(kMinPreviewPixelsPerInch, largest), largest);
}

double FitPagePixelsPerInch(const TPage& page, int viewWidth, int viewHeight) {
    return ClampPreviewPixelsPerInch(page, std::min(viewWidth / std::max(1e-9, WidthInches(page)),
                                                    viewHeight / std::max(1e-9, HeightInches(page))));
}

double FitWidthPixelsPerInch(const TPage& page, int viewWidth) {
    return ClampPreviewPixelsPerInch(page, viewWidth / std::max(1e-9, WidthInches(page)));
}

TPreviewLayout ComputePreviewLayout(const TPage& page, const TLayoutSettings& layout, double pixelsPerInch,
                                    int labelWidth, int labelHeight, bool is2D) {
    TPreviewLayout p;
    p.pixelsPerInch = ClampPreviewPixelsPerInch(page, pixelsPerInch);
    p.pictureWidth = std::max(1, Rnd(WidthInches(page) * p.pixelsPerInch));
    p.pictureHeight = std::max(1, Rnd(HeightInches(page) * p.pixelsPerInch));
    p.grid = PrinterCellGrid(page, layout);
    if (is2D) {
        p.labelWidth = Rnd(labelWidth * page.resX / 96.0);
        p.labelHeight = Rnd(labelHeight * page.resY / 96.0);
    } else {
        p.labelWidth = labelWidth;
        p.labelHeight = labelHeight;
    }
    if (p.labelWidth >= p.grid.cellWidth)
        p.fit = TLayoutFocus::lfColumns;
    else if (p.labelHeight >= p.grid.cellHeight)
        p.fit = TLayoutFocus::lfRows;
    return p;
}

TPreviewPage DrawPreviewPage(TBitmap& picture, const TPreviewLayout& p, const TPage& page,
                             const TPrintJob& job, int number) {
    picture = TBitmap(p.pictureWidth, p.pictureHeight);
    DrawPageGround(picture, p, page, job.layout);

    TPreviewPage shown;
    const long long count = job.feed ? job.feed->Count() : 0;
    const long long first = job.feed ? job.feed->FirstIndex() : 0;
    const TPrintPlan plan = PlanPrintRun(first, count, job.layout, TPrintRunOptions{});
    shown.pages = count > first ? plan.pages : 0;
    shown.number = std::clamp(number, 1, std::max(1, shown.pages));
    if (shown.pages == 0) return shown;

    // The print loop's own run, for this one page: no question, no reading back, no journal, and the
    // label picture it redraws is a copy.
    TPrintJob run = job;
    TBitmap labelPicture = job.labelPicture ? *job.labelPicture : TBitmap();
    run.labelPicture = job.labelPicture ? &labelPicture : nullptr;
    run.progress = {};
    run.choosePrinter = {};
    run.run = TPrintRunOptions{};
    run.run.firstPage = run.run.lastPage = shown.number;
    run.run.verify = false;
    // Labels that do not fit are shown where they would print, framed in red, not refused.
    run.run.drawLabelsThatDoNotFit = true;
    TScaledPagePrinter printer(picture, page.width, page.height, page.resX, page.resY);
    TScriptedPrompts silent;
    {
        const TKeepSymbol keep(job.is2D ? job.symbol2D : nullptr);
        try {
            RunPrintLoop(printer, run, silent);
        } catch (const std::exception& e) {
            shown.problem = e.what();
        }
    }
    printer.EndDoc();
    if (shown.problem.empty() && !silent.Messages().empty()) shown.problem = silent.Messages().back().text;
    OutlineMisfits(picture, p, page, job, plan, shown.number);
    return shown;
}

namespace {

// A linear label is measured as it prints, with its quiet zones, digits and caption: the preview
// frames in red exactly the labels that printing refuses.
void MeasureAsPrinted(TPreviewLayout& p, const TPage& page, const TPrintJob& job) {
    if (job.is2D || !job.bcdMain || !job.feed || job.feed->Count() <= job.feed->FirstIndex()) return;
    try {
        const auto working = MakeWorkingBarcode(*job.bcdMain, page.resY);
        const TLabelValue first = job.feed->Value(job.feed->FirstIndex());
        // A code too long for any label is not copied into the barcode to be measured.
        RefuseCodeWiderThanAnyLabel(first.code.size());
        working->SetText(first.code);
        working->ExtCaption = first.caption;
        const TRect box = LinearLabelBox(*working, page.resY).whole;
        const TLabelFit fit = CheckLabelFit(box.Width(), box.Height(), page, p.grid, true);
        p.labelWidth = box.Width();
        p.labelHeight = box.Height();
        p.fit = fit.tooWide   ? TLayoutFocus::lfColumns
                : fit.tooHigh ? TLayoutFocus::lfRows
                              : TLayoutFocus::lfNone;
    } catch (const std::exception&) { // the value is named where the page is drawn
    }
}

} // namespace

TPreviewResult RefreshPreview(TBitmap& picture, const TPage& page, const TPrintJob& job, double pixelsPerInch,
                              int number, long long labels) {
    TPreviewResult r;
    const int labelWidth = job.labelPicture ? job.labelPicture->Width() : 0;
    const int labelHeight = job.labelPicture ? job.labelPicture->Height() : 0;
    r.layout = ComputePreviewLayout(page, job.layout, pixelsPerInch, labelWidth, labelHeight, job.is2D);
    MeasureAsPrinted(r.layout, page, job);
    if (r.layout.fit == TLayoutFocus::lfColumns)
        r.warning = "To many barcode per line! ";
    else if (r.layout.fit == TLayoutFocus::lfRows)
        r.warning = "Out of output range!";
    r.page = DrawPreviewPage(picture, r.layout, page, job, number);
    r.pageCountText = PageCountText(PageCount(labels, job.layout.rows, job.layout.columns));
    return r;
}

} // namespace qbm
