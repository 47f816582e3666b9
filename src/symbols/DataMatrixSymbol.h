#pragma once
// Data Matrix labels through our own encoder, as the geometry every painter draws.

#include "surface/TSymbolGeometry.h"
#include "symbols/TSymbolSettings.h"

#include <string_view>

namespace qbm {

// The symbol for the text with its quiet zone of one module; ESymbolError says what is wrong.
TSymbolGeometry EncodeDataMatrixSymbol(const TSymbolSettings& settings, std::string_view text);

} // namespace qbm
