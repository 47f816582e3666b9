#pragma once
// Helpers for the import tests: writing a file and reading the data area back.

#include "data/TDatasheet.h"

#include <fstream>
#include <string>
#include <vector>

namespace qbm::test {

inline std::string WriteFile(const std::string& dir, const std::string& name, const std::string& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The data columns of a row (from column 1), as text.
inline std::vector<std::string> DataRow(const TDatasheet& sheet, int row) {
    std::vector<std::string> cells;
    for (int c = 1; c < sheet.ColumnCount(); ++c) cells.emplace_back(sheet.Cell(c, row));
    return cells;
}

using Cells = std::vector<std::string>;

} // namespace qbm::test
