#pragma once
// Reading a sheet of an Excel 97-2003 workbook (.xls) into the datasheet.

#include "data/WorkbookSheets.h"
#include "data/XlsErrorCells.h"

#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
class TProgress;

// Returns how many rows without text were skipped. Empties the sheet. The chosen sheet's used block
// (ChooseSheet; from its first to its last used row and column) goes to the table from cell (0, 0); the
// column and row counts become the block's size. Values appear as the cells' number formats show them (or as
// stored), formula cells as their results. Throws EInOutError naming the file and the reason when it cannot
// be read. Cells holding an error value are left empty and listed in `errorCells` (table positions), for the
// import to leave what the datasheet held there.
int ReadWorkbookFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr,
                     std::vector<TXlsCell>* errorCells = nullptr, const TWorkbookChoices& choices = {});

// The workbook's worksheets, for choosing one.
TWorkbookSheetList ListWorkbookSheets(const std::string& path);

} // namespace qbm
