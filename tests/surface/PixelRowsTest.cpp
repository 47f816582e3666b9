#include "surface/TPixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qbm {
namespace {

// A picture in memory over a background that differs from pixel to pixel, so a store that touches a
// pixel outside its boxes shows.
struct TPicture {
    static constexpr int kWidth = 203;
    static constexpr int kHeight = 37;
    static constexpr int kPad = 16; // past the last row, where no store may land
    std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> p(kWidth * kHeight + kPad);
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
        return p;
    }();
    TPixelRows Rows() { return {reinterpret_cast<uint8_t*>(pixels.data()), kWidth * 4, kWidth, kHeight}; }
};

// Boxes of symbols written together against the same boxes filled one by one: bars of a few
// heights, close together and far apart, boxes wider than a store, boxes partly or wholly outside
// the picture, and more distinct heights than are grouped.
TEST(PixelRows, FillBoxesEqualsFillingEachBox) {
    constexpr unsigned kSeed = 4711;
    std::mt19937 rng(kSeed);
    for (int round = 0; round < 500; ++round) {
        const int heights = 1 + static_cast<int>(rng() % 6);
        const unsigned gaps = round % 2 ? 3 : 9;
        std::vector<TPixelBox> boxes;
        int x = static_cast<int>(rng() % 40) - 20;
        for (int n = static_cast<int>(rng() % 60); n > 0; --n) {
            const int w = rng() % 8 ? 1 + static_cast<int>(rng() % 8) : 1 + static_cast<int>(rng() % 40);
            const int band = static_cast<int>(rng() % heights);
            boxes.push_back({x, -3 + band * 5, x + w, 20 + band * 7});
            x += w + static_cast<int>(rng() % gaps);
        }
        TPicture together, oneByOne;
        const uint32_t value = 0xFF000000u | (rng() & 0xFFFFFFu);
        together.Rows().FillBoxes(boxes, value);
        for (const TPixelBox& b : boxes) oneByOne.Rows().Fill(b.left, b.top, b.right, b.bottom, value);
        for (size_t i = 0; i < together.pixels.size(); ++i)
            ASSERT_EQ(together.pixels[i], oneByOne.pixels[i])
                << "round " << round << " seed " << kSeed << ": pixel " << i % TPicture::kWidth << ","
                << i / TPicture::kWidth << " of " << boxes.size() << " boxes";
    }
}

// Boxes of every width up to a few stores, each with its pixels set and its neighbours untouched.
TEST(PixelRows, FillSetsExactlyTheBox) {
    for (int w = 1; w <= 40; ++w) {
        TPicture pic;
        const std::vector<uint32_t> before = pic.pixels;
        pic.Rows().Fill(7, 3, 7 + w, 9, 0xFF123456u);
        for (int y = 0; y < TPicture::kHeight; ++y)
            for (int x = 0; x < TPicture::kWidth; ++x) {
                const size_t i = static_cast<size_t>(y) * TPicture::kWidth + x;
                const bool inside = x >= 7 && x < 7 + w && y >= 3 && y < 9;
                ASSERT_EQ(pic.pixels[i], inside ? 0xFF123456u : before[i])
                    << "width " << w << " at " << x << "," << y;
            }
    }
}

} // namespace
} // namespace qbm
