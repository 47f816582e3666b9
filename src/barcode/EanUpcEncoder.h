#pragma once
// EAN/UPC helpers shared with the text drawing: UPC-E expansion and the supplement check digit.

#include <string>

namespace qbm {

class TBarcode;

// The eleven-digit UPC-A form (without check digit) of a seven-digit UPC-E code whose first digit is
// the number system "0" or "1". Any other first digit throws EConvertError
// "'' is not a valid integer value".
std::string ExpandUpcE(const std::string& s);

// The check digit of a 2- or 5-digit supplement: weights 3 and 9 alternating from the rightmost
// digit, weighted sum mod 10.
char SupplementCheckDigit(const std::string& digits);

// The eight digits a UPC-E0 or UPC-E1 symbol stands for: number system, the six digits in the bars
// and the check digit their parity carries. The human-readable text of both types.
std::string UpcEText(const TBarcode& bc);

} // namespace qbm
