#include "data/TDatasheet.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;

namespace {

// A sheet with the given column names and `rows` data rows, cell (c, r) holding "c:r".
TDatasheet Filled(const std::vector<std::string>& names, int rows) {
    TDatasheet sheet;
    sheet.Reset(static_cast<int>(names.size()) + 1, rows + 1);
    for (size_t c = 0; c < names.size(); ++c) sheet.SetCell(static_cast<int>(c) + 1, 0, names[c]);
    for (int r = 1; r <= rows; ++r)
        for (size_t c = 1; c <= names.size(); ++c)
            sheet.SetCell(static_cast<int>(c), r, std::to_string(c) + ":" + std::to_string(r));
    return sheet;
}

} // namespace

TEST(Datasheet, StartsWithOneEmptyColumnNamedData1) {
    TDatasheet sheet;
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.ColumnWidth(0), 50);
    EXPECT_EQ(sheet.ColumnWidth(1), 115);
    EXPECT_EQ(sheet.CurrentColumn(), 1);
    EXPECT_EQ(sheet.CurrentRow(), 1);
}

TEST(Datasheet, CellsHoldAnyBytesAndIgnoreWritesOutsideTheTable) {
    TDatasheet sheet;
    const std::string odd("a\0b\x80\xff=\"\t", 8);
    sheet.SetCell(1, 1, odd);
    EXPECT_EQ(sheet.Cell(1, 1), odd);
    const std::string longText(1000, 'x'); // length prefix of more than one byte
    sheet.SetCell(1, 0, longText);
    EXPECT_EQ(sheet.Cell(1, 0), longText);
    EXPECT_EQ(sheet.Cell(1, 1), odd);
    sheet.SetCell(2, 1, "outside");
    sheet.SetCell(1, 2, "outside");
    EXPECT_EQ(sheet.Cell(2, 1), "");
    EXPECT_EQ(sheet.Cell(1, 2), "");
    sheet.SetCell(1, 1, "");
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.Cell(1, 0), longText);
}

TEST(DatasheetRows, OnlyRowIsClearedNotDeleted) {
    TDatasheet sheet;
    sheet.SetCell(1, 1, "x");
    sheet.DeleteCurrentRow();
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
}

TEST(DatasheetRows, InsertDeleteAndClearActOnTheCurrentRow) {
    TDatasheet sheet = Filled({"A", "B"}, 3);
    sheet.SetCurrentCell(1, 2);
    sheet.InsertBlankRow();
    EXPECT_EQ(sheet.RowCount(), 5);
    EXPECT_EQ(sheet.Cell(1, 1), "1:1");
    EXPECT_EQ(sheet.Cell(1, 2), "");
    EXPECT_EQ(sheet.Cell(2, 3), "2:2");
    EXPECT_EQ(sheet.Cell(2, 4), "2:3");

    sheet.SetCurrentCell(1, 3);
    sheet.ClearCurrentRow();
    EXPECT_EQ(sheet.Cell(1, 3), "");
    EXPECT_EQ(sheet.Cell(2, 3), "");
    EXPECT_EQ(sheet.RowCount(), 5);

    sheet.DeleteCurrentRow();
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(sheet.Cell(1, 3), "1:3");

    sheet.SetCurrentCell(1, 3);
    sheet.DeleteCurrentRow(); // the last row: the current row moves up onto the table
    EXPECT_EQ(sheet.RowCount(), 3);
    EXPECT_EQ(sheet.CurrentRow(), 2);
}

TEST(DatasheetRows, DeleteAllRowsKeepsNamesAndOneEmptyRow) {
    TDatasheet sheet = Filled({"Code", "Caption"}, 10);
    sheet.SetCurrentCell(2, 7);
    sheet.DeleteAllRows();
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.ColumnName(1), "Code");
    EXPECT_EQ(sheet.ColumnName(2), "Caption");
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.Cell(2, 1), "");
}

TEST(DatasheetColumns, AddRefusesBlankAndDuplicateNamesIgnoringCase) {
    TDatasheet sheet;
    const std::string error = "You input a blank name or this name has been exist!";
    EXPECT_THROW_MSG(sheet.AddColumn(""), EDatasheetError, error); // a cancelled input box
    EXPECT_THROW_MSG(sheet.AddColumn("  \t"), EDatasheetError, error);
    EXPECT_THROW_MSG(sheet.AddColumn("data1"), EDatasheetError, error);
    EXPECT_THROW_MSG(sheet.AddColumn(" DATA1 "), EDatasheetError, error);
    EXPECT_EQ(sheet.ColumnCount(), 2);
    sheet.AddColumn(" Name ");
    ASSERT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.ColumnName(2), "Name");
    EXPECT_EQ(sheet.ColumnWidth(2), TDatasheet::kDefaultColumnWidth);
    EXPECT_TRUE(sheet.ColumnExists("name"));
    EXPECT_TRUE(sheet.ColumnExists(" NAME\t"));
    EXPECT_FALSE(sheet.ColumnExists("Nam"));
}

TEST(DatasheetColumns, RenameRules) {
    TDatasheet sheet = Filled({"Code", "Caption"}, 1);
    sheet.SetCurrentColumn(1);
    EXPECT_FALSE(sheet.RenameCurrentColumn("  Code ")); // same name, other blanks: nothing
    EXPECT_THROW_MSG(sheet.RenameCurrentColumn("CODE"), EDatasheetError, "Column 'CODE' has been exist!");
    EXPECT_THROW_MSG(sheet.RenameCurrentColumn(" caption "), EDatasheetError,
                     "Column 'caption' has been exist!");
    EXPECT_FALSE(sheet.RenameCurrentColumn("   ")); // blank: nothing, no message
    EXPECT_EQ(sheet.ColumnName(1), "Code");
    EXPECT_TRUE(sheet.RenameCurrentColumn(" Number "));
    EXPECT_EQ(sheet.ColumnName(1), "Number");
}

TEST(DatasheetColumns, DeleteOnlyColumnLeavesOneEmptyData1) {
    TDatasheet sheet = Filled({"Code"}, 4);
    sheet.DeleteCurrentColumn();
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_EQ(sheet.Cell(1, 1), "");
}

TEST(DatasheetColumns, DeleteClearAndDeleteAll) {
    TDatasheet sheet = Filled({"A", "B", "C"}, 3);
    sheet.SetColumnWidth(3, 77);
    sheet.SetCurrentCell(2, 2);
    sheet.ClearCurrentColumn();
    EXPECT_EQ(sheet.ColumnName(2), "B");
    EXPECT_EQ(sheet.Cell(2, 1), "");
    EXPECT_EQ(sheet.Cell(2, 3), "");
    EXPECT_EQ(sheet.Cell(1, 3), "1:3");

    sheet.DeleteCurrentColumn();
    EXPECT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.ColumnName(2), "C");
    EXPECT_EQ(sheet.Cell(2, 1), "3:1");
    EXPECT_EQ(sheet.ColumnWidth(2), 77);

    sheet.DeleteAllColumns(); // the last column and last row stay, renamed and cleared
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.ColumnWidth(1), 77);
}

TEST(DatasheetCells, ClearAllKeepsHeaderAndSizeClearSelectionOnlyTheRange) {
    TDatasheet sheet = Filled({"A", "B", "C"}, 4);
    sheet.SetSelection({3, 3, 2, 2}); // given in any corner order
    EXPECT_EQ(sheet.Selection(), (TGridRect{2, 2, 3, 3}));
    sheet.ClearSelection();
    EXPECT_EQ(sheet.Cell(2, 2), "");
    EXPECT_EQ(sheet.Cell(3, 3), "");
    EXPECT_EQ(sheet.Cell(1, 2), "1:2");
    EXPECT_EQ(sheet.Cell(2, 4), "2:4");
    EXPECT_EQ(sheet.Cell(2, 1), "2:1");

    sheet.ClearAll();
    EXPECT_EQ(sheet.ColumnCount(), 4);
    EXPECT_EQ(sheet.RowCount(), 5);
    EXPECT_EQ(sheet.ColumnName(3), "C");
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(sheet.Cell(c, r), "") << c << "," << r;
}

TEST(DatasheetCells, PicturePathsGrowTheTableOrOverwrite) {
    const std::vector<std::string> paths = {"/p/a.png", "/p/b.png", "/p/c.png"};
    TDatasheet grow = Filled({"Pic"}, 5); // 6 rows
    grow.SetCurrentCell(1, 5);
    grow.PlaceInCurrentColumn(paths);
    EXPECT_EQ(grow.RowCount(), 8);
    EXPECT_EQ(grow.Cell(1, 4), "1:4");
    EXPECT_EQ(grow.Cell(1, 5), "/p/a.png");
    EXPECT_EQ(grow.Cell(1, 7), "/p/c.png");

    TDatasheet overwrite = Filled({"Pic", "Other"}, 9); // 10 rows
    overwrite.SetCurrentCell(1, 2);
    overwrite.PlaceInCurrentColumn(paths);
    EXPECT_EQ(overwrite.RowCount(), 10);
    EXPECT_EQ(overwrite.Cell(1, 1), "1:1");
    EXPECT_EQ(overwrite.Cell(1, 2), "/p/a.png");
    EXPECT_EQ(overwrite.Cell(1, 4), "/p/c.png");
    EXPECT_EQ(overwrite.Cell(1, 5), "1:5");
    EXPECT_EQ(overwrite.Cell(2, 3), "2:3");
}

TEST(DatasheetCells, MovingRowsAndColumnsCarriesCellsAndWidths) {
    TDatasheet sheet = Filled({"A", "B"}, 3);
    sheet.SetColumnWidth(1, 90);
    sheet.MoveRow(1, 3);
    EXPECT_EQ(sheet.Cell(1, 1), "1:2");
    EXPECT_EQ(sheet.Cell(1, 3), "1:1");
    sheet.MoveColumn(1, 2);
    EXPECT_EQ(sheet.ColumnName(1), "B");
    EXPECT_EQ(sheet.ColumnName(2), "A");
    EXPECT_EQ(sheet.ColumnWidth(2), 90);
    EXPECT_EQ(sheet.Cell(2, 3), "1:1");
}

TEST(DatasheetSize, CountsStayWithinLimitsAndAHugeEmptySheetIsCheap) {
    TDatasheet sheet;
    sheet.Reset(0, -5);
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 2);
    sheet.SetRowCount(TDatasheet::kMaxRows);
    EXPECT_EQ(sheet.RowCount(), TDatasheet::kMaxRows);
    EXPECT_LT(sheet.MemoryUsed(), 4096u);
    sheet.SetCurrentCell(1, TDatasheet::kMaxRows - 1);
    sheet.InsertBlankRow(); // at the limit nothing is added
    EXPECT_EQ(sheet.RowCount(), TDatasheet::kMaxRows);
    sheet.SetColumnCount(3);
    sheet.SetCell(2, 1, "x");
    sheet.SetColumnCount(2);
    EXPECT_EQ(sheet.Cell(2, 1), "");
    sheet.SetColumnCount(3);
    EXPECT_EQ(sheet.Cell(2, 1), ""); // a dropped cell does not come back
}

TEST(DatasheetSize, MillionRowsByTenColumnsCostAboutTheirText) {
    TDatasheet sheet;
    constexpr int kRows = 1'000'000;
    sheet.Reset(11, kRows + 1);
    std::vector<std::string> row(11);
    size_t text = 0;
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= 10; ++c) row[c] = std::to_string(r * 10 + c);
        for (int c = 1; c <= 10; ++c) text += row[c].size();
        sheet.SetRow(r, row);
    }
    EXPECT_EQ(sheet.Cell(10, kRows), std::to_string(kRows * 10 + 10));
    // Text plus one length byte per cell plus a row's bookkeeping: well under three times the text.
    EXPECT_LT(sheet.MemoryUsed(), 3 * text);
    sheet.SetCurrentCell(3, 1);
    sheet.InsertBlankRow();
    EXPECT_EQ(sheet.Cell(3, 1), "");
    EXPECT_EQ(sheet.Cell(3, 2), "13");
}
