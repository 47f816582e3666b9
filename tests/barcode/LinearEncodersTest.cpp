#include "barcode/LinearSymbolTables.h"
#include "barcode/TBarcode.h"
#include "util/Text.h"

#include "TestSupport.h"

#include <fstream>
#include <map>
#include <sstream>

namespace qbm {
namespace {

std::string Pattern(TBarcodeType type, const std::string& text, bool checksum = false) {
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(text);
    bc.SetChecksum(checksum);
    return bc.BuildPattern();
}

// Data lines of a symbology reference table, split into words.
std::vector<std::vector<std::string>> DataLines(const std::string& file) {
    std::ifstream in(test::TestDataPath("reference/" + file));
    EXPECT_TRUE(in) << file;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::vector<std::string> row;
        for (std::string w; words >> w;) row.push_back(w);
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

char FromDataChar(const std::string& token) {
    return token == "SP" ? ' ' : token[0];
}

TEST(LinearTables, Code39MatchesTheStandardTable) {
    const auto rows = DataLines("code39_patterns.txt");
    ASSERT_EQ(rows.size(), 44u);
    for (int i = 0; i < kCode39RowCount; ++i) {
        EXPECT_EQ(Code39Table[i].ch, FromDataChar(rows[i][0])) << "row " << i;
        EXPECT_EQ(std::string(Code39Table[i].pattern), rows[i][1]) << "row " << i;
    }
    // Check values: position in 0-9, A-Z, "-", ".", " ", "$", "/", "+", "%"; "*" counts 0.
    const std::string order = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    for (const TCode39Row& row : Code39Table) {
        const int expected = row.ch == '*' ? 0 : static_cast<int>(order.find(row.ch));
        EXPECT_EQ(row.checkValue, expected) << row.ch;
    }
    EXPECT_STREQ(Code39Table[0].pattern, "505160605");
    EXPECT_STREQ(Code39Table[10].pattern, "605051506");
    EXPECT_STREQ(Code39Table[39].pattern, "515060605");
    EXPECT_STREQ(Code39Table[43].pattern, "505151515");
}

TEST(LinearTables, Code93MatchesTheStandardTable) {
    const auto rows = DataLines("code93_widths.txt");
    ASSERT_EQ(rows.size(), 49u); // 47 characters, start, stop
    for (int v = 0; v < kCode93RowCount; ++v) {
        EXPECT_EQ(rows[v][0], std::to_string(v));
        EXPECT_EQ(Code93Table[v].ch, FromDataChar(rows[v][1])) << "value " << v;
        EXPECT_EQ(std::string(Code93Table[v].widths), rows[v][2]) << "value " << v;
    }
    EXPECT_STREQ(Code93Table[0].widths, "131112");
    EXPECT_STREQ(Code93Table[10].widths, "211113");
    EXPECT_STREQ(Code93Table[43].widths, "121221");
    EXPECT_STREQ(Code93Table[46].widths, "122211");
}

TEST(LinearTables, PostNetMatchesTheStandardTable) {
    const auto rows = DataLines("postnet_digits.txt");
    ASSERT_EQ(rows.size(), 10u);
    for (int d = 0; d < 10; ++d) EXPECT_EQ(std::string(PostNetBars[d]), rows[d][1]) << "digit " << d;
    // Weights 7, 4, 2, 1, 0 of the full bars give the digit (11 for 0).
    for (int d = 0; d < 10; ++d) {
        const int weights[5] = {7, 4, 2, 1, 0};
        int sum = 0;
        for (int k = 0; k < 5; ++k) sum += PostNetBars[d][k] == '1' ? weights[k] : 0;
        EXPECT_EQ(sum % 11, d);
    }
}

TEST(LinearTables, ExtendedMapsFollowTheFullAsciiTable) {
    EXPECT_STREQ(Code39ExtendedMap(0), "%U");
    EXPECT_STREQ(Code39ExtendedMap(1), "$A");
    EXPECT_STREQ(Code39ExtendedMap(31), "%E");
    EXPECT_STREQ(Code39ExtendedMap(33), "/A");
    EXPECT_STREQ(Code39ExtendedMap(58), "/Z");
    EXPECT_STREQ(Code39ExtendedMap(64), "%V");
    EXPECT_STREQ(Code39ExtendedMap(96), "%W");
    EXPECT_STREQ(Code39ExtendedMap(97), "+A");
    EXPECT_STREQ(Code39ExtendedMap(127), "%T");
    // Every mapped character is a Code 39 data character.
    for (int c = 0; c < 128; ++c)
        for (const char* p = Code39ExtendedMap(c); *p; ++p)
            EXPECT_NE(std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%").find(*p), std::string::npos)
                << c;
}

struct Case {
    TBarcodeType type;
    const char* text;
    bool checksum;
    const char* pattern;
};

// Expected patterns written out from the standards' tables.
const Case kCases[] = {
    /* 0 */ {bcCode_2_5_interleaved, "123", false, "505051506060515161505060605"},
    /* 1 */ {bcCode_2_5_interleaved, "", false, "5050605"},
    /* 2 */
    {bcCode_2_5_industrial, "1", false, "6060506050505060605060"},
    /* 3 */
    {bcCode_2_5_matrix, "1", false, "70505060506070505"},
    /* 4 */
    {bcCode_2_5_matrix, "09", false, "70505050615051515070505"},
    /* 5 */
    {bcCode39, "abc", false, "5150606050515060605"},
    /* 6 */
    {bcCode39, "abc", true, "51506060505051606050515060605"},
    /* 7 */
    {bcCode39, "A", true, "515060605060505150606050515060515060605"},
    /* 8 */
    {bcCode39, "A*", false, "51506060506050515060515060605"},
    /* 9 */
    {bcCode39Extended, "a", false, "515060605051505151506050515060515060605"},
    /* 10 */
    {bcCode39Extended, "\x80", false, "515060605050515151506150505060515060605"},
    /* 11 */
    {bcCode39Extended, "A\xE9", false, "51506060506050515060515060605"},
    /* 12 */
    {bcCodeCodabar, "1", false, "50615150505061505151506"},
    /* 13 */
    {bcCodeCodabar, "1x", false, "50615150505061505151506"},
    /* 14 */
    {bcCodeMSI, "", false, "6051515151515"},
    /* 15 */
    {bcCodeMSI, "9", false, "606051516051515160515"},
    /* 16 */
    {bcCodePostNet, "0", true, "515151A1A1A15"},
    /* 17 */
    {bcCodePostNet, "19", false, "51A1A1A1515151A151A1A15"},
    /* 18 */ {bcCodePostNet, "", false, "515"},
};

TEST(LinearEncoders, PatternsFollowTheStandardTables) {
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        EXPECT_EQ(Pattern(c.type, c.text, c.checksum), c.pattern) << "row " << i;
    }
}

TEST(Code2of5Interleaved, OddTextGetsALeadingZeroInText) {
    TBarcode bc;
    bc.SetTyp(bcCode_2_5_interleaved);
    bc.SetText("123");
    int notified = 0;
    bc.SetOnChange([&](TBarcode&) { ++notified; });
    const std::string p = bc.BuildPattern();
    EXPECT_EQ(bc.Text(), "0123");
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(p.size(), 4u + 20u + 3u);
}

TEST(Code2of5, NumericTypesRejectLetters) {
    for (const TBarcodeType t :
         {bcCode_2_5_interleaved, bcCode_2_5_industrial, bcCode_2_5_matrix, bcCodeMSI, bcCodePostNet})
        EXPECT_THROW_MSG(Pattern(t, "12a"), EBarcodeError, "Barcode must be numeric");
}

TEST(Code39Extended, RestoresTextAndDropsUnmappableCharacters) {
    TBarcode bc;
    bc.SetTyp(bcCode39Extended);
    bc.SetText("a\xFF");
    bc.SetChecksum(true);
    const std::string p = bc.BuildPattern();
    EXPECT_EQ(bc.Text(), "a\xFF");
    // "+A" sums 41 + 10 = 51, check character value 8.
    EXPECT_EQ(p, std::string("5150606050") + "5150515150" + "6050515060" + "6051506050" + "515060605");
}

// Widths of a Code 93 symbol as its characters, for readable comparisons.
std::string Code93Widths(const std::string& chars) {
    std::string w = "111141";
    for (const char c : chars)
        for (const TCode93Row& row : Code93Table)
            if (row.ch == c) w += row.widths;
    return w + "1111411";
}

TEST(Code93, AddsTheTwoCheckCharacters) {
    EXPECT_EQ(Pattern(bcCode93, "TEST93"), TBarcode::WidthsToPattern(Code93Widths("TEST93+6")));
    EXPECT_EQ(Pattern(bcCode93, ""), TBarcode::WidthsToPattern(Code93Widths("00")));
    // Twenty characters: the first one has C weight 20 (10 x 20 = 200, C = 12 "C") and K weight 6.
    EXPECT_EQ(Pattern(bcCode93, "A" + std::string(19, '0')),
              TBarcode::WidthsToPattern(Code93Widths("A" + std::string(19, '0') + "CP")));
    // Fifteen characters: C weight 15 (150 mod 47 = 9), K weight 1 ((150 + 10) mod 47 = 19 "J").
    EXPECT_EQ(Pattern(bcCode93, "A" + std::string(14, '0')),
              TBarcode::WidthsToPattern(Code93Widths("A" + std::string(14, '0') + "9J")));
}

TEST(Code93, RejectsCharactersOutsideItsSet) {
    EXPECT_THROW_MSG(Pattern(bcCode93, "TEST93a"), EBarcodeError, "Code93 bad Data !");
}

TEST(Code93Extended, ShiftsLowerCaseAndKeepsText) {
    TBarcode bc;
    bc.SetTyp(bcCode93Extended);
    bc.SetText("a");
    TBarcode plain;
    plain.SetTyp(bcCode93);
    plain.SetText("}A");
    EXPECT_EQ(bc.BuildPattern(), plain.BuildPattern());
    EXPECT_EQ(bc.Text(), "a");
    // NUL marker and NUL are the same "]U"; other Latin-1 characters are dropped.
    EXPECT_EQ(Pattern(bcCode93Extended, "\x80"), Pattern(bcCode93Extended, std::string(1, '\0')));
    EXPECT_EQ(Pattern(bcCode93Extended, "A\xE9"), Pattern(bcCode93, "A"));
    EXPECT_EQ(Pattern(bcCode93Extended, "!"), Pattern(bcCode93, "{A"));
}

// The MSI check digit is the last digit pattern before the stop.
int MsiCheckDigitOf(const std::string& text) {
    const std::string p = Pattern(bcCodeMSI, text);
    const std::string bits = p.substr(p.size() - 3 - 8, 8);
    int d = 0;
    for (int k = 0; k < 4; ++k) d = d * 2 + (bits.substr(2 * k, 2) == "60" ? 1 : 0);
    return d;
}

TEST(Msi, CheckDigitDoublesTheNumberHoldingTheLastDigit) {
    EXPECT_EQ(MsiCheckDigitOf("1234"), 4);
    EXPECT_EQ(MsiCheckDigitOf("80523"), 4);
    EXPECT_EQ(MsiCheckDigitOf("5"), 9);
    EXPECT_EQ(MsiCheckDigitOf(""), 0);
    // Longer than a 32-bit number holds: digit-by-digit arithmetic.
    EXPECT_EQ(MsiCheckDigitOf("12345678901234567890123"), 4);
    EXPECT_EQ(MsiCheckDigitOf("31415926535897932384626"), 7);
    EXPECT_EQ(MsiCheckDigitOf("27182818284590452353602874"), 1);
    EXPECT_EQ(MsiCheckDigitOf("99999999999999999999"), 0);
}

TEST(Codabar, SkipsCharactersOutsideItsTableAndEncodesStartStopAsData) {
    EXPECT_EQ(Pattern(bcCodeCodabar, "a1~"), Pattern(bcCodeCodabar, "1"));
    EXPECT_EQ(Pattern(bcCodeCodabar, "A"), "5061515"
                                           "0"
                                           "5061515"
                                           "0"
                                           "5151506");
}

TEST(LinearEncoders, RatioClampShapesTheWideElements) {
    TBarcode bc;
    bc.SetTyp(bcCode_2_5_matrix);
    bc.SetModul(2);
    bc.SetRatio(2.0);
    bc.SetText("1");
    // Ratio clamps to 2.25: W2 = rnd(4.5) = 4, W3 = 6, W4 = 8.
    EXPECT_EQ(bc.Width(), (6 + 2 + 2 + 2 + 2 + 2) + (4 + 2 + 2 + 2 + 4) + 2 + (6 + 2 + 2 + 2 + 2));
    EXPECT_EQ(bc.Ratio(), 2.25);
}

// The encoders need no barcode object: the pure function and the component give the same pattern for
// every type, and the text the component keeps is the one the encoder completed.
TEST(LinearEncoding, PureEncoderAndComponentAgreeOnEveryType) {
    struct TCase {
        TBarcodeType type;
        const char* text;
        bool checksum;
        const char* kept;
    };
    const TCase kCases[] = {
        {bcCode_2_5_interleaved, " 12345 ", false, "012345"},
        {bcCode_2_5_industrial, "123", false, "123"},
        {bcCode_2_5_matrix, "987", true, "987"},
        {bcCode39, "AB-12", true, "AB-12"},
        {bcCode39Extended, "ab+1", false, "ab+1"},
        {bcCode93, "CODE 93", false, "CODE 93"},
        {bcCode93Extended, "x\x01y", false, "x\x01y"},
        {bcCodeMSI, "8052", false, "8052"},
        {bcCodePostNet, "55555", false, "55555"},
        {bcCodeCodabar, "A40156B", false, "A40156B"},
        {bcCode128A, "ABC", false, "ABC"},
        {bcCode128B, "Abc", false, "Abc"},
        {bcCode128C, "12345", false, "12345"},
        {bcCodeEAN128A, "AB", false, "AB"},
        {bcCodeEAN128B, "ab", false, "ab"},
        {bcCodeEAN128C, "010950110153000", false, "010950110153000"},
        {bcCode128Auto, "ab1234", false, "ab1234"},
        {bcCodeEAN8, "1234567", true, "1234567"},
        {bcCodeEAN13, "590123412345", false, "590123412345"},
        {bcCodeUPC_A, "03600029145", true, "03600029145"},
        {bcCodeUPC_E0, "0425261", false, "0425261"},
        {bcCodeUPC_E1, "123456", false, "123456"},
        {bcCodeUPC_Supp2, "5", true, "055"},
        {bcCodeUPC_Supp5, "5249", false, "05249"},
    };
    for (const TCase& c : kCases) {
        TBarcode bc;
        bc.SetTyp(c.type);
        bc.SetText(c.text);
        bc.SetChecksum(c.checksum);
        const std::string pattern = bc.BuildPattern();
        EXPECT_EQ(bc.Text(), c.kept) << c.type;
        const std::string trimmed = BCdata[c.type].Num ? Trim(c.text) : c.text;
        const TLinearInput in{trimmed, c.type, c.checksum};
        EXPECT_EQ(EncodeLinear(in), pattern) << c.type;
        const std::string kept = CompletedText(in).value_or(trimmed);
        EXPECT_EQ(kept, c.kept) << c.type;
        EXPECT_EQ(EncodeLinear({kept, c.type, c.checksum}), pattern) << c.type; // completing changes nothing
    }
    EXPECT_THROW_MSG(EncodeLinear({"12a", bcCodeEAN13}), EBarcodeError, "Barcode must be numeric");
    EXPECT_THROW_MSG(EncodeLinear({"ab", bcCode93}), EBarcodeError, "Code93 bad Data !");
}

} // namespace
} // namespace qbm
