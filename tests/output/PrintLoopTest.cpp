#include "barcode/TBarcode.h"
#include "output/TPageLayout.h"
#include "output/TPrintRun.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"
#include "util/TUserPrompts.h"

#include "ListFeed.h"
#include "TestSupport.h"

#include <filesystem>

namespace qbm {
namespace {

using test::ListFeed;

struct Fixture {
    TBarcode main;
    TBitmap labelPicture{200, 100};
    TLayoutSettings layout;
    Fixture() {
        main.SetTyp(bcCodeEAN13);
        main.SetChecksum(true);
        main.SetModul(2);
        main.SetHeight(100);
    }
    TPrintJob Job(TLabelFeed& feed) {
        TPrintJob job;
        job.layout = layout;
        job.bcdMain = &main;
        job.labelPicture = &labelPicture;
        job.feed = &feed;
        return job;
    }
};

// A cell of a printed page, cut out for decoding.
TBitmap Cell(const TBitmap& page, const TCellGrid& g, int row, int col) {
    TBitmap cell(g.cellWidth, g.cellHeight);
    const int left = g.marginLeft + col * g.cellWidth, top = g.marginTop + row * g.cellHeight;
    cell.Canvas().CopyRect({0, 0, g.cellWidth, g.cellHeight}, page,
                           {left, top, left + g.cellWidth, top + g.cellHeight});
    return cell;
}

bool HasBars(const TBitmap& cell) {
    // Split marks lie on the cell's outer edges; look inside.
    for (int y = 12; y < cell.Height() - 12; ++y)
        for (int x = 12; x < cell.Width() - 12; ++x)
            if (cell.Pixel(x, y) == clBlack) return true;
    return false;
}

std::string DecodeCell(const TBitmap& page, const TCellGrid& g, int row, int col) {
    return test::Decode(Cell(page, g, row, col), ZXing::BarcodeFormat::EAN13).text;
}

const TPaperSize kPaper{120, 120};
constexpr int kDpi = 150;

TEST(PrintLoop, FiveConstantLabelsOnTwoByTwoTakeTwoPages) {
    Fixture f;
    ListFeed feed(std::vector<std::string>(5, "590123412345"), 0);
    TRasterPrinter printer(kPaper, kDpi);
    TScriptedPrompts prompts;
    const TPrintResult r = RunPrintLoop(printer, f.Job(feed), prompts);
    EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted);
    EXPECT_EQ(r.labels, 5);
    ASSERT_EQ(printer.Pages().size(), 2u);
    const TCellGrid g = PrinterCellGrid({printer.PageWidth(), printer.PageHeight(), kDpi, kDpi}, f.layout);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            EXPECT_EQ(DecodeCell(printer.Pages()[0], g, row, col), "5901234123457") << row << "," << col;
            EXPECT_EQ(HasBars(Cell(printer.Pages()[1], g, row, col)), row == 0 && col == 0)
                << row << "," << col;
        }
    EXPECT_EQ(DecodeCell(printer.Pages()[1], g, 0, 0), "5901234123457");
}

TEST(PrintLoop, DatasheetRowsFillTheCellsRowByRow) {
    Fixture f;
    // Index 0 is the header row; rows 1 to 4 are printed.
    ListFeed feed({"header", "400638133393", "501234567890", "871234567890", "312345678901"}, 1);
    TRasterPrinter printer(kPaper, kDpi);
    TScriptedPrompts prompts;
    RunPrintLoop(printer, f.Job(feed), prompts);
    ASSERT_EQ(printer.Pages().size(), 1u);
    const TCellGrid g = PrinterCellGrid({printer.PageWidth(), printer.PageHeight(), kDpi, kDpi}, f.layout);
    EXPECT_EQ(DecodeCell(printer.Pages()[0], g, 0, 0), "4006381333931");
    EXPECT_EQ(DecodeCell(printer.Pages()[0], g, 0, 1), "5012345678900");
    EXPECT_EQ(DecodeCell(printer.Pages()[0], g, 1, 0), "8712345678906");
    EXPECT_EQ(DecodeCell(printer.Pages()[0], g, 1, 1), "3123456789019");
}

// Marks along one edge: runs of black pixels on a line just inside the page's grid edge.
int MarksAlong(const TBitmap& page, bool horizontal, int fixed) {
    int runs = 0;
    bool in = false;
    const int n = horizontal ? page.Width() : page.Height();
    for (int k = 0; k < n; ++k) {
        const bool black = (horizontal ? page.Pixel(k, fixed) : page.Pixel(fixed, k)) == clBlack;
        if (black && !in) ++runs;
        in = black;
    }
    return runs;
}

TEST(PrintLoop, SplitMarksBoundEveryCellOnEveryEdge) {
    Fixture f;
    f.layout.columns = 3;
    f.layout.rows = 2;
    f.main.SetModul(1);
    ListFeed feed({"1"}, 0);
    TRasterPrinter printer(TPaperSize{200, 120}, kDpi);
    TScriptedPrompts prompts;
    RunPrintLoop(printer, f.Job(feed), prompts);
    const TBitmap& page = printer.Pages().at(0);
    const TCellGrid g = PrinterCellGrid({page.Width(), page.Height(), kDpi, kDpi}, f.layout);
    EXPECT_EQ(MarksAlong(page, true, g.marginTop + 5), 4);                    // top edge
    EXPECT_EQ(MarksAlong(page, true, page.Height() - g.marginBottom - 5), 4); // bottom edge
    EXPECT_EQ(MarksAlong(page, false, g.marginLeft + 5), 3);                  // left edge
    EXPECT_EQ(MarksAlong(page, false, page.Width() - g.marginRight - 5), 3);  // right edge
}

TEST(PrintLoop, TextKeepsItsPointSizeAtThePrinterResolution) {
    Fixture f;
    f.main.SetTyp(bcCode128B);
    f.main.SetShowText(bcoCode);
    f.main.SetHeight(100);
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetSize(8); // points, as the template library keeps them
    f.main.SetShowTextFont(font);
    f.layout = {1, 1, 0, 0, 0, 0, false};
    ListFeed feed({"1234"}, 0);
    TRasterPrinter printer(TPaperSize{60, 40}, 300);
    TScriptedPrompts prompts;
    RunPrintLoop(printer, f.Job(feed), prompts);
    const TBitmap& page = printer.Pages().at(0);
    // The bars end at the lowest row of the longest dark column run; the text's ink lies below.
    int barBottom = -1, inkTop = -1, inkBottom = -1;
    for (int y = 0; y < page.Height(); ++y) {
        int dark = 0;
        for (int x = 0; x < page.Width(); ++x) dark += page.Pixel(x, y) != clWhite;
        if (dark > 0 && inkTop < 0 && barBottom >= 0 && y > barBottom + 1) inkTop = y;
        if (dark > 0 && inkTop < 0) barBottom = y;
        if (dark > 0 && inkTop >= 0) inkBottom = y;
    }
    ASSERT_GE(inkTop, 0);
    // 8 points at 300 dpi is a 33-pixel character height; digits take about three quarters of it.
    const int digits = inkBottom - inkTop + 1;
    EXPECT_GE(digits, 20);
    EXPECT_LE(digits, 33);
}

TEST(PrintLoop, NoLabelsPrintNothing) {
    Fixture f;
    ListFeed empty({}, 0);
    TRasterPrinter printer(kPaper, kDpi);
    TScriptedPrompts prompts;
    EXPECT_EQ(RunPrintLoop(printer, f.Job(empty), prompts).outcome, TPrintOutcome::poNothingPrinted);
    ListFeed headerOnly({"header"}, 1);
    EXPECT_EQ(RunPrintLoop(printer, f.Job(headerOnly), prompts).outcome, TPrintOutcome::poNothingPrinted);
    EXPECT_EQ(printer.PagesPrinted(), 0);
}

TEST(PrintLoop, AnEncoderErrorMidRunAbortsTheDocument) {
    Fixture f;
    ListFeed feed({"123", "456", "78x", "999", "111"}, 0);
    const std::string dir = test::MakeTempDir();
    TPdfPrinter printer(dir + "/labels.pdf", TPaperSize::A4(), 300);
    TScriptedPrompts prompts;
    EXPECT_THROW_MSG(RunPrintLoop(printer, f.Job(feed), prompts), EBarcodeError, "Barcode must be numeric");
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(std::filesystem::is_empty(dir)) << "no PDF left behind";
}

TEST(PrintLoop, ProgressCanCancelBetweenPages) {
    Fixture f;
    f.layout.rows = 1;
    f.layout.columns = 1;
    ListFeed feed(std::vector<std::string>(10, "1"), 0);
    TPrintJob job = f.Job(feed);
    std::vector<int> seen;
    job.progress = [&](int done, int total) {
        seen.push_back(done);
        EXPECT_EQ(total, 10);
        return done < 3;
    };
    TRasterPrinter printer(kPaper, kDpi);
    TScriptedPrompts prompts;
    EXPECT_EQ(RunPrintLoop(printer, job, prompts).outcome, TPrintOutcome::poCancelled);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(printer.Aborted());
}

TEST(PrintCommand, AsksFirstAndChecksThereIsSomethingValidToPrint) {
    Fixture f;
    ListFeed feed({"header", "12", "ab", "34", "cd"}, 1);
    TRasterPrinter printer(kPaper, kDpi);
    TLinearPrintChecks checks;
    checks.datasheetSource = true;
    checks.datasheetRowCount = 5;
    checks.codeFieldIndex = 1;
    checks.symbologyName = "EAN13";
    checks.rowCode = [&](long long row) { return feed.Value(row).code; };
    checks.problem = [](const std::string& code) {
        return code.find_first_not_of("0123456789") == std::string::npos
                   ? ""
                   : "Invild code data of EAN13 format!";
    };

    TScriptedPrompts no;
    no.QueueAnswer(TMsgResult::mrNo);
    EXPECT_EQ(RunPrintCommand(printer, f.Job(feed), &checks, no).outcome, TPrintOutcome::poNothingPrinted);
    EXPECT_EQ(no.Messages().size(), 1u);

    TScriptedPrompts yes;
    RunPrintCommand(printer, f.Job(feed), &checks, yes);
    ASSERT_EQ(yes.Messages().size(), 2u);
    EXPECT_EQ(yes.Messages()[1].text,
              "Line(2): Invild code data of EAN13 format!\nLine(4): Invild code data of EAN13 format!");
    EXPECT_EQ(printer.PagesPrinted(), 0);

    checks.codeFieldIndex = 0;
    TScriptedPrompts noField;
    RunPrintCommand(printer, f.Job(feed), &checks, noField);
    EXPECT_EQ(noField.Messages().back().text, "Please choose the barcode data field from datasheet! ");

    checks.datasheetSource = false;
    checks.constantCode = " \t ";
    TScriptedPrompts empty;
    RunPrintCommand(printer, f.Job(feed), &checks, empty);
    EXPECT_EQ(empty.Messages().back().text, "There are no various or fixed code to print! ");
}

TEST(PrintCommand, ChoosesThePrinterOnlyOnceTheChecksPassed) {
    Fixture f;
    ListFeed feed({"header", "12", "34"}, 1);
    TLinearPrintChecks checks;
    checks.datasheetSource = true;
    checks.datasheetRowCount = 3;
    checks.codeFieldIndex = 1;
    checks.symbologyName = "EAN13";
    checks.rowCode = [&](long long row) { return feed.Value(row).code; };
    checks.problem = [](const std::string& code) {
        return code.find_first_not_of("0123456789") == std::string::npos
                   ? ""
                   : "Invild code data of EAN13 format!";
    };
    TRasterPrinter asked(kPaper, kDpi);
    TRasterPrinter chosen(kPaper, kDpi);
    int dialogs = 0;
    TPrinter* answer = &chosen;
    TPrintJob job = f.Job(feed);
    job.choosePrinter = [&](TPrintRunOptions&) {
        ++dialogs;
        return answer;
    };

    struct Case {
        TMsgResult confirmation;
        int codeField;
        int dialogs; // the print dialog shown
    };
    // No to the confirmation, then a failed check: no dialog; then the dialog, cancelled and answered.
    for (const Case c :
         {Case{TMsgResult::mrNo, 1, 0}, Case{TMsgResult::mrYes, 0, 0}, Case{TMsgResult::mrYes, 1, 1}}) {
        dialogs = 0;
        checks.codeFieldIndex = c.codeField;
        TScriptedPrompts prompts;
        prompts.QueueAnswer(c.confirmation);
        answer = nullptr;
        EXPECT_EQ(RunPrintCommand(asked, job, &checks, prompts).outcome, TPrintOutcome::poNothingPrinted);
        EXPECT_EQ(dialogs, c.dialogs);
    }
    TScriptedPrompts yes;
    answer = &chosen;
    EXPECT_EQ(RunPrintCommand(asked, job, &checks, yes).outcome, TPrintOutcome::poPrinted);
    EXPECT_EQ(chosen.PagesPrinted(), 1);
    EXPECT_EQ(asked.PagesPrinted(), 0);
}

TEST(PrintLoop, LabelsLargerThanTheirCellsPrintNothingUnlessTheyAreFitted) {
    Fixture f;
    f.main.SetModul(6); // 113 modules of 1 mm with the quiet zones: more than the 50 mm cells
    ListFeed feed(std::vector<std::string>(3, "590123412345"), 0);
    TRasterPrinter printer(kPaper, kDpi);
    TScriptedPrompts refused;
    EXPECT_EQ(RunPrintLoop(printer, f.Job(feed), refused).outcome, TPrintOutcome::poNotFitting);
    ASSERT_EQ(refused.Messages().size(), 1u);
    EXPECT_EQ(refused.Messages()[0].buttons, TMsgButtons::mbOK);
    const std::string& message = refused.Messages()[0].text;
    EXPECT_EQ(message.rfind("The labels are 114.8 x ", 0), 0u) << message;
    EXPECT_NE(message.find(" mm with their quiet zones; the cells are 50.1 x 50.1 mm. Choose a narrower "
                           "module width or print fewer columns."),
              std::string::npos)
        << message;
    EXPECT_EQ(printer.PagesPrinted(), 0);

    // Offered "Fit to label" and taken: the run starts again with the fitted label.
    TPrintJob job = f.Job(feed);
    int fitted = 0;
    job.run.fitToLabel = [&](const TPage&) {
        ++fitted;
        f.main.SetModul(2);
        return true;
    };
    TScriptedPrompts fit;
    fit.QueueAnswer(TMsgResult::mrYes);
    EXPECT_EQ(RunPrintLoop(printer, job, fit).outcome, TPrintOutcome::poPrinted);
    EXPECT_EQ(fitted, 1);
    EXPECT_EQ(fit.Messages()[0].buttons, TMsgButtons::mbFitToLabelCancel);
    ASSERT_EQ(printer.Pages().size(), 1u);
    const TCellGrid g = PrinterCellGrid({printer.PageWidth(), printer.PageHeight(), kDpi, kDpi}, f.layout);
    EXPECT_EQ(DecodeCell(printer.Pages()[0], g, 0, 1), "5901234123457");
}

TEST(PrintCommand, AConstantCodeWithAWrongCheckDigitIsRefusedBeforeTheFirstPage) {
    Fixture f;
    f.main.SetChecksum(false);
    ListFeed feed({"5901234123458"}, 0);
    TRasterPrinter printer(kPaper, kDpi);
    TLinearPrintChecks checks;
    checks.constantCode = "5901234123458";
    checks.problem = [](const std::string& code) {
        return code == "5901234123458" ? "The check digit of 5901234123458 should be 7." : "";
    };
    TScriptedPrompts prompts;
    EXPECT_EQ(RunPrintCommand(printer, f.Job(feed), &checks, prompts).outcome,
              TPrintOutcome::poNothingPrinted);
    EXPECT_EQ(prompts.Messages().back().text, "The check digit of 5901234123458 should be 7.");
    EXPECT_EQ(printer.PagesPrinted(), 0);
}

TEST(PrintCommand, ListsTheFirstTwentyInvalidRowsAndCountsTheRest) {
    TLinearPrintChecks checks;
    checks.datasheetSource = true;
    checks.datasheetRowCount = 31;
    checks.symbologyName = "Code93";
    checks.rowCode = [](long long) { return std::string("x"); };
    checks.problem = [](const std::string&) { return std::string("Invild code data of Code93 format!"); };
    const std::string m = InvalidRowsMessage(checks);
    EXPECT_EQ(std::count(m.begin(), m.end(), '\n'), 20);
    EXPECT_NE(m.find("Line(20): "), std::string::npos);
    EXPECT_EQ(m.find("Line(21): "), std::string::npos);
    EXPECT_NE(m.find("\n... and 10 more"), std::string::npos);
}

} // namespace
} // namespace qbm
