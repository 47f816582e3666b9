#pragma once
// The ECC 200 symbol sizes of Data Matrix: modules, data regions and codewords of each.

#include <optional>

namespace qbm {

struct TDataMatrixSize {
    int rows;
    int columns;
    // Data regions down and across; each has a finder on its left and bottom edges and a timing
    // pattern on its top and right ones.
    int regionsDown = 1;
    int regionsAcross = 1;
    int dataCodewords = 0;
    int eccCodewords = 0;
    // Reed-Solomon blocks the codewords are interleaved over.
    int blocks = 1;

    int RegionRows() const { return rows / regionsDown - 2; }
    int RegionColumns() const { return columns / regionsAcross - 2; }
};

// The position of the size in the standard's table (1 to 24 square, 25 to 30 rectangular), the
// number the size option stores; nothing for a size the standard does not have.
std::optional<int> DataMatrixSizeIndex(int rows, int columns);
const TDataMatrixSize& DataMatrixSizeAt(int index);
inline constexpr int kFirstRectangularSize = 25;
inline constexpr int kDataMatrixSizeCount = 30;

} // namespace qbm
