#pragma once
// The cells of an Excel 97-2003 workbook's sheet that hold an error value (#DIV/0!, #N/A, ...), as a
// constant or as a formula's result. The workbook library reports such a cell like a TRUE or FALSE
// value, so its records are read here: the compound file's "Workbook" stream, the sheet's records.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

struct TXlsCell {
    unsigned row = 0;
    unsigned column = 0;
    bool operator==(const TXlsCell&) const = default;
};

// Whether the file is a compound file whose directory and sector chains lead to a whole workbook
// stream. The workbook library trusts that structure and reads outside its buffers when it is broken,
// so a file that fails here is not handed to it.
bool HasWholeWorkbookStream(std::string_view file);

// The workbook stream of an Excel 97-2003 file, or nothing when the compound file cannot be followed.
std::optional<std::string> XlsWorkbookStream(std::string_view file);

// Error cells of the sheet numbered `sheetIndex` (from 0, in workbook order) of the file's bytes.
// A file whose structure cannot be followed has none: its damage is the workbook library's to report.
std::vector<TXlsCell> XlsErrorCells(std::string_view file, unsigned sheetIndex);

} // namespace qbm
