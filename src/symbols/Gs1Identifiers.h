#pragma once
// The GS1 application identifiers and the form of their data.

#include <optional>
#include <string_view>

namespace qbm {

enum class TGs1Check : unsigned char {
    None,
    CheckDigit,        // the last of the digits is a GS1 mod-10 check digit
    Date,              // YYMMDD; DD 00 stands for the month's last day
    LeadingCheckDigit, // the first 13 digits carry a check digit, free text may follow
};

struct TGs1Identifier {
    std::string_view ai;
    int minLength;
    int maxLength;
    bool numeric;
    TGs1Check check = TGs1Check::None;
};

// The identifier the element string continues with (two to four digits), when it is one GS1 defines.
std::optional<TGs1Identifier> FindGs1Identifier(std::string_view ai);

} // namespace qbm
