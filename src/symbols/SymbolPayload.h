#pragma once
// The bytes a matrix symbol carries for a UTF-8 text, and the ECI that names their character set.

#include <cstdint>
#include <string_view>
#include <vector>

namespace qbm {

struct TSymbolPayload {
    std::vector<uint8_t> bytes;
    int eci = 0;
};

// ASCII as it is (no ECI), Latin-1 text as Latin-1 bytes behind ECI 3, anything beyond as UTF-8 behind
// ECI 26: readers guess at unmarked bytes (a Latin-1 accent often comes back as a Japanese
// character). Throws ESymbolError "Invalid UTF-8 in input data" for anything but well-formed UTF-8.
TSymbolPayload SymbolPayload(std::string_view utf8);

} // namespace qbm
