#pragma once
// Pictures a label shows (a logo, a product photo): PNG, JPEG or SVG bytes drawn at the size they
// print at, so that a vector logo stays sharp at any printer's resolution.

#include "surface/TBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qbm {

// The picture scaled into `width` x `height` pixels with its aspect kept (the result is as large as
// fits), transparent parts white as the label, then turned counter-clockwise by `degrees` (0, 90,
// 180 or 270). Throws EInOutError naming `what` when the bytes do not decode.
TBitmap DecodePicture(const std::vector<uint8_t>& bytes, int width, int height, int degrees,
                      const std::string& what);

} // namespace qbm
