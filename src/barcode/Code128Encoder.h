#pragma once
// Code 128 helpers shared with the text drawing: the backslash escapes of Code128Auto texts.

#include <string>

namespace qbm {

// Replaces each backslash escape of one to three decimal digits ("\9", "\30", "\193") by the character
// of that code (convert = true) or by nothing (convert = false, the displayed text). A backslash not
// followed by a digit is kept together with the character after it; a lone trailing backslash stays.
std::string ParseEscapes(const std::string& text, bool convert);

} // namespace qbm
