#pragma once
// What a symbol is made of besides its text: the symbology and the options it has.

#include "symbols/TSymbology.h"

#include <cstdint>

namespace qbm {

// QR Code and Micro QR error correction: Auto leaves the choice to the encoder (for QR Code the
// highest level that still fits the smallest version holding the text at level L).
enum class TQrEcc : uint8_t { Auto, L, M, Q, H };

enum class TDataMatrixShape : uint8_t { Square, Rectangle, Auto };

struct TSymbolSettings {
    TSymbology symbology = TSymbology::QrCode;
    TQrEcc qrEcc = TQrEcc::Auto;
    // QR Code 1 to 40, Micro QR 1 to 4 (M1 to M4); 0 chooses the smallest that holds the text.
    int version = 0;
    TDataMatrixShape shape = TDataMatrixShape::Square;
    // Data Matrix size as rows x columns (10 x 10 to 144 x 144, 8 x 18 to 16 x 48); 0 chooses.
    int rows = 0;
    int columns = 0;
    // Data Matrix: the text is a GS1 element string, "(01)09501101530003(17)251231", encoded with FNC1.
    bool gs1 = false;
    // Aztec error correction in per cent of the data: 0 for the standard's recommended 23 %.
    int aztecEccPercent = 0;
    // Human-readable text under the linear symbols.
    bool showText = true;
    friend bool operator==(const TSymbolSettings&, const TSymbolSettings&) = default;
};

} // namespace qbm
