#include "data/DatasheetCommands.h"

#include "data/TDatasheet.h"
#include "util/TUserPrompts.h"

#include <gtest/gtest.h>

using namespace qbm;

TEST(DatasheetCommands, QuestionsGateTheOperations) {
    TDatasheet sheet;
    sheet.SetCell(1, 1, "x");
    TScriptedPrompts prompts;
    prompts.QueueAnswer(TMsgResult::mrCancel);
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcClearCurrentRow, prompts));
    EXPECT_EQ(sheet.Cell(1, 1), "x");
    prompts.QueueAnswer(TMsgResult::mrYes);
    EXPECT_TRUE(RunDatasheetCommand(sheet, TDatasheetCommand::dcDeleteCurrentRow, prompts));
    EXPECT_EQ(sheet.Cell(1, 1), "");
    ASSERT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(prompts.Messages()[0].text, "Are you sure clear data in this row?");
    EXPECT_EQ(prompts.Messages()[0].kind, TMsgKind::mkWarning);
    EXPECT_EQ(prompts.Messages()[0].buttons, TMsgButtons::mbYesCancel);
    EXPECT_EQ(prompts.Messages()[1].text, "Are you sure delete this row?");

    // Inserting a row asks nothing.
    EXPECT_TRUE(RunDatasheetCommand(sheet, TDatasheetCommand::dcInsertBlankRow, prompts));
    EXPECT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(sheet.RowCount(), 3);
}

TEST(DatasheetCommands, ColumnNamesThroughTheInputBox) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    prompts.QueueInput(std::nullopt); // cancelled: a blank name
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcAddColumn, prompts));
    ASSERT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(prompts.Messages()[0].text, "Inset a Column: Please input the column name:");
    EXPECT_EQ(prompts.Messages()[1].text, "You input a blank name or this name has been exist!");
    EXPECT_EQ(prompts.Messages()[1].kind, TMsgKind::mkError);

    prompts.QueueInput(" Price ");
    EXPECT_TRUE(RunDatasheetCommand(sheet, TDatasheetCommand::dcAddColumn, prompts));
    EXPECT_EQ(sheet.ColumnName(2), "Price");

    sheet.SetCurrentColumn(2);
    prompts.QueueInput(std::nullopt); // cancelled rename: nothing, no message
    const size_t before = prompts.Messages().size();
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcRenameColumn, prompts));
    EXPECT_EQ(prompts.Messages().size(), before + 1);
    EXPECT_EQ(prompts.Messages().back().text, "Change Column Name: Please input the column name:");
    prompts.QueueInput("DATA1");
    EXPECT_FALSE(RunDatasheetCommand(sheet, TDatasheetCommand::dcRenameColumn, prompts));
    EXPECT_EQ(prompts.Messages().back().text, "Column 'DATA1' has been exist!");
    EXPECT_EQ(sheet.ColumnName(2), "Price");
}

TEST(DatasheetCommands, PicturePaths) {
    TDatasheet sheet;
    EXPECT_FALSE(InsertPicturePath(sheet, ""));
    EXPECT_TRUE(InsertPicturePath(sheet, "/pics/a.png"));
    EXPECT_EQ(sheet.Cell(1, 1), "/pics/a.png");
    EXPECT_FALSE(InsertPicturePaths(sheet, {}));
    EXPECT_TRUE(InsertPicturePaths(sheet, {"/b.png", "/c.png"}));
    EXPECT_EQ(sheet.RowCount(), 3);
    EXPECT_EQ(sheet.Cell(1, 2), "/c.png");
}
