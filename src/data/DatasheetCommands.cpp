#include "data/DatasheetCommands.h"

#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "util/TUserPrompts.h"

#include <algorithm>
#include <cstdint>
#include <memory>

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

TGridRect RowRange(const TDatasheet& sheet, int row, int firstColumn) {
    return {firstColumn, row, sheet.ColumnCount() - 1, row};
}

TGridRect ColumnRange(const TDatasheet& sheet, int column, int firstRow) {
    return {column, firstRow, column, sheet.RowCount() - 1};
}

void Push(TDatasheetHistory* history, std::string name, std::function<void(TDatasheet&)> undo,
          std::function<void(TDatasheet&)> redo, size_t bytes = 0) {
    if (history) history->Push({std::move(name), std::move(undo), std::move(redo), bytes});
}

bool AddColumn(TDatasheet& sheet, TUserPrompts& prompts, TDatasheetHistory* history) {
    // A cancelled box counts as a blank name, which the operation refuses with its message.
    const auto name = prompts.InputBox(std::string(kAddColumnTitle), std::string(kColumnNamePrompt), "");
    const int count = sheet.ColumnCount();
    try {
        sheet.AddColumn(name.value_or(""));
    } catch (const EDatasheetError& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
    const std::string header(sheet.ColumnName(count));
    Push(
        history, DatasheetCommandName(TDatasheetCommand::dcAddColumn),
        [count](TDatasheet& s) { s.SetColumnCount(count); },
        [count, header](TDatasheet& s) {
            s.SetColumnCount(count + 1);
            s.SetCell(count, 0, header);
        });
    return true;
}

bool RenameColumn(TDatasheet& sheet, TUserPrompts& prompts, TDatasheetHistory* history) {
    const std::string current(sheet.ColumnName(sheet.CurrentColumn()));
    // Cancelling gives the default back, which is the present name: nothing happens.
    const auto name =
        prompts.InputBox(std::string(kRenameColumnTitle), std::string(kColumnNamePrompt), current);
    const int column = sheet.CurrentColumn();
    try {
        const bool renamed = sheet.RenameCurrentColumn(name.value_or(current));
        if (renamed) {
            const std::string header(sheet.ColumnName(column));
            Push(
                history, DatasheetCommandName(TDatasheetCommand::dcRenameColumn),
                [column, current](TDatasheet& s) { s.SetCell(column, 0, current); },
                [column, header](TDatasheet& s) { s.SetCell(column, 0, header); });
        }
        return renamed;
    } catch (const EDatasheetError& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return false;
    }
}

void DeleteCurrentRow(TDatasheet& sheet, TDatasheetHistory* history) {
    const std::string name = DatasheetCommandName(TDatasheetCommand::dcDeleteCurrentRow);
    const int row = sheet.CurrentRow();
    if (sheet.RowCount() <= 2) {
        RecordCellEdit(sheet, history, name, RowRange(sheet, row, 1),
                       [](TDatasheet& s) { s.DeleteCurrentRow(); });
        return;
    }
    auto removed = std::make_shared<TCellBlock>(sheet.CopyCells(RowRange(sheet, row, 0)));
    sheet.DeleteCurrentRow();
    Push(
        history, name,
        [row, removed](TDatasheet& s) {
            s.InsertRows(row, 1);
            s.PutCells(*removed);
            s.SetCurrentCell(s.CurrentColumn(), row);
        },
        [row](TDatasheet& s) { s.DeleteRows(row, row); }, removed->MemoryUsed());
}

void DeleteCurrentColumn(TDatasheet& sheet, TDatasheetHistory* history) {
    const std::string name = DatasheetCommandName(TDatasheetCommand::dcDeleteCurrentColumn);
    if (sheet.ColumnCount() <= 2) {
        RecordOutlineEdit(sheet, history, name, [](TDatasheet& s) { s.DeleteCurrentColumn(); });
        return;
    }
    const int column = sheet.CurrentColumn();
    const int width = sheet.ColumnWidth(column);
    auto removed = std::make_shared<TCellBlock>(sheet.CopyCells(ColumnRange(sheet, column, 0)));
    sheet.DeleteCurrentColumn();
    Push(
        history, name,
        [column, width, removed](TDatasheet& s) {
            s.InsertColumn(column);
            s.SetColumnWidth(column, width);
            s.PutCells(*removed);
            s.SetCurrentColumn(column);
        },
        [column](TDatasheet& s) { s.DeleteColumns(column, column); }, removed->MemoryUsed());
}

} // namespace

std::string DatasheetCommandName(TDatasheetCommand command) {
    switch (command) {
    case TDatasheetCommand::dcInsertBlankRow:
        return "Insert Blank Row";
    case TDatasheetCommand::dcClearCurrentRow:
        return "Clear Current Row Data";
    case TDatasheetCommand::dcDeleteCurrentRow:
        return "Delete Current Row";
    case TDatasheetCommand::dcDeleteAllRows:
        return "Delete All Rows";
    case TDatasheetCommand::dcAddColumn:
        return "Add a New Column";
    case TDatasheetCommand::dcRenameColumn:
        return "Rename Column";
    case TDatasheetCommand::dcClearCurrentColumn:
        return "Clear Current Column Data";
    case TDatasheetCommand::dcDeleteCurrentColumn:
        return "Delete Current Column";
    case TDatasheetCommand::dcDeleteAllColumns:
        return "Delete All Columns (and Rows)";
    case TDatasheetCommand::dcClearAll:
        return "Clear All Data";
    case TDatasheetCommand::dcClearSelection:
        return "Clear Selected Cells Data";
    }
    return {};
}

bool RunDatasheetCommand(TDatasheet& sheet, TDatasheetCommand command, TUserPrompts& prompts,
                         TDatasheetHistory* history) {
    const std::string name = DatasheetCommandName(command);
    const auto cells = [&](const TGridRect& range, auto edit) {
        RecordCellEdit(sheet, history, name, range, edit);
    };
    const auto outline = [&](auto edit) { RecordOutlineEdit(sheet, history, name, edit); };
    switch (command) {
    case TDatasheetCommand::dcInsertBlankRow: {
        const int row = sheet.CurrentRow();
        const int count = sheet.RowCount();
        sheet.InsertBlankRow();
        if (sheet.RowCount() == count) return false;
        Push(
            history, name, [row](TDatasheet& s) { s.DeleteRows(row, row); },
            [row](TDatasheet& s) { s.InsertRows(row, 1); });
        return true;
    }
    case TDatasheetCommand::dcClearCurrentRow:
        return AskAndRun(prompts, kAskClearRow, [&] {
            cells(RowRange(sheet, sheet.CurrentRow(), 1), [](TDatasheet& s) { s.ClearCurrentRow(); });
        });
    case TDatasheetCommand::dcDeleteCurrentRow:
        return AskAndRun(prompts, kAskDeleteRow, [&] { DeleteCurrentRow(sheet, history); });
    case TDatasheetCommand::dcDeleteAllRows:
        return AskAndRun(prompts, kAskDeleteAllRows,
                         [&] { outline([](TDatasheet& s) { s.DeleteAllRows(); }); });
    case TDatasheetCommand::dcAddColumn:
        return AddColumn(sheet, prompts, history);
    case TDatasheetCommand::dcRenameColumn:
        return RenameColumn(sheet, prompts, history);
    case TDatasheetCommand::dcClearCurrentColumn:
        return AskAndRun(prompts, kAskClearColumn, [&] {
            cells(ColumnRange(sheet, sheet.CurrentColumn(), 1),
                  [](TDatasheet& s) { s.ClearCurrentColumn(); });
        });
    case TDatasheetCommand::dcDeleteCurrentColumn:
        return AskAndRun(prompts, kAskDeleteColumn, [&] { DeleteCurrentColumn(sheet, history); });
    case TDatasheetCommand::dcDeleteAllColumns:
        return AskAndRun(prompts, kAskDeleteAllColumns,
                         [&] { outline([](TDatasheet& s) { s.DeleteAllColumns(); }); });
    case TDatasheetCommand::dcClearAll:
        return AskAndRun(prompts, kAskClearAll, [&] { outline([](TDatasheet& s) { s.ClearAll(); }); });
    case TDatasheetCommand::dcClearSelection:
        return AskAndRun(prompts, kAskClearSelection,
                         [&] { cells(sheet.Selection(), [](TDatasheet& s) { s.ClearSelection(); }); });
    }
    return false;
}

bool InsertPicturePath(TDatasheet& sheet, const std::string& path, TDatasheetHistory* history) {
    if (path.empty()) return false;
    const int column = sheet.CurrentColumn(), row = sheet.CurrentRow();
    RecordCellEdit(sheet, history, "Insert a Picture Path Name", {column, row, column, row},
                   [&](TDatasheet& s) { s.SetCell(column, row, path); });
    return true;
}

bool InsertPicturePaths(TDatasheet& sheet, const std::vector<std::string>& paths,
                        TDatasheetHistory* history) {
    if (paths.empty()) return false;
    PlaceInColumn(sheet, paths, "Insert Pictures by Path Name", history);
    return true;
}

void PlaceInColumn(TDatasheet& sheet, const std::vector<std::string>& values, const std::string& name,
                   TDatasheetHistory* history, TProgress* progress) {
    if (values.empty()) return;
    const int column = sheet.CurrentColumn(), row = sheet.CurrentRow();
    const int64_t last = std::min<int64_t>(
        static_cast<int64_t>(row) + static_cast<int64_t>(values.size()) - 1, TDatasheet::kMaxRows - 1);
    RecordCellEdit(sheet, history, name, {column, row, column, static_cast<int>(last)},
                   [&](TDatasheet& s) { s.PlaceInCurrentColumn(values, progress); });
}

bool EditCell(TDatasheet& sheet, int column, int row, std::string_view text, TDatasheetHistory* history) {
    if (column < 1 || column >= sheet.ColumnCount() || row < 1 || row >= sheet.RowCount()) return false;
    if (sheet.Cell(column, row) == text) return false;
    RecordCellEdit(sheet, history, "Edit Cell", {column, row, column, row},
                   [&](TDatasheet& s) { s.SetCell(column, row, text); });
    return true;
}

void MoveRowRecorded(TDatasheet& sheet, int from, int to, TDatasheetHistory* history) {
    sheet.MoveRow(from, to);
    Push(
        history, "Move Row", [from, to](TDatasheet& s) { s.MoveRow(to, from); },
        [from, to](TDatasheet& s) { s.MoveRow(from, to); });
}

void MoveColumnRecorded(TDatasheet& sheet, int from, int to, TDatasheetHistory* history) {
    sheet.MoveColumn(from, to);
    Push(
        history, "Move Column", [from, to](TDatasheet& s) { s.MoveColumn(to, from); },
        [from, to](TDatasheet& s) { s.MoveColumn(from, to); });
}

} // namespace qbm
