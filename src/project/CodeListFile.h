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

// Empties `list`, then fills it with the file's lines. Throws EInOutError when the file cannot be
// read, leaving the list empty.
void ImportCodeList(const std::string& path, std::vector<std::string>& list);

} // namespace qbm
