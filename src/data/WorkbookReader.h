#pragma once
// Reading the active sheet of an Excel workbook (.xls) into the datasheet.

#include "data/XlsErrorCells.h"

#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
class TProgress;

// Empties the sheet. The sheet's used block (from its first to its last used row and column) goes to the
// table from cell (0, 0); the column and row counts become the block's size. Numbers appear as a user sees
// them in the sheet, dates as YYYY-MM-DD. Throws EInOutError naming the file when it cannot be read. Cells
// holding an error value are left empty and listed in `errorCells` (table positions), for the import to leave
// what the datasheet held there.
void ReadWorkbookFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr,
                      std::vector<TXlsCell>* errorCells = nullptr);

} // namespace qbm
