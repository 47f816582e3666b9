#pragma once
// Direct access to the 32-bit pixel rows behind a bitmap's canvas, for engines that fill many small
// areas (module rows, hexagons, rings): a canvas call per module costs more than the module's pixels.

#include "surface/Graphics.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qbm {

struct TPixelRows {
    uint8_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    // The stored form of a colour (opaque 0xAARRGGBB).
    static constexpr uint32_t Value(TColor c) {
        return 0xFF000000u | (static_cast<uint32_t>(RedOf(c)) << 16) | (static_cast<uint32_t>(GreenOf(c)) << 8) |
               static_cast<uint32_t>(BlueOf(c));
    }

    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(bits + y * stride); }

    // Fills left <= x < right, top <= y < bottom, clipped to the picture.
    void Fill(int left, int top, int right, int bottom, uint32_t value) const {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width);
        bottom = std::min(bottom, height);
        if (right <= left) return;
        for (int y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + right, value);
    }
};

} // namespace qbm
