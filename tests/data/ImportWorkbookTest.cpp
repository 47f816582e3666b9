#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "data/WorkbookReader.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"4006381333931", "B\xFCrste", "12", "1.5"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"123", "Box", "", "0.25"}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"9", "Tape", "-3", "2"}));
}

TEST(ImportWorkbook, BlockIsTheUsedPartOfTheSheet) {
    // Data from B2 to C5 with a blank first column, blank cells inside and a record whose first cell
    // is blank.
    TDatasheet sheet;
    sheet.Reset(8, 9);
    sheet.SetCell(6, 7, "old");
    ReadWorkbookFile(sheet, test::TestDataPath("import/offset.xls"));
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(sheet.Row(0), (Cells{"Code", "Name"}));
    EXPECT_EQ(sheet.Row(1), (Cells{"1", "x"}));
    EXPECT_EQ(sheet.Row(2), (Cells{"", ""}));
    EXPECT_EQ(sheet.Row(3), (Cells{"2", ""}));
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
}
