#pragma once
// The one string-to-integer conversion of the product: leading blanks, an optional sign, decimal,
// or hexadecimal after "$", "x" or "0x". Trailing characters, an empty text or an overflow fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qbm {

std::optional<int32_t> TryStrToInt(std::string_view s);
std::optional<int64_t> TryStrToInt64(std::string_view s);

// Throws EConvertError "'<s>' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);

std::string IntToStr(int64_t v);

// The conversion error's message for a text.
std::string InvalidIntegerMessage(std::string_view s);

} // namespace qbm
