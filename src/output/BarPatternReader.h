#pragma once
// Reading back the symbologies general barcode readers leave out (MSI, PostNet, 2 of 5 industrial and
// 2 of 5 matrix): the bars of a picture become element widths, the widths characters, and the
// characters are checked against the symbology's own rules (check digit, start and stop patterns).

#include "barcode/TBarcodeTypes.h"
#include "output/TGreyPicture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

// One element of a scanned line: a bar or the gap after it. `shortBar` marks PostNet's half bars.
struct TBarRun {
    int width = 0;
    bool bar = true;
    bool shortBar = false;
};

bool HasBarPatternReader(TBarcodeType type);

// Luhn's modulo 10 (every other digit doubled from the rightmost), the check digit MSI adds.
char LuhnCheckDigit(const std::string& digits);

// The text the elements carry (MSI with its check digit), or nothing when they are no valid symbol of
// the type. The runs begin and end with a bar; the quiet zones are not part of them.
std::optional<std::string> DecodeBarRuns(TBarcodeType type, const std::vector<TBarRun>& runs);

// Scans the picture across its lines, turned by 0, 90, 180 and 270 degrees, and returns the first
// line that decodes.
std::optional<std::string> ReadBarPattern(TBarcodeType type, const TGreyPicture& picture);

} // namespace qbm
