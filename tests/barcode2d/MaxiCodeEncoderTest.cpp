#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/MaxiCodeErrorCorrection.h"
#include "barcode2d/MaxiCodeModuleMap.h"
#include "barcode2d/TMaxiCodeCarrier.h"
#include "barcode2d/TMaxiCodeEncoder.h"

#include "TestSupport.h"

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace qbm {
namespace {

using Set = TMaxiCodeEncoder::TCodeSet;

std::vector<int> MessageOf(const std::string& code, TStMaxiCodeMode mode = cmMode4) {
    TMaxiCodeEncoder enc;
    enc.Encode({mode, "000000000", 0, 0, code});
    return std::vector<int>(enc.Message().begin(), enc.Message().end());
}

// The message starts with `head`; every codeword after it is a pad.
void ExpectMessage(const std::string& code, const std::vector<int>& head, int pad = 33) {
    const std::vector<int> m = MessageOf(code);
    ASSERT_GE(m.size(), head.size());
    for (size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(m[i], head[i]) << "codeword " << i << " of '" << code << "'";
    for (size_t i = head.size(); i < m.size(); ++i)
        ASSERT_EQ(m[i], pad) << "pad " << i << " of '" << code << "'";
}

TEST(MaxiCodeModuleMap, MatchesTheSharedTableCellForCell) {
    std::ifstream in(test::TestDataPath("reference/maxicode_module_map.txt"));
    ASSERT_TRUE(in) << "module map data file missing";
    std::string line;
    int row = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream cells(line);
        int v, column = 0;
        while (cells >> v) {
            EXPECT_EQ(MaxiCodeModuleAt(row, column), v) << "row " << row << " column " << column;
            ++column;
        }
        EXPECT_EQ(column, kMaxiCodeColumns);
        ++row;
    }
    EXPECT_EQ(row, kMaxiCodeRows);
}

TEST(MaxiCodeModuleMap, HoldsEveryBitOnceAndTheOrientationModules) {
    const int row9[30] = {410, 409, 404, 403, 398, 397, 392, 391, 80,  79,  -1,  -1,  14,  13,  38,
                          37,  3,   0,   45,  44,  110, 109, 386, 385, 380, 379, 374, 373, 829, 0};
    for (int c = 0; c < 30; ++c) EXPECT_EQ(MaxiCodeModuleAt(9, c), row9[c]) << c;
    EXPECT_EQ(MaxiCodeModuleAt(0, 0), 122);
    EXPECT_EQ(MaxiCodeModuleAt(0, 5), 133);
    EXPECT_EQ(MaxiCodeModuleAt(1, 28), 817);
    EXPECT_EQ(MaxiCodeModuleAt(32, 28), 864);
    EXPECT_EQ(MaxiCodeModuleAt(32, 29), 863);
    EXPECT_EQ(MaxiCodeModuleAt(16, 14), -2);
    EXPECT_EQ(MaxiCodeModuleAt(-1, 0), 0);
    EXPECT_EQ(MaxiCodeModuleAt(0, 30), 0);

    std::set<std::pair<int, int>> dark;
    std::vector<int> seen(865, 0);
    for (int r = 0; r < kMaxiCodeRows; ++r)
        for (int c = 0; c < kMaxiCodeColumns; ++c) {
            const int v = MaxiCodeModuleAt(r, c);
            if (v == -1) dark.insert({r, c});
            if (v >= 1 && v <= 864) ++seen[v];
            if (r % 2 == 1 && c == 29) {
                EXPECT_EQ(v, 0) << "odd row " << r << " has 29 modules";
            }
        }
    for (int n = 1; n <= 864; ++n) EXPECT_EQ(seen[n], 1) << "bit " << n;
    const std::set<std::pair<int, int>> expected = {{0, 28},  {0, 29},  {9, 10},  {9, 11},  {10, 11},
                                                    {15, 7},  {16, 8},  {16, 20}, {17, 20}, {22, 10},
                                                    {23, 10}, {22, 17}, {23, 17}};
    EXPECT_EQ(dark, expected);
}

TEST(MaxiCodeErrorCorrection, FieldAndGeneratorPolynomials) {
    // Every non-zero element times its inverse is one, and 2^6 reduces to x + 1.
    EXPECT_EQ(MaxiCodeGfMultiply(32, 2), 3);
    for (int a = 1; a < 64; ++a) {
        int inverses = 0;
        for (int b = 1; b < 64; ++b) inverses += MaxiCodeGfMultiply(a, b) == 1;
        EXPECT_EQ(inverses, 1) << a;
        EXPECT_EQ(MaxiCodeGfMultiply(a, 0), 0);
    }
    const std::vector<std::vector<int>> heads = {
        {46, 44, 49, 3, 2, 57}, {59, 23, 19, 31, 33, 38}, {28, 11, 20, 7, 43, 9}};
    const int sizes[] = {10, 20, 28};
    for (int k = 0; k < 3; ++k) {
        const auto g = MaxiCodeGenerator(sizes[k]);
        ASSERT_EQ(static_cast<int>(g.size()), sizes[k]);
        for (size_t i = 0; i < heads[k].size(); ++i) EXPECT_EQ(g[i], heads[k][i]) << sizes[k] << " / " << i;
    }
    EXPECT_TRUE(MaxiCodeGenerator(11).empty());
}

TEST(MaxiCodeErrorCorrection, DefaultSymbolCheckCodewords) {
    TMaxiCodeEncoder enc;
    enc.Encode({});
    auto cw = enc.Codewords();
    CalcMaxiCodeErrorCorrection(cw, false);
    const int primary[] = {9, 44, 53, 20, 38, 49, 10, 59, 61, 4};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(cw[10 + i], primary[i]) << i;
    const int secondary[] = {60, 40, 9, 43, 14, 50, 12, 53, 57, 58, 36, 28, 10, 53, 37, 30, 14, 5, 31, 40};
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(cw[104 + 2 * k], secondary[k]) << "even block " << k;
        EXPECT_EQ(cw[105 + 2 * k], secondary[k]) << "odd block " << k;
    }
}

TEST(MaxiCodeErrorCorrection, CheckCodewordsMakeEveryBlockACodeword) {
    // A codeword of the code has the roots a^1..a^n: evaluating it there gives zero.
    auto evaluate = [](const std::vector<int>& poly, int x) { // highest degree first
        int r = 0;
        for (int c : poly) r = MaxiCodeGfMultiply(r, x) ^ c;
        return r;
    };
    TMaxiCodeEncoder enc;
    for (bool enhanced : {false, true}) {
        enc.Encode({enhanced ? cmMode5 : cmMode4, "", 0, 0, "Test 123 \\NS abc \xe9"});
        auto cw = enc.Codewords();
        CalcMaxiCodeErrorCorrection(cw, enhanced);
        const int data = enhanced ? 34 : 42, check = enhanced ? 28 : 20;
        for (int parity = 0; parity < 2; ++parity) {
            std::vector<int> block;
            for (int i = 0; i < data + check; ++i) block.push_back(cw[20 + parity + 2 * i]);
            for (int r = 1; r <= check; ++r) {
                int root = 1;
                for (int i = 0; i < r; ++i) root = MaxiCodeGfMultiply(root, 2);
                EXPECT_EQ(evaluate(block, root), 0)
                    << "enhanced " << enhanced << " block " << parity << " root " << r;
            }
        }
        std::vector<int> primary(cw.begin(), cw.begin() + 20);
        for (int r = 1; r <= 10; ++r) {
            int root = 1;
            for (int i = 0; i < r; ++i) root = MaxiCodeGfMultiply(root, 2);
            EXPECT_EQ(evaluate(primary, root), 0) << "primary root " << r;
        }
    }
}

TEST(MaxiCodeCodeSets, EveryCharacterHasAHomeAndTheTablesHoldTheirLandmarks) {
    for (int c = 0; c < 256; ++c) {
        const Set s = TMaxiCodeEncoder::FirstCodeSet(c);
        EXPECT_GE(TMaxiCodeEncoder::CodewordInSet(s, c), 0) << c;
    }
    struct Case {
        Set set;
        int c;
        int cw;
    };
    const Case cases[] = {
        /* 0 */ {Set::csA, 13, 0},    {Set::csA, 'Z', 26},  {Set::csA, ' ', 32}, {Set::csA, '"', 34},
        /* 4 */ {Set::csA, ':', 58},  {Set::csB, '`', 0},   {Set::csB, '{', 32}, {Set::csB, '}', 34},
        /* 8 */ {Set::csB, 127, 36},  {Set::csB, '\\', 43}, {Set::csB, ' ', 47}, {Set::csB, '|', 54},
        /* 12 */ {Set::csB, '!', 53}, {Set::csC, 192, 0},   {Set::csC, 223, 36}, {Set::csC, 190, 47},
        /* 16 */ {Set::csC, 137, 57}, {Set::csC, ' ', 59},  {Set::csD, 255, 36}, {Set::csD, 191, 46},
        /* 20 */ {Set::csD, 138, 47}, {Set::csD, 148, 57},  {Set::csE, 27, 30},  {Set::csE, 31, 35},
        /* 24 */ {Set::csE, 182, 47}, {Set::csE, 158, 57},  {Set::csE, 29, 33},  {Set::csD, 29, 29},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(TMaxiCodeEncoder::CodewordInSet(cases[i].set, cases[i].c), cases[i].cw) << "row " << i;
    EXPECT_EQ(TMaxiCodeEncoder::CodewordInSet(Set::csA, 'a'), -1);
    EXPECT_EQ(TMaxiCodeEncoder::FirstCodeSet(','), Set::csA);
    EXPECT_EQ(TMaxiCodeEncoder::FirstCodeSet(';'), Set::csB);
    EXPECT_EQ(TMaxiCodeEncoder::FirstCodeSet(233), Set::csD);
}

TEST(MaxiCodeMessage, ShiftsLatchesAndLockIns) {
    ExpectMessage("", {});
    ExpectMessage("AB 1", {1, 2, 32, 49});
    ExpectMessage("ab", {63, 1, 2});
    ExpectMessage("aBc", {63, 1, 63, 2, 63, 3});
    // 'a' inside capitals with another capital after the next character: shift B, stay in A
    ExpectMessage("AaBC", {1, 59, 1, 2, 3});
    // 'é' is set D: two shifts lock it in, and the message closes with a latch to A
    ExpectMessage("A\xe9", {1, 61, 61, 9, 58});
    // a capital after the next character: a single shift to D, and set A stays in force
    ExpectMessage("A\xe9xB", {1, 61, 9, 63, 24, 63, 2});
    // a single set C character between capitals: one shift
    ExpectMessage("A\xc0"
                  "BC",
                  {1, 60, 0, 2, 3});
    // ends in set E: the pads are set E's
    ExpectMessage("\x01\x02", {62, 62, 1, 2}, 28);
}

TEST(MaxiCodeMessage, Escapes) {
    ExpectMessage("\\EOT", {62, 62, 4}, 28);
    ExpectMessage("\\eot", {62, 62, 4}, 28);
    ExpectMessage("\\NS", {31});
    ExpectMessage("A\\nsB", {1, 31, 2});
    ExpectMessage("\\FS\\GS\\RS", {28, 29, 30});
    ExpectMessage("\\065\\x42\\X4a", {1, 2, 10}); // decimal 65 'A', hex 42 'B', hex 4A 'J'
    ExpectMessage("\\C12\\c5", {12, 5});          // codewords go in unchanged
    ExpectMessage("\\Cab", {0});                  // not a number: codeword 0
    ExpectMessage("\\\\", {63, 43});              // one backslash, set B
    ExpectMessage("A\\", {1, 63, 43});            // a trailing backslash stands for itself
    ExpectMessage("\\QA", {59, 43, 17, 1});       // backslash only; the Q is read normally
    ExpectMessage("\\F", {63, 43, 63, 6});
    ExpectMessage("\\E000003A", {27, 3, 1});
    ExpectMessage("\\E000100", {27, 33, 36});
    ExpectMessage("\\E020000", {27, 52, 56, 32});
    ExpectMessage("\\E999999", {27, 59, 52, 8, 63});
    ExpectMessage("\\E12", {27, 12});                          // the text ends early
    ExpectMessage("\\EABCDEF", {59, 43, 5, 1, 2, 3, 4, 5, 6}); // not a number: backslash only
}

TEST(MaxiCodeMessage, OutOfRangeEscapesAndCapacity) {
    TMaxiCodeEncoder enc;
    auto encode = [&enc](const std::string& code, TStMaxiCodeMode mode = cmMode4) {
        enc.Encode({mode, "000000000", 0, 0, code});
    };
    EXPECT_THROW_MSG(encode("\\256"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(encode("\\C64"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(encode("\\C-1"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(encode("\\E-00001"), E2DBarcodeError, "GLI value out of range");
    EXPECT_THROW_MSG(encode("\\E$FFFFF"), E2DBarcodeError, "GLI value out of range");
    encode("\\255\\C63");
    EXPECT_EQ(enc.Message()[2], 63);

    encode(std::string(84, 'A'));
    EXPECT_EQ(enc.MessageLength(), 145);
    EXPECT_THROW_MSG(encode(std::string(85, 'A')), E2DBarcodeError, "Code too large for barcode");
    encode(std::string(68, 'A'), cmMode5);
    EXPECT_THROW_MSG(encode(std::string(69, 'A'), cmMode5), E2DBarcodeError, "Code too large for barcode");
    EXPECT_THROW_MSG(encode(std::string(100000, 'a')), E2DBarcodeError, "Code too large for barcode");
    // the closing latch does not count against the capacity
    encode(std::string(81, 'A') + "\xe9");
    EXPECT_EQ(enc.Message()[84], 58);
}

TEST(MaxiCodeMessage, PlacementByMode) {
    TMaxiCodeEncoder enc;
    const std::string code = "ABCDEFGHIJKLMN";
    enc.Encode({cmMode4, "", 0, 0, code});
    EXPECT_EQ(enc.Codewords()[0], 4);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(enc.Codewords()[i], i);       // A..I
    for (int i = 20; i < 25; ++i) EXPECT_EQ(enc.Codewords()[i], i - 10); // J..N
    EXPECT_EQ(enc.Codewords()[25], 33);
    EXPECT_EQ(enc.Codewords()[103], 33);
    EXPECT_EQ(enc.Codewords()[104], 0); // check codewords come later

    enc.Encode({cmMode5, "", 0, 0, code});
    EXPECT_EQ(enc.Codewords()[0], 5);
    EXPECT_EQ(enc.Codewords()[87], 33);
    EXPECT_EQ(enc.Codewords()[88], 0);

    enc.Encode({cmMode2, "123", 0, 0, code});
    for (int i = 0; i < 14; ++i) EXPECT_EQ(enc.Codewords()[20 + i], i + 1);
    EXPECT_EQ(enc.Codewords()[34], 33);
}

// What the primary message cannot hold is refused by name instead of being cut or wrapped.
TEST(MaxiCodePrimary, CarrierDataBeyondItsRoomIsRefusedByName) {
    const std::string digits = ": mode 2 takes 1 to 9 digits.";
    const std::string mode3 =
        ": mode 3 takes 1 to 6 characters: letters A to Z, digits, spaces and \"#$%&'()*+,-./:";
    const struct {
        TMaxiCodeCarrier carrier;
        std::string message; // empty: accepted
    } cases[] = {
        {{cmMode2, "1523828021", 840, 1},
         "Invalid Postal Code \"1523828021\"" + digits}, // wrapped at 30 bits
        {{cmMode2, "152382802", 840, 1}, ""},
        {{cmMode2, "1", 0, 0}, ""},
        {{cmMode2, "", 840, 1}, "Invalid Postal Code \"\"" + digits},
        {{cmMode2, "2147483648", 0, 0}, "Invalid Postal Code \"2147483648\"" + digits},
        {{cmMode2, "W1A 1AA", 826, 1},
         "Invalid Postal Code \"W1A 1AA\": mode 2 takes digits only; mode 3 takes letters (up to 6 "
         "characters)."},
        {{cmMode2, "12 3", 840, 1},
         "Invalid Postal Code \"12 3\": mode 2 takes digits only; mode 3 takes letters (up to 6 "
         "characters)."},
        {{cmMode3, "W1A 1AA", 826, 1}, "Invalid Postal Code \"W1A 1AA\"" + mode3}, // cut to "W1A 1A" before
        {{cmMode3, "W1A1AA", 826, 1}, ""},
        {{cmMode3, "abcdefgh", 0, 0}, "Invalid Postal Code \"abcdefgh\"" + mode3},
        {{cmMode3, "A!", 0, 0}, "Invalid Postal Code \"A!\"" + mode3}, // "!" is not in code set A
        {{cmMode3, "A\r", 0, 0}, "Invalid Postal Code \"A\r\"" + mode3},
        {{cmMode3, "", 0, 0}, "Invalid Postal Code \"\"" + mode3},
        {{cmMode3, "123456789", 0, 0}, ""}, // digits: mode 2 in either
        {{cmMode3, "1234567890", 0, 0}, "Invalid Postal Code \"1234567890\"" + digits},
        {{cmMode2, "12345", 1840, 1}, "Invalid Country Code: 1840 is not in 0 to 999."},
        {{cmMode3, "AB", -1, 1}, "Invalid Country Code: -1 is not in 0 to 999."},
        {{cmMode2, "12345", 999, 1000}, "Invalid Service Class: 1000 is not in 0 to 999."},
        {{cmMode2, "12345", 0, 999}, ""},
        // no carrier data in the other modes: nothing to check
        {{cmMode4, "1523828021", 1840, -5}, ""},
        {{cmMode6, "W1A 1AA", 1840, 1000}, ""},
    };
    for (const auto& c : cases) {
        const TCarrierProblem p = CheckCarrier(c.carrier);
        EXPECT_EQ(p.message, c.message) << c.carrier.postalCode;
        TMaxiCodeEncoder enc;
        if (c.message.empty())
            EXPECT_NO_THROW(enc.Encode(
                {c.carrier.mode, c.carrier.postalCode, c.carrier.countryCode, c.carrier.serviceClass, "X"}));
        else
            EXPECT_THROW_MSG(enc.Encode({c.carrier.mode, c.carrier.postalCode, c.carrier.countryCode,
                                         c.carrier.serviceClass, "X"}),
                             E2DBarcodeError, c.message);
    }
    EXPECT_EQ(CheckCarrier({cmMode2, "12345", 1840, 0}).field, TCarrierField::cfCountryCode);
    EXPECT_EQ(CheckCarrier({cmMode2, "12345", 0, 1000}).field, TCarrierField::cfServiceClass);
    EXPECT_EQ(CheckCarrier({cmMode2, "ABC", 0, 0}).field, TCarrierField::cfPostalCode);
}

TEST(MaxiCodePrimary, StructuredCarrierFields) {
    struct Case {
        TStMaxiCodeMode mode;
        std::string postal;
        int country, service;
        std::vector<int> cw;
    };
    const Case cases[] = {
        /* 0 */ {cmMode3, "000000000", 0, 0, {2, 0, 0, 0, 0, 16, 2, 0, 0, 0}},
        /* 1 */ {cmMode2, "000000000", 840, 1, {2, 0, 0, 0, 0, 16, 2, 18, 7, 0}},
        /* 2 */ {cmMode2, "000000000", 999, 0, {2, 0, 0, 0, 0, 16, 50, 57, 3, 0}},
        /* 3 */
        {cmMode2,
         "152382802",
         0,
         0,
         {2 + 16 * (152382802 & 3), (152382802 >> 2) & 63, (152382802 >> 8) & 63, (152382802 >> 14) & 63,
          (152382802 >> 20) & 63, 16 + (152382802 >> 26), 2, 0, 0, 0}},
        /* 4 */ {cmMode3, "AB12", 0, 0, {3, 8, 40, 28, 44, 16, 0, 0, 0, 0}},
        /* 5 */ {cmMode3, "ab12", 0, 0, {3, 8, 40, 28, 44, 16, 0, 0, 0, 0}},
        /* 6 */ {cmMode3, "A#", 3, 999, {3, 8, 8, 8, 56, 24, 48, 0, 28, 62}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TMaxiCodeEncoder enc;
        enc.Encode({cases[i].mode, cases[i].postal, cases[i].country, cases[i].service, ""});
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(enc.Codewords()[k], cases[i].cw[k]) << "row " << i << " codeword " << k;
    }
    // lower-case letters are written upper case
    TMaxiCodeEncoder a, b;
    a.Encode({cmMode3, "abcdef", 0, 0, ""});
    b.Encode({cmMode3, "ABCDEF", 0, 0, ""});
    EXPECT_EQ(a.Codewords(), b.Codewords());
    EXPECT_TRUE(TMaxiCodeEncoder::IsNumericPostalCode(""));
    EXPECT_FALSE(TMaxiCodeEncoder::IsNumericPostalCode("12 3"));
}

} // namespace
} // namespace qbm
