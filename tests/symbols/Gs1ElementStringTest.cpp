#include "symbols/Gs1ElementString.h"
#include "symbols/ESymbolError.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

TEST(Gs1ElementString, SplitsIdentifiersAndData) {
    const std::vector<TGs1Element> expected = {{"01", "09501101530003"}, {"17", "251231"}, {"10", "AB12"}};
    EXPECT_EQ(ParseGs1ElementString("(01)09501101530003(17)251231(10)AB12"), expected);
    // Four-digit identifiers: a weight with three decimals, company-internal data.
    const std::vector<TGs1Element> measures = {
        {"3103", "000750"}, {"8200", "http://example.com"}, {"99", "x"}};
    EXPECT_EQ(ParseGs1ElementString("(3103)000750(8200)http://example.com(99)x"), measures);
}

TEST(Gs1ElementString, CheckDigitIsModTenWeightedThreeOne) {
    EXPECT_EQ(Gs1CheckDigit("0950110153000"), 3);
    EXPECT_EQ(Gs1CheckDigit("590123412345"), 7);
    EXPECT_EQ(Gs1CheckDigit("00000000000000000"), 0);
    EXPECT_EQ(Gs1CheckDigit("37610425002123456"), 9); // an SSCC
}

struct RefusedCase {
    std::string_view text;
    std::string_view message;
};

constexpr RefusedCase kRefused[] = {
    /* 0 */ {"0109501101530003", "A GS1 element string starts with an application identifier in parentheses, "
                                 "such as (01)"},
    /* 1 */ {"(01)09501101530004", "GS1 (01) check digit should be 3, not 4"},
    /* 2 */ {"(01)0950110153000", "GS1 (01) needs 14 characters, not 13"},
    /* 3 */ {"(01)0950110153000A", "GS1 (01) must be numeric"},
    /* 4 */ {"(17)251331", "GS1 (17) is not a date (YYMMDD): 251331"},
    /* 5 */ {"(17)250230", "GS1 (17) is not a date (YYMMDD): 250230"},
    /* 6 */ {"(17)230229", "GS1 (17) is not a date (YYMMDD): 230229"},
    /* 7 */ {"(10)ABCDEFGHIJKLMNOPQRSTU", "GS1 (10) takes at most 20 characters, not 21"},
    /* 8 */ {"(10)", "GS1 (10) has no data"},
    /* 9 */ {"(10)A#B", "GS1 (10) holds a character GS1 does not allow: '#'"},
    /* 10 */ {"(23)12", "GS1 application identifier (23) is not known"},
    /* 11 */ {"(01", "GS1 application identifier without ')'"},
    /* 12 */ {"(00)376104250021234568", "GS1 (00) check digit should be 9, not 8"},
    /* 13 */ {"(01)09501101530003(3103)75", "GS1 (3103) needs 6 characters, not 2"},
    /* 14 */ {"(253)123", "GS1 (253) needs at least 13 characters, not 3"},
    /* 15 */ {"(253)9501101530004", "GS1 (253) check digit should be 3, not 4"},
};

TEST(Gs1ElementString, RefusesWhatGs1DoesNotAllowByName) {
    for (size_t i = 0; i < std::size(kRefused); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_THROW_MSG(ParseGs1ElementString(kRefused[i].text), ESymbolError,
                         std::string(kRefused[i].message));
    }
}

TEST(Gs1ElementString, AcceptsTheLastDayOfTheMonthAndLeapDays) {
    EXPECT_NO_THROW(ParseGs1ElementString("(17)240229"));
    EXPECT_NO_THROW(ParseGs1ElementString("(15)251100")); // day 00: the month's end
    EXPECT_NO_THROW(ParseGs1ElementString("(253)9501101530003ABC"));
}

} // namespace
} // namespace qbm
