#pragma once
// EAN/UPC helpers shared with the text drawing: UPC-E expansion and the supplement check digit.

#include <string>

namespace qbm {

// The eleven-digit UPC-A form (without check digit) of a seven-digit UPC-E code whose first digit is
// the number system "0" or "1". Any other first digit throws EConvertError
// "'' is not a valid integer value".
std::string ExpandUpcE(const std::string& s);

// The check digit of a 2- or 5-digit supplement: weights 3 and 9 alternating from the rightmost
// digit, weighted sum mod 10.
char SupplementCheckDigit(const std::string& digits);

} // namespace qbm
