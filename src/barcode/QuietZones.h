#pragma once
// The white space each symbology needs beside its bars for a scanner to find where the symbol starts
// and ends, in modules (the narrowest element).

#include "barcode/TBarcodeTypes.h"

namespace qbm {

struct TQuietZone {
    int left = 0;
    int right = 0;
};

// EAN and UPC 11 modules left and 7 right (the left one also holds the number system digit);
// every other linear symbology 10 on both sides.
TQuietZone LinearQuietZone(TBarcodeType type);

// PDF417 2 modules on every side, MaxiCode 1.
inline constexpr int kPdf417QuietModules = 2;
inline constexpr int kMaxiCodeQuietModules = 1;

} // namespace qbm
