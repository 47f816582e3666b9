#include "util/IntConversion.h"

#include "util/Errors.h"

#include <limits>

namespace qbm {
namespace {

// Parses into a 64-bit value; hexadecimal may use the full unsigned width of `bits` (so "$FFFFFFFF"
// is -1 for 32 bits, as the platform conversion reads it).
std::optional<int64_t> Parse(std::string_view s, int bits) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    const uint64_t limitHex = bits == 32 ? 0xFFFFFFFFull : std::numeric_limits<uint64_t>::max();
    const uint64_t limitDec = bits == 32 ? (negative ? 2147483648ull : 2147483647ull)
                                         : (negative ? 9223372036854775808ull : 9223372036854775807ull);
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        const uint64_t base = hex ? 16 : 10;
        const uint64_t limit = hex ? limitHex : limitDec;
        if (v > (limit - d) / base) return std::nullopt;
        v = v * base + d;
    }
    int64_t r;
    if (hex && bits == 32)
        r = static_cast<int32_t>(static_cast<uint32_t>(v));
    else
        r = static_cast<int64_t>(v);
    if (negative) r = static_cast<int64_t>(0ull - static_cast<uint64_t>(r));
    if (bits == 32) r = static_cast<int32_t>(r);
    return r;
}

} // namespace

std::optional<int32_t> TryStrToInt(std::string_view s) {
    const auto v = Parse(s, 32);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<int64_t> TryStrToInt64(std::string_view s) {
    return Parse(s, 64);
}

std::string InvalidIntegerMessage(std::string_view s) {
    return "'" + std::string(s) + "' is not a valid integer value";
}

int32_t StrToInt(std::string_view s) {
    const auto v = TryStrToInt(s);
    if (!v) throw EConvertError(InvalidIntegerMessage(s));
    return *v;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
    return TryStrToInt(s).value_or(def);
}

std::string IntToStr(int64_t v) {
    return std::to_string(v);
}

} // namespace qbm
