#include "barcode/TBarcode.h"
#include "output/LabelFit.h"
#include "output/TPrintJournal.h"
#include "output/TPrintPlan.h"
#include "output/TPrintRun.h"
#include "surface/TCanvas.h"
#include "surface/TRasterPrinter.h"
#include "util/Rounding.h"
#include "util/TUserPrompts.h"

#include "ListFeed.h"
#include "TestSupport.h"

#include <fstream>

namespace qbm {
namespace {

using test::ListFeed;

constexpr int kDpi = 150;

// EAN-13 labels on a 2 x 3 grid of a 150 x 100 mm sheet without split marks; codes "0000000000NN".
struct TestRun {
    TBarcode main;
    TBitmap picture{200, 100};
    TLayoutSettings layout{2, 3, 5, 5, 5, 5, false};
    std::vector<std::string> codes;
    TPrintRunOptions options;

    explicit TestRun(int labels) {
        main.SetTyp(bcCodeEAN13);
        main.SetChecksum(true);
        main.SetModul(1);
        main.SetHeight(60);
        for (int i = 1; i <= labels; ++i)
            codes.push_back(std::string(9 - (i >= 10), '0') + std::to_string(i) + "00");
    }
    TPrintResult Print(TRasterPrinter& printer, TScriptedPrompts& prompts) {
        ListFeed feed(codes, 0);
        TPrintJob job;
        job.layout = layout;
        job.bcdMain = &main;
        job.labelPicture = &picture;
        job.feed = &feed;
        job.run = options;
        return RunPrintLoop(printer, job, prompts);
    }
    // The label number in each cell of a page (0: empty), row by row, read back with ZXing.
    std::vector<int> Cells(const TBitmap& page) const {
        const TCellGrid g = PrinterCellGrid({page.Width(), page.Height(), kDpi, kDpi}, layout);
        std::vector<int> numbers;
        for (int r = 0; r < layout.rows; ++r)
            for (int c = 0; c < layout.columns; ++c) {
                TBitmap cell(g.cellWidth, g.cellHeight);
                const int left = g.marginLeft + c * g.cellWidth, top = g.marginTop + r * g.cellHeight;
                cell.Canvas().CopyRect({0, 0, g.cellWidth, g.cellHeight}, page,
                                       {left, top, left + g.cellWidth, top + g.cellHeight});
                const test::Decoded d = test::Decode(cell, ZXing::BarcodeFormat::EAN13);
                numbers.push_back(d.found ? std::stoi(d.text.substr(0, 12)) / 100 : 0);
            }
        return numbers;
    }
};

const TPaperSize kSheet{150, 100};

// Cells are numbered row by row: cell 5 of 2 rows x 3 columns is the second row's second cell.
TEST(PrintRunOptions, StartCellLeavesEarlierCellsEmptyAndThePageCountFollows) {
    TestRun run(6);
    run.options.startCell = 5;
    TRasterPrinter printer(kSheet, kDpi);
    TScriptedPrompts prompts;
    const TPrintResult r = run.Print(printer, prompts);
    EXPECT_EQ(r.runPages, 2);
    ASSERT_EQ(printer.Pages().size(), 2u);
    EXPECT_EQ(run.Cells(printer.Pages()[0]), (std::vector<int>{0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(run.Cells(printer.Pages()[1]), (std::vector<int>{3, 4, 5, 6, 0, 0}));
    EXPECT_EQ(RunPageCount(6, 5, 2, 3), 2);
    EXPECT_EQ(RunPageCount(6, 1, 2, 3), 1);
    EXPECT_EQ(RunPageCount(0, 5, 2, 3), 0);
}

TEST(PrintRunOptions, PageRangePrintsOnlyThosePagesOfTheRun) {
    TestRun run(16); // 2 empty cells and 16 labels: 3 pages
    run.options.startCell = 3;
    run.options.firstPage = 2;
    run.options.lastPage = 2;
    TRasterPrinter printer(kSheet, kDpi);
    TScriptedPrompts prompts;
    const TPrintResult r = run.Print(printer, prompts);
    EXPECT_EQ(r.runPages, 3);
    EXPECT_EQ(r.pages, 1);
    EXPECT_EQ(r.labels, 6);
    ASSERT_EQ(printer.Pages().size(), 1u);
    EXPECT_EQ(run.Cells(printer.Pages()[0]), (std::vector<int>{5, 6, 7, 8, 9, 10}));

    run.options.firstPage = 3;
    run.options.lastPage = 9; // past the end: up to the last page
    TRasterPrinter tail(kSheet, kDpi);
    EXPECT_EQ(run.Print(tail, prompts).labels, 6);
    EXPECT_EQ(run.Cells(tail.Pages().at(0)), (std::vector<int>{11, 12, 13, 14, 15, 16}));
}

TEST(PrintRunOptions, OptionsOutsideTheRunAreRefusedBeforePrinting) {
    struct Case {
        int start, firstPage, lastPage;
        long long fromLabel;
        const char* message;
    };
    const Case kCases[] = {
        /* 0 */ {0, 1, 0, 1, "The start position must lie between 1 and 6."},
        /* 1 */ {7, 1, 0, 1, "The start position must lie between 1 and 6."},
        /* 2 */ {1, 4, 0, 1, "The page range must lie within the run's 3 pages."},
        /* 3 */ {1, 2, 1, 1, "The page range must lie within the run's 3 pages."},
        /* 4 */ {1, 1, 0, 17, "The first label must lie between 1 and 16."},
    };
    for (const Case& c : kCases) {
        TestRun run(16);
        run.options.startCell = c.start;
        run.options.firstPage = c.firstPage;
        run.options.lastPage = c.lastPage;
        run.options.fromLabel = c.fromLabel;
        TRasterPrinter printer(kSheet, kDpi);
        TScriptedPrompts prompts;
        EXPECT_EQ(run.Print(printer, prompts).outcome, TPrintOutcome::poNothingPrinted) << c.message;
        EXPECT_EQ(printer.PagesPrinted(), 0);
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].text, c.message);
    }
}

// The top left dark pixel of each cell's label.
std::vector<TPoint> LabelCorners(const TBitmap& page, const TCellGrid& g, int rows, int columns) {
    std::vector<TPoint> corners;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            TPoint corner{-1, -1};
            const int left = g.marginLeft + c * g.cellWidth, top = g.marginTop + r * g.cellHeight;
            for (int y = top - 40; y < top + g.cellHeight && corner.y < 0; ++y)
                for (int x = left - 40; x < left + g.cellWidth; ++x)
                    if (page.Pixel(x, y) != clWhite) {
                        corner.y = y;
                        break;
                    }
            for (int x = left - 40; x < left + g.cellWidth && corner.x < 0; ++x)
                for (int y = top - 40; y < top + g.cellHeight; ++y)
                    if (page.Pixel(x, y) != clWhite) {
                        corner.x = x;
                        break;
                    }
            corners.push_back(corner);
        }
    return corners;
}

TEST(PrintRunOptions, CalibrationMovesEveryLabelByTheStatedDots) {
    TestRun plain(6);
    TRasterPrinter reference(kSheet, kDpi);
    TScriptedPrompts prompts;
    plain.Print(reference, prompts);
    const TBitmap& page = reference.Pages().at(0);
    const TCellGrid g = PrinterCellGrid({page.Width(), page.Height(), kDpi, kDpi}, plain.layout);
    const std::vector<TPoint> before = LabelCorners(page, g, 2, 3);
    // Labels sit centred in their cells with their quiet zones, measured on the first label.
    const auto first = MakeWorkingBarcode(plain.main, kDpi);
    first->SetText(plain.codes[0]);
    const TPoint labelOffset = LabelOffsetInCell(LinearLabelBox(*first, kDpi), g);

    struct Case {
        TPrinterCalibration cal;
    };
    const Case kCases[] = {
        /* 0 */ {{2.54, -1.27, 1, 1}}, // 15 dots right, 7.5 dots up
        /* 1 */ {{0, 0, 1.02, 0.98}},  // stretched across, squeezed down
        /* 2 */ {{-3.0, 2.0, 0.99, 1.01}},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        TestRun run(6);
        run.options.calibration = kCases[i].cal;
        TRasterPrinter printer(kSheet, kDpi);
        run.Print(printer, prompts);
        const std::vector<TPoint> after = LabelCorners(printer.Pages().at(0), g, 2, 3);
        for (size_t k = 0; k < before.size(); ++k) {
            ASSERT_GE(before[k].x, 0) << "label " << k;
            // The label's own corner is placed where the calibration maps it; its bars keep their width.
            const TPoint corner{g.marginLeft + static_cast<int>(k % 3) * g.cellWidth + labelOffset.x,
                                g.marginTop + static_cast<int>(k / 3) * g.cellHeight + labelOffset.y};
            const TPoint moved = kCases[i].cal.Map(corner, kDpi, kDpi);
            EXPECT_EQ(after[k], (TPoint{moved.x + before[k].x - corner.x, moved.y + before[k].y - corner.y}))
                << "case " << i << " label " << k;
        }
    }
    EXPECT_EQ((TPrinterCalibration{2.54, -1.27, 1, 1}.Map({100, 100}, kDpi, kDpi)), (TPoint{115, 92}));
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The fields after the time: printer, page, first label and value, last label and value.
std::string WithoutTime(const std::string& line) {
    return line.substr(line.find('\t') + 1);
}

TEST(PrintRunOptions, JournalListsEveryPageAndFromLabelResumes) {
    const std::string journal = test::MakeTempDir() + "/labels.bpj.log";
    EXPECT_EQ(JournalPathFor("/a/labels.bpj"), "/a/labels.bpj.log");
    TestRun run(8);
    run.options.printerName = "Office\tLaser";
    run.options.journalPath = journal;
    TRasterPrinter printer(kSheet, kDpi);
    TScriptedPrompts prompts;
    run.Print(printer, prompts);
    ASSERT_EQ(Lines(journal).size(), 2u);
    EXPECT_EQ(WithoutTime(Lines(journal)[0]),
              "Office\\x09Laser\tpage 1\tlabel 1\t000000000100\tlabel 6\t000000000600");
    EXPECT_EQ(WithoutTime(Lines(journal)[1]),
              "Office\\x09Laser\tpage 2\tlabel 7\t000000000700\tlabel 8\t000000000800");

    // A jam after the first page: print again from label 7.
    run.options.fromLabel = 7;
    TRasterPrinter again(kSheet, kDpi);
    const TPrintResult r = run.Print(again, prompts);
    EXPECT_EQ(r.labels, 2);
    EXPECT_EQ(run.Cells(again.Pages().at(0)), (std::vector<int>{7, 8, 0, 0, 0, 0}));
    const std::vector<std::string> lines = Lines(journal);
    ASSERT_EQ(lines.size(), 3u) << "runs append";
    EXPECT_EQ(WithoutTime(lines[2]),
              "Office\\x09Laser\tpage 1\tlabel 7\t000000000700\tlabel 8\t000000000800");
}

TEST(PrintRunOptions, JournalNotesACancelledRun) {
    const std::string journal = test::MakeTempDir() + "/labels.bpj.log";
    TestRun run(13);
    run.options.printerName = "PDF";
    run.options.journalPath = journal;
    ListFeed feed(run.codes, 0);
    TPrintJob job;
    job.layout = run.layout;
    job.bcdMain = &run.main;
    job.labelPicture = &run.picture;
    job.feed = &feed;
    job.run = run.options;
    job.progress = [](int done, int) { return done < 2; };
    TRasterPrinter printer(kSheet, kDpi);
    TScriptedPrompts prompts;
    EXPECT_EQ(RunPrintLoop(printer, job, prompts).outcome, TPrintOutcome::poCancelled);
    // The pages drawn never came out: the printer discarded the job.
    const std::vector<std::string> lines = Lines(journal);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(WithoutTime(lines[0]), "PDF\trun cancelled after page 2; no page came out");
}

} // namespace
} // namespace qbm
