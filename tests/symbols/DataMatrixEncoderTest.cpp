#include "symbols/DataMatrixEncoder.h"
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

[[maybe_unused]] test::Decoded Read(const TDataMatrixModules& m) {
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
};

const ZintDataMatrixOptions kSquare{}, kAuto{Shape::Auto}, kRect{Shape::Rectangle}, kGs1{.gs1 = true};

ZintDataMatrixOptions Fixed(int rows, int columns) {
    return {Shape::Square, rows, columns};
}

const OracleCase kOracleCases[] = {
    /* 0 */ {"0123456789", kSquare}, // digit pairs
    /* 1 */ {"123456", kSquare},     // fills 10 x 10
    /* 2 */ {"1234567", kSquare},
    /* 3 */ {"HELLO WORLD 12345 ABCDE", kSquare}, // C40
    /* 4 */ {"hello world, lower case text", kSquare}, // Text
    /* 5 */ {"ABC*DEF>123\r456 XYZ*ABC>", kSquare},    // X12
    /* 6 */ {"A=B;C:D?E@F<G[H]I^J", kSquare},           // EDIFACT
    /* 7 */ {"https://example.com/product/4711?lot=AB12&s=1", kSquare},
    /* 8 */ {"https://example.com/product/4711?lot=AB12&s=1", kAuto},
    /* 9 */ {"Hello", kRect},
    /* 10 */ {"Hello world, again", kRect},
    /* 11 */ {"Lot 4711", kAuto},
    /* 12 */ {"Gr\xc3\xbc\xc3\x9f" "e aus K\xc3\xb6ln, 12,50 \xc2\xa3", kSquare}, // Latin-1, ECI 3
    /* 13 */ {Utf8({0x39A, 0x3B1, 0x3BB, 0x3B7, 0x3BC, 0x3AD, 0x3C1, 0x3B1}), kSquare}, // Greek, ECI 26
    /* 14 */ {Utf8({0x6761, 0x5F62, 0x7801, 0x6807, 0x7B7E, 0x20, 0x31, 0x32, 0x33}), kSquare},
    /* 15 */ {"Label " + Utf8({0x1F600}) + " ok", kSquare},
    /* 16 */ {std::string("\x01\x02\x7f nul\0byte", 12), kSquare},
    /* 17 */ {"(01)09501101530003(17)251231(10)AB12(21)000001", kGs1},
    /* 18 */ {"(01)09501101530003", kGs1},
    /* 19 */ {"(01)09501101530003(10)ABC123(3103)001234(21)XYZ", kGs1}, // FNC1 after (10) only... and (21)?
    /* 20 */ {"Hello", Fixed(32, 32)},
    /* 21 */ {"Hello", Fixed(16, 48)},
    /* 22 */ {"Hello", Fixed(144, 144)},
    /* 23 */ {Repeat("1234567890", 300), kSquare}, // 144 x 144
    /* 24 */ {Repeat("Quirbel 4711 ", 60), kSquare},
    /* 25 */ {Repeat("x", 1), kSquare},
    /* 26 */ {Repeat("ab", 12), kAuto},
    /* 27 */ {"\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f\xc3\xa9\xc3\xa8", kSquare},
};

TEST(DataMatrixEncoder, MatrixEqualsLibzintsForTextsAndOptions) {
    for (size_t i = 0; i < std::size(kOracleCases); ++i) {
        const OracleCase& c = kOracleCases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.text);
        const TDataMatrixModules expected = ZintDataMatrix(c.text, c.options);
        ASSERT_GT(expected.rows, 0);
        const TDataMatrixModules ours = Encode(c.text, c.options).modules;
        EXPECT_EQ(Text(ours), Text(expected));
    }
}

} // namespace
} // namespace qbm
