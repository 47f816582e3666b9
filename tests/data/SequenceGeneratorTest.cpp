#include "data/SequenceGenerator.h"

#include "data/TDatasheet.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;

namespace {

struct Case {
    TSequenceSettings settings;
    std::vector<std::string> codes;
};

const Case kCases[] = {
    /* 0 */ {{"", "1", "10", "", 1, 1}, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}},
    /* 1 */ {{"", "0001", "10", "", 1, 1}, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}},
    /* 2 */
    {{"A-", "8", "12", "/X", 2, 1},
     {"A-08/X", "A-08/X", "A-09/X", "A-09/X", "A-10/X", "A-10/X", "A-11/X", "A-11/X", "A-12/X", "A-12/X"}},
    /* 3 */ {{"", "1", "10", "", 1, 3}, {"01", "04", "07", "10"}},
    /* 4 */ {{"", "2", "10", "", 1, 3}, {"04", "07", "10"}},
    /* 5 */ {{"", "0", "6", "", 1, 2}, {"1", "3", "5"}},
    /* 6 */ {{"", "5", "5", "", 1, 1}, {"5"}},
    /* 7 */ {{"", "-3", "3", "", 1, 1}, {"-3", "-2", "-1", "0", "1", "2", "3"}},
    /* 8 */ {{"", "-3", "100", "", 1, 51}, {"001", "052"}},
    /* 9 */ {{" p ", "-7", "-1", " s", 1, 4}, {" p -7 s", " p -3 s"}},
    /* 10 */ {{"", "9", "9", "", 0, 0}, {"9"}}, // repeat and step below their range count as 1
};

} // namespace

TEST(Sequence, Examples) {
    for (size_t i = 0; i < std::size(kCases); ++i) {
        EXPECT_EQ(GenerateSequence(kCases[i].settings), kCases[i].codes) << "case " << i;
        EXPECT_EQ(SequenceSize(kCases[i].settings), static_cast<int64_t>(kCases[i].codes.size()))
            << "case " << i;
    }
}

TEST(Sequence, WidthComesFromTheToText) {
    const auto codes = GenerateSequence({"", "1", "100", "", 1, 1});
    ASSERT_EQ(codes.size(), 100u);
    EXPECT_EQ(codes.front(), "001");
    EXPECT_EQ(codes.back(), "100");
    EXPECT_EQ(GenerateSequence({"", " 1\t", " 10 ", "", 1, 1}).front(), "01"); // fields trimmed as typed
    // Zeros go between the minus sign and the digits.
    const auto negative = GenerateSequence({"", "-3", "100", "", 1, 1});
    EXPECT_EQ(negative.front(), "-03");
    EXPECT_EQ(negative[3], "000");
}

TEST(Sequence, RefusedRanges) {
    EXPECT_THROW_MSG(GenerateSequence({"", "10", "1", "", 1, 1}), ESequenceError,
                     "Begine number must less than End number!");
    EXPECT_THROW_MSG(GenerateSequence({"", "", "5", "", 1, 1}), EConvertError,
                     "'' is not a valid integer value");
    EXPECT_THROW_MSG(GenerateSequence({"", "1", "2147483648", "", 1, 1}), EConvertError,
                     "'2147483648' is not a valid integer value");
    EXPECT_THROW_MSG(GenerateSequence({"", "1a", "5", "", 1, 1}), EConvertError,
                     "'1a' is not a valid integer value");
    // The whole 32-bit range would be billions of codes: refused before any memory is taken.
    EXPECT_THROW_MSG(GenerateSequence({"", "-2147483648", "2147483647", "", 1, 1}), ESequenceError,
                     "Too many codes: this range makes 4294967296 codes, at most 10000000 are allowed!");
    EXPECT_THROW(GenerateSequence({"", "1", "5000001", "", 2, 1}), ESequenceError);
    EXPECT_EQ(SequenceSize({"", "1", "5000000", "", 2, 1}), 10'000'000);
    EXPECT_EQ(SequenceSize({"", "10", "1", "", 1, 1}), 0);
}

TEST(Sequence, ExtremeEndsAndLargeSteps) {
    const auto top = GenerateSequence({"", "2147483646", "2147483647", "", 1, 1});
    EXPECT_EQ(top, (std::vector<std::string>{"2147483646", "2147483647"}));
    const auto bottom = GenerateSequence({"", "-2147483648", "-2147483647", "", 1, 1});
    EXPECT_EQ(bottom, (std::vector<std::string>{"-2147483648", "-2147483647"}));
    EXPECT_THROW(GenerateSequence({"", "-2147483648", "2147483647", "", 1, 100}), ESequenceError);
    const TSequenceSettings sparseSettings{"", "-2147483648", "-2147000000", "", 1, 100};
    const auto sparse = GenerateSequence(sparseSettings);
    ASSERT_FALSE(sparse.empty());
    EXPECT_EQ(static_cast<int64_t>(sparse.size()), SequenceSize(sparseSettings));
    EXPECT_EQ(sparse.front(), "-2147483599"); // n - 1 = -2147483600 is the first multiple of 100
}

TEST(Sequence, NumericWarningsCountNonDigitsAfterTrimming) {
    EXPECT_EQ(NonDigitWarnings(" 0012\t"), 0);
    EXPECT_EQ(NonDigitWarnings("-3"), 1);
    EXPECT_EQ(NonDigitWarnings("1a b"), 3); // the inner blank is not a digit either
    EXPECT_EQ(NonDigitWarnings(""), 0);
}

TEST(Sequence, PlacedFromTheCurrentCellGrowingTheSheet) {
    TDatasheet sheet;
    sheet.AddColumn("Other");
    sheet.SetRowCount(4);
    sheet.SetCell(1, 2, "before");
    sheet.SetCell(2, 3, "keep");
    sheet.SetCurrentCell(1, 3);
    PlaceSequence(sheet, GenerateSequence({"", "1", "5", "", 1, 1}));
    EXPECT_EQ(sheet.RowCount(), 8);
    EXPECT_EQ(sheet.Cell(1, 2), "before");
    EXPECT_EQ(sheet.Cell(1, 3), "1");
    EXPECT_EQ(sheet.Cell(1, 7), "5");
    EXPECT_EQ(sheet.Cell(2, 3), "keep");
    EXPECT_EQ(sheet.Cell(2, 7), "");
}
