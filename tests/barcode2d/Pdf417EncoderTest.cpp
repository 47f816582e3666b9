#include "barcode2d/Pdf417Encoder.h"
#include "TestSupport.h"
#include "barcode2d/E2DBarcodeError.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {
namespace {

// Data codewords behind the descriptor slot.
std::vector<int> DataCodewords(std::string_view code) {
    const TPdf417Codewords cw = EncodePdf417Data(code);
    return std::vector<int>(cw.values.begin() + 1, cw.values.begin() + cw.count);
}

struct Case {
    std::string_view code;
    std::vector<int> codewords;
};

const std::string kSevenSeven(45, '7');

const Case kCases[] = {
    /* 0 */ {"", {}},
    /* 1 */ {"A", {901, 65}}, // the look-ahead never sees the last character
    /* 2 */ {"AB", {1}},
    /* 3 */ {"ABC", {1, 89}},                                         // odd count completed with 29
    /* 4 */ {"12345678901234", {841, 63, 125, 187, 249, 1, 63, 149}}, // 14 digits stay text (Mixed)
    /* 5 */ {"123456789012345", {902, 1, 812, 292, 890, 124, 745}},
    /* 6 */
    {kSevenSeven,
     {902, 777, 98, 673, 135, 489, 510, 118, 364, 483, 406, 664, 257, 30, 530, 777, 17}}, // 44 + 1 digits
    /* 7 */ {"\xC0\xC1\xC2\xC3\xC4\xC5", {924, 323, 24, 781, 245, 417}},
    /* 8 */ {"\xC0\xC1\xC2\xC3\xC4\xC5\xC6", {901, 323, 24, 781, 245, 417, 198}},
    /* 9 */
    {"\xC0\xC1\xC2\xC3\xC4\xC5\xC0\xC1\xC2\xC3\xC4\xC5",
     {924, 323, 24, 781, 245, 417, 323, 24, 781, 245, 417}},
    /* 10 */ {"abc!", {810, 32, 880}}, // shift to Punctuation at the end
    /* 11 */ {"ABCDEF\xE9GHIJKL", {1, 63, 125, 901, 233, 900, 187, 249, 311}}, // no second 900 in pass 1
    /* 12 */
    {"\xE9"
     "ABCDEF\xE9GHIJKL",
     {901, 233, 900, 1, 63, 125, 901, 233, 900, 900, 187, 249, 311}},
    /* 13 */ {"AB\\C900CD", {1, 900, 63}}, // a codeword escape inside text
    /* 14 */ {"ABC\\G000003DE", {1, 89, 927, 3, 94}},
    /* 15 */ {"AB\\G000900", {1, 926, 0, 0}},
    /* 16 */ {"AB\\G810900", {1, 925, 0}},
    /* 17 */ {"AB\\G811799", {1, 925, 899}},
    /* 18 */ {"Ab", {27, 59}},                    // Alpha to Lower always latches
    /* 19 */ {"abCde", {810, 57, 63, 149}},       // shift to Alpha
    /* 20 */ {"abCDEF", {810, 58, 842, 94, 179}}, // latch back to Alpha
    /* 21 */ {"A;;;B", {28, 750, 0, 871}},        // latch to Punctuation and back
    /* 22 */ {"A1B", {28, 58, 59}},               // Mixed and back
                                                  /* 23 */
    {"AB\x01"
     "CD",
     {901, 65, 66, 1, 900, 63}}, // text after a byte segment latches
    /* 24 */ {"ABCDE\\065", {1, 63, 120}},
    /* 25 */ {"ABCDE\\x41", {1, 63, 120}},
    /* 26 */ {"ABCDE\\", {1, 63, 149, 179}},       // a final backslash stands for itself
    /* 27 */ {"ABCDE\\q", {1, 63, 149, 177, 509}}, // an unknown escape is a backslash, then the letter
    /* 28 */ {"ABCDE\\\\", {1, 63, 149, 179}},     // two backslashes are one
    /* 29 */ {"AB123456789012345", {1, 902, 1, 812, 292, 890, 124, 745}},
    /* 30 */ {"ABCDE\\C-01", {1, 63, 149, 65535}}, // drawn later as "Invalid Codeword"
};

TEST(Pdf417Encoding, CodewordsOfTheExamples) {
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(DataCodewords(kCases[i].code), kCases[i].codewords) << "row " << i;
}

TEST(Pdf417Encoding, UnusedEntriesHoldThePadCodeword) {
    const TPdf417Codewords cw = EncodePdf417Data("ABC");
    EXPECT_EQ(cw.count, 3);
    for (int i = cw.count; i < kPdf417BufferSize; ++i) ASSERT_EQ(cw.values[i], 900) << i;
}

TEST(Pdf417Encoding, GliAndCapacityErrors) {
    EXPECT_THROW_MSG(EncodePdf417Data("AB\\G811800"), E2DBarcodeError, "GLI value out of range");
    EXPECT_THROW_MSG(EncodePdf417Data("AB\\G-00001"), E2DBarcodeError, "GLI value out of range");
    EXPECT_THROW_MSG(EncodePdf417Data("AB\\Gabcdef"), EConvertError, "'abcdef' is not a valid integer value");
    // The GLI number follows the platform conversion: blanks, sign and hexadecimal prefixes.
    EXPECT_EQ(DataCodewords("AB\\G  $3FF"), (std::vector<int>{1, 926, 0, 123}));
    // The buffer holds 2701 entries: 2700 data codewords behind the descriptor slot, no more.
    EXPECT_EQ(EncodePdf417Data(std::string(3234, '\xE9')).count, 2697); // 924 + 539 x 5
    EXPECT_THROW_MSG(EncodePdf417Data(std::string(3300, '\xE9')), E2DBarcodeError,
                     "Code too large for barcode");
    EXPECT_EQ(EncodePdf417Data(std::string(5400, 'A')).count, 2701);
    EXPECT_THROW_MSG(EncodePdf417Data(std::string(5401, 'A')), E2DBarcodeError, "Code too large for barcode");
}

// Schoolbook division of a decimal string by 900, as an independent reference.
std::vector<int> ReferenceBase900(std::string digits) {
    std::vector<int> out;
    while (!(digits.size() == 1 && digits[0] == '0')) {
        std::string q;
        int r = 0;
        for (char c : digits) {
            r = r * 10 + (c - '0');
            if (!q.empty() || r / 900) q += static_cast<char>('0' + r / 900);
            r %= 900;
        }
        out.insert(out.begin(), r);
        digits = q.empty() ? "0" : q;
    }
    return out;
}

TEST(Pdf417Encoding, Base900ConversionsMatchLongDivision) {
    std::mt19937 rng(900);
    for (int i = 0; i < 500; ++i) {
        std::string s(1, static_cast<char>('1' + rng() % 9));
        const int length = 1 + static_cast<int>(rng() % 45);
        while (static_cast<int>(s.size()) < length) s += static_cast<char>('0' + rng() % 10);
        ASSERT_EQ(ConvertToBase900(s), ReferenceBase900(s)) << s;
    }
    EXPECT_EQ(ConvertToBase900("900"), (std::vector<int>{1, 0}));
    EXPECT_EQ(ConvertBytesToBase900("\xFF\xFF\xFF\xFF\xFF\xFF"), (std::array<int, 5>{429, 11, 71, 222, 855}));
    EXPECT_EQ(ConvertBytesToBase900(std::string(6, '\0')), (std::array<int, 5>{0, 0, 0, 0, 0}));
}

TEST(Pdf417Encoding, TextTableMatchesTheStandardSubModes) {
    std::ifstream in(test::TestDataPath("reference/pdf417_text_submodes.txt"));
    ASSERT_TRUE(in) << "pdf417_text_submodes.txt";
    int expectedValue[128];
    int expectedMask[128] = {};
    std::fill(std::begin(expectedValue), std::end(expectedValue), -1);
    int mode = -1;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("submode", 0) == 0) {
            ++mode;
            continue;
        }
        std::istringstream fields(line);
        int value = 0, ascii = 0;
        std::string token;
        fields >> value >> token >> ascii;
        if (ascii < 0) continue;
        EXPECT_TRUE(expectedValue[ascii] == -1 || expectedValue[ascii] == value) << ascii;
        expectedValue[ascii] = value;
        expectedMask[ascii] |= 1 << mode;
    }
    ASSERT_EQ(mode, 3);
    for (int c = 0; c < 128; ++c) {
        EXPECT_EQ(Pdf417TextValue(c), expectedValue[c]) << "character " << c;
        EXPECT_EQ(Pdf417TextSubModes(c), expectedMask[c]) << "character " << c;
    }
    EXPECT_EQ(Pdf417TextValue(200), -1);
}

} // namespace
} // namespace qbm
