#pragma once
// Where each bit of a MaxiCode symbol's codewords sits in the 33-row hexagonal grid.

#include <cstdint>

namespace qbm {

constexpr int kMaxiCodeRows = 33;
constexpr int kMaxiCodeColumns = 30;

// Value of the module map at (row, column): n >= 1 is bit n of the stream (bit 5 - (n - 1) mod 6 of
// codeword (n - 1) div 6), -1 an always-dark orientation module, 0 nothing, -2 the centre.
// Positions outside the grid read as 0.
int MaxiCodeModuleAt(int row, int column);

} // namespace qbm
