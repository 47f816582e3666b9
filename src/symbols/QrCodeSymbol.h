#pragma once
// QR Code labels through our own encoder, as the geometry every painter draws.

#include "surface/TSymbolGeometry.h"
#include "symbols/QrCodeMatrix.h"
#include "symbols/TSymbolSettings.h"

#include <string_view>

namespace qbm {

// The modules with the standard's quiet zone of four: as rows, and as rectangles, each row's dark
// runs stacked on equal runs above them.
TSymbolGeometry QrCodeGeometry(const TQrMatrix& modules);

// The QR Code for the text; ESymbolError names the symbology and what is wrong.
TSymbolGeometry EncodeQrCodeSymbol(const TSymbolSettings& settings, std::string_view text);

} // namespace qbm
