#pragma once
// Reed-Solomon check codewords of Data Matrix ECC 200: GF(256) with the field polynomial
// x^8+x^5+x^3+x^2+1 (301), generator roots a^1 to a^n, interleaved over the symbol's blocks.

#include "symbols/DataMatrixSizes.h"

#include <cstdint>
#include <vector>

namespace qbm {

// Appends the size's check codewords to its `size.dataCodewords` data codewords: block b holds data
// codewords b, b + blocks, ...; its check codewords go to the same places after the data.
void AppendDataMatrixEcc(std::vector<uint8_t>& codewords, const TDataMatrixSize& size);

} // namespace qbm
