#pragma once
// Code 128 helpers shared with the text drawing: the backslash escapes of Code128Auto texts.

#include "barcode/TBarcodeTypes.h"

#include <string>
#include <string_view>

namespace qbm {

// Replaces each backslash escape of one to three decimal digits ("\9", "\30", "\193") by the character
// of that code (convert = true) or by nothing (convert = false, the displayed text). A backslash not
// followed by a digit is kept together with the character after it; a lone trailing backslash stays.
std::string ParseEscapes(const std::string& text, bool convert);

// Whether an EAN-128 C value has the length its application identifier fixes. The serial shipping
// container code (00) takes 17 digits and the trade item numbers (01, 02) 13, each before the check
// digit the encoder appends; with `method` csmNone nothing is appended, so the value carries it. Other
// identifiers, and a value of two characters or fewer, have no fixed length here.
bool Ean128FixedLengthFits(std::string_view digits, TCheckSumMethod method = csmModulo10);

} // namespace qbm
