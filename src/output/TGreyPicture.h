#pragma once
// A label picture as barcode readers take it: one grey byte per pixel, row by row.

#include "surface/TBitmap.h"

#include <cstdint>
#include <vector>

namespace qbm {

struct TGreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    static TGreyPicture Of(const TBitmap& bitmap) {
        return {bitmap.Width(), bitmap.Height(), bitmap.Luminance()};
    }
};

} // namespace qbm
