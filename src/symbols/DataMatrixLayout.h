#pragma once
// A Data Matrix symbol's modules as rows of bits, and the fixed layout of each size: finders, timing
// patterns and the place of every codeword bit.

#include "symbols/QrCodeMatrix.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qbm {

// Up to 144 modules a row, bit j of word j / 64 for module j; 1 is dark.
struct TDataMatrixModules {
    int rows = 0;
    int columns = 0;
    std::vector<TQrRow> bits;

    TDataMatrixModules() = default;
    TDataMatrixModules(int rowCount, int columnCount)
        : rows(rowCount), columns(columnCount), bits(static_cast<size_t>(rowCount)) {}
    bool Dark(int row, int column) const {
        return (bits[static_cast<size_t>(row)][static_cast<size_t>(column >> 6)] >> (column & 63)) & 1;
    }
    void Set(int row, int column) {
        bits[static_cast<size_t>(row)][static_cast<size_t>(column >> 6)] |= uint64_t{1} << (column & 63);
    }
    friend bool operator==(const TDataMatrixModules&, const TDataMatrixModules&) = default;
};

struct TDataMatrixLayout {
    // Finders and timing patterns of every data region, and the fixed corner pattern of the sizes
    // whose codewords leave the bottom-right corner empty.
    TDataMatrixModules functions;
    // Row and column of every codeword bit, eight a codeword from the most significant bit.
    std::vector<std::array<uint8_t, 2>> path;
};

// For the size's position in the standard's table (1 to 30); built once for each size and kept.
const TDataMatrixLayout& DataMatrixLayout(int sizeIndex);

} // namespace qbm
