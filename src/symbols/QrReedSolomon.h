#pragma once
// Reed-Solomon check codewords over GF(256) with the QR Code field polynomial x^8+x^4+x^3+x^2+1.

#include <cstdint>
#include <span>

namespace qbm {

// Writes the `ecc.size()` check codewords of `data` into `ecc`.
void QrReedSolomon(std::span<const uint8_t> data, std::span<uint8_t> ecc);

} // namespace qbm
