#pragma once
// The datasheet window's commands as the user meets them: the question before a command (a warning
// with Yes and Cancel), the input boxes for column names, the error messages; then the operation.
// Each returns whether the table changed, so the window knows to repaint.

#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
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

bool RunDatasheetCommand(TDatasheet& sheet, TDatasheetCommand command, TUserPrompts& prompts);

// "Insert a Picture Path Name ..." (one path into the current cell) and "Insert Pictures by Path
// Name ..." (paths down the current column); an empty list is a cancelled dialog.
bool InsertPicturePath(TDatasheet& sheet, const std::string& path);
bool InsertPicturePaths(TDatasheet& sheet, const std::vector<std::string>& paths);

} // namespace qbm
