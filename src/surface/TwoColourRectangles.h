#pragma once
// A picture of two colours as rectangles: its background over the whole picture, then the runs of the
// other colour, each run carried down as long as the pixel rows below repeat it. Painted in that
// order on a device that keeps shapes they give exactly the picture's pixels at the picture's size,
// and for symbols made of rows (PDF417, bars) far fewer bytes than the picture itself.

#include "surface/Graphics.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qbm {

struct TTwoColourRectangles {
    uint32_t background = 0; // stored pixel values (opaque 0xAARRGGBB)
    uint32_t ink = 0;
    std::vector<TRect> inkRects; // relative to the picture's top-left corner
};

// Reads width x height opaque 32-bit pixels. Nothing when the picture has a third colour or a
// transparent pixel, or when it would take more than maxRects rectangles.
std::optional<TTwoColourRectangles> TwoColourRectangles(const uint8_t* bits, std::ptrdiff_t stride, int width,
                                                        int height, size_t maxRects);

} // namespace qbm
