#pragma once
// The symbologies libzint encodes, as symbol geometries: its encoders follow the standards; matrix
// symbols come from its modules, linear ones from its vector output (bars and text in module units).

#include "surface/TSymbolGeometry.h"
#include "symbols/TSymbolSettings.h"

#include <string_view>

namespace qbm {

// The symbol for the UTF-8 text. Texts beyond Latin-1 go into QR Code, Data Matrix and Aztec as UTF-8
// behind an ECI; GS1 texts are element strings, checked before encoding. QR Code is our own encoder's
// (QrCodeSymbol.h), Data Matrix too (DataMatrixSymbol.h), the others libzint's. ESymbolError names what is
// wrong.
TSymbolGeometry EncodeSymbol(const TSymbolSettings& settings, std::string_view text);

} // namespace qbm
