#include "data/TDatasheetHistory.h"
#include "data/DatasheetCommands.h"
#include "data/DatasheetImport.h"
#include "data/DatasheetStream.h"
#include "data/SequenceGenerator.h"
#include "data/TDatasheet.h"
#include "util/TProgress.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qbm;

namespace {

// A 6 x 8 table with text in every data cell, a blank row and a wide header.
TDatasheet Sample() {
    TDatasheet sheet;
    sheet.Reset(6, 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 1; c < 6; ++c)
            if (r != 5)
                sheet.SetCell(
                    c, r, r == 0 ? "Col" + std::to_string(c) : std::to_string(c) + ":" + std::to_string(r));
    sheet.SetColumnWidth(3, 99);
    sheet.SetCurrentCell(3, 4);
    sheet.SetSelection({2, 2, 4, 6});
    return sheet;
}

// Everything a project stores of the table, plus the cursor.
std::string State(const TDatasheet& sheet) {
    return DatasheetToStream(sheet) + "@" + std::to_string(sheet.CurrentColumn()) + "," +
           std::to_string(sheet.CurrentRow());
}

class TCancelAfter : public TProgress {
public:
    explicit TCancelAfter(int calls) : m_calls(calls) {}
    bool Update(int64_t, int64_t) override { return --m_calls > 0; }

private:
    int m_calls;
};

} // namespace

// Every command, run once with the history, is taken back exactly by undo and made again by redo.
TEST(DatasheetHistory, EachCommandIsOneStepBothWays) {
    struct Case {
        const char* name;
        std::function<void(TDatasheet&, TDatasheetHistory&)> run;
    };
    const auto command = [](TDatasheetCommand c, std::optional<std::string> input = std::nullopt) {
        return [c, input](TDatasheet& s, TDatasheetHistory& h) {
            TScriptedPrompts prompts;
            if (input) prompts.QueueInput(*input);
            RunDatasheetCommand(s, c, prompts, &h);
        };
    };
    const std::vector<Case> cases = {
        {"insert row", command(TDatasheetCommand::dcInsertBlankRow)},
        {"clear row", command(TDatasheetCommand::dcClearCurrentRow)},
        {"delete row", command(TDatasheetCommand::dcDeleteCurrentRow)},
        {"delete all rows", command(TDatasheetCommand::dcDeleteAllRows)},
        {"add column", command(TDatasheetCommand::dcAddColumn, " Price ")},
        {"rename column", command(TDatasheetCommand::dcRenameColumn, "Renamed")},
        {"clear column", command(TDatasheetCommand::dcClearCurrentColumn)},
        {"delete column", command(TDatasheetCommand::dcDeleteCurrentColumn)},
        {"delete all columns", command(TDatasheetCommand::dcDeleteAllColumns)},
        {"clear all", command(TDatasheetCommand::dcClearAll)},
        {"clear selection", command(TDatasheetCommand::dcClearSelection)},
        {"picture path", [](TDatasheet& s, TDatasheetHistory& h) { InsertPicturePath(s, "/p/a.png", &h); }},
        {"picture paths past the end",
         [](TDatasheet& s, TDatasheetHistory& h) {
             InsertPicturePaths(s, {"/a", "/b", "/c", "/d", "/e"}, &h);
         }},
        {"sequence",
         [](TDatasheet& s, TDatasheetHistory& h) {
             PlaceSequence(s, {"01", "02"}, &h);
         }},
        {"move row down", [](TDatasheet& s, TDatasheetHistory& h) { MoveRowRecorded(s, 2, 6, &h); }},
        {"move row up", [](TDatasheet& s, TDatasheetHistory& h) { MoveRowRecorded(s, 7, 1, &h); }},
        {"move column", [](TDatasheet& s, TDatasheetHistory& h) { MoveColumnRecorded(s, 1, 4, &h); }},
    };
    for (const Case& c : cases) {
        TDatasheet sheet = Sample();
        TDatasheetHistory history;
        const std::string before = State(sheet);
        c.run(sheet, history);
        const std::string after = State(sheet);
        EXPECT_NE(after, before) << c.name;
        ASSERT_TRUE(history.CanUndo()) << c.name;
        history.Undo(sheet);
        EXPECT_EQ(State(sheet), before) << c.name;
        EXPECT_EQ(sheet.Selection(), (TGridRect{2, 2, 4, 6})) << c.name;
        ASSERT_TRUE(history.Redo(sheet)) << c.name;
        EXPECT_EQ(State(sheet), after) << c.name;
    }
}

TEST(DatasheetHistory, RefusedCommandsLeaveNoStepAndANewCommandDropsRedo) {
    TDatasheet sheet = Sample();
    TDatasheetHistory history;
    TScriptedPrompts prompts;
    prompts.QueueAnswer(TMsgResult::mrCancel);
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcClearAll, prompts, &history));
    prompts.QueueInput("col1"); // exists already
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcAddColumn, prompts, &history));
    EXPECT_FALSE(history.CanUndo());

    RunDatasheetCommand(sheet, TDatasheetCommand::dcInsertBlankRow, prompts, &history);
    RunDatasheetCommand(sheet, TDatasheetCommand::dcDeleteAllRows, prompts, &history);
    EXPECT_EQ(history.UndoName(), "Delete All Rows");
    history.Undo(sheet);
    EXPECT_EQ(history.RedoName(), "Delete All Rows");
    EXPECT_EQ(history.UndoName(), "Insert Blank Row");
    RunDatasheetCommand(sheet, TDatasheetCommand::dcInsertBlankRow, prompts, &history);
    EXPECT_FALSE(history.CanRedo());
}

TEST(DatasheetHistory, ImportIsOneStepAndCancelledWorkChangesNothing) {
    const std::string dir = test::MakeTempDir();
    std::string text = "Code;Name\n";
    for (int i = 0; i < 100000; ++i) text += std::to_string(i) + ";n" + std::to_string(i) + "\n";
    const std::string path = test::WriteFile(dir, "codes.csv", text);

    TDatasheet sheet = Sample();
    const std::string before = State(sheet);
    TScriptedPrompts prompts;
    TCancelAfter cancel(2);
    TDatasheetHistory history;
    EXPECT_EQ(ImportData(sheet, path, prompts, nullptr, {&cancel, &history, {}, {}}).outcome,
              TImportOutcome::ioCancelled);
    EXPECT_EQ(State(sheet), before);
    EXPECT_FALSE(history.CanUndo());

    EXPECT_EQ(ImportData(sheet, path, prompts, nullptr, {nullptr, &history, {}, {}}).outcome,
              TImportOutcome::ioImported);
    EXPECT_EQ(sheet.RowCount(), 100001);
    EXPECT_EQ(sheet.Cell(2, 100000), "n99999");
    history.Undo(sheet);
    EXPECT_EQ(State(sheet), before);

    TCancelAfter cancelFill(3);
    EXPECT_THROW(GenerateSequence({"", "1", "1000000", "", 1, 1}, &cancelFill), EOperationCancelled);
}

TEST(Datasheet, BlocksMovesAndInsertsAgreeWithCellByCell) {
    TDatasheet sheet = Sample();
    const TCellBlock block = sheet.CopyCells({2, 1, 3, 7});
    EXPECT_EQ(block.rows, (std::vector<int>{1, 2, 3, 4, 6, 7}));
    sheet.PutCells({{2, 1, 3, 7}, {}, {}, {}});
    EXPECT_EQ(sheet.Cell(2, 3), "");
    EXPECT_EQ(sheet.Cell(4, 3), "4:3");
    sheet.PutCells(block);
    EXPECT_EQ(State(sheet), State(Sample()));

    // Moving rows and columns against a plain model of the table.
    std::vector<std::vector<std::string>> model;
    for (int r = 0; r < sheet.RowCount(); ++r) model.push_back(sheet.Row(r));
    const std::pair<int, int> moves[] = {{1, 7}, {7, 2}, {5, 6}, {6, 1}, {0, 3}};
    for (const auto& [from, to] : moves) {
        sheet.MoveRow(from, to);
        auto row = model[from];
        model.erase(model.begin() + from);
        model.insert(model.begin() + to, row);
        for (int r = 0; r < sheet.RowCount(); ++r) EXPECT_EQ(sheet.Row(r), model[r]) << from << "->" << to;
    }
    sheet.InsertColumn(2);
    EXPECT_EQ(sheet.ColumnCount(), 7);
    for (int r = 0; r < sheet.RowCount(); ++r) {
        EXPECT_EQ(sheet.Cell(2, r), "");
        EXPECT_EQ(sheet.Cell(3, r), model[r][2]);
    }
}
