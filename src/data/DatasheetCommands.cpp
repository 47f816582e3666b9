#include "data/DatasheetCommands.h"

#include "data/TDatasheet.h"
#include "util/TUserPrompts.h"

namespace qbm {
namespace {

bool Confirmed(TUserPrompts& prompts, std::string_view question) {
    return prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbYesCancel, std::string(question)) ==
           TMsgResult::mrYes;
}

template <typename Operation>
bool AskAndRun(TUserPrompts& prompts, std::string_view question, Operation operation) {
    if (!Confirmed(prompts, question)) return false;
    operation();
    return true;
}

bool AddColumn(TDatasheet& sheet, TUserPrompts& prompts) {
    // A cancelled box counts as a blank name, which the operation refuses with its message.
    const auto name = prompts.InputBox(std::string(kAddColumnTitle), std::string(kColumnNamePrompt), "");
    try {
        sheet.AddColumn(name.value_or(""));
        return true;
    } catch (const EDatasheetError& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

bool RenameColumn(TDatasheet& sheet, TUserPrompts& prompts) {
    const std::string current(sheet.ColumnName(sheet.CurrentColumn()));
    // Cancelling gives the default back, which is the present name: nothing happens.
    const auto name =
        prompts.InputBox(std::string(kRenameColumnTitle), std::string(kColumnNamePrompt), current);
    try {
        return sheet.RenameCurrentColumn(name.value_or(current));
    } catch (const EDatasheetError& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

} // namespace

bool RunDatasheetCommand(TDatasheet& sheet, TDatasheetCommand command, TUserPrompts& prompts) {
    switch (command) {
    case TDatasheetCommand::dcInsertBlankRow:
        sheet.InsertBlankRow();
        return true;
    case TDatasheetCommand::dcClearCurrentRow:
        return AskAndRun(prompts, kAskClearRow, [&] { sheet.ClearCurrentRow(); });
    case TDatasheetCommand::dcDeleteCurrentRow:
        return AskAndRun(prompts, kAskDeleteRow, [&] { sheet.DeleteCurrentRow(); });
    case TDatasheetCommand::dcDeleteAllRows:
        return AskAndRun(prompts, kAskDeleteAllRows, [&] { sheet.DeleteAllRows(); });
    case TDatasheetCommand::dcAddColumn:
        return AddColumn(sheet, prompts);
    case TDatasheetCommand::dcRenameColumn:
        return RenameColumn(sheet, prompts);
    case TDatasheetCommand::dcClearCurrentColumn:
        return AskAndRun(prompts, kAskClearColumn, [&] { sheet.ClearCurrentColumn(); });
    case TDatasheetCommand::dcDeleteCurrentColumn:
        return AskAndRun(prompts, kAskDeleteColumn, [&] { sheet.DeleteCurrentColumn(); });
    case TDatasheetCommand::dcDeleteAllColumns:
        return AskAndRun(prompts, kAskDeleteAllColumns, [&] { sheet.DeleteAllColumns(); });
    case TDatasheetCommand::dcClearAll:
        return AskAndRun(prompts, kAskClearAll, [&] { sheet.ClearAll(); });
    case TDatasheetCommand::dcClearSelection:
        return AskAndRun(prompts, kAskClearSelection, [&] { sheet.ClearSelection(); });
    }
    return false;
}

bool InsertPicturePath(TDatasheet& sheet, const std::string& path) {
    if (path.empty()) return false;
    sheet.SetCell(sheet.CurrentColumn(), sheet.CurrentRow(), path);
    return true;
}

bool InsertPicturePaths(TDatasheet& sheet, const std::vector<std::string>& paths) {
    if (paths.empty()) return false;
    sheet.PlaceInCurrentColumn(paths);
    return true;
}

} // namespace qbm
