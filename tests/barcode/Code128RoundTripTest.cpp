#include "barcode/Code128Encoder.h"
#include "barcode/TBarcode.h"

#include "Code128EanTestSupport.h"
#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

constexpr int kCases = 300;

std::string RandomText(std::mt19937& rng, int minLen, int maxLen, int lo, int hi) {
    std::uniform_int_distribution<int> len(minLen, maxLen);
    std::uniform_int_distribution<int> ch(lo, hi);
    std::string s(static_cast<size_t>(len(rng)), ' ');
    for (char& c : s) c = static_cast<char>(ch(rng));
    return s;
}

test::Decoded DecodeCode128(TBarcode& bc) {
    return test::Decode(test::PaintPattern(bc), ZXing::BarcodeFormat::Code128);
}

// Encodes each text as `type` with a random module width and checks what ZXing reads back. A symbol
// without data is not read by decoders, so the texts are never empty.
void ExpectRoundTrips(TBarcodeType type, std::mt19937& rng, const std::function<std::string()>& make,
                      const std::function<std::string(const std::string&)>& expected) {
    std::uniform_int_distribution<int> modul(1, 3);
    for (int i = 0; i < kCases; ++i) {
        const std::string text = make();
        TBarcode bc;
        bc.SetTyp(type);
        bc.SetText(text);
        bc.SetModul(modul(rng));
        const test::Decoded d = DecodeCode128(bc);
        ASSERT_TRUE(d.found) << "case " << i << " text " << test::Hex(text);
        ASSERT_EQ(d.bytes, expected(text)) << "case " << i << " text " << test::Hex(text);
    }
}

std::string Same(const std::string& s) {
    return s;
}

TEST(Code128RoundTrip, FixedSetsDecodeToTheirText) {
    std::mt19937 rng(128);
    // Set A holds the control characters and upper case; code 128 stands for NUL.
    ExpectRoundTrips(
        bcCode128A, rng, [&] { return RandomText(rng, 1, 30, 1, 95); }, Same);
    ExpectRoundTrips(
        bcCode128A, rng, [&] { return "A\x80" + RandomText(rng, 0, 5, 1, 95); },
        [](const std::string& s) { return "A" + std::string(1, '\0') + s.substr(2); });
    ExpectRoundTrips(
        bcCode128B, rng, [&] { return RandomText(rng, 1, 30, 32, 127); }, Same);
    // Set C shows an odd number of digits with a leading zero.
    ExpectRoundTrips(
        bcCode128C, rng, [&] { return RandomText(rng, 1, 40, '0', '9'); },
        [](const std::string& s) { return s.size() % 2 ? "0" + s : s; });
}

TEST(Code128RoundTrip, AutoDecodesToTheTextWithItsEscapesReplaced) {
    std::mt19937 rng(1280);
    ExpectRoundTrips(
        bcCode128Auto, rng, [&] { return RandomText(rng, 1, 40, 32, 126); },
        [](const std::string& s) { return ParseEscapes(s, true); });
    ExpectRoundTrips(
        bcCode128Auto, rng, [&] { return RandomText(rng, 1, 40, '0', '9'); }, Same);
    // Digit runs of every length between letters and control characters.
    const std::string pieces[] = {"a", "Z", "\t", "\r\n", "\x1f", "`",
                                  "~", "1", "12", "123",  "1234", "12345"};
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(1, 12);
    ExpectRoundTrips(
        bcCode128Auto, rng,
        [&] {
            std::string s;
            for (int n = count(rng); n > 0; --n) s += pieces[piece(rng)];
            return s;
        },
        Same);
    // Control characters among lower-case letters need SHIFT and switches.
    ExpectRoundTrips(
        bcCode128Auto, rng, [&] { return RandomText(rng, 1, 30, 1, 127); },
        [](const std::string& s) { return ParseEscapes(s, true); });
    // Escapes give control characters and the NUL mark gives NUL.
    ExpectRoundTrips(
        bcCode128Auto, rng, [&] { return "ab\\9cd\\13\\10" + RandomText(rng, 0, 8, 'a', 'z') + "\x80"; },
        [](const std::string& s) {
            std::string r = ParseEscapes(s, true);
            r.back() = '\0';
            return r;
        });
}

TEST(Code128RoundTrip, AutoWritesLatin1CharactersThroughFnc4) {
    std::mt19937 rng(1281);
    const auto latin1 = [&] {
        std::string s = RandomText(rng, 1, 25, 32, 255);
        for (char& c : s) {
            const int code = static_cast<unsigned char>(c);
            // 128 is the NUL mark and 193..196 the function marks; 127..160 are controls.
            if (code >= 127 && code <= 160) c = static_cast<char>(code + 100);
            if (code >= 193 && code <= 196) c = 'x';
        }
        return s;
    };
    ExpectRoundTrips(bcCode128Auto, rng, latin1, [](const std::string& s) { return ParseEscapes(s, true); });
    // Extended control characters (129..159) come from set A behind FNC4.
    ExpectRoundTrips(
        bcCode128Auto, rng,
        [&] { return RandomText(rng, 1, 6, 'a', 'z') + "\\150" + RandomText(rng, 0, 6, 'a', 'z'); },
        [](const std::string& s) { return ParseEscapes(s, true); });
}

TEST(Code128RoundTrip, Ean128DecodesAsGs1) {
    std::mt19937 rng(1282);
    for (const TBarcodeType type : {bcCodeEAN128A, bcCodeEAN128B}) {
        for (int i = 0; i < kCases; ++i) {
            TBarcode bc;
            bc.SetTyp(type);
            bc.SetText("10" + RandomText(rng, 1, 20, 'A', 'Z'));
            const test::Decoded d = DecodeCode128(bc);
            ASSERT_TRUE(d.found) << bc.Text();
            EXPECT_EQ(d.symbologyIdentifier, "]C1") << bc.Text();
            ASSERT_EQ(d.bytes, bc.Text());
        }
    }
    // Set C: shipping codes and trade item numbers get their check digit, odd lengths a trailing zero.
    for (int i = 0; i < kCases; ++i) {
        TBarcode bc;
        bc.SetTyp(bcCodeEAN128C);
        const std::string ai = i % 4 == 0 ? "00" : i % 4 == 1 ? "01" : i % 4 == 2 ? "02" : "10";
        const std::string body = ai == "10"
                                     ? RandomText(rng, 1, 20, '0', '9')
                                     : RandomText(rng, ai == "00" ? 17 : 13, ai == "00" ? 17 : 13, '0', '9');
        bc.SetText(ai + body);
        std::string expected = ai == "10" ? ai + body : ai + body + Modulo10CheckDigit(body);
        if (expected.size() % 2) expected += "0";
        const test::Decoded d = DecodeCode128(bc);
        ASSERT_TRUE(d.found) << bc.Text();
        EXPECT_EQ(d.symbologyIdentifier, "]C1") << bc.Text();
        ASSERT_EQ(d.bytes, expected) << bc.Text();
    }
}

TEST(Code128RoundTrip, Fnc1InsideAutoTextIsAGroupSeparator) {
    TBarcode bc;
    bc.SetTyp(bcCode128Auto);
    bc.SetText("\\19301095011010209171\\19310ABC123");
    const test::Decoded d = DecodeCode128(bc);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.symbologyIdentifier, "]C1");
    EXPECT_EQ(d.bytes, "01095011010209171\x1d"
                       "10ABC123");
}

} // namespace
} // namespace qbm
