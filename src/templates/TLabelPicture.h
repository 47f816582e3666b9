#pragma once
// The label picture that the page preview shows and the print loop takes its size from, with the
// status text that names the barcode type.

#include "surface/TBitmap.h"

#include <string>

namespace qbm {

struct TLabelPicture {
    TBitmap Bitmap;
    std::string StatusText; // "Barcode Type: <name> "
};

} // namespace qbm
