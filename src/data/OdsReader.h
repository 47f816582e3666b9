#pragma once
// Reading the first sheet of an OpenDocument spreadsheet (.ods) into the datasheet.

#include <string>

namespace qbm {

class TDatasheet;
class TProgress;

// Empties the sheet and fills it from cell (0, 0) with the first sheet's used block, as for .xls
// workbooks: numbers as the sheet shows them, dates as YYYY-MM-DD (with the time when there is one),
// error values left empty. Throws EInOutError naming the file for a damaged or oversized document.
void ReadOdsFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr);

} // namespace qbm
