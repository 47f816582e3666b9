#pragma once
// Text helpers on 8-bit strings: trimming of control characters and blanks, case folding.

#include <string>
#include <string_view>
#include <utility>

namespace qbm {

// Blanks and control characters (codes 0 to 32) are what the product trims everywhere.
inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string Trim(std::string_view s);
// Whether Trim would leave nothing, without making the trimmed copy.
bool IsBlank(std::string_view s);
// What Trim leaves, as a view into `s` (no copy of a long text).
std::string_view TrimmedView(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII-only case folding, as the INI files and names compare.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);

// The code point and length of the UTF-8 sequence at `at`; length 0 when the bytes there are no
// well-formed sequence.
std::pair<char32_t, size_t> Utf8At(std::string_view s, size_t at);

// One code point's UTF-8 bytes appended (readers that decode character references and UTF-16).
void AppendUtf8(std::string& out, char32_t c);

// Latin-1 to UTF-8 and back, for the edges where text meets Qt or the terminal.
std::string Latin1ToUtf8(std::string_view s);
std::string Utf8ToLatin1(std::string_view s);
// The same where the engines take the text: a character Latin-1 lacks becomes '?' rather than the
// bytes of its UTF-8 form. Bytes that are no UTF-8 at all are kept, as Latin-1 text would be.
std::string Utf8ToLatin1Replacing(std::string_view s);
// Whether every character of UTF-8 text is a Latin-1 one (bytes that are no UTF-8 count as Latin-1).
bool FitsLatin1(std::string_view utf8);

} // namespace qbm
