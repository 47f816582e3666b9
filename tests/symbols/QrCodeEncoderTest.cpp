#include "symbols/QrCodeEncoder.h"
#include "symbols/ESymbolError.h"
#include "symbols/QrCodeSegments.h"
#include "symbols/QrCodeSymbol.h"

#include "QrCodeTestSupport.h"
#include "SymbolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

using test::ZintQrCode;

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

struct OracleCase {
    std::string text;
    TQrEcc ecc;
    int version;
};

const OracleCase kOracleCases[] = {
    /* 0 */ {"0123456789", TQrEcc::Auto, 0},
    /* 1 */ {Repeat("7", 41), TQrEcc::L, 0}, // the most digits version 1-L holds
    /* 2 */ {Repeat("7", 42), TQrEcc::L, 0}, // one more: version 2
    /* 3 */ {"HELLO WORLD 123 $%*+-./:", TQrEcc::M, 0},
    /* 4 */ {"https://example.com/product/4711?lot=AB12&s=1", TQrEcc::L, 0},
    /* 5 */ {"https://example.com/product/4711?lot=AB12&s=1", TQrEcc::M, 0},
    /* 6 */ {"https://example.com/product/4711?lot=AB12&s=1", TQrEcc::Q, 0},
    /* 7 */ {"https://example.com/product/4711?lot=AB12&s=1", TQrEcc::H, 0},
    /* 8 */ {"https://example.com/product/4711?lot=AB12&s=1", TQrEcc::Auto, 0},
    /* 9 */ {"ABC123456789012abc1234567890123456DEFGH", TQrEcc::Auto, 0}, // digits in letters in bytes
                                                                          /* 10 */
    {"Gr\xc3\xbc\xc3\x9f"
     "e aus K\xc3\xb6ln, 12,50 \xc2\xa3",
     TQrEcc::Auto, 0},                                                                       // Latin-1, ECI 3
    /* 11 */ {Utf8({0x39A, 0x3B1, 0x3BB, 0x3B7, 0x3BC, 0x3AD, 0x3C1, 0x3B1}), TQrEcc::M, 0}, // Greek, ECI 26
    /* 12 */ {Utf8({0x6761, 0x5F62, 0x7801, 0x6807, 0x7B7E, 0x0020, 0x0031, 0x0032, 0x0033}), TQrEcc::Q, 0},
    /* 13 */ {"Label " + Utf8({0x1F600}) + " ok", TQrEcc::H, 0},
    /* 14 */ {"K\xc3\xa4se 12 \xe2\x82\xac", TQrEcc::Auto, 0}, // the euro sign takes the text to UTF-8
    /* 15 */ {"Hello", TQrEcc::Auto, 5},                       // the level rises to H in a fixed version
    /* 16 */ {"Hello", TQrEcc::L, 7},                          // version information
    /* 17 */ {"Hello", TQrEcc::H, 40},
    /* 18 */ {Repeat("x", 17), TQrEcc::Auto, 0}, // fills version 1-L
    /* 19 */ {Repeat("x", 18), TQrEcc::Auto, 0},
    /* 20 */ {Repeat("1234567890", 55), TQrEcc::M, 0}, // version 10: wider count fields
    /* 21 */ {Repeat("ABCDEFGH", 80), TQrEcc::Q, 0},
    /* 22 */ {Repeat("Quirbel 4711 ", 150), TQrEcc::L, 0}, // past version 26
    /* 23 */ {std::string("nul\0byte", 8), TQrEcc::Auto, 0},
};

TEST(QrCodeEncoder, MatrixEqualsLibzintsForTextsAndOptions) {
    for (size_t i = 0; i < std::size(kOracleCases); ++i) {
        const OracleCase& c = kOracleCases[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + c.text);
        const TQrMatrix expected = ZintQrCode(c.text, c.ecc, c.version);
        ASSERT_GT(expected.size, 0);
        EXPECT_EQ(EncodeQrCode(c.text, c.ecc, c.version).modules, expected);
    }
}

// Byte mode only (lower-case letters), so that the capacity is plain: the tables of every version and
// level, its block structure and its layout, against libzint, and one byte more refused by both.
TEST(QrCodeEncoder, EveryVersionAndLevelFilledToCapacityEqualsLibzint) {
    const TQrEcc levels[] = {TQrEcc::L, TQrEcc::M, TQrEcc::Q, TQrEcc::H};
    test::TRandomTexts random(51);
    for (int version = 1; version <= 40; ++version)
        for (int l = 0; l < 4; ++l) {
            SCOPED_TRACE("version " + std::to_string(version) + " level " + std::to_string(l));
            const int countBits = version <= 9 ? 8 : 16;
            const int bytes =
                (QrBlockStructure(version, static_cast<TQrLevel>(l)).dataCodewords * 8 - 4 - countBits) / 8;
            std::string text;
            for (int k = 0; k < bytes; ++k) text += static_cast<char>('a' + random.Between(0, 25));
            const TQrCode code = EncodeQrCode(text, levels[l], version);
            EXPECT_EQ(code.modules.size, 17 + 4 * version);
            ASSERT_EQ(code.modules, ZintQrCode(text, levels[l], version));
            EXPECT_THROW(EncodeQrCode(text + "z", levels[l], version), ESymbolError);
            EXPECT_EQ(ZintQrCode(text + "z", levels[l], version).size, 0);
        }
}

TEST(QrCodeEncoder, SegmentsKeepTheBitStreamShort) {
    struct Case {
        std::string_view text;
        int version;
        std::vector<TQrSegment> segments;
        int bits;
    };
    using M = TQrMode;
    const Case cases[] = {
        /* 0 */ {"01234567", 1, {{M::Numeric, 0, 8}}, 4 + 10 + 27},
        /* 1 */ {"AC-42", 1, {{M::Alphanumeric, 0, 5}}, 4 + 9 + 28},
        /* 2 */ {"a1", 1, {{M::Byte, 0, 2}}, 4 + 8 + 16},
        // Six digits inside letters are not worth a segment of their own, fifteen are.
        /* 3 */ {"ABC123456DEF", 1, {{M::Alphanumeric, 0, 12}}, 4 + 9 + 66},
        /* 4 */
        {"ABC123456789012345DEF",
         1,
         {{M::Alphanumeric, 0, 3}, {M::Numeric, 3, 15}, {M::Alphanumeric, 18, 3}},
         (4 + 9 + 17) + (4 + 10 + 50) + (4 + 9 + 17)},
        /* 5 */
        {"abcdefgh12345678901234", 1, {{M::Byte, 0, 8}, {M::Numeric, 8, 14}}, (4 + 8 + 64) + (4 + 10 + 47)},
        // Wider count fields from version 10 on make the same switch dearer.
        /* 6 */
        {"abc123456def",
         9,
         {{M::Byte, 0, 3}, {M::Numeric, 3, 6}, {M::Byte, 9, 3}},
         (4 + 8 + 24) * 2 + 4 + 10 + 20},
        /* 7 */ {"abc123456def", 10, {{M::Byte, 0, 12}}, 4 + 16 + 96},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const auto& c = cases[i];
        const auto bytes = std::span(reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size());
        const TQrSegmentation s = QrSegment(bytes, 0, c.version);
        EXPECT_EQ(s.segments, c.segments);
        EXPECT_EQ(s.bits, c.bits);
        EXPECT_EQ(QrSegment(bytes, 26, c.version).bits, c.bits + 12); // ECI header
    }
}

// Where two segmentations are as short, libzint may cut the text elsewhere: this text takes 124 bits
// either as one byte segment (ours) or as four digits and nine bytes. The symbol is as large and reads
// the same.
TEST(QrCodeEncoder, EqualLengthSegmentationsReadTheSame) {
    const std::string text = "7647=zB\"f.IO1";
    const TQrCode ours = EncodeQrCode(text, TQrEcc::L, 27);
    EXPECT_EQ(ours.modules.size, ZintQrCode(text, TQrEcc::L, 27).size);
    const auto d =
        test::Decode(test::DrawSymbol(QrCodeGeometry(ours.modules), 2), ZXing::BarcodeFormat::QRCode);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, text);
}

// Random texts of every kind and level: ZXing reads each back; the version is never larger than
// libzint's, and the modules are libzint's but for the rare tie above.
TEST(QrCodeEncoder, RandomTextsReadBackAndMatchLibzint) {
    constexpr unsigned kSeed = 61;
    constexpr int kTexts = 150;
    test::TRandomTexts random(kSeed);
    int differing = 0;
    for (int i = 0; i < kTexts; ++i) {
        std::string text;
        switch (random.Between(0, 4)) {
        case 0:
            text = random.Digits(random.Between(1, 300));
            break;
        case 1:
            text = random.Alphanumeric(random.Between(1, 120));
            break;
        case 2:
            text = random.Url();
            break;
        case 3:
            text = random.Latin1(random.Between(1, 100));
            break;
        default:
            text = random.OtherScripts(random.Between(1, 50));
        }
        const auto ecc = static_cast<TQrEcc>(random.Between(0, 4));
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", case " + std::to_string(i) + ", ecc " +
                     std::to_string(static_cast<int>(ecc)) + ": " + text);
        const TQrCode ours = EncodeQrCode(text, ecc, 0);
        const TQrMatrix theirs = ZintQrCode(text, ecc, 0);
        EXPECT_LE(ours.modules.size, theirs.size);
        differing += ours.modules != theirs;
        const auto d =
            test::Decode(test::DrawSymbol(QrCodeGeometry(ours.modules), 2), ZXing::BarcodeFormat::QRCode);
        ASSERT_TRUE(d.found);
        EXPECT_EQ(d.text, text);
    }
    EXPECT_LE(differing, kTexts / 50);
}

TEST(QrCodeEncoder, RefusesInvalidUtf8AndTextsTooLongAsLibzintDoes) {
    const std::string invalid[] = {"\x80",     "a\xc0\x80", "\xed\xa0\x80",     "a\xf4\x90\x80\x80",
                                   "\xe2\x82", "\xc3",      "\xf5\x80\x80\x80", "\xe0\x9f\xbf"};
    for (const std::string& text : invalid) {
        SCOPED_TRACE(text);
        EXPECT_THROW_MSG(EncodeQrCode(text, TQrEcc::Auto, 0), ESymbolError, "Invalid UTF-8 in input data");
        EXPECT_EQ(ZintQrCode(text, TQrEcc::Auto, 0).size, 0);
    }
    TSymbolSettings s;
    s.version = 1;
    EXPECT_THROW_MSG(EncodeQrCodeSymbol(s, std::string(200, 'x')), ESymbolError,
                     "QR Code: Input too long for selected symbol size");
    s.version = 0;
    s.qrEcc = TQrEcc::H;
    EXPECT_THROW_MSG(EncodeQrCodeSymbol(s, std::string(1300, 'x')), ESymbolError,
                     "QR Code: Input too long for selected error correction level");
    EXPECT_THROW_MSG(EncodeQrCodeSymbol(s, "\xff"), ESymbolError, "QR Code: Invalid UTF-8 in input data");
    // The largest symbol's capacity in digits is accepted, one more refused.
    s.qrEcc = TQrEcc::L;
    EXPECT_EQ(EncodeQrCodeSymbol(s, std::string(7089, '1')).width, 177 + 8);
    EXPECT_THROW(EncodeQrCodeSymbol(s, std::string(7090, '1')), ESymbolError);
}

} // namespace
} // namespace qbm
