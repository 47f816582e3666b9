#pragma once
// Writing one imported row into the datasheet without disturbing the cells the import does not reach.

#include "data/TDatasheet.h"

#include <string>
#include <vector>

namespace qbm {

// Puts `fields` into `row` from `firstColumn` on; the row's other cells keep their text.
inline void PutImportedRow(TDatasheet& sheet, int row, int firstColumn, std::vector<std::string> fields) {
    if (row < 0 || row >= sheet.RowCount()) return;
    std::vector<std::string> cells = sheet.Row(row);
    for (size_t f = 0; f < fields.size(); ++f) {
        const size_t column = static_cast<size_t>(firstColumn) + f;
        if (column >= cells.size()) break;
        cells[column] = std::move(fields[f]);
    }
    sheet.SetRow(row, cells);
}

} // namespace qbm
