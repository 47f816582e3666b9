// Editing the datasheet by hand as the window does it: typing into a cell, the clipboard in both
// directions, sorting by a column and finding text; each change one undo step.
#include "data/DatasheetCommands.h"
#include "data/DatasheetFind.h"
#include "data/DatasheetSort.h"
#include "data/DatasheetStream.h"
#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "data/TabSeparatedText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qbm;

namespace {

// A sheet whose column 1 holds `cells` from row 1, named "Name".
TDatasheet SheetOf(const std::vector<std::string>& cells, int columns = 2) {
    TDatasheet sheet;
    sheet.Reset(columns, static_cast<int>(cells.size()) + 1);
    sheet.SetCell(1, 0, "Name");
    for (size_t i = 0; i < cells.size(); ++i) sheet.SetCell(1, static_cast<int>(i) + 1, cells[i]);
    return sheet;
}

std::vector<std::string> Column(const TDatasheet& sheet, int column) {
    std::vector<std::string> cells;
    for (int r = 1; r < sheet.RowCount(); ++r) cells.emplace_back(sheet.Cell(column, r));
    return cells;
}

} // namespace

TEST(DatasheetEditing, TypedCellIsOneStepAndAnUnchangedOneIsNone) {
    TDatasheet sheet = SheetOf({"a", "b"});
    TDatasheetHistory history;
    const std::string before = DatasheetToStream(sheet);
    EXPECT_TRUE(EditCell(sheet, 1, 2, "Käse", &history));
    EXPECT_EQ(sheet.Cell(1, 2), "Käse");
    EXPECT_EQ(history.UndoName(), "Edit Cell");
    EXPECT_FALSE(EditCell(sheet, 1, 2, "Käse", &history));   // the same text: no step
    EXPECT_FALSE(EditCell(sheet, 1, 0, "header", &history)); // headers are renamed, not typed
    EXPECT_FALSE(EditCell(sheet, 2, 1, "x", &history));      // outside the data area
    ASSERT_TRUE(history.Undo(sheet));
    EXPECT_EQ(DatasheetToStream(sheet), before);
    EXPECT_FALSE(history.CanUndo());
}

// A change refused half-way must leave no trace, or the next Ctrl+Z undoes the step before it while
// the half-made change stays.
TEST(DatasheetEditing, EditThatFailsHalfWayLeavesTableAndHistoryAsTheyWere) {
    TDatasheet sheet = SheetOf(std::vector<std::string>(50, "SN-0001"));
    TDatasheetHistory history;
    sheet.SetCurrentCell(1, 1);
    PlaceInColumn(sheet, std::vector<std::string>(50, "SN-0002"), "Fill Sequence Data", &history);
    const std::string filled = DatasheetToStream(sheet);
    EXPECT_THROW(RecordCellEdit(sheet, &history, "Paste", {1, 1, 3, 60},
                                [](TDatasheet& s) {
                                    s.SetColumnCount(4);
                                    s.SetRowCount(61);
                                    s.SetCell(1, 3, "half");
                                    throw EDatasheetError("refused");
                                }),
                 EDatasheetError);
    EXPECT_EQ(DatasheetToStream(sheet), filled);
    EXPECT_EQ(history.UndoName(), "Fill Sequence Data");
    ASSERT_TRUE(history.Undo(sheet));
    EXPECT_EQ(Column(sheet, 1), std::vector<std::string>(50, "SN-0001"));
}

TEST(DatasheetEditing, TabSeparatedTextAsSpreadsheetsWriteIt) {
    const struct {
        const char* text;
        TTextTable rows;
    } cases[] = {
        {"a\tb\nc\td", {{"a", "b"}, {"c", "d"}}},
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}}, // Excel: CR LF after every row
        {"a\rb", {{"a"}, {"b"}}},
        {"x\t\t\n", {{"x", "", ""}}}, // empty cells kept
        {"\"line 1\nline 2\"\t\"say \"\"hi\"\"\"", {{"line 1\nline 2", "say \"hi\""}}},
        {"\"a\tb\"\tc", {{"a\tb", "c"}}},
        {"5\" nails\t\"12\" screen", {{"5\" nails", "\"12\" screen"}}}, // quotes inside plain text
        {"\"open", {{"\"open"}}},                                       // a quote never closed
        {"", {}},
        {"\n", {{""}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTabSeparated(c.text), c.rows) << c.text;

    TDatasheet sheet = SheetOf({"plain", "tab\there", "two\nlines", "\"quoted\"", ""}, 3);
    sheet.SetCell(2, 1, "Käse €");
    const std::string copied = CopyAsTabSeparated(sheet, {1, 1, 2, 5});
    EXPECT_EQ(copied, "plain\tKäse €\n\"tab\there\"\t\n\"two\nlines\"\t\n\"\"\"quoted\"\"\"\t\n\t\n");
    const TTextTable back = ParseTabSeparated(copied);
    ASSERT_EQ(back.size(), 5u);
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 2; ++c) EXPECT_EQ(back[r - 1][c - 1], sheet.Cell(c, r)) << c << "," << r;
}

TEST(DatasheetEditing, PasteGrowsTheTableAsOneStep) {
    TDatasheet sheet = SheetOf({"a", "b"});
    TDatasheetHistory history;
    const std::string before = DatasheetToStream(sheet);
    sheet.SetCurrentCell(1, 2);
    sheet.SetSelection({1, 2, 1, 2});
    TGridRect written;
    ASSERT_TRUE(PasteTabSeparated(sheet, "x\ty\tz\n1\t2\t3\n", &history, &written));
    EXPECT_EQ(written, (TGridRect{1, 2, 3, 3}));
    EXPECT_EQ(sheet.ColumnCount(), 4);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(sheet.ColumnNames(), (std::vector<std::string>{"", "Name", "Data2", "Data3"}));
    EXPECT_EQ(Column(sheet, 1), (std::vector<std::string>{"a", "x", "1"}));
    EXPECT_EQ(Column(sheet, 3), (std::vector<std::string>{"", "z", "3"}));
    EXPECT_EQ(history.UndoName(), "Paste");
    ASSERT_TRUE(history.Undo(sheet));
    EXPECT_EQ(DatasheetToStream(sheet), before);
    ASSERT_TRUE(history.Redo(sheet));
    EXPECT_EQ(sheet.ColumnNames(), (std::vector<std::string>{"", "Name", "Data2", "Data3"}));
    EXPECT_EQ(Column(sheet, 2), (std::vector<std::string>{"", "y", "2"}));

    // One cell onto a selected range fills the range; nothing pastes nothing.
    sheet.SetSelection({2, 1, 3, 2});
    ASSERT_TRUE(PasteTabSeparated(sheet, "k\r\n", &history));
    EXPECT_EQ(Column(sheet, 3), (std::vector<std::string>{"k", "k", "3"}));
    EXPECT_FALSE(PasteTabSeparated(sheet, "", &history));

    // Wider than a datasheet can be: refused whole.
    const std::string snapshot = DatasheetToStream(sheet);
    sheet.SetSelection({3, 1, 3, 1});
    EXPECT_THROW(PasteTabSeparated(sheet, std::string(TDatasheet::kMaxColumns, '\t'), &history),
                 EDatasheetError);
    EXPECT_EQ(DatasheetToStream(sheet), snapshot);
}

TEST(DatasheetEditing, SortByColumnAsASpreadsheetDoes) {
    TDatasheet sheet = SheetOf({"banana", "10", "", "Apple", "9", "apple", "-2.5", "cherry"}, 3);
    for (int r = 1; r < sheet.RowCount(); ++r) sheet.SetCell(2, r, std::to_string(r));
    TDatasheetHistory history;
    const std::string before = DatasheetToStream(sheet);
    ASSERT_TRUE(SortByColumn(sheet, 1, true, &history));
    // Numbers first in numeric order, text ignoring case (equal keys keep their order), empty last.
    EXPECT_EQ(Column(sheet, 1),
              (std::vector<std::string>{"-2.5", "9", "10", "Apple", "apple", "banana", "cherry", ""}));
    EXPECT_EQ(Column(sheet, 2), (std::vector<std::string>{"7", "5", "2", "4", "6", "1", "8", "3"}));
    EXPECT_EQ(sheet.ColumnName(1), "Name");
    EXPECT_EQ(history.UndoName(), "Sort by Name");
    ASSERT_TRUE(SortByColumn(sheet, 1, false, &history));
    EXPECT_EQ(Column(sheet, 1),
              (std::vector<std::string>{"cherry", "banana", "Apple", "apple", "10", "9", "-2.5", ""}));
    ASSERT_TRUE(history.Undo(sheet));
    ASSERT_TRUE(history.Undo(sheet));
    EXPECT_EQ(DatasheetToStream(sheet), before);
    EXPECT_FALSE(SortByColumn(sheet, 3, true, &history));

    EXPECT_LT(CompareCellValues("0012", "13"), 0); // codes with leading zeros by their value
    EXPECT_GT(CompareCellValues("1e5", "2"), 0);   // not a plain number: text, after the numbers
    EXPECT_GT(CompareCellValues("abc", "100"), 0);
}

TEST(DatasheetEditing, FindGoesOnFromTheCurrentCellAndWrapsRound) {
    TDatasheet sheet = SheetOf({"Käse", "milk", "", "KÄSEKUCHEN", "Milkshake"}, 3);
    sheet.SetCell(2, 2, "Oat MILK");
    const auto find = [&](const char* text, int column, int row, bool back = false) {
        const auto at = FindInDatasheet(sheet, text, column, row, back);
        return at ? std::to_string(at->column) + "," + std::to_string(at->row) : std::string("-");
    };
    EXPECT_EQ(find("milk", 1, 1), "1,2");
    EXPECT_EQ(find("milk", 1, 2), "2,2");
    EXPECT_EQ(find("milk", 2, 2), "1,5");
    EXPECT_EQ(find("milk", 1, 5), "1,2"); // round past the end
    EXPECT_EQ(find("milk", 1, 2, true), "1,5");
    EXPECT_EQ(find("milk", 1, 5, true), "2,2");
    EXPECT_EQ(find("käse", 1, 1), "1,4"); // letter case of any script; the start cell comes last
    EXPECT_EQ(find("käse", 1, 4), "1,1");
    EXPECT_EQ(find("tea", 1, 1), "-");
    EXPECT_EQ(find("", 1, 1), "-");
}
