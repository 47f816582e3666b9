#include "surface/TwoColourRectangles.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qbm {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000;

struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const uint8_t* Bits() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }
    std::ptrdiff_t Stride() const { return width * 4; }
};

// Rows of random runs, each row repeated a random number of times, as symbol rows are.
Picture RandomRows(std::mt19937& rng, int width, int height, uint32_t background, uint32_t ink) {
    Picture p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, background)};
    std::uniform_int_distribution<int> repeat(1, 6), dark(0, 2);
    for (int y = 0; y < height;) {
        std::vector<uint32_t> row(static_cast<size_t>(width));
        for (auto& v : row) v = dark(rng) == 0 ? ink : background;
        for (int n = repeat(rng); n > 0 && y < height; --n, ++y)
            std::copy(row.begin(), row.end(), p.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    return p;
}

// What painting the background and then the rectangles gives.
Picture Paint(const TTwoColourRectangles& r, int width, int height) {
    Picture p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, r.background)};
    for (const TRect& rect : r.inkRects) {
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= width && rect.bottom <= height);
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) {
                EXPECT_NE(p.At(x, y), r.ink) << "rectangles overlap at " << x << "," << y;
                p.At(x, y) = r.ink;
            }
    }
    return p;
}

TEST(TwoColourRectangles, PaintExactlyThePictureTheyCameFrom) {
    std::mt19937 rng(7);
    const struct {
        uint32_t background, ink;
    } colours[] = {{kWhite, kBlack}, {kBlack, kWhite}, {0xFF102030, 0xFFE0D0C0}};
    for (const auto& c : colours)
        for (int round = 0; round < 40; ++round) {
            const int w = 1 + static_cast<int>(rng() % 90), h = 1 + static_cast<int>(rng() % 60);
            const Picture picture = RandomRows(rng, w, h, c.background, c.ink);
            const auto r = TwoColourRectangles(picture.Bits(), picture.Stride(), w, h, 1u << 20);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->background, picture.pixels[0]) << "the top-left pixel's colour is painted first";
            EXPECT_EQ(Paint(*r, w, h).pixels, picture.pixels) << w << " x " << h;
        }
}

TEST(TwoColourRectangles, RepeatedRowsMakeOneRectanglePerRun) {
    Picture p{12, 10, std::vector<uint32_t>(120, kWhite)};
    for (int y = 2; y < 8; ++y) p.At(3, y) = p.At(4, y) = p.At(9, y) = kBlack;
    const auto r = TwoColourRectangles(p.Bits(), p.Stride(), 12, 10, 100);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->inkRects, (std::vector<TRect>{{3, 2, 5, 8}, {9, 2, 10, 8}}));
    EXPECT_EQ(r->ink, kBlack);
}

TEST(TwoColourRectangles, PicturesThatAreNotTwoOpaqueColoursOrTooBusyStayPictures) {
    std::mt19937 rng(11);
    Picture third = RandomRows(rng, 30, 20, kWhite, kBlack);
    third.At(29, 19) = kRed;
    EXPECT_FALSE(TwoColourRectangles(third.Bits(), third.Stride(), 30, 20, 1000));
    Picture seeThrough = RandomRows(rng, 30, 20, kWhite, 0x80000000);
    EXPECT_FALSE(TwoColourRectangles(seeThrough.Bits(), seeThrough.Stride(), 30, 20, 1000));
    Picture clearBackground{4, 4, std::vector<uint32_t>(16, 0x00FFFFFF)};
    EXPECT_FALSE(TwoColourRectangles(clearBackground.Bits(), clearBackground.Stride(), 4, 4, 1000));
    // A checkerboard needs a rectangle per dark pixel.
    Picture board{8, 8, std::vector<uint32_t>(64, kWhite)};
    for (int y = 0; y < 8; ++y)
        for (int x = (y % 2); x < 8; x += 2) board.At(x, y) = kBlack;
    EXPECT_FALSE(TwoColourRectangles(board.Bits(), board.Stride(), 8, 8, 31));
    EXPECT_EQ(TwoColourRectangles(board.Bits(), board.Stride(), 8, 8, 32)->inkRects.size(), 32u);
    // One colour only: the background alone.
    Picture blank{5, 3, std::vector<uint32_t>(15, kWhite)};
    const auto r = TwoColourRectangles(blank.Bits(), blank.Stride(), 5, 3, 0);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->inkRects.empty());
}

} // namespace
} // namespace qbm
