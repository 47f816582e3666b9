#pragma once
// EAN/UPC helpers shared with the text drawing: UPC-E expansion and the supplement check digit.

#include "barcode/Encoders.h"
#include "barcode/TBarcodeTypes.h"

#include <string>
#include <string_view>

namespace qbm {

// The eleven-digit UPC-A form (without check digit) of a seven-digit UPC-E code whose first digit is
// the number system "0" or "1". Any other first digit throws EConvertError
// "'' is not a valid integer value".
std::string ExpandUpcE(const std::string& s);

// The check digit of a 2- or 5-digit supplement: weights 3 and 9 alternating from the rightmost
// digit, weighted sum mod 10.
char SupplementCheckDigit(const std::string& digits);

// The digits an EAN-8 (8), EAN-13 (13) or UPC-A (12) stands for, check digit included. A value
// shorter than `length` is padded to `length` - 1 digits and gets its check digit whatever `checksum`
// says; with `checksum` on, the first `length` - 1 digits are taken and the check digit made anew.
// With it off, a value of `length` digits or more keeps its first `length`, whose last digit must be
// the right check digit: EBarcodeError "The check digit of 5901234123458 should be 7." otherwise.
std::string FixedLengthDigits(std::string_view text, size_t length, bool checksum, TCheckSumMethod method);

// The eight digits a UPC-E0 or UPC-E1 symbol stands for: number system, the six digits in the bars
// and the check digit their parity carries. The human-readable text of both types.
std::string UpcEText(const TLinearInput& in);

} // namespace qbm
