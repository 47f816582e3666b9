#pragma once
// A QR Code's modules as rows of bits, and the fixed layout of each version: the function patterns,
// the modules they take and the order in which the codewords' bits fill the rest.

#include "symbols/QrCodeTables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qbm {

// A row (or column) of up to 177 modules, bit j of word j / 64 for module j; 1 is dark.
constexpr int kQrRowWords = 3;
using TQrRow = std::array<uint64_t, kQrRowWords>;

struct TQrMatrix {
    int size = 0;
    std::vector<TQrRow> rows;

    explicit TQrMatrix(int modules = 0) : size(modules), rows(static_cast<size_t>(modules)) {}
    bool Dark(int row, int column) const {
        return (rows[static_cast<size_t>(row)][static_cast<size_t>(column >> 6)] >> (column & 63)) & 1;
    }
    void Set(int row, int column, bool dark) {
        uint64_t& w = rows[static_cast<size_t>(row)][static_cast<size_t>(column >> 6)];
        const uint64_t bit = uint64_t{1} << (column & 63);
        w = dark ? (w | bit) : (w & ~bit);
    }
    friend bool operator==(const TQrMatrix&, const TQrMatrix&) = default;
};

struct TQrLayout {
    int version = 0;
    // Finder, separators, timing, alignment, version information and the dark module; the format
    // information's modules are light here, it depends on the mask.
    TQrMatrix functions;
    // 1 where a codeword bit goes.
    TQrMatrix dataArea;
    // The two above transposed: the columns as rows, for the penalty rules down the columns.
    TQrMatrix functionColumns;
    TQrMatrix dataColumns;
    // Row and column of every codeword bit in the order they are placed.
    std::vector<std::array<uint8_t, 2>> path;
};

// Built once for each version and kept.
const TQrLayout& QrLayout(int version);

// The 15 format bits (level and mask with their BCH check, masked) at their two places.
void QrDrawFormat(TQrMatrix& m, TQrLevel level, int mask);
uint32_t QrFormatBits(TQrLevel level, int mask);
// Where format bit i lies in its first or second copy, as {row, column}.
std::array<int, 2> QrFormatPlace(int i, int size, bool second);
TQrMatrix QrTransposed(const TQrMatrix& m);

} // namespace qbm
