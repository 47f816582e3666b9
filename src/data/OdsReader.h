#pragma once
// Reading a sheet of an OpenDocument spreadsheet (.ods) into the datasheet.

#include "data/WorkbookSheets.h"

#include <string>

namespace qbm {

class TDatasheet;
class TProgress;

// Returns how many rows without text were skipped. Empties the sheet and fills it from cell (0, 0) with the
// chosen sheet's used block (ChooseSheet): every cell as the document shows it (its paragraphs), or with
// `storedValues` its stored number or date (dates as YYYY-MM-DD, with the time when there is one); error
// values left empty. Throws EInOutError naming the file for a damaged or oversized document or a sheet name
// it does not hold.
int ReadOdsFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr,
                const TWorkbookChoices& choices = {});

// The document's sheets, for choosing one.
TWorkbookSheetList ListOdsSheets(const std::string& path);

} // namespace qbm
