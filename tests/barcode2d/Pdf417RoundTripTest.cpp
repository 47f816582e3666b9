// Every symbol the component draws must read back to the same bytes with an independent decoder.

#include "TestSupport.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qbm {
namespace {

// Texts without backslashes: a backslash is an escape inside text segments but a plain byte
// inside byte segments, so it is checked by the escape tests instead.
std::string RandomText(std::mt19937& rng, int length, int kind) {
    static const std::string kPunct = "!\"#$%&'()*+,-./:;<=>?@[]^_`{|}~ \r\n\t";
    std::string s;
    auto pick = [&](int lo, int hi) { return static_cast<int>(rng() % (hi - lo + 1)) + lo; };
    while (static_cast<int>(s.size()) < length) {
        switch (kind) {
        case 0:
            s += static_cast<char>(pick(0, 26) == 26 ? ' ' : 'A' + pick(0, 25));
            break;
        case 1: {
            const int r = pick(0, 9);
            if (r < 4)
                s += static_cast<char>('a' + pick(0, 25));
            else if (r < 7)
                s += static_cast<char>('A' + pick(0, 25));
            else if (r < 8)
                s += static_cast<char>('0' + pick(0, 9));
            else
                s += kPunct[pick(0, static_cast<int>(kPunct.size()) - 1)];
            break;
        }
        case 2:
            if (pick(0, 3) == 0) {
                const int run = pick(1, 60);
                for (int i = 0; i < run; ++i) s += static_cast<char>('0' + pick(0, 9));
            } else {
                s += static_cast<char>('A' + pick(0, 25));
            }
            break;
        case 3:
            s += static_cast<char>(pick(0, 2) == 0 ? pick(128, 255) : pick(32, 126));
            break;
        default:
            s += static_cast<char>(pick(0, 255));
            break;
        }
        if (!s.empty() && s.back() == '\\') s.back() = '/';
    }
    s.resize(length);
    return s;
}

struct TSettings {
    TStPDF417ECCLevels ecc = ecAuto;
    int columns = 0;
    int rows = 0;
    bool truncated = false;
};

void ExpectRoundTrip(const std::string& text, const TSettings& settings, const std::string& label) {
    TStPDF417Barcode bc;
    bc.SetECCLevel(settings.ecc);
    bc.SetNumColumns(settings.columns);
    bc.SetNumRows(settings.rows);
    bc.SetTruncated(settings.truncated);
    bc.SetCode(text);
    bc.SetBounds(bc.BarCodeWidth() + 2 * bc.QuietZone(), bc.BarCodeHeight() + 2 * bc.QuietZone());
    const test::Decoded d = test::Decode(bc.Bitmap(), ZXing::BarcodeFormat::PDF417);
    ASSERT_TRUE(d.found) << label << " text " << test::Hex(text);
    EXPECT_EQ(test::Hex(d.bytes), test::Hex(text)) << label;
}

class Pdf417RoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
};

TEST_F(Pdf417RoundTrip, RandomTextsOfEveryKindReadBack) {
    std::mt19937 rng(4172026);
    for (int i = 0; i < 250; ++i) {
        const int kind = i % 5;
        const int length =
            i % 10 == 9 ? 1 + static_cast<int>(rng() % 1000) : 1 + static_cast<int>(rng() % 80);
        const std::string text = RandomText(rng, length, kind);
        ExpectRoundTrip(text, {}, "seed 4172026 #" + std::to_string(i) + " kind " + std::to_string(kind));
        if (HasFatalFailure()) return;
    }
}

TEST_F(Pdf417RoundTrip, TruncatedSymbolsReadBack) {
    std::mt19937 rng(77);
    for (int i = 0; i < 40; ++i) {
        const std::string text = RandomText(rng, 1 + static_cast<int>(rng() % 150), i % 5);
        ExpectRoundTrip(text, {ecAuto, 0, 0, true}, "truncated seed 77 #" + std::to_string(i));
        if (HasFatalFailure()) return;
    }
}

TEST_F(Pdf417RoundTrip, EveryEccLevelAndFixedDimensionsReadBack) {
    std::mt19937 rng(9);
    for (int level = ecLevel0; level <= ecLevel8; ++level) {
        for (int i = 0; i < 4; ++i) {
            const std::string text = RandomText(rng, 1 + static_cast<int>(rng() % 120), (level + i) % 5);
            TSettings s;
            s.ecc = static_cast<TStPDF417ECCLevels>(level);
            if (i == 1) s.columns = 10;
            if (i == 2) s.rows = 30;
            if (i == 3) s.columns = 12, s.rows = 60;
            ExpectRoundTrip(text, s, "level " + std::to_string(level - 1) + " case " + std::to_string(i));
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(Pdf417RoundTrip, SegmentBoundariesReadBack) {
    // Byte and numeric segments followed by text, text interrupted by bytes, long digit runs.
    const std::string cases[] = {
        "\xE9"
        "ABCDEFGHIJ",
        "123456789012345ABCDEFGH",
        "ABCDEF\xE9GHIJKL",
        "\xE9\xE9"
        "ABCDEF\xE9GHIJKL\xE9mnopqr",
        "abc!",
        "12345678901234",
        std::string(45, '7'),
        "A1234567890123456789b",
        "\x01\x02\x03\x04\x05\x06",
        "Mixed Case, punctuation; and 0123 digits!",
    };
    for (const std::string& text : cases) ExpectRoundTrip(text, {}, "case " + test::Hex(text));
}

TEST_F(Pdf417RoundTrip, EscapesReadBackAsTheirCharacters) {
    TStPDF417Barcode bc;
    bc.SetCode("ABC\\\\DEF\\065\\x42 tab\\009end\\q");
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    const test::Decoded d = test::Decode(bc.Bitmap(), ZXing::BarcodeFormat::PDF417);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.bytes, "ABC\\DEFAB tab\tend\\q");
}

} // namespace
} // namespace qbm
