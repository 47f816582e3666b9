#pragma once
// The PDF417 codeword patterns: one table of 929 17-module patterns per cluster (0, 3, 6 in that order).

#include <cstdint>

namespace qbm {

extern const uint32_t kPdf417Patterns[3][929];

} // namespace qbm
