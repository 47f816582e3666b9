#include "output/TPrintRun.h"

#include "barcode/TBarcode.h"
#include "barcode2d/TStCustom2DBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "output/LabelFit.h"
#include "output/TDesignFields.h"
#include "output/TDesignPainter.h"
#include "output/TPrintJournal.h"
#include "output/TPrintPlan.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TPrinter.h"
#include "templates/LabelLimits.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qbm {
namespace {

constexpr int kPrintedMarkLength = 10;
constexpr int kListedInvalidRows = 20;
constexpr std::string_view kEmptyCode = "The code is empty.";

// Split marks at the cell corners along the grid's edges, each point where the printer's calibration
// puts it.
// `top` is the page row at the canvas's top (pages drawn in bands).
void DrawSplitMarks(TCanvas& c, const TPage& page, const TCellGrid& g, const TLayoutSettings& layout,
                    const TPrinterCalibration& cal, int top) {
    c.Pen() = TPen{};
    const auto line = [&](int x0, int y0, int x1, int y1) {
        const TPoint a = cal.Map({x0, y0}, page.resX, page.resY), b = cal.Map({x1, y1}, page.resX, page.resY);
        c.MoveTo(a.x, a.y - top);
        c.LineTo(b.x, b.y - top);
    };
    const int bottom = page.height - g.marginBottom, right = page.width - g.marginRight;
    for (int col = 0; col <= layout.columns; ++col) {
        const int x = g.CellLeft(col);
        line(x, g.marginTop, x, g.marginTop + kPrintedMarkLength);
        line(x, bottom - kPrintedMarkLength, x, bottom);
    }
    for (int row = 0; row <= layout.rows; ++row) {
        const int y = g.CellTop(row);
        line(g.marginLeft, y, g.marginLeft + kPrintedMarkLength, y);
        line(right - kPrintedMarkLength, y, right, y);
    }
}

// A label of a page: which one of the run, where it goes, what it shows.
struct TPlacedLabel {
    long long index;
    TPoint at;
    TLabelValue value;
};

// A font of the on-screen barcode as the printer canvas takes it: the same point size at the
// printer's resolution, so text keeps its printed size at any resolution.
TFont AtPrinterResolution(TFont font, int dpi) {
    font.SetPixelsPerInch(dpi);
    return font;
}

} // namespace

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

namespace {

// Reads back every label the plan prints; false (after listing the failures) when one does not read
// as its value.
bool VerifyLabels(const TPrintJob& job, const TPrintPlan& plan, const TPage& page, const TBarcode* working,
                  TUserPrompts& prompts, TPrintResult& result) {
    std::unique_ptr<TLabelVerifier> verifier;
    if (job.is2D)
        verifier = std::make_unique<TLabelVerifier>(
            *job.symbol2D, page.resX, page.resY, dynamic_cast<TStMaxiCodeBarcode*>(job.symbol2D) != nullptr);
    else
        verifier = std::make_unique<TLabelVerifier>(*working);
    // A symbology no reader here knows prints as it would without read-back, and the run says so:
    // refusing it would leave such labels unprintable while the option is on.
    if (std::string reason = verifier->NoReader(); !reason.empty()) {
        result.notReadBack = std::move(reason);
        return true;
    }
    const TVerifyReport report =
        verifier->Verify(*job.feed, plan.FirstPrinted(), plan.LastPrinted(), job.run.verifyProgress);
    result.verified = report.checked;
    result.unreadable = report.failed;
    if (report.cancelled) {
        result.outcome = TPrintOutcome::poCancelled;
        return false;
    }
    if (report.failed == 0) return true;
    prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK,
                    std::to_string(report.failed) + (report.failed == 1 ? " label does" : " labels do") +
                        " not read back as its value; nothing was printed.\n" +
                        VerifyFailuresMessage(report, job.run.datasheetRows));
    result.outcome = TPrintOutcome::poNotVerified;
    return false;
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
    const long long feedFirst = job.feed->FirstIndex();
    if (count < 1 || feedFirst > count - 1) return result;
    const TPrintPlan plan = PlanPrintRun(feedFirst, count, job.layout, job.run);
    result.runPages = plan.pages;
    if (!plan.problem.empty()) {
        prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, plan.problem);
        return result;
    }

    // Centred in the exact pitch, which is the cell size itself unless a label stock set the margins.
    int ox = 0, oy = 0;
    TLabelFit fit;
    std::optional<TDesignPainter> designPainter;
    std::optional<TDesignFields> designFields;
    if (job.design) {
        // A design is the label itself: its objects are placed from the cell's corner.
        designPainter.emplace(*job.design, page.resX, page.resY);
        designFields.emplace(job.datasheet);
    } else if (job.is2D) {
        // The 2D picture holds the symbol with its quiet zone.
        const int lw = job.labelPicture ? job.labelPicture->Width() : 0;
        const int lh = job.labelPicture ? job.labelPicture->Height() : 0;
        ox = Rnd((grid.pitchX - lw / 96.0 * page.resX) / 2.0);
        oy = Rnd((grid.pitchY - lh / 96.0 * page.resY) / 2.0);
        fit = CheckLabelFit(Rnd(lw / 96.0 * page.resX), Rnd(lh / 96.0 * page.resY), page, grid, false);
    } else {
        // Offsets come from the source's first label, also when a run resumes later on, so that
        // every run puts its labels where the first one did; labels of other lengths keep them. The
        // label is centred with its quiet zones, its digits and caption.
        const TLabelValue first = job.feed->Value(feedFirst);
        RefuseCodeWiderThanAnyLabel(first.code.size());
        working->SetText(first.code);
        working->ExtCaption = first.caption;
        if (job.labelPicture) {
            *job.labelPicture = TBitmap(job.labelPicture->Width(), job.labelPicture->Height());
            working->Draw(job.labelPicture->Canvas());
        }
        const TLabelBox box = LinearLabelBox(*working, page.resY);
        const TPoint offset = LabelOffsetInCell(box, grid);
        ox = offset.x;
        oy = offset.y;
        fit = CheckLabelFit(box.whole.Width(), box.whole.Height(), page, grid, true);
    }
    // A label larger than its cell would print over its neighbours: nothing goes out.
    if (!fit.fits && !job.run.drawLabelsThatDoNotFit) {
        const auto& fitToLabel = job.run.fitToLabel;
        if (fitToLabel &&
            prompts.Message(TMsgKind::mkError, TMsgButtons::mbFitToLabelCancel, fit.message) ==
                TMsgResult::mrYes &&
            fitToLabel(page)) {
            TPrintJob fitted = job;
            fitted.run.fitToLabel = {};
            return RunPrintLoop(printer, fitted, prompts);
        }
        if (!fitToLabel) prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, fit.message);
        result.outcome = TPrintOutcome::poNotFitting;
        return result;
    }

    if (job.design && job.designProblems) {
        if (const std::string problems =
                job.designProblems(plan.FirstPrinted(), plan.LastPrinted(), page.resY);
            !problems.empty()) {
            prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, problems);
            return result;
        }
    }
    if (job.design && job.run.verify)
        result.notReadBack = "the labels of a label design are not read back";
    else if (job.run.verify && !VerifyLabels(job, plan, page, working.get(), prompts, result))
        return result;
    std::unique_ptr<TPrintJournal> journal;
    if (!job.run.journalPath.empty()) {
        journal = std::make_unique<TPrintJournal>(job.run.journalPath, job.run.printerName);
        journal->CheckWritable();
    }

    const int pagesToPrint = plan.lastPage - plan.firstPage + 1;
    const TPrinterCalibration& cal = job.run.calibration;
    try {
        printer.BeginDoc();
        for (int p = plan.firstPage; p <= plan.lastPage; ++p) {
            std::vector<TPlacedLabel> labels;
            for (int r = 0; r < job.layout.rows; ++r)
                for (int c = 0; c < job.layout.columns; ++c) {
                    const long long i = plan.IndexAt(p, r, c, job.layout.columns);
                    if (i < 0) continue;
                    const TPoint at =
                        cal.Map({grid.CellLeft(c) + ox, grid.CellTop(r) + oy}, page.resX, page.resY);
                    labels.push_back({i, at, job.feed->Value(i)});
                }
            // A page too large to hold at once is drawn once for each of its bands.
            do {
                TCanvas& canvas = printer.Canvas();
                const int top = printer.BandTop();
                if (job.layout.splitMarks) DrawSplitMarks(canvas, page, grid, job.layout, cal, top);
                for (const TPlacedLabel& label : labels) {
                    const TPoint at{label.at.x, label.at.y - top};
                    if (designPainter) {
                        designPainter->Draw(canvas, at,
                                            designFields->Values(label.value, label.index - feedFirst + 1));
                    } else if (job.is2D) {
                        job.symbol2D->SetCode(label.value.code);
                        // Entries of a list differ in size; each is printed whole from the same corner.
                        SizeToSymbol(*job.symbol2D);
                        job.symbol2D->PrintToCanvas(canvas, at);
                    } else {
                        working->SetLeft(at.x);
                        working->SetTop(at.y);
                        RefuseCodeWiderThanAnyLabel(label.value.code.size());
                        working->SetText(label.value.code);
                        working->ExtCaption = label.value.caption;
                        working->Draw(canvas);
                    }
                }
            } while (printer.NextBand());
            long long pageFirst = -1, pageLast = -1;
            std::string firstValue, lastValue;
            if (!labels.empty()) {
                pageFirst = labels.front().index, firstValue = labels.front().value.code;
                pageLast = labels.back().index, lastValue = labels.back().value.code;
            }
            result.labels += static_cast<long long>(labels.size());
            ++result.pages;
            if (journal && pageFirst >= 0)
                journal->Page(p, pageFirst - feedFirst + 1, firstValue, pageLast - feedFirst + 1, lastValue);
            if (job.progress && !job.progress(result.pages, pagesToPrint)) {
                printer.Abort();
                if (journal) journal->Ended("cancelled after page " + std::to_string(p));
                result.outcome = TPrintOutcome::poCancelled;
                return result;
            }
            if (p < plan.lastPage) printer.NewPage();
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        if (journal) {
            std::string why = "failed";
            try {
                throw;
            } catch (const std::exception& e) {
                why += std::string(": ") + e.what();
            } catch (...) {
            }
            try {
                journal->Ended(why);
            } catch (...) { // the run's own error is the one to report
            }
        }
        throw;
    }
    // Only now does the output hold the pages (the PDF committed, the page files in place).
    if (journal) journal->Commit();
    result.outcome = TPrintOutcome::poPrinted;
    return result;
}

std::string NothingToPrintMessage(const TLinearPrintChecks& checks) {
    if (checks.datasheetSource ? checks.datasheetRowCount - 1 < 1 : IsBlank(checks.constantCode))
        return "There are no various or fixed code to print! ";
    if (checks.datasheetSource && checks.codeFieldIndex < 1)
        return "Please choose the barcode data field from datasheet! ";
    return {};
}

std::string InvalidRowsMessage(const TLinearPrintChecks& checks) {
    std::string message;
    long long invalid = 0;
    for (long long row = 1; row < checks.datasheetRowCount; ++row) {
        const std::string code = checks.rowCode(row);
        // An empty code would print a valid-looking symbol of zeros or nothing at all.
        const std::string problem = Trim(code).empty() ? std::string(kEmptyCode) : checks.problem(code);
        if (problem.empty()) continue;
        if (++invalid <= kListedInvalidRows) {
            if (!message.empty()) message += "\n";
            message += "Line(" + std::to_string(row) + "): " + problem;
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
        if (const std::string nothing = NothingToPrintMessage(*checks); !nothing.empty()) {
            prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, nothing);
            return {};
        }
        // Every code is tested before the first page: a label that cannot be drawn would end the run
        // part-way, and one with a wrong check digit would print a symbol no scanner reads. A design's
        // barcodes have symbologies of their own: the loop checks them, at the printer's resolution.
        const std::string invalid = job.design ? std::string()
                                    : checks->datasheetSource
                                        ? InvalidRowsMessage(*checks)
                                        : checks->problem(std::string(checks->constantCode));
        if (!invalid.empty()) {
            prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, invalid);
            return {};
        }
    }
    if (!job.choosePrinter) return RunPrintLoop(printer, job, prompts);
    TPrintJob chosen = job;
    TPrinter* target = job.choosePrinter(chosen.run);
    if (!target) return {};
    return RunPrintLoop(*target, chosen, prompts);
}

} // namespace qbm
