#pragma once
// The symbology of a barcode object, by the name qbm uses on its command line: one of the linear
// types ("bcCodeEAN13"), PDF417 and MaxiCode ("pdf417", "maxicode"), or a symbol of the symbols'
// encoders ("qrcode", "datamatrix", "aztec", "microqr", "bcCodeDataBar" ...).

#include "barcode/TBarcodeTypes.h"
#include "symbols/TSymbology.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qbm {

enum class TEngine2D { Pdf417, MaxiCode };

using TDesignSymbology = std::variant<TBarcodeType, TEngine2D, TSymbology>;

std::optional<TDesignSymbology> DesignSymbologyByName(std::string_view name);
// Every name DesignSymbologyByName takes, in the order a list shows them.
std::vector<std::string> DesignSymbologyNames();

} // namespace qbm
