#pragma once
// The records of an Excel 97-2003 workbook stream (BIFF8) read for the datasheet: the sheet list, the
// shared texts, the number formats and the cells of one sheet, each as the office suite shows it.

#include "data/WorkbookSheets.h"
#include "data/XlsErrorCells.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

struct TXlsCellText {
    uint32_t row = 0;
    uint32_t column = 0;
    std::string text; // UTF-8
};

struct TXlsSheetCells {
    std::vector<TXlsCellText> cells; // in sheet order: row by row, column by column
    std::vector<TXlsCell> errors;    // cells holding an error value, as constants or formula results
};

// Reads the chosen sheet (ChooseSheet: by name, else the one the workbook was last shown on, never a
// hidden one) of a workbook stream. Numbers come as their cells' formats show them, or as stored with
// `choices.storedValues`; formula cells as their stored results. Throws EInOutError "Cannot read Excel
// workbook <path>: <reason>" for a damaged stream or a sheet name it does not hold.
TXlsSheetCells ReadXlsSheet(std::string_view stream, const TWorkbookChoices& choices,
                            const std::string& path);

// The workbook's worksheets, for choosing one.
TWorkbookSheetList ListXlsSheets(std::string_view stream, const std::string& path);

} // namespace qbm
