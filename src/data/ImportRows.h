#pragma once
// Writing one imported row into the datasheet without disturbing the cells the import does not reach.

#include "data/TDatasheet.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qbm {

// Puts `fields` into `row` from `firstColumn` on; the row's other cells keep their text.
inline void PutImportedRow(TDatasheet& sheet, int row, int firstColumn, std::vector<std::string> fields) {
    if (row < 0 || row >= sheet.RowCount()) return;
    // Only as many cells as the row holds or receives: a wide table costs nothing per narrow line.
    const auto kept = sheet.RowCells(row);
    const size_t end = std::min(static_cast<size_t>(sheet.ColumnCount()),
                                std::max(kept.size(), static_cast<size_t>(firstColumn) + fields.size()));
    std::vector<std::string> cells(kept.begin(), kept.begin() + std::min(kept.size(), end));
    cells.resize(end);
    for (size_t f = 0; f < fields.size() && static_cast<size_t>(firstColumn) + f < end; ++f)
        cells[firstColumn + f] = std::move(fields[f]);
    sheet.SetRow(row, cells);
}

} // namespace qbm
