#include "symbols/QrCodeMask.h"
#include "symbols/QrCodeEncoder.h"
#include "symbols/QrCodeSymbol.h"

#include "QrCodeTestSupport.h"
#include "SymbolTestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

// Sizes around the word boundaries of the bit rows: runs and patterns cross bit 64 and 128.
constexpr int kSizes[] = {21, 25, 57, 61, 65, 121, 125, 129, 177};

TQrMatrix RandomMatrix(test::TRandomTexts& random, int size, int darkPercent) {
    TQrMatrix m(size);
    for (int r = 0; r < size; ++r) {
        // Long runs now and then, so that the run and finder rules have something to count.
        const bool runs = random.Between(0, 3) == 0;
        bool dark = false;
        for (int c = 0; c < size; ++c) {
            if (!runs || random.Between(0, 4) == 0) dark = random.Between(0, 99) < darkPercent;
            m.Set(r, c, dark);
        }
    }
    return m;
}

TEST(QrCodeMask, BitParallelPenaltyEqualsTheRulesModuleByModule) {
    test::TRandomTexts random(71);
    for (const int size : kSizes)
        for (const int darkPercent : {5, 30, 50, 70, 95}) {
            const TQrMatrix m = RandomMatrix(random, size, darkPercent);
            EXPECT_EQ(QrPenalty(m), test::ReferencePenalty(m))
                << "size " << size << ", " << darkPercent << " % dark";
        }
    // Finder-like patterns against the edges, where the quiet zone is the light side.
    TQrMatrix edges(65);
    for (const int c : {0, 2, 3, 4, 6, 58, 60, 61, 62, 64}) edges.Set(10, c, true);
    EXPECT_EQ(QrPenalty(edges), test::ReferencePenalty(edges));
}

// The mask taken scores no more than any other: the symbol is unmasked and masked again with each of
// the eight patterns, format information redrawn, and scored module by module.
TEST(QrCodeMask, TheLowestScoringMaskIsTaken) {
    const std::string texts[] = {"Quirbel", "https://example.com/product/4711?lot=AB12&s=1",
                                 std::string(300, '7'), "K\xc3\xa4se", std::string(900, 'q')};
    for (const std::string& text : texts)
        for (const TQrEcc ecc : {TQrEcc::L, TQrEcc::H}) {
            SCOPED_TRACE(text.substr(0, 20));
            const TQrCode code = EncodeQrCode(text, ecc, 0);
            const TQrLayout& layout = QrLayout(code.version);
            const auto masked = [&](int mask) {
                TQrMatrix m = code.modules;
                for (int r = 0; r < m.size; ++r)
                    for (int c = 0; c < m.size; ++c)
                        if (layout.dataArea.Dark(r, c) &&
                            test::StandardMask(code.mask, r, c) != test::StandardMask(mask, r, c))
                            m.Set(r, c, !m.Dark(r, c));
                QrDrawFormat(m, code.level, mask);
                return m;
            };
            ASSERT_EQ(masked(code.mask), code.modules);
            const int chosen = test::ReferencePenalty(code.modules);
            for (int mask = 0; mask < 8; ++mask) {
                const int other = test::ReferencePenalty(masked(mask));
                EXPECT_LE(chosen, other) << "mask " << mask << " against " << code.mask;
                if (mask < code.mask) {
                    EXPECT_LT(chosen, other) << "the first of equal scores is taken";
                }
            }
        }
}

// Every dark module is covered by one rectangle, no light one by any; a row's run is one rectangle,
// lengthened over the rows below that have the very same run; the rows hold the matrix as it is.
TEST(QrCodeGeometry, DarkModulesAreCoveredOnceInsideTheQuietZone) {
    test::TRandomTexts random(72);
    for (const int size : kSizes) {
        TQrMatrix m = RandomMatrix(random, size, 50);
        for (int c = 0; c < size; ++c) m.Set(0, c, true); // a row dark from edge to edge
        const TSymbolGeometry g = QrCodeGeometry(m);
        EXPECT_EQ(g.width, size + 8);
        EXPECT_EQ(g.quietX, 4);
        size_t runs = 0;
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c) runs += m.Dark(r, c) && (c == 0 || !m.Dark(r, c - 1));
        EXPECT_LE(g.rects.size(), runs) << "size " << size;
        EXPECT_EQ(g.rects.front(), (TModuleRect{4, 4, static_cast<double>(size), 1})) << "size " << size;
        std::vector<int> covered(static_cast<size_t>(size * size), 0);
        for (const TModuleRect& rect : g.rects)
            for (int y = static_cast<int>(rect.y) - 4; y < rect.y - 4 + rect.height; ++y)
                for (int x = static_cast<int>(rect.x) - 4; x < rect.x - 4 + rect.width; ++x)
                    ++covered.at(static_cast<size_t>(y * size + x));
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c) {
                ASSERT_EQ(covered[static_cast<size_t>(r * size + c)], m.Dark(r, c) ? 1 : 0)
                    << "size " << size << " module " << c << ", " << r;
                ASSERT_EQ(g.modules.Dark(r, c), m.Dark(r, c))
                    << "size " << size << " module " << c << ", " << r;
            }
        EXPECT_EQ(g.modules.x, 4);
        EXPECT_EQ(g.modules.columns, size);
    }
}

} // namespace
} // namespace qbm
