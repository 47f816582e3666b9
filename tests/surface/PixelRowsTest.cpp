#include "surface/TPixelRows.h"
#include "surface/WideRowStores.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace qbm {
namespace {

// A picture in memory, in colour (4 bytes a pixel) or grey (1), over a background that differs from
// byte to byte, so a store that touches a pixel outside its boxes shows. Rows start anywhere within
// a cache line, as a picture's rows do.
struct TPicture {
    static constexpr int kWidth = 203;
    static constexpr int kHeight = 37;
    static constexpr int kPad = 64; // past the last row, where no store may land
    int depth;
    std::vector<uint8_t> bytes;

    explicit TPicture(int pixelBytes)
        : depth(pixelBytes), bytes(static_cast<size_t>(kWidth) * kHeight * pixelBytes + kPad) {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    }
    TPixelRows Rows() { return {bytes.data(), std::ptrdiff_t{kWidth} * depth, kWidth, kHeight, depth}; }
    // Pixel (x, y) as stored.
    uint32_t At(int x, int y) const {
        uint32_t v = 0;
        std::memcpy(&v, bytes.data() + (static_cast<size_t>(y) * kWidth + x) * depth,
                    static_cast<size_t>(depth));
        return v;
    }
};

// Runs `test` on the plain path, and again on the wide one where this processor has it; the path
// is named in failures.
template <typename F> void OnEveryPath(int depth, F&& test) {
    struct Restore {
        TRowStores was = TPixelRows::RowStores();
        ~Restore() { TPixelRows::SetRowStores(was); }
    } restore;
    for (const TRowStores path : {TRowStores::Plain, TRowStores::Wide}) {
        if (path == TRowStores::Wide && !HasWideRowStores(depth)) {
            std::printf("no masked wide stores for %d-byte pixels on this processor: plain path only\n",
                        depth);
            continue;
        }
        TPixelRows::SetRowStores(path);
        SCOPED_TRACE(path == TRowStores::Plain ? "plain path" : "wide path");
        test();
    }
}

uint32_t RandomValue(std::mt19937& rng, int depth) {
    return depth == 1 ? rng() & 0xFFu : 0xFF000000u | (rng() & 0xFFFFFFu);
}

// Boxes of symbols written together against the same boxes filled one by one: bars of a few
// heights, close together and far apart, boxes wider than a store, boxes partly or wholly outside
// the picture, and more distinct heights than are grouped; in colour and in grey pictures.
TEST(PixelRows, FillBoxesEqualsFillingEachBox) {
    constexpr unsigned kSeed = 4711;
    for (const int depth : {4, 1})
        OnEveryPath(depth, [&] {
            std::mt19937 rng(kSeed);
            for (int round = 0; round < 500; ++round) {
                const int heights = 1 + static_cast<int>(rng() % 6);
                const unsigned gaps = round % 2 ? 3 : 9;
                std::vector<TPixelBox> boxes;
                int x = static_cast<int>(rng() % 40) - 20;
                for (int n = static_cast<int>(rng() % 60); n > 0; --n) {
                    const int w =
                        rng() % 8 ? 1 + static_cast<int>(rng() % 8) : 1 + static_cast<int>(rng() % 90);
                    const int band = static_cast<int>(rng() % heights);
                    boxes.push_back({x, -3 + band * 5, x + w, 20 + band * 7});
                    x += w + static_cast<int>(rng() % gaps);
                }
                TPicture together(depth), oneByOne(depth);
                const uint32_t value = RandomValue(rng, depth);
                together.Rows().FillBoxes(boxes, value);
                for (const TPixelBox& b : boxes)
                    oneByOne.Rows().Fill(b.left, b.top, b.right, b.bottom, value);
                for (size_t i = 0; i < together.bytes.size(); ++i)
                    ASSERT_EQ(together.bytes[i], oneByOne.bytes[i])
                        << "depth " << depth << " round " << round << " seed " << kSeed << ": pixel "
                        << i / depth % TPicture::kWidth << "," << i / depth / TPicture::kWidth << " of "
                        << boxes.size() << " boxes";
            }
        });
}

// Boxes of every width up to a few stores, each with its pixels set and its neighbours untouched.
TEST(PixelRows, FillSetsExactlyTheBox) {
    for (const int depth : {4, 1})
        for (int w = 1; w <= 40; ++w) {
            TPicture pic(depth);
            const TPicture before = pic;
            const uint32_t value = depth == 1 ? 0x56u : 0xFF123456u;
            pic.Rows().Fill(7, 3, 7 + w, 9, value);
            for (int y = 0; y < TPicture::kHeight; ++y)
                for (int x = 0; x < TPicture::kWidth; ++x) {
                    const bool inside = x >= 7 && x < 7 + w && y >= 3 && y < 9;
                    ASSERT_EQ(pic.At(x, y), inside ? value : before.At(x, y))
                        << "depth " << depth << " width " << w << " at " << x << "," << y;
                }
        }
}

} // namespace
} // namespace qbm
