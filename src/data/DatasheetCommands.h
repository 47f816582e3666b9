#pragma once
// The datasheet window's commands as the user meets them: the question before a command (a warning
// with Yes and Cancel), the input boxes for column names, the error messages; then the operation.
// Each returns whether the table changed, so the window knows to repaint.

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;
class TProgress;
class TUserPrompts;

enum class TDatasheetCommand {
    dcInsertBlankRow,
    dcClearCurrentRow,
    dcDeleteCurrentRow,
    dcDeleteAllRows,
    dcAddColumn,
    dcRenameColumn,
    dcClearCurrentColumn,
    dcDeleteCurrentColumn,
    dcDeleteAllColumns,
    dcClearAll,
    dcClearSelection,
};

// The command's caption in the menus, as undo names it.
std::string DatasheetCommandName(TDatasheetCommand command);

// With a history, a command that changes the table becomes one undo step there.
bool RunDatasheetCommand(TDatasheet& sheet, TDatasheetCommand command, TUserPrompts& prompts,
                         TDatasheetHistory* history = nullptr);

// "Insert a Picture Path Name ..." (one path into the current cell) and "Insert Pictures by Path
// Name ..." (paths down the current column); an empty list is a cancelled dialog.
bool InsertPicturePath(TDatasheet& sheet, const std::string& path, TDatasheetHistory* history = nullptr);
bool InsertPicturePaths(TDatasheet& sheet, const std::vector<std::string>& paths,
                        TDatasheetHistory* history = nullptr);

// Writes values down the current column from the current row (sequence fill, picture paths) as one
// step named `name`. A long column reports to `progress`; when it is stopped (EOperationCancelled)
// the table is as before and no step is recorded.
void PlaceInColumn(TDatasheet& sheet, const std::vector<std::string>& values, const std::string& name,
                   TDatasheetHistory* history, TProgress* progress = nullptr);

// Typing into a cell of the window's grid, as one step ("Edit Cell"). Returns false, and records
// nothing, when the text is what the cell holds already or the cell lies outside the data area.
bool EditCell(TDatasheet& sheet, int column, int row, std::string_view text, TDatasheetHistory* history);

// Dragging a row or a column to another place, as one step.
void MoveRowRecorded(TDatasheet& sheet, int from, int to, TDatasheetHistory* history);
void MoveColumnRecorded(TDatasheet& sheet, int from, int to, TDatasheetHistory* history);

} // namespace qbm
