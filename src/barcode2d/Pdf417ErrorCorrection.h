#pragma once
// Reed-Solomon error correction of PDF417 over GF(929).

#include <cstdint>
#include <vector>

namespace qbm {

// Coefficients a[0..k-1] of g(x) = (x - 3)(x - 3^2)...(x - 3^k) = x^k + a[k-1]x^(k-1) + ... + a[0],
// reduced into 0..928, for k = 2^(level + 1), level 0..8.
const std::vector<int>& Pdf417GeneratorCoefficients(int level);

// Computes the k check codewords of codewords[0..n-1] and stores them in codewords[n..n+k-1].
void CalcPdf417ErrorCorrection(uint16_t* codewords, int n, int k);

} // namespace qbm
