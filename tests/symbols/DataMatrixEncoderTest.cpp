#include "symbols/DataMatrixEncoder.h"
#include "symbols/DataMatrixEncodation.h"
#include "symbols/DataMatrixSymbol.h"
#include "symbols/ESymbolError.h"
#include "symbols/MatrixSymbolGeometry.h"

#include "DataMatrixTestSupport.h"
#include "SymbolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

using Shape = TDataMatrixShape;
using test::ZintDataMatrix;
using test::ZintDataMatrixOptions;

std::string Utf8(std::initializer_list<char32_t> chars) {
    std::string s;
    for (const char32_t c : chars) test::AppendUtf8(s, c);
    return s;
}

std::string Repeat(std::string_view piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

TDataMatrix Encode(std::string_view text, const ZintDataMatrixOptions& o) {
    return EncodeDataMatrix(text, o.shape, o.rows, o.columns, o.gs1);
}

test::Decoded Read(const TDataMatrixModules& m) {
    return test::Decode(test::DrawSymbol(MatrixSymbolGeometry(m.bits, m.columns, 1), 3, 12),
                        ZXing::BarcodeFormat::DataMatrix);
}

std::string Text(const TDataMatrixModules& m) {
    std::string s;
    for (int r = 0; r < m.rows; ++r) {
        for (int c = 0; c < m.columns; ++c) s += m.Dark(r, c) ? '#' : '.';
        s += '\n';
    }
    return s;
}

struct OracleCase {
    std::string text;
    ZintDataMatrixOptions options;
    // Both encoders spend the fewest codewords; where several encodations are as short, ours may take
    // another one than libzint: the symbol is as large and reads the same.
    bool sameModules = true;
};

const ZintDataMatrixOptions kSquare{}, kAuto{Shape::Auto}, kRect{Shape::Rectangle}, kGs1{.gs1 = true};

ZintDataMatrixOptions Fixed(int rows, int columns) {
    return {Shape::Square, rows, columns};
}

const OracleCase kOracleCases[] = {
    /* 0 */ {"0123456789", kSquare},                   // digit pairs
    /* 1 */ {"123456", kSquare},                       // fills 10 x 10
    /* 2 */ {"1234567", kSquare},                      // the odd digit last
    /* 3 */ {"HELLO WORLD 12345 ABCDE", kSquare},      // C40
    /* 4 */ {"hello world, lower case text", kSquare}, // Text
    /* 5 */ {"ABC*DEF>123\r456 XYZ*ABC>", kSquare},    // X12
    /* 6 */ {"A=B;C:D?E@F<G[H]I^J", kSquare},          // EDIFACT
    /* 7 */ {"https://example.com/product/4711?lot=AB12&s=1", kSquare},
    /* 8 */ {"https://example.com/product/4711?lot=AB12&s=1", kAuto},
    /* 9 */ {"Hello", kRect},
    /* 10 */ {"Hello world, again", kRect}, // past 8 x 32
    /* 11 */ {"Lot 4711", kAuto},
    /* 12 */
    {"Gr\xc3\xbc\xc3\x9f"
     "e aus K\xc3\xb6ln, 12,50 \xc2\xa3",
     kSquare},                                                                          // Latin-1, ECI 3
    /* 13 */ {Utf8({0x39A, 0x3B1, 0x3BB, 0x3B7, 0x3BC, 0x3AD, 0x3C1, 0x3B1}), kSquare}, // Greek, ECI 26
    // Base 256 up to the end or the last digits in ASCII: 22 codewords either way.
    /* 14 */ {Utf8({0x6761, 0x5F62, 0x7801, 0x6807, 0x7B7E, 0x20, 0x31, 0x32, 0x33}), kSquare, false},
    /* 15 */ {"Label " + Utf8({0x1F600}) + " ok", kSquare},
    // Text with an unlatch or ASCII throughout: 12 codewords either way.
    /* 16 */ {std::string("\x01\x02\x7f nul\0byte", 12), kSquare, false},
    /* 17 */ {"(01)09501101530003(17)251231(10)AB12(21)000001", kGs1},
    /* 18 */ {"(01)09501101530003", kGs1},
    /* 19 */ {"(01)09501101530003(10)ABC123(3103)001234(21)XYZ", kGs1}, // FNC1 after the batch only
    /* 20 */ {"Hello", Fixed(32, 32)},
    /* 21 */ {"Hello", Fixed(16, 48)},
    /* 22 */ {"Hello", Fixed(144, 144)},
    /* 23 */ {Repeat("1234567890", 300), kSquare}, // 144 x 144, its two shorter blocks
    // Text to the end or the last " 4711 " in ASCII: as many codewords.
    /* 24 */ {Repeat("Quirbel 4711 ", 60), kSquare, false},
    /* 25 */ {"x", kSquare},
    /* 26 */ {Repeat("ab", 12), kAuto},
    /* 27 */ {"\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f\xc3\xa9\xc3\xa8", kSquare},
    /* 28 */ {Repeat("A", 1557), kSquare},
    /* 29 */ {"(01)09501101530003(17)251231(10)AB12(21)000001", {Shape::Rectangle, 0, 0, true}},
};

TEST(DataMatrixEncoder, MatrixEqualsLibzintsForTextsAndOptions) {
    for (size_t i = 0; i < std::size(kOracleCases); ++i) {
        const OracleCase& c = kOracleCases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.text.substr(0, 60));
        const TDataMatrixModules expected = ZintDataMatrix(c.text, c.options);
        ASSERT_GT(expected.rows, 0);
        const TDataMatrixModules ours = Encode(c.text, c.options).modules;
        if (c.sameModules) {
            EXPECT_EQ(Text(ours), Text(expected));
            continue;
        }
        EXPECT_NE(ours, expected) << "now equal to libzint's: drop the flag";
        EXPECT_EQ(ours.rows, expected.rows);
        EXPECT_EQ(ours.columns, expected.columns);
        const test::Decoded d = Read(ours);
        ASSERT_TRUE(d.found);
        EXPECT_EQ(d.text, c.text);
    }
}

// Every size filled with digit pairs to its last data codeword: its codeword counts, blocks and
// placement against libzint's; one pair more is refused by both.
TEST(DataMatrixEncoder, EverySizeFilledToCapacityEqualsLibzint) {
    test::TRandomTexts random(71);
    for (int index = 1; index <= kDataMatrixSizeCount; ++index) {
        const TDataMatrixSize& size = DataMatrixSizeAt(index);
        SCOPED_TRACE(std::to_string(size.rows) + " x " + std::to_string(size.columns));
        const std::string digits = random.Digits(2 * size.dataCodewords);
        const ZintDataMatrixOptions o = Fixed(size.rows, size.columns);
        const TDataMatrix ours = Encode(digits, o);
        EXPECT_EQ(ours.sizeIndex, index);
        ASSERT_EQ(Text(ours.modules), Text(ZintDataMatrix(digits, o)));
        EXPECT_THROW_MSG(Encode(digits + "00", o), ESymbolError,
                         "Data Matrix: Input too long for selected symbol size");
        EXPECT_EQ(ZintDataMatrix(digits + "00", o).rows, 0);
    }
}

std::vector<uint16_t> Data(std::string_view text) {
    return {text.begin(), text.end()};
}

// Codeword by codeword: C40 and EDIFACT filling the symbol without an unlatch, EDIFACT straight into
// the pads, Base 256 with a two-byte length, an unlatch before the pads, ECI and FNC1 first.
TEST(DataMatrixEncodation, EndsAndHeadersAreTheStandards) {
    struct Case {
        std::vector<uint16_t> data;
        int eci;
        int capacity;
        std::vector<uint8_t> start;
        size_t size;
    };
    const std::vector<uint16_t> bytes(300, 0xFE);
    std::vector<uint16_t> gs1 = Data("0109501101530003");
    gs1.insert(gs1.begin(), kDataMatrixFnc1);
    const Case cases[] = {
        // A and B in ASCII, then C40: C D E and F G H as 1600 a + 40 b + c + 1 in two codewords each;
        // the symbol is full, so no unlatch.
        /* 0 */ {Data("ABCDEFGH"), 0, 7, {66, 67, 230, 102, 187, 121, 246}, 7},
        /* 1 */ {Data("ABCDEF1"), 0, 6, {66, 230, 96, 82, 115, 126}, 6},
        // Four six-bit values to three codewords; with a codeword left after them the reader is back
        // in ASCII by itself: the pad follows without an unlatch.
        /* 2 */ {Data("A:B;C<D="), 0, 8, {240, 7, 160, 187, 15, 193, 61, 129}, 8},
        /* 3 */ {Data("A:B;C<D=E"), 0, 8, {66, 240, 232, 46, 195, 240, 79, 69}, 8},
        // 300 bytes: length 250 and 50, everything randomised from position 2 on.
        /* 4 */ {bytes, 0, 1558, {231, 38, 243, 85}, 1558},
        // Unlatch, the pad 129, then pads randomised: 129 + (149 * 8) % 253 + 1 - 254 = 56.
        /* 5 */ {Data("ABCDEF"), 0, 8, {230, 89, 233, 109, 36, 254, 129, 56}, 8},
        /* 6 */ {Data("AB"), 26, 5, {241, 27, 66, 67, 129}, 5},
        // FNC1, then the GTIN's digit pairs.
        /* 7 */ {gs1, 0, 12, {232, 131, 139, 180, 141, 131, 183, 130, 133}, 12},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const Case& c = cases[i];
        const int capacity[] = {c.capacity};
        const std::vector<uint8_t> codewords = DataMatrixCodewords(c.data, c.eci, capacity);
        ASSERT_EQ(codewords.size(), c.size);
        EXPECT_EQ(std::vector<uint8_t>(codewords.begin(),
                                       codewords.begin() + static_cast<std::ptrdiff_t>(c.start.size())),
                  c.start);
    }
    // One codeword too many for the capacities given: nothing.
    const int small[] = {3, 5};
    EXPECT_TRUE(DataMatrixCodewords(Data("ABCDEFG"), 0, small).empty());
}

// Texts whose encodations end in each scheme (a last C40 pair padded with a shift, the last character
// in the symbol's last codeword without an unlatch, EDIFACT ending in ASCII), read back.
TEST(DataMatrixEncoder, TextsEndingInEachSchemeReadBack) {
    const std::string texts[] = {
        "ABCDEFGH",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZAB1",
        "AB*CD>EF*12\r34*56>78*AB",
        "A:B;C<D=E>F?G@H[I]J^KLMN",
        "A:B;C<D=E>F?G@H[I]J^KLMNa",
        Repeat("\xc3\xbe", 300),
        "quirbel labels",
        "Quirbel Barcode Maker 4711",
    };
    for (const std::string& text : texts)
        for (const Shape shape : {Shape::Square, Shape::Rectangle, Shape::Auto}) {
            SCOPED_TRACE(text.substr(0, 40) + ", shape " + std::to_string(static_cast<int>(shape)));
            const ZintDataMatrixOptions o{shape};
            const TDataMatrixModules theirs = ZintDataMatrix(text, o);
            if (!theirs.rows) continue; // too long for a rectangle
            const TDataMatrixModules ours = Encode(text, o).modules;
            EXPECT_LE(ours.rows * ours.columns, theirs.rows * theirs.columns);
            const test::Decoded d = Read(ours);
            ASSERT_TRUE(d.found);
            EXPECT_EQ(d.text, text);
        }
}

std::string RandomText(test::TRandomTexts& random) {
    switch (random.Between(0, 7)) {
    case 0:
        return random.Digits(random.Between(1, 200));
    case 1:
        return random.Alphanumeric(random.Between(1, 120));
    case 2:
        return random.Url();
    case 3:
        return random.Latin1(random.Between(1, 100));
    case 4:
        return random.OtherScripts(random.Between(1, 40));
    case 5: {
        // Upper case, digits and X12's and EDIFACT's punctuation.
        static constexpr std::string_view kChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 *>\r=;:?@<[]^";
        std::string s;
        for (int k = random.Between(1, 80); k > 0; --k)
            s += kChars[static_cast<size_t>(random.Between(0, kChars.size() - 1))];
        return s;
    }
    case 6: {
        std::string s;
        for (int k = random.Between(1, 80); k > 0; --k) s += static_cast<char>(random.Between(1, 127));
        return s;
    }
    default:
        return random.Alphanumeric(random.Between(1, 30)) + " " + random.Digits(random.Between(1, 30));
    }
}

// Random texts in every shape: ZXing reads each back; the symbol is never larger than libzint's and
// mostly the very same.
TEST(DataMatrixEncoder, RandomTextsReadBackAndAreNeverLargerThanLibzints) {
    constexpr unsigned kSeed = 73;
    constexpr int kTexts = 240;
    test::TRandomTexts random(kSeed);
    int differing = 0;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = RandomText(random);
        const ZintDataMatrixOptions o{static_cast<Shape>(random.Between(0, 2))};
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", case " + std::to_string(i) + ", shape " +
                     std::to_string(static_cast<int>(o.shape)) + ": " + text);
        const TDataMatrixModules theirs = ZintDataMatrix(text, o);
        TDataMatrixModules ours;
        try {
            ours = Encode(text, o).modules;
        } catch (const ESymbolError& e) {
            // Only what does not fit the largest rectangle.
            EXPECT_EQ(theirs.rows, 0) << e.what();
            continue;
        }
        ASSERT_GT(theirs.rows, 0);
        EXPECT_LE(ours.rows * ours.columns, theirs.rows * theirs.columns);
        differing += ours != theirs;
        const test::Decoded d = Read(ours);
        ASSERT_TRUE(d.found);
        EXPECT_EQ(d.text, text);
    }
    EXPECT_LE(differing, kTexts / 3);
}

TEST(DataMatrixEncoder, RefusesWhatItCannotHoldAsBeforeAndIsAPureFunction) {
    struct Case {
        std::string text;
        ZintDataMatrixOptions options;
        std::string message;
    };
    const Case cases[] = {
        /* 0 */ {Repeat("A", 3200), kSquare, "Data Matrix: Data too long to fit in symbol"},
        /* 1 */ {Repeat("1", 3118), kAuto, "Data Matrix: Data too long to fit in symbol"},
        /* 2 */ {"Hello world", Fixed(10, 10), "Data Matrix: Input too long for selected symbol size"},
        /* 3 */ {Repeat("a", 200), kRect, "Data Matrix: Input too long for selected symbol size"},
        /* 4 */ {"\xff\xfe", kSquare, "Data Matrix: Invalid UTF-8 in input data"},
        /* 5 */ {"", kSquare, "Data Matrix: there is no text to encode"},
        /* 6 */ {"x", Fixed(11, 11), "Data Matrix has no size of 11 x 11 modules"},
        /* 7 */ {"(01)09501101530004", kGs1, "GS1 (01) check digit should be 3, not 4"},
        /* 8 */
        {"", kGs1, "A GS1 element string starts with an application identifier in parentheses, such as (01)"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_THROW_MSG(Encode(cases[i].text, cases[i].options), ESymbolError, cases[i].message);
    }
    EXPECT_EQ(Encode(Repeat("1", 3116), kAuto).modules.rows, 144);
    // Nothing of one symbol carries over to the next.
    const TDataMatrix first = Encode("same text", kSquare);
    Encode(Repeat("\xc3\xbe", 300), kSquare);
    EXPECT_ANY_THROW(Encode("Hello world", Fixed(10, 10)));
    EXPECT_EQ(Encode("same text", kSquare).modules, first.modules);
}

// Through EncodeSymbol: the quiet zone of one module, and the modules as rows and as rectangles.
TEST(DataMatrixEncoder, SymbolHasItsModulesAndQuietZone) {
    TSymbolSettings s;
    s.symbology = TSymbology::DataMatrix;
    s.shape = Shape::Rectangle;
    const TSymbolGeometry g = EncodeDataMatrixSymbol(s, "Lot 4711");
    const TDataMatrixModules m = Encode("Lot 4711", kRect).modules;
    EXPECT_EQ(g.width, m.columns + 2);
    EXPECT_EQ(g.height, m.rows + 2);
    EXPECT_EQ(g.quietX, 1);
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.columns; ++c) ASSERT_EQ(g.modules.Dark(r, c), m.Dark(r, c)) << r << "," << c;
}

} // namespace
} // namespace qbm
