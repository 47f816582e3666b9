#include "app/ProjectPrinting.h"
#include "ini/TIniFile.h"
#include "output/TPageLayout.h"
#include "surface/TRasterPrinter.h"

#include "DocumentTestSupport.h"

#include <QImage>

#include <functional>

namespace qbm {
namespace {

using test::DocumentFixture;

constexpr int kDpi = 150;

// A datasheet run on 2 rows x 3 columns of A4 whose print dialog answers with `choice` and the raster
// printer it names.
struct ChoiceRun {
    DocumentFixture f;
    TRasterPrinter printer{TPaperSize::A4(), kDpi};
    TCalibrationStore calibrations{f.Path("calibration.ini")};
    int dialogs = 0;

    // `editLibrary` changes the templates before the one named is chosen.
    ChoiceRun(const std::string& templateName, const std::vector<std::string>& codes,
              const std::function<void(TIniFile&)>& editLibrary = {}) {
        if (editLibrary) {
            TIniFile library(f.Path("Templates.dat"));
            editLibrary(library);
        }
        f.Select(templateName);
        TDatasheet& sheet = f.doc->Datasheet();
        sheet.Reset(2, static_cast<int>(codes.size()) + 1);
        sheet.SetRow(0, {"", "Code"});
        for (size_t i = 0; i < codes.size(); ++i) sheet.SetRow(static_cast<int>(i) + 1, {"", codes[i]});
        f.doc->DatasheetWindowClosed(true);
        f.doc->SetLinearSource(TLinearSource::lsDatasheet);
        f.doc->SetCodeField(1);
        f.doc->SetLinage(2);
        f.doc->SetColumn(3);
        f.Shown();
    }

    TPrintResult Print(TPrinterChoice choice) {
        choice.printer = &printer;
        TPrintOptions options;
        options.calibrations = calibrations;
        options.choosePrinter = [&] {
            ++dialogs;
            return choice;
        };
        f.prompts.QueueAnswer(TMsgResult::mrYes);
        // The page the document was set up for is not the chosen one: whatever reaches the chosen
        // printer came through the choice.
        TRasterPrinter asked(TPaperSize::A4(), 300);
        return f.doc->Print(asked, options);
    }

    // What each cell of a printed page reads as, row by row ("" for an empty cell).
    std::vector<std::string> Cells(const TBitmap& page) const {
        const TLayoutSettings layout = LayoutOf(f.doc->Project());
        const TCellGrid g = PrinterCellGrid({page.Width(), page.Height(), kDpi, kDpi}, layout);
        std::vector<std::string> cells;
        for (int r = 0; r < layout.rows; ++r)
            for (int c = 0; c < layout.columns; ++c) {
                TBitmap cell(g.cellWidth, g.cellHeight);
                const int left = g.CellLeft(c), top = g.CellTop(r);
                cell.Canvas().CopyRect({0, 0, g.cellWidth, g.cellHeight}, page,
                                       {left, top, left + g.cellWidth, top + g.cellHeight});
                const test::Decoded d = test::Decode(cell, ZXing::BarcodeFormat::Code128);
                cells.push_back(d.found ? d.text : "");
            }
        return cells;
    }

    std::vector<std::vector<std::string>> Pages() const {
        std::vector<std::vector<std::string>> pages;
        for (const TBitmap& page : printer.Pages()) pages.push_back(Cells(page));
        return pages;
    }
};

std::vector<std::string> Labels(int count) {
    std::vector<std::string> codes;
    for (int i = 1; i <= count; ++i) codes.push_back("L" + std::to_string(i));
    return codes;
}

using Page = std::vector<std::string>;

TEST(DocumentPrintChoice, StartCellPagesAndFirstLabelChosenWithThePrinterReachTheRun) {
    struct Case {
        const char* what;
        int labels;
        int startCell, firstPage, lastPage;
        long long fromLabel;
        int runPages;
        std::vector<Page> pages;
    };
    const Case cases[] = {
        // Cell 5 of 2 x 3 is the second row's second cell; the page count counts the empty cells.
        {"start cell",
         8,
         5,
         1,
         0,
         1,
         2,
         {{"", "", "", "", "L1", "L2"}, {"L3", "L4", "L5", "L6", "L7", "L8"}}},
        {"page range", 14, 1, 2, 2, 1, 3, {{"L7", "L8", "L9", "L10", "L11", "L12"}}},
        // Resuming after a jam: label 9 is the first printed, in the first cell.
        {"from label", 14, 1, 1, 0, 9, 1, {{"L9", "L10", "L11", "L12", "L13", "L14"}}},
        {"all together", 14, 3, 2, 2, 2, 3, {{"L6", "L7", "L8", "L9", "L10", "L11"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChoiceRun run("Code128B", Labels(c.labels));
        TPrinterChoice choice;
        choice.printerName = "Raster";
        choice.startCell = c.startCell;
        choice.firstPage = c.firstPage;
        choice.lastPage = c.lastPage;
        choice.fromLabel = c.fromLabel;
        const TPrintResult r = run.Print(choice);
        const auto shown = run.f.Shown();
        EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted) << (shown.empty() ? "" : shown.back());
        EXPECT_EQ(run.dialogs, 1);
        EXPECT_EQ(r.runPages, c.runPages);
        EXPECT_EQ(run.Pages(), c.pages);
    }
}

// The leftmost and topmost dark dot of a page.
std::pair<int, int> InkCorner(const TBitmap& page) {
    const std::vector<uint8_t> grey = page.Luminance();
    int left = page.Width(), top = page.Height();
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x)
            if (grey[static_cast<size_t>(y) * page.Width() + x] < 128)
                left = std::min(left, x), top = std::min(top, y);
    return {left, top};
}

TEST(DocumentPrintChoice, TheChosenPrintersCalibrationMovesTheLabels) {
    std::pair<int, int> corners[2];
    const char* printers[] = {"Uncalibrated", "Shop floor"};
    for (int i = 0; i < 2; ++i) {
        ChoiceRun run("Code128B", Labels(3));
        run.calibrations.Save("Shop floor", {10, -2, 1, 1});
        TPrinterChoice choice;
        choice.printerName = printers[i];
        ASSERT_EQ(run.Print(choice).outcome, TPrintOutcome::poPrinted);
        ASSERT_EQ(run.printer.Pages().size(), 1u);
        corners[i] = InkCorner(run.printer.Pages()[0]);
    }
    // 10 mm right and 2 mm up at 150 dots per inch.
    EXPECT_EQ(corners[1].first - corners[0].first, 59);
    EXPECT_EQ(corners[1].second - corners[0].second, -12);
}

TEST(DocumentPrintChoice, VerifyingChosenWithThePrinterStopsABadRunBeforeItsFirstPage) {
    // The template makes the check digit anew: row 2's own, which is wrong, does not reach the symbol,
    // so the symbol stands for another number than the row. Modules of 0.33 mm fit three columns.
    const std::vector<std::string> codes = {"4006381333931", "5901234123458", "8712345678906"};
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "verified" : "not verified");
        ChoiceRun run("EAN13 (ISBN)", codes, [](TIniFile& lib) {
            lib.WriteBool("EAN13 (ISBN)", "CheckSum", true);
            lib.WriteInteger("EAN13 (ISBN)", "BarWidth", 33);
        });
        TPrinterChoice choice;
        choice.printerName = "Raster";
        choice.verify = verify;
        const TPrintResult r = run.Print(choice);
        if (!verify) {
            EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted);
            EXPECT_EQ(run.printer.PagesPrinted(), 1);
            continue;
        }
        EXPECT_EQ(r.outcome, TPrintOutcome::poNotVerified);
        EXPECT_EQ(r.verified, 3);
        EXPECT_EQ(r.unreadable, 1);
        EXPECT_EQ(run.printer.PagesPrinted(), 0);
        EXPECT_TRUE(run.printer.Pages().empty());
        const auto shown = run.f.Shown();
        ASSERT_FALSE(shown.empty());
        EXPECT_NE(shown.back().find("Row(2): expected \"5901234123458\""), std::string::npos) << shown.back();
    }
}

TEST(DocumentPrintChoice, ACancelledDialogPrintsNothing) {
    ChoiceRun run("Code128B", Labels(3));
    TPrintOptions options;
    options.choosePrinter = [] { return TPrinterChoice{}; };
    run.f.prompts.QueueAnswer(TMsgResult::mrYes);
    TRasterPrinter asked(TPaperSize::A4(), kDpi);
    EXPECT_EQ(run.f.doc->Print(asked, options).outcome, TPrintOutcome::poNothingPrinted);
    EXPECT_EQ(asked.PagesPrinted(), 0);
    EXPECT_EQ(run.printer.PagesPrinted(), 0);
}

} // namespace
} // namespace qbm

namespace qbm {
namespace {

// A code list's entries make symbols of different sizes; the component is sized for the first one.
TEST(DocumentPrint2D, EntriesLargerThanTheFirstArePrintedWholeAndReadBack) {
    DocumentFixture f;
    f.doc->TabChanged(TMainTab::mt2D);
    const std::vector<std::string> entries = {"SHORT", std::string(180, 'Q') + "1",
                                              "MID-" + std::string(40, 'M')};
    f.doc->SerialCode(entries);
    TRasterPrinter printer(TPaperSize::A4(), 300);
    TPrintOptions options;
    options.run.verify = true;
    f.prompts.QueueAnswer(TMsgResult::mrYes);
    const TPrintResult r = f.doc->Print(printer, options);
    const auto shown = f.Shown();
    EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted) << (shown.empty() ? "" : shown.back());
    EXPECT_EQ(r.verified, 3);
    ASSERT_EQ(printer.Pages().size(), 1u);
    const TBitmap& printed = printer.Pages()[0];
    const std::vector<uint8_t> grey = printed.Luminance();
    const QImage page(grey.data(), printed.Width(), printed.Height(), printed.Width(),
                      QImage::Format_Grayscale8);
    std::vector<std::string> read = test::DecodeAll(page, ZXing::BarcodeFormat::PDF417);
    std::sort(read.begin(), read.end());
    std::vector<std::string> expected = entries;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(read, expected);
}

// The line a finished run ends with says whether its labels were read back.
TEST(PrintSummaryLine, SaysWhetherTheLabelsWereReadBack) {
    TPrintResult r;
    r.labels = 2;
    r.pages = 1;
    EXPECT_EQ(PrintSummary(r, "out.pdf", true), "2 labels on 1 page written to out.pdf.");
    r.verified = 2;
    EXPECT_EQ(PrintSummary(r, "out.pdf", true),
              "2 labels on 1 page written to out.pdf; every label read back.");
    r.verified = 0;
    r.notReadBack = "no reader for Micro QR symbols";
    EXPECT_EQ(PrintSummary(r, "Office", false),
              "2 labels on 1 page sent to Office; not read back (no reader for Micro QR symbols).");
}

} // namespace
} // namespace qbm
