#pragma once
// GS1 element strings in their printed form, "(01)09501101530003(17)251231(10)AB12": split into
// identifiers and data and checked before anything is encoded.

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

struct TGs1Element {
    std::string ai;
    std::string data;
    friend bool operator==(const TGs1Element&, const TGs1Element&) = default;
};

// The elements in their order; ESymbolError naming the identifier when one is unknown, its data has the
// wrong length or characters, a check digit is wrong or a date does not exist.
std::vector<TGs1Element> ParseGs1ElementString(std::string_view text);

// The GS1 mod-10 check digit of the digits (weights 3, 1, 3 ... from the right).
int Gs1CheckDigit(std::string_view digits);

} // namespace qbm
