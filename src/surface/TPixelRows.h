#pragma once
// Direct access to the pixel rows behind a bitmap's canvas, for engines that fill many small areas
// (bars, module rows, hexagons, rings): a canvas call per module costs more than the module's pixels.
// Rows hold 32-bit colour pixels, or one grey byte a pixel in pictures that only ever show black and
// white (labels drawn to be read back).

#include "surface/Graphics.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace qbm {

// A box of pixels, left <= x < right, top <= y < bottom.
struct TPixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Which path FillBoxes takes: the wide one (where the processor has it) or the plain one everywhere.
enum class TRowStores { Wide, Plain };

struct TPixelRows {
    uint8_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    // Bytes a pixel takes: 4 (colour) or 1 (grey).
    int depth = 4;

    // The stored form of a colour in 32-bit rows (opaque 0xAARRGGBB).
    static constexpr uint32_t Value(TColor c) {
        return 0xFF000000u | (static_cast<uint32_t>(RedOf(c)) << 16) |
               (static_cast<uint32_t>(GreenOf(c)) << 8) | static_cast<uint32_t>(BlueOf(c));
    }
    // Its grey level, weighted as a colour picture is turned grey for the readers.
    static constexpr uint8_t GreyValue(TColor c) {
        return static_cast<uint8_t>((RedOf(c) * 11 + GreenOf(c) * 16 + BlueOf(c) * 5) / 32);
    }
    // The stored form of a colour in these rows.
    uint32_t ValueOf(TColor c) const { return depth == 1 ? GreyValue(c) : Value(c); }

    // A 32-bit row; engines that walk rows themselves take only 32-bit rows.
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

    // Fills left <= x < right, top <= y < bottom with a value of ValueOf, clipped to the picture. In
    // 32-bit rows, bars and modules are a few pixels wide and their widths vary from box to box, so a
    // box of 2 to 8 pixels takes the same two overlapping stores in every row, chosen by one
    // well-predicted test rather than a jump per width.
    void Fill(int left, int top, int right, int bottom, uint32_t value) const {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width);
        bottom = std::min(bottom, height);
        const int n = right - left;
        if (n <= 0 || bottom <= top) return;
        // A local step: the stores go through byte pointers that could alias this object, which would
        // make the member be read again after every row.
        const std::ptrdiff_t step = stride;
        if (depth == 1) {
            uint8_t* p = bits + top * step + left;
            for (; top < bottom; ++top, p += step)
                std::memset(p, static_cast<int>(value & 0xFF), static_cast<size_t>(n));
            return;
        }
        uint8_t* p = bits + top * step + left * 4;
        // White, the background of every picture and page, is one byte repeated: the library's
        // block fill does it, in one go where the rows follow each other without a gap.
        if (value == 0xFFFFFFFFu && n > 8) {
            if (left == 0 && right == width && step == std::ptrdiff_t{4} * width) {
                std::memset(p, 0xFF, static_cast<size_t>(bottom - top) * step);
                return;
            }
            for (; top < bottom; ++top, p += step) std::memset(p, 0xFF, static_cast<size_t>(n) * 4);
            return;
        }
        uint8_t* const end = bits + bottom * step + left * 4;
        if (n == 1) {
            for (; p != end; p += step) std::memcpy(p, &value, 4);
        } else if (n == 2) {
            // One store a row for the narrowest bars, the most common ones.
            const uint64_t pair = uint64_t{value} << 32 | value;
            for (; p != end; p += step) std::memcpy(p, &pair, 8);
        } else if (n <= 4) {
            StoreTwice<8>(p, end, step, (n - 2) * 4, value);
        } else if (n <= 8) {
            StoreTwice<16>(p, end, step, (n - 4) * 4, value);
        } else {
            const uint32_t quad[4] = {value, value, value, value};
            for (; p != end; p += step) {
                uint8_t* const last = p + (n - 4) * 4;
                for (uint8_t* q = p; q < last; q += 16) std::memcpy(q, quad, 16);
                std::memcpy(last, quad, 16);
            }
        }
    }

    // Fills every box, clipped to the picture. The bars of a symbol come in a few heights; where the
    // processor has masked wide stores and the bars stand close enough to pay for them, the rows are
    // written one at a time, one store for every cache line that holds any bar, and the gaps in
    // between stay untouched. Otherwise each box is filled on its own.
    void FillBoxes(std::span<const TPixelBox> boxes, uint32_t value) const;

    // For the whole program: tests draw on both paths, and QBM_ROW_STORES=plain chooses the plain one
    // from the start.
    static void SetRowStores(TRowStores stores);
    static TRowStores RowStores();

private:
    bool WorthMasking(std::span<const TPixelBox> boxes) const;

    // A store of Bytes at the start of each row and one ending at the box's right edge.
    template <size_t Bytes>
    static void StoreTwice(uint8_t* p, uint8_t* const end, std::ptrdiff_t step, std::ptrdiff_t second,
                           uint32_t value) {
        const uint32_t quad[4] = {value, value, value, value};
        for (; p != end; p += step) {
            std::memcpy(p, quad, Bytes);
            std::memcpy(p + second, quad, Bytes);
        }
    }
};

} // namespace qbm
