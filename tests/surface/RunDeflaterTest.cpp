#include "surface/TRunDeflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

namespace qbm {
namespace {

// What zlib reads back from the deflater's stream (its check sum included), or why it cannot.
std::string Inflate(const std::string& stream, size_t expected) {
    std::string out(expected + 1, '\0');
    uLongf size = static_cast<uLongf>(out.size());
    const int rc =
        uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(stream.data()),
                   static_cast<uLong>(stream.size()));
    if (rc != Z_OK) return "zlib error " + std::to_string(rc);
    out.resize(size);
    return out;
}

// A row of runs: `runs` lists (byte, length) pieces, filled up to the row's width with 0xFF.
std::vector<uint8_t> RowOfRuns(size_t width, std::initializer_list<std::pair<uint8_t, size_t>> runs) {
    std::vector<uint8_t> row;
    for (const auto& [byte, length] : runs) row.insert(row.end(), length, byte);
    row.resize(width, 0xFF);
    return row;
}

// Rows as page encoders produce them: runs around deflate's copy limits (3 and 258 bytes), single
// bytes, repeats of the row before (near and past the 32 KiB reach of a copy), rows too short to
// copy. Each must come back byte for byte.
TEST(RunDeflater, RowsComeBackAsTheyWent) {
    struct Case {
        size_t width;
        std::vector<std::vector<uint8_t>> rows; // an empty row: the row before, repeated
        size_t maxBytes = 0;                    // when not 0: runs and repeats must compress to this
    };
    std::mt19937 rng(20261209);
    std::vector<uint8_t> noise(3001);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    const Case cases[] = {
        /* 0 */ {1, {{0}, {}, {7}, {}, {}}},
        /* 1 */ {2, {{0, 255}, {}, {1, 1}}},
        /* 2 */
        {600, {RowOfRuns(600, {{0, 1}, {9, 2}, {0, 3}, {5, 4}, {0, 258}, {3, 259}, {0, 260}, {1, 261}})}},
        /* 3 */
        {600, {RowOfRuns(600, {{0, 1}, {0xFF, 5}, {0x80, 1}}), {}, {}, RowOfRuns(600, {{9, 599}}), {}}, 80},
        /* 4 */ {3001, {noise, {}, noise, RowOfRuns(3001, {}), {}}},
        /* 5 */ {32768, {RowOfRuns(32768, {{0, 5000}, {1, 1}}), {}, {}}, 1500},
        /* 6 */ {40001, {RowOfRuns(40001, {{0, 20000}, {2, 7}}), {}, RowOfRuns(40001, {{4, 3}}), {}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TRunDeflater deflater(c.width);
        std::string expected;
        const std::vector<uint8_t>* last = nullptr;
        for (const auto& row : c.rows) {
            if (row.empty()) {
                deflater.RepeatRow();
            } else {
                ASSERT_EQ(row.size(), c.width) << "case " << i;
                deflater.AddRow(row.data());
                last = &row;
            }
            expected.append(last->begin(), last->end());
        }
        const std::string stream = deflater.Finish();
        EXPECT_EQ(Inflate(stream, expected.size()), expected) << "case " << i;
        if (c.maxBytes > 0) {
            EXPECT_LE(stream.size(), c.maxBytes) << "case " << i;
        }
    }
}

// No rows at all is an empty stream, still one zlib reads.
TEST(RunDeflater, EmptyStreamIsValid) {
    EXPECT_EQ(Inflate(TRunDeflater(10).Finish(), 0), "");
}

} // namespace
} // namespace qbm
