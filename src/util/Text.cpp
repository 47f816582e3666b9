#include "util/Text.h"

#include <utility>

namespace qbm {

std::string TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlankOrControl(s[b])) ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsBlankOrControl(s[e - 1])) --e;
    return std::string(s.substr(0, e));
}

std::string_view TrimmedView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlankOrControl(s[b])) ++b;
    while (e > b && IsBlankOrControl(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool IsBlank(std::string_view s) {
    return TrimmedView(s).empty();
}

std::string Trim(std::string_view s) {
    return std::string(TrimmedView(s));
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (unsigned char c : s) {
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

std::string Utf8ToLatin1(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size() &&
            (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            r += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
            ++i;
        } else {
            r += static_cast<char>(c); // not representable: kept as the byte it is
        }
    }
    return r;
}

} // namespace qbm

namespace qbm {

std::pair<char32_t, size_t> Utf8At(std::string_view s, size_t at) {
    const auto b0 = static_cast<unsigned char>(s[at]);
    if (b0 < 0x80) return {b0, 1};
    const size_t length = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
    if (length == 0 || at + length > s.size()) return {0, 0};
    char32_t c = b0 & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[at + k]);
        if ((b & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (b & 0x3F);
    }
    return {c, length};
}

std::string Utf8ToLatin1Replacing(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto [c, length] = Utf8At(s, i);
        if (length == 0) {
            r += s[i++];
            continue;
        }
        r += c <= 0xFF ? static_cast<char>(c) : '?';
        i += length;
    }
    return r;
}

bool FitsLatin1(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++i;
            continue;
        }
        const auto [c, length] = Utf8At(utf8, i);
        if (length != 0 && c > 0xFF) return false;
        i += length == 0 ? 1 : length;
    }
    return true;
}

} // namespace qbm
