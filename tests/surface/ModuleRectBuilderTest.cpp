#include "surface/TModuleRectBuilder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {
namespace {

// The rectangles of a matrix given as rows of '#' (dark) and '.', with the quiet zone.
std::vector<TModuleRect> Build(const std::vector<std::string>& rows, int quiet) {
    std::vector<TModuleRect> out;
    TModuleRectBuilder builder(out, rows.empty() ? 0 : static_cast<int>(rows[0].size()), quiet);
    for (const std::string& row : rows) {
        for (size_t c = 0; c < row.size();) {
            if (row[c] != '#') {
                ++c;
                continue;
            }
            const size_t start = c;
            while (c < row.size() && row[c] == '#') ++c;
            builder.AddRun(static_cast<int>(start), static_cast<int>(c));
        }
        builder.NextRow();
    }
    return out;
}

std::string Text(const std::vector<TModuleRect>& rects) {
    std::string s;
    for (const TModuleRect& r : rects)
        s += std::to_string(static_cast<int>(r.x)) + "," + std::to_string(static_cast<int>(r.y)) + " " +
             std::to_string(static_cast<int>(r.width)) + "x" + std::to_string(static_cast<int>(r.height)) +
             ";";
    return s;
}

struct Case {
    std::vector<std::string> rows;
    int quiet;
    std::string_view rects;
};

const Case kCases[] = {
    /* 0 */ {{"###", "###", "###"}, 0, "0,0 3x3;"},
    /* 1 */ {{"#.#", "#.#"}, 1, "1,1 1x2;3,1 1x2;"},
    // A run one module longer or shorter than the one above starts a rectangle of its own.
    /* 2 */ {{"##.", "###", "##."}, 0, "0,0 2x1;0,1 3x1;0,2 2x1;"},
    // Below a light row, an equal run does not join the run above it.
    /* 3 */ {{"#..", "...", "#.."}, 0, "0,0 1x1;0,2 1x1;"},
    // A finder's edge: its top and bottom rows and the columns between them.
    /* 4 */ {{"#####", "#...#", "#...#", "#####"}, 4, "4,4 5x1;4,5 1x2;8,5 1x2;4,7 5x1;"},
    // The same start, another run after a gap in the row: only the matching one grows.
    /* 5 */ {{"#.##", "#.#."}, 0, "0,0 1x2;2,0 2x1;2,1 1x1;"},
    /* 6 */ {{"....", "...."}, 2, ""},
};

TEST(ModuleRectBuilder, StacksEqualRunsOfNeighbouringRows) {
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(Text(Build(kCases[i].rows, kCases[i].quiet)), kCases[i].rects) << "row " << i;
}

// Random matrices of several densities: every dark module is covered once, no light one at all, and
// never more rectangles than runs.
TEST(ModuleRectBuilder, CoversEveryDarkModuleExactlyOnce) {
    std::mt19937 rng(20261211);
    for (const int percentDark : {10, 50, 80, 97}) {
        for (int round = 0; round < 20; ++round) {
            const int columns = 1 + static_cast<int>(rng() % 40), rowCount = 1 + static_cast<int>(rng() % 40);
            std::vector<std::string> rows(static_cast<size_t>(rowCount), std::string(columns, '.'));
            int runs = 0;
            for (std::string& row : rows) {
                for (int c = 0; c < columns; ++c)
                    if (static_cast<int>(rng() % 100) < percentDark) row[c] = '#';
                for (int c = 0; c < columns; ++c) runs += row[c] == '#' && (c == 0 || row[c - 1] != '#');
            }
            const std::vector<TModuleRect> rects = Build(rows, 3);
            SCOPED_TRACE("density " + std::to_string(percentDark) + " round " + std::to_string(round));
            EXPECT_LE(static_cast<int>(rects.size()), runs);
            std::vector<std::vector<int>> covered(rowCount, std::vector<int>(columns, 0));
            for (const TModuleRect& r : rects)
                for (int y = 0; y < r.height; ++y)
                    for (int x = 0; x < r.width; ++x)
                        ++covered.at(static_cast<size_t>(r.y) - 3 + y).at(static_cast<size_t>(r.x) - 3 + x);
            for (int y = 0; y < rowCount; ++y)
                for (int x = 0; x < columns; ++x)
                    ASSERT_EQ(covered[y][x], rows[y][x] == '#' ? 1 : 0) << "module " << x << ", " << y;
        }
    }
}

} // namespace
} // namespace qbm
