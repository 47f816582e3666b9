#pragma once
// Reading the active sheet of an Excel workbook (.xls) into the datasheet.

#include <string>

namespace qbm {

class TDatasheet;
class TProgress;

// Empties the sheet. The sheet's used block (from its first to its last used row and column) goes to the table from
// cell (0, 0); the column and row counts become the block's size. Numbers appear as a user sees them
// in the sheet, dates as YYYY-MM-DD. Throws EInOutError naming the file when it cannot be read.
void ReadWorkbookFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr);

} // namespace qbm
