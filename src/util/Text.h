#pragma once
// Text helpers on 8-bit strings: trimming of control characters and blanks, case folding.

#include <string>
#include <string_view>

namespace qbm {

// Blanks and control characters (codes 0 to 32) are what the product trims everywhere.
inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII-only case folding, as the INI files and names compare.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);

// Latin-1 to UTF-8 and back, for the edges where text meets Qt or the terminal.
std::string Latin1ToUtf8(std::string_view s);
std::string Utf8ToLatin1(std::string_view s);

} // namespace qbm
