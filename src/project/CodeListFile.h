#pragma once
// Code lists from text files: one code per line, empty lines included.

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

inline constexpr std::string_view kCodeListFilter =
    "Text File (One code per line)|*.txt;*.csv|All Files (*.*)|*.*";

// The lines of a text, split at CR LF, LF or a lone CR; a line end at the very end adds no entry.
std::vector<std::string> SplitCodeLines(std::string_view text);

// How the entries of a list are held: 2D codes as UTF-8 (QR Code and its kin encode any script),
// linear codes in the engines' Latin-1 ('?' for a character Latin-1 lacks).
enum class TCodeListText { ctUtf8, ctLatin1 };

// Empties `list`, then fills it with the file's lines. The file may be UTF-8 or UTF-16 with a
// byte-order mark, UTF-8 without one, or Windows-1252, as text files are. Throws EInOutError when the
// file cannot be read, leaving the list empty.
void ImportCodeList(const std::string& path, std::vector<std::string>& list,
                    TCodeListText text = TCodeListText::ctUtf8);

} // namespace qbm
