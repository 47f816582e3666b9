#pragma once
// Reading a sheet of an Excel workbook in Office Open XML form (.xlsx) into the datasheet.

#include "data/WorkbookSheets.h"

#include <string>

namespace qbm {

class TDatasheet;
class TProgress;

// Returns how many rows without text were skipped. Empties the sheet and fills it from cell (0, 0) with the
// chosen sheet's used block (ChooseSheet): numbers and dates as the cells' number formats show them (or as
// stored), formula cells as their stored results, error values left empty. Throws EInOutError naming the file
// for a damaged or oversized workbook or a sheet name it does not hold.
int ReadXlsxFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr,
                 const TWorkbookChoices& choices = {});

// The workbook's sheets, for choosing one.
TWorkbookSheetList ListXlsxSheets(const std::string& path);

} // namespace qbm
