#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "data/WorkbookReader.h"
#include "util/Errors.h"
#include "util/IsolatedRun.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <stdexcept>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;

TEST(ImportWorkbook, NumbersShowAsInTheSheet) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, test::TestDataPath("import/labels.xls"), prompts, nullptr);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name", "Qty", "Price"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"4006381333931", "B\u00FCrste", "12", "1.5"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"123", "Box", "", "0.25"}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"9", "Tape", "-3", "2"}));
}

TEST(ImportWorkbook, ErrorValuesAreNotWrittenOverWhatTheTableHeld) {
    const std::string path = test::TestDataPath("import/errors.xls");
    // #DIV/0! in A3, #N/A in B5, a formula giving #DIV/0! in B6.
    EXPECT_EQ(XlsErrorCells(test::ReadWholeFile(path), 0), (std::vector<TXlsCell>{{2, 0}, {4, 1}, {5, 1}}));
    TDatasheet sheet;
    sheet.Reset(3, 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 1; c < 3; ++c) sheet.SetCell(c, r, "held" + std::to_string(c) + std::to_string(r));
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, path, prompts, nullptr);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.RowCount(), 301);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Note"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1001", "1"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"held12", "2"}));
    EXPECT_EQ(DataRow(sheet, 4), (Cells{"1004", "held24"}));
    EXPECT_EQ(DataRow(sheet, 5), (Cells{"1005", "held25"}));
    EXPECT_EQ(DataRow(sheet, 300), (Cells{"1300", "300"}));
    // Read by itself the sheet leaves those cells empty.
    TDatasheet alone;
    std::vector<TXlsCell> errors;
    ReadWorkbookFile(alone, path, nullptr, &errors);
    EXPECT_EQ(alone.Row(2), (Cells{"", "2"}));
    EXPECT_EQ(errors.size(), 3u);
}

TEST(ImportWorkbook, BlockIsTheUsedPartOfTheSheet) {
    // Data from B2 to C5 with a blank first column, blank cells inside and a record whose first cell
    // is blank.
    TDatasheet sheet;
    sheet.Reset(8, 9);
    sheet.SetCell(6, 7, "old");
    ReadWorkbookFile(sheet, test::TestDataPath("import/offset.xls"));
    EXPECT_EQ(sheet.ColumnCount(), 2);
    // The blank record is skipped: it would be a label with nothing on it.
    EXPECT_EQ(sheet.RowCount(), 3);
    EXPECT_EQ(sheet.Row(0), (Cells{"Code", "Name"}));
    EXPECT_EQ(sheet.Row(1), (Cells{"1", "x"}));
    EXPECT_EQ(sheet.Row(2), (Cells{"2", ""}));
}

TEST(ImportWorkbook, UnreadableFilesNameTheFile) {
    const std::string dir = test::MakeTempDir();
    const std::string text = test::WriteFile(dir, "codes.xls", "Code;Name\n1;x\n");
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, text, prompts, nullptr);
    EXPECT_EQ(result.outcome, TImportOutcome::ioFailed);
    EXPECT_NE(result.message.find("Cannot read Excel workbook " + text + ": "), std::string::npos)
        << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_THROW_MSG(ReadWorkbookFile(sheet, dir + "/none.xls"), EInOutError,
                     "Cannot read Excel workbook " + dir +
                         "/none.xls: the file does not exist or cannot be opened");
    // A directory sector pointing into the workbook's records, and a file cut inside its records.
    std::string sound = test::ReadWholeFile(test::TestDataPath("import/errors.xls"));
    std::string pointer = sound;
    pointer[0x30] = 0x10;
    for (const std::string& damaged : {pointer, sound.substr(0, 6000)}) {
        const std::string path = test::WriteFile(dir, "damaged.xls", damaged);
        EXPECT_THROW_MSG(ReadWorkbookFile(sheet, path), EInOutError,
                         "Cannot read Excel workbook " + path +
                             ": the workbook is damaged: its compound file holds no whole workbook stream");
    }
    // A file on which the former workbook library copied past the end of its own buffer: read with
    // every bound checked, it gives the same result every time.
    const std::string heap = test::TestDataPath("import/damaged-heap.xls");
    for (int run = 0; run < 3; ++run)
        EXPECT_THROW_MSG(ReadWorkbookFile(sheet, heap), EInOutError,
                         "Cannot read Excel workbook " + heap + ": the shared texts are cut short");
}

TEST(ImportWorkbook, AReaderProcessThatFailsIsNotTakenForItsOutput) {
    struct Case {
        const char* what;
        std::function<void(const std::function<void(const void*, size_t)>&)> work;
        size_t bytes;
        bool finished;
    };
    const std::string big(3 << 20, 'x'); // more than a pipe holds: read while the child writes
    const Case cases[] = {
        {"writes and ends", [&](const auto& write) { write(big.data(), big.size()); }, big.size(), true},
        {"throws",
         [&](const auto& write) {
             write("ab", 2);
             throw std::runtime_error("x");
         },
         2, false},
        {"crashes",
         [&](const auto& write) {
             write("abc", 3);
             std::raise(SIGSEGV);
         },
         3, false},
    };
    for (const Case& c : cases) {
        const TIsolatedResult r = RunIsolated(c.work);
        EXPECT_EQ(r.output.size(), c.bytes) << c.what;
        EXPECT_EQ(r.finished, c.finished) << c.what;
    }
}
