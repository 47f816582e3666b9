#pragma once
// The ECC 200 symbol sizes of Data Matrix, as rows x columns.

#include <optional>

namespace qbm {

struct TDataMatrixSize {
    int rows;
    int columns;
};

// The position of the size in the standard's table (1 to 24 square, 25 to 30 rectangular), the
// number libzint takes; nothing for a size the standard does not have.
std::optional<int> DataMatrixSizeIndex(int rows, int columns);
TDataMatrixSize DataMatrixSizeAt(int index);
inline constexpr int kFirstRectangularSize = 25;
inline constexpr int kDataMatrixSizeCount = 30;

} // namespace qbm
