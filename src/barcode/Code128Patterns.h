#pragma once
// The Code 128 symbol character widths (ISO/IEC 15417, Table 1).

#include <array>

namespace qbm {

constexpr int kCode128SymbolCount = 107;
constexpr int kCode128StartA = 103;
constexpr int kCode128StartB = 104;
constexpr int kCode128StartC = 105;

// Six element widths in modules per symbol value 0..106, bar first; 106 is the stop without its
// termination bar.
extern const std::array<const char*, kCode128SymbolCount> Code128Widths;
// The complete stop: the stop symbol followed by the two-module termination bar.
extern const char* const Code128Stop;

} // namespace qbm
