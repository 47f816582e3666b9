#pragma once
// Reed-Solomon check codewords of MaxiCode over GF(64) (field polynomial x^6 + x + 1).

#include <array>
#include <cstdint>
#include <span>

namespace qbm {

// Product in GF(64) with primitive element 2; addition is XOR.
int MaxiCodeGfMultiply(int a, int b);

// Coefficients c[0..n-1] (lowest degree first, the leading 1 left out) of
// g(x) = (x - a)(x - a^2)...(x - a^n) for n = 10, 20 or 28 check codewords; empty for other n.
std::span<const uint8_t> MaxiCodeGenerator(int checkCount);

// Computes `checkCount` check codewords over the data codewords at first, first + step, ... (count of
// them) and writes them at checkFirst, checkFirst + step, ... (highest register first).
void AddMaxiCodeCheckBlock(std::span<uint8_t> codewords, int first, int step, int count, int checkFirst,
                           int checkCount);

// Check codewords of a whole symbol: the primary message (codewords 0..9 → 10..19) and the two
// interleaved secondary blocks, 20 check codewords each (standard) or 28 each (enhanced, mode 5).
void CalcMaxiCodeErrorCorrection(std::span<uint8_t> codewords, bool enhanced);

} // namespace qbm
