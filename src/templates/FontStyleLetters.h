#pragma once
// Font styles as the template library stores them: "I", "B", "U", "S" for italic, bold, underline
// and strike-out.

#include "surface/TFont.h"

#include <string>
#include <string_view>

namespace qbm {

// The letters in the order I, B, U, S; empty for a plain font.
std::string StyleToLetters(TFontStyles style);
// Every style whose letter occurs anywhere, in either case; other characters are ignored.
TFontStyles LettersToStyle(std::string_view letters);

} // namespace qbm
