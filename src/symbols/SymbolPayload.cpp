#include "symbols/SymbolPayload.h"

#include "symbols/ESymbolError.h"

namespace qbm {
namespace {

constexpr int kLatin1Eci = 3;
constexpr int kUtf8Eci = 26;

[[noreturn]] void InvalidUtf8() {
    throw ESymbolError("Invalid UTF-8 in input data");
}

// The length of the well-formed UTF-8 sequence at `i` (shortest form, no surrogates, at most
// U+10FFFF); throws otherwise.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto at = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned lead = at(i);
    const auto continuation = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        const unsigned b = at(k);
        if (k >= s.size() || b < lo || b > hi) InvalidUtf8();
    };
    if (lead < 0x80) return 1;
    if (lead < 0xC2) InvalidUtf8();
    if (lead < 0xE0) {
        continuation(i + 1);
        return 2;
    }
    if (lead < 0xF0) {
        continuation(i + 1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF);
        continuation(i + 2);
        return 3;
    }
    if (lead > 0xF4) InvalidUtf8();
    continuation(i + 1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF);
    continuation(i + 2);
    continuation(i + 3);
    return 4;
}

} // namespace

TSymbolPayload SymbolPayload(std::string_view utf8) {
    TSymbolPayload p;
    bool beyondLatin1 = false, beyondAscii = false;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = SequenceLength(utf8, i);
        beyondAscii |= n > 1;
        beyondLatin1 |= n > 2 || static_cast<unsigned char>(utf8[i]) >= 0xC4;
        i += n;
    }
    if (beyondLatin1 || !beyondAscii) {
        p.bytes.assign(utf8.begin(), utf8.end());
        p.eci = beyondLatin1 ? kUtf8Eci : 0;
        return p;
    }
    p.eci = kLatin1Eci;
    p.bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            p.bytes.push_back(b);
        } else {
            p.bytes.push_back(
                static_cast<uint8_t>((b & 0x1F) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
            ++i;
        }
    }
    return p;
}

} // namespace qbm
