#pragma once
// Our QR Code encoder (model 2, versions 1 to 40): UTF-8 text to modules.

#include "symbols/QrCodeMatrix.h"
#include "symbols/TSymbolSettings.h"

#include <string_view>

namespace qbm {

struct TQrCode {
    int version = 0;
    TQrLevel level = TQrLevel::L;
    int mask = 0;
    TQrMatrix modules;
};

// The symbol for the text: ASCII as it is, Latin-1 text as Latin-1 bytes behind ECI 3, anything beyond
// as UTF-8 behind ECI 26. `version` 0 takes the smallest that holds the text; TQrEcc::Auto takes the
// smallest version at level L and then the highest level that still fits it. Throws ESymbolError
// (without the symbology's name) for a text that does not fit, invalid UTF-8, or a version beyond 40.
TQrCode EncodeQrCode(std::string_view utf8, TQrEcc ecc, int version);

} // namespace qbm
