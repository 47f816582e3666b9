#include "barcode/Code128Encoder.h"
#include "barcode/Code128Patterns.h"
#include "barcode/EBarcodeError.h"
#include "barcode/TBarcode.h"

#include "Code128EanTestSupport.h"
#include "TestSupport.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string_view>

namespace qbm {
namespace {

using test::Code128Values;

// The expected values followed by their check symbol: the start and first data symbol weigh 1, then
// 2, 3, ...
std::vector<int> WithCheck(std::vector<int> values) {
    int sum = values.front();
    for (size_t k = 1; k < values.size(); ++k) sum += static_cast<int>(k) * values[k];
    values.push_back(sum % 103);
    return values;
}

std::vector<int> ValuesOf(TBarcodeType type, const std::string& text, bool checksum = false,
                          TCheckSumMethod method = csmModulo10) {
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(text);
    bc.SetChecksum(checksum);
    bc.SetCheckSumMethod(method);
    return Code128Values(bc.BuildPattern());
}

TEST(Code128Table, MatchesTheSharedStandardTable) {
    std::ifstream in(test::TestDataPath("reference/code128_widths.txt"));
    ASSERT_TRUE(in);
    std::string line;
    int value = 0;
    std::string stop;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string key, widths;
        fields >> key >> widths;
        if (key == "stop") {
            stop = widths;
            continue;
        }
        ASSERT_EQ(key, std::to_string(value));
        ASSERT_LT(value, kCode128SymbolCount);
        EXPECT_EQ(widths, Code128Widths[value]) << "value " << value;
        ++value;
    }
    EXPECT_EQ(value, kCode128SymbolCount);
    EXPECT_EQ(stop, Code128Stop);
    // The checkpoints that the table is known by.
    EXPECT_STREQ(Code128Widths[0], "212222");
    EXPECT_STREQ(Code128Widths[64], "111422");
    EXPECT_STREQ(Code128Widths[102], "411131");
    EXPECT_STREQ(Code128Widths[103], "211412");
    EXPECT_STREQ(Code128Widths[104], "211214");
    EXPECT_STREQ(Code128Widths[105], "211232");
    std::set<std::string> distinct;
    for (int v = 0; v < kCode128SymbolCount; ++v) {
        const std::string w = Code128Widths[v];
        ASSERT_EQ(w.size(), 6u) << "value " << v;
        int modules = 0, barModules = 0;
        for (size_t k = 0; k < w.size(); ++k) {
            EXPECT_TRUE(w[k] >= '1' && w[k] <= '4') << "value " << v;
            modules += w[k] - '0';
            if (k % 2 == 0) barModules += w[k] - '0';
        }
        EXPECT_EQ(modules, 11) << "value " << v;
        EXPECT_EQ(barModules % 2, 0) << "value " << v;
        distinct.insert(w);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kCode128SymbolCount));
}

struct Case {
    TBarcodeType type;
    std::string_view text;
    std::vector<int> values; // without the check symbol
};

TEST(Code128FixedSet, EncodesTheWorkedExamples) {
    const Case cases[] = {
        /* 0 */ {bcCode128B, "AB", {104, 33, 34}},
        /* 1 */ {bcCode128A, "AaB", {103, 33, 0, 34}},       // lower case is not in set A: a blank
        /* 2 */ {bcCode128A, "\x80\t", {103, 64, 73}},       // code 128 is NUL
        /* 3 */ {bcCode128B, "a\tb~", {104, 65, 0, 66, 94}}, // a control character is not in set B
        /* 4 */ {bcCode128C, "12345", {105, 1, 23, 45}},
        /* 5 */ {bcCode128C, "1234", {105, 12, 34}},
        /* 6 */ {bcCodeEAN128C, "12345", {105, 102, 12, 34, 50}},
        /* 7 */ {bcCodeEAN128C, "011234567890123", {105, 102, 1, 12, 34, 56, 78, 90, 12, 31}},
        /* 8 */ {bcCodeEAN128C, "5", {105, 102}}, // a single digit is dropped
        /* 9 */ {bcCodeEAN128C, "01", {105, 102, 1}},
        /* 10 */ {bcCodeEAN128C, "029501234567890", {105, 102, 2, 95, 1, 23, 45, 67, 89, 3}}, // check digit 3
        /* 11 */ {bcCodeEAN128C, "10123", {105, 102, 10, 12, 30}}, // other AIs get no check digit
        /* 12 */ {bcCodeEAN128C, "0012345678901234567", {105, 102, 0, 12, 34, 56, 78, 90, 12, 34, 56, 75}},
        /* 13 */ {bcCodeEAN128A, "AB\x1d", {103, 102, 33, 34, 93}},
        /* 14 */ {bcCodeEAN128B, "ab", {104, 102, 65, 66}},
        /* 15 */ {bcCode128B, "", {104}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ValuesOf(c.type, std::string(c.text)), WithCheck(c.values)) << "case " << i;
    }
    // The check symbol of the first example, worked by hand.
    EXPECT_EQ(ValuesOf(bcCode128B, "AB").back(), 102);
}

TEST(Code128FixedSet, LeavesTheTextAndIgnoresTheChecksumSetting) {
    TBarcode bc;
    bc.SetTyp(bcCodeEAN128C);
    bc.SetText("011234567890123");
    const std::string plain = bc.BuildPattern();
    bc.SetChecksum(true);
    EXPECT_EQ(bc.BuildPattern(), plain);
    EXPECT_EQ(bc.Text(), "011234567890123");
    bc.SetTyp(bcCode128C);
    bc.SetText("123");
    bc.BuildPattern();
    EXPECT_EQ(bc.Text(), "123");
}

TEST(Code128FixedSet, MakesNoApplicationIdentifierCheckDigitWithoutAMethod) {
    EXPECT_EQ(ValuesOf(bcCodeEAN128C, "0112345678901231", false, csmNone),
              WithCheck({105, 102, 1, 12, 34, 56, 78, 90, 12, 31}));
}

// The identifiers whose check digit the encoder computes have a fixed length; any other length would
// print a GS1 string that scanners and databases reject, so the value is refused instead.
TEST(Code128FixedSet, RefusesFixedLengthIdentifiersOfAnotherLength) {
    const struct {
        std::string_view text;
        TCheckSumMethod method;
        bool fits;
    } cases[] = {
        /* 0 */ {"0112345678901", csmModulo10, false},    // 11 digits after 01
        /* 1 */ {"0112345678901231", csmModulo10, false}, // check digit typed as well: 14
        /* 2 */ {"011234567890123", csmModulo10, true},   // 13
        /* 3 */ {"021234567890123", csmModulo10, true},
        /* 4 */ {"02123", csmModulo10, false},
        /* 5 */ {"001234567890123456", csmModulo10, false}, // 16 after 00
        /* 6 */ {"0012345678901234567", csmModulo10, true}, // 17
        /* 7 */ {"0112345678901231", csmNone, true},        // without a method the value carries it
        /* 8 */ {"011234567890123", csmNone, false},
        /* 9 */ {"10123", csmModulo10, true}, // other identifiers: any length
        /* 10 */ {"01", csmModulo10, true},   // no data after the identifier: nothing is computed
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(Ean128FixedLengthFits(c.text, c.method), c.fits) << "case " << i;
        TBarcode bc;
        bc.SetTyp(bcCodeEAN128C);
        bc.SetCheckSumMethod(c.method);
        bc.SetText(std::string(c.text));
        if (c.fits) {
            EXPECT_NO_THROW(bc.BuildPattern()) << "case " << i;
        } else {
            EXPECT_THROW_MSG(bc.BuildPattern(), EBarcodeError, "Invild code data of EAN128C format!");
        }
    }
}

TEST(Code128FixedSet, PatternUsesTheModuleWidthsOfModulAndRatio) {
    TBarcode bc;
    bc.SetTyp(bcCode128B);
    bc.SetText("AB");
    const int modules = bc.Width();
    EXPECT_EQ(modules, 11 * 4 + 13);
    bc.SetModul(3);
    EXPECT_EQ(bc.Width(), 3 * modules);
    bc.SetModul(1);
    bc.SetRatio(3.0); // no clamp for Code 128: W2 = 3, W3 = 4, W4 = 6
    EXPECT_EQ(bc.Ratio(), 3.0);
    EXPECT_GT(bc.Width(), modules);
}

TEST(Code128Auto, ChoosesTheStartSetAndSwitches) {
    const Case cases[] = {
        /* 0 */ {bcCode128Auto, "12345", {105, 12, 34, 100, 21}},
        /* 1 */ {bcCode128Auto, "A1234", {104, 33, 99, 12, 34}},
        /* 2 */ {bcCode128Auto, "\tab", {103, 73, 100, 65, 66}},
        /* 3 */ {bcCode128Auto, "\\19301", {104, 102, 16, 17}},
        /* 4 */ {bcCode128Auto, "", {103}},
        /* 5 */ {bcCode128Auto, "12", {105, 12}},
        /* 6 */ {bcCode128Auto, "123", {104, 17, 18, 19}},
        /* 7 */ {bcCode128Auto, "a12345", {104, 65, 17, 99, 23, 45}}, // odd run: first digit stays in B
        /* 8 */ {bcCode128Auto, "1234a", {105, 12, 34, 100, 65}},
        /* 9 */ {bcCode128Auto, "12\t", {104, 17, 18, 98, 73}},
        /* 10 */ {bcCode128Auto, "1234\t\t", {105, 12, 34, 101, 73, 73}},
        /* 11 */ {bcCode128Auto, "1234\\1935678", {105, 12, 34, 102, 56, 78}},
        /* 12 */ {bcCode128Auto, "\\1941\\195\\196", {104, 97, 17, 96, 100}},
        /* 13 */ {bcCode128Auto, "\t\\196", {103, 73, 101}}, // FNC4 is CODE A's value in set A
                                                             /* 14 */
        {bcCode128Auto,
         "\x80"
         "A",
         {103, 64, 33}},                                     // NUL mark starts set A
        /* 15 */ {bcCode128Auto, "A\\0", {104, 33, 98, 64}}, // code 0 by escape: NUL in set A
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ValuesOf(c.type, std::string(c.text)), WithCheck(c.values)) << "case " << i;
    }
    EXPECT_EQ(ValuesOf(bcCode128Auto, ""), (std::vector<int>{103, 0}));
}

TEST(Code128Auto, ShiftsForOneCharacterAndSwitchesForTwo) {
    const Case cases[] = {
        /* 0 */ {bcCode128Auto, "a\tb", {104, 65, 98, 73, 66}},                  // SHIFT into A
        /* 1 */ {bcCode128Auto, "a\t\tb\t", {104, 65, 101, 73, 73, 98, 66, 73}}, // CODE A, SHIFT into B
        /* 2 */ {bcCode128Auto, "\t`\t", {103, 73, 98, 64, 73}},                 // SHIFT into B
        /* 3 */ {bcCode128Auto, "\t`a", {103, 73, 100, 64, 65}},                 // CODE B before two B
        /* 4 */ {bcCode128Auto, "\t`", {103, 73, 100, 64}},                      // the end counts as B
        /* 5 */ {bcCode128Auto, "a\t", {104, 65, 98, 73}},
        /* 6 */ {bcCode128Auto, "a\t\x80", {104, 65, 101, 73, 64}},        // NUL mark is class A
        /* 7 */ {bcCode128Auto, "A\t1234", {104, 33, 98, 73, 99, 12, 34}}, // SHIFT right before CODE C
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ValuesOf(c.type, std::string(c.text)), WithCheck(c.values)) << "case " << i;
    }
}

TEST(Code128Auto, WritesHighCharactersWithFnc4AndTrailingBackslashAsItself) {
    const Case cases[] = {
        /* 0 */ {bcCode128Auto, "\\200", {104, 100, 40}}, // E with grave: FNC4 'H'
        /* 1 */ {bcCode128Auto, "\xe9", {104, 100, 73}},  // e acute: FNC4 'i'
        /* 2 */ {bcCode128Auto, "\\150", {103, 101, 86}}, // FNC4 + control 22, in set A
        /* 3 */ {bcCode128Auto, "a\\150b", {104, 65, 101, 101, 86, 100, 66}},
        /* 4 */ {bcCode128Auto, "\t\xff", {103, 73, 100, 100, 95}}, // FNC4 DEL needs set B
        /* 5 */ {bcCode128Auto, "\xc0", {104, 100, 32}},            // 192: FNC4 '@'
        /* 6 */ {bcCode128Auto, "1234\xe9", {105, 12, 34, 100, 100, 73}},
        /* 7 */ {bcCode128Auto, "AB\\", {104, 33, 34, 60}},
        /* 8 */ {bcCode128Auto, "\\", {104, 60}},
        /* 9 */ {bcCode128Auto, "\\A", {104, 60, 33}},
        // A typed FNC4 before a high character is not doubled (two would latch); before a plain
        // character it is the only FNC4 and stays.
        /* 10 */ {bcCode128Auto, "\\196\xe9", {104, 100, 73}},
        /* 11 */ {bcCode128Auto, "\t\\196\xe9", {103, 73, 100, 100, 73}},
        /* 12 */ {bcCode128Auto, "\\196A", {104, 100, 33}},
        /* 13 */ {bcCode128Auto, "1234\\196\xe9", {105, 12, 34, 100, 100, 73}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ValuesOf(c.type, std::string(c.text)), WithCheck(c.values)) << "case " << i;
    }
}

TEST(Code128Auto, EveryValueIsInTheTableForAnyByte) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    for (const std::string& text : {all, std::string(all.rbegin(), all.rend())}) {
        const std::vector<int> values = ValuesOf(bcCode128Auto, text);
        ASSERT_GT(values.size(), 256u);
        for (const int v : values) EXPECT_GE(v, 0);
    }
}

TEST(ParseEscapes, ReplacesOneToThreeDigits) {
    struct EscapeCase {
        std::string_view text;
        std::string_view converted;
        std::string_view shown;
    };
    const EscapeCase cases[] = {
        /* 0 */ {"\\1", "\x01", ""},
        /* 1 */ {"\\193", "\xc1", ""},
        /* 2 */ {"\\255", "\xff", ""},
        /* 3 */
        {"\\256",
         "\x19"
         "6",
         "6"},
        /* 4 */ {"\\30", "\x1e", ""},
        /* 5 */
        {"\\300",
         "\x1e"
         "0",
         "0"},
        /* 6 */
        {"a\\9b",
         "a\x09"
         "b",
         "ab"},
        /* 7 */ {"\\099", "c", ""},
        /* 8 */ {"\\n", "\\n", "\\n"},
        /* 9 */ {"\\\\1", "\\\\1", "\\\\1"},
        /* 10 */ {"ab\\", "ab\\", "ab\\"},
        /* 11 */ {"\\1\\2", "\x01\x02", ""},
        /* 12 */ {"x\\25y", "x\x19y", "xy"},
        /* 13 */ {"", "", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const EscapeCase& c = cases[i];
        EXPECT_EQ(ParseEscapes(std::string(c.text), true), c.converted) << "case " << i;
        EXPECT_EQ(ParseEscapes(std::string(c.text), false), c.shown) << "case " << i;
    }
    EXPECT_EQ(ParseEscapes(std::string("\\0", 2), true), std::string(1, '\0'));
}

} // namespace
} // namespace qbm
