#pragma once
// What a scanner should read from a label: the value its source gives, with the check digits and
// padding the symbology adds, in the form scanners hand it on.

#include "barcode/TBarcodeTypes.h"

#include <optional>
#include <string>

namespace qbm {

class TBarcode;

// The reading expected from a linear label drawn with the barcode's settings and carrying `value`.
std::string ExpectedLinearReading(const TBarcode& settings, const std::string& value);

// Whether a reading equals the expected one. An EAN-13 whose first digit is 0 is the UPC-A of the
// other twelve digits, and either reading is right.
bool ReadingMatches(TBarcodeType type, const std::string& expected, const std::string& read);

// The bytes a 2D label carrying `code` holds, its character escapes resolved; nothing when the code
// holds escapes for codewords, code pages or structure, whose reading is no plain text to compare.
std::optional<std::string> Expected2DReading(const std::string& code);

} // namespace qbm
