#pragma once
// Data Matrix ECC 200 encodation: the data to codewords in ASCII, C40, Text, X12, EDIFACT and Base 256,
// switching schemes wherever that saves codewords, padded to the symbol's size.

#include <cstdint>
#include <span>
#include <vector>

namespace qbm {

// FNC1 among the data's bytes: the start of a GS1 symbol and the separator after a variable-length
// element string.
inline constexpr uint16_t kDataMatrixFnc1 = 256;

// The fewest data codewords for `data` (bytes, and kDataMatrixFnc1) behind an ECI designator when
// `eci` is not 0, padded to fill the smallest of `capacities` (data codewords of the sizes allowed,
// ascending) that holds them. Empty when none does.
std::vector<uint8_t> DataMatrixCodewords(std::span<const uint16_t> data, int eci,
                                         std::span<const int> capacities);

} // namespace qbm
