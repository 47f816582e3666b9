#pragma once
// Direct access to the 32-bit pixel rows behind a bitmap's canvas, for engines that fill many small
// areas (module rows, hexagons, rings): a canvas call per module costs more than the module's pixels.

#include "surface/Graphics.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

    // Sets n pixels from p with a few overlapping wide stores: runs of a module or a bar are a few
    // pixels long.
    static void FillRun(uint32_t* p, int n, uint32_t value) {
        const uint32_t quad[4] = {value, value, value, value};
        if (n >= 4) {
            uint32_t* const last = p + n - 4;
            for (; p < last; p += 4) std::memcpy(p, quad, sizeof quad);
            std::memcpy(last, quad, sizeof quad);
        } else if (n >= 2) {
            std::memcpy(p, quad, 8);
            std::memcpy(p + n - 2, quad, 8);
        } else if (n == 1) {
            *p = value;
        }
    }

    // Fills left <= x < right, top <= y < bottom, clipped to the picture. Bars and modules are a few
    // pixels wide: the store for one row is chosen once per box, so the row loop is a store or two
    // and a step, not a loop of single pixels.
    void Fill(int left, int top, int right, int bottom, uint32_t value) const {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width);
        bottom = std::min(bottom, height);
        const int n = right - left;
        if (n <= 0 || bottom <= top) return;
        uint8_t* p = bits + top * stride + left * 4;
        // White, the background of every picture and page, is one byte repeated: the library's
        // block fill does it, in one go where the rows follow each other without a gap.
        if (value == 0xFFFFFFFFu && n > 8) {
            if (left == 0 && right == width && stride == std::ptrdiff_t{4} * width) {
                std::memset(p, 0xFF, static_cast<size_t>(bottom - top) * stride);
                return;
            }
            for (; top < bottom; ++top, p += stride) std::memset(p, 0xFF, static_cast<size_t>(n) * 4);
            return;
        }
        uint8_t* const end = bits + bottom * stride + left * 4;
        const uint32_t quad[4] = {value, value, value, value};
        switch (n) {
        case 1:
            for (; p != end; p += stride) std::memcpy(p, quad, 4);
            break;
        case 2:
            for (; p != end; p += stride) std::memcpy(p, quad, 8);
            break;
        case 3:
            for (; p != end; p += stride) {
                std::memcpy(p, quad, 8);
                std::memcpy(p + 4, quad, 8);
            }
            break;
        case 4:
            for (; p != end; p += stride) std::memcpy(p, quad, 16);
            break;
        case 5:
        case 6:
        case 7:
        case 8:
            for (; p != end; p += stride) {
                std::memcpy(p, quad, 16);
                std::memcpy(p + (n - 4) * 4, quad, 16);
            }
            break;
        default:
            for (; p != end; p += stride) {
                uint8_t* const last = p + (n - 4) * 4;
                for (uint8_t* q = p; q < last; q += 16) std::memcpy(q, quad, 16);
                std::memcpy(last, quad, 16);
            }
            break;
        }
    }
};

} // namespace qbm
