#include "surface/CanvasText.h"

#include "util/Text.h"

#include <algorithm>
#include <array>

namespace qbm {
namespace {

// Windows-1252 at 0x80-0x9F; 0 where it has no character.
constexpr std::array<char16_t, 32> kWindows1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<unsigned char> CodeOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (size_t i = 0; i < kWindows1252.size(); ++i)
        if (kWindows1252[i] != 0 && kWindows1252[i] == c) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

} // namespace

char32_t CanvasCodeChar(unsigned char code) {
    if (code < 0x80 || code > 0x9F || kWindows1252[code - 0x80] == 0) return code;
    return kWindows1252[code - 0x80];
}

std::optional<std::string> CanvasSingleBytes(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    std::string codes;
    codes.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto [c, length] = Utf8At(text, i);
        // A byte that is no UTF-8 stands for its Latin-1 character, which for 0x80-0x9F is a
        // control code only the shaper draws (as nothing).
        const char32_t ch = length == 0 ? static_cast<unsigned char>(text[i]) : c;
        if (length == 0 && ch >= 0x80 && ch <= 0x9F) return std::nullopt;
        const std::optional<unsigned char> code = CodeOf(ch);
        if (!code) return std::nullopt;
        codes += static_cast<char>(*code);
        i += length == 0 ? 1 : length;
    }
    return codes;
}

QString CanvasQString(std::string_view text) {
    if (const auto codes = CanvasSingleBytes(text)) {
        QString s;
        s.reserve(static_cast<qsizetype>(codes->size()));
        for (const char c : *codes)
            s += QChar(static_cast<char16_t>(CanvasCodeChar(static_cast<unsigned char>(c))));
        return s;
    }
    if (FitsLatin1(text)) {
        const std::string latin1 = Utf8ToLatin1Replacing(text);
        return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace qbm
