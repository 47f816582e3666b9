#include "output/TPrintRun.h"

#include "barcode/TBarcode.h"
#include "barcode2d/TStCustom2DBarcode.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TPrinter.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <memory>

namespace qbm {
namespace {

constexpr int kPrintedMarkLength = 10;
constexpr int kListedInvalidRows = 20;

void DrawSplitMarks(TCanvas& c, const TPage& page, const TCellGrid& g, const TLayoutSettings& layout) {
    c.Pen() = TPen{};
    const int bottom = page.height - g.marginBottom, right = page.width - g.marginRight;
    for (int col = 0; col <= layout.columns; ++col) {
        const int x = g.CellLeft(col);
        c.MoveTo(x, g.marginTop);
        c.LineTo(x, g.marginTop + kPrintedMarkLength);
        c.MoveTo(x, bottom - kPrintedMarkLength);
        c.LineTo(x, bottom);
    }
    for (int row = 0; row <= layout.rows; ++row) {
        const int y = g.CellTop(row);
        c.MoveTo(g.marginLeft, y);
        c.LineTo(g.marginLeft + kPrintedMarkLength, y);
        c.MoveTo(right - kPrintedMarkLength, y);
        c.LineTo(right, y);
    }
}

// A font of the on-screen barcode as the printer canvas takes it: the same point size at the
// printer's resolution, so text keeps its printed size at any resolution.
TFont AtPrinterResolution(TFont font, int dpi) {
    font.SetPixelsPerInch(dpi);
    return font;
}

// The working barcode of one run: every setting of the on-screen barcode, fonts included.
std::unique_ptr<TBarcode> MakeWorkingBarcode(const TBarcode& main, int dpi) {
    auto bc = std::make_unique<TBarcode>();
    bc->Assign(main);
    bc->SetOnChange({});
    bc->SetShowTextFont(AtPrinterResolution(main.ShowTextFont(), dpi));
    bc->SetExtCapFont(AtPrinterResolution(main.ExtCapFont(), dpi));
    bc->SetHeight(main.Height());
    bc->SetModul(main.Modul());
    bc->SetShowTextPosition(main.ShowTextPosition());
    bc->ExtCaptionPosition = main.ExtCaptionPosition;
    return bc;
}

} // namespace

TPrintResult RunPrintLoop(TPrinter& printer, const TPrintJob& job, TUserPrompts& prompts) {
    TPrintResult result;
    if (printer.PrinterCount() < 1) {
        prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, "No printr device installed! ");
        result.outcome = TPrintOutcome::poNoPrinter;
        return result;
    }
    const TPage page{printer.PageWidth(), printer.PageHeight(), printer.ResolutionX(), printer.ResolutionY()};
    const TCellGrid grid = PrinterCellGrid(page, job.layout);
    std::unique_ptr<TBarcode> working;
    if (!job.is2D) working = MakeWorkingBarcode(*job.bcdMain, page.resY);

    const long long count = job.feed->Count();
    long long i = job.feed->FirstIndex();
    if (count < 1 || i > count - 1) return result;

    // Centred in the exact pitch, which is the cell size itself unless a label stock set the margins.
    int ox = 0, oy = 0;
    if (job.is2D) {
        const int lw = job.labelPicture ? job.labelPicture->Width() : 0;
        const int lh = job.labelPicture ? job.labelPicture->Height() : 0;
        ox = Rnd((grid.pitchX - lw / 96.0 * page.resX) / 2.0);
        oy = Rnd((grid.pitchY - lh / 96.0 * page.resY) / 2.0);
    } else {
        // Offsets come from the first label; labels of other lengths keep them.
        const TLabelValue first = job.feed->Value(i);
        working->SetText(first.code);
        working->ExtCaption = first.caption;
        if (job.labelPicture) {
            *job.labelPicture = TBitmap(job.labelPicture->Width(), job.labelPicture->Height());
            working->Draw(job.labelPicture->Canvas());
        }
        ox = Rnd((grid.pitchX - working->Width()) / 2.0);
        oy = Rnd((grid.pitchY - working->Height()) / 2.0);
    }

    const long long perPage = static_cast<long long>(job.layout.rows) * job.layout.columns;
    const int pages = PageCount(count - i, job.layout.rows, job.layout.columns);
    result.pages = 0;
    printer.BeginDoc();
    try {
        for (int p = 0; p < pages && perPage > 0; ++p) {
            TCanvas& canvas = printer.Canvas();
            if (job.layout.splitMarks) DrawSplitMarks(canvas, page, grid, job.layout);
            for (int r = 0; r < job.layout.rows; ++r)
                for (int c = 0; c < job.layout.columns; ++c) {
                    if (i > count - 1) continue;
                    const int x = grid.CellLeft(c) + ox;
                    const int y = grid.CellTop(r) + oy;
                    const TLabelValue v = job.feed->Value(i);
                    if (job.is2D) {
                        job.symbol2D->SetCode(v.code);
                        job.symbol2D->PrintToCanvas(canvas, {x, y});
                    } else {
                        working->SetLeft(x);
                        working->SetTop(y);
                        working->SetText(v.code);
                        working->ExtCaption = v.caption;
                        working->Draw(canvas);
                    }
                    ++i;
                    ++result.labels;
                }
            ++result.pages;
            if (job.progress && !job.progress(result.pages, pages)) {
                printer.Abort();
                result.outcome = TPrintOutcome::poCancelled;
                return result;
            }
            if (i >= count) break;
            printer.NewPage();
        }
    } catch (...) {
        printer.Abort();
        throw;
    }
    printer.EndDoc();
    result.outcome = TPrintOutcome::poPrinted;
    return result;
}

std::string InvalidRowsMessage(const TLinearPrintChecks& checks) {
    std::string message;
    long long invalid = 0;
    for (long long row = 1; row < checks.datasheetRowCount; ++row) {
        if (checks.isValid(checks.rowCode(row))) continue;
        if (++invalid <= kListedInvalidRows) {
            if (!message.empty()) message += "\n";
            message += "Line(" + std::to_string(row) + "): Invild code data of " + checks.symbologyName + " format!";
        }
    }
    if (invalid > kListedInvalidRows)
        message += "\n... and " + std::to_string(invalid - kListedInvalidRows) + " more";
    return message;
}

TPrintResult RunPrintCommand(TPrinter& printer, const TPrintJob& job, const TLinearPrintChecks* checks,
                             TUserPrompts& prompts) {
    if (prompts.Message(TMsgKind::mkConfirmation, TMsgButtons::mbYesNoCancel,
                        "Would you like to print barcode labels now?") != TMsgResult::mrYes)
        return {};
    if (!job.is2D && checks) {
        const bool nothing = checks->datasheetSource ? checks->datasheetRowCount - 1 < 1
                                                     : Trim(checks->constantCode).empty();
        if (nothing) {
            prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, "There are no various or fixed code to print! ");
            return {};
        }
        if (checks->datasheetSource && checks->codeFieldIndex < 1) {
            prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK,
                            "Please choose the barcode data field from datasheet! ");
            return {};
        }
        if (checks->datasheetSource) {
            const std::string invalid = InvalidRowsMessage(*checks);
            if (!invalid.empty()) {
                prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, invalid);
                return {};
            }
        }
    }
    TPrinter* target = job.choosePrinter ? job.choosePrinter() : &printer;
    if (!target) return {};
    return RunPrintLoop(*target, job, prompts);
}

} // namespace qbm
