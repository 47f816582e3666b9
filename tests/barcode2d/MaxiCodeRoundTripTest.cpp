#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"
#include "util/Text.h"

#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

test::Decoded RenderAndDecode(TStMaxiCodeBarcode& bc, int dpi, TBitmap* keep = nullptr) {
    bc.SetBounds(bc.BarCodeWidth() + 2 * bc.QuietZone(), bc.BarCodeHeight() + 2 * bc.QuietZone());
    TBitmap picture;
    picture.SetResolution(dpi);
    bc.RenderToBitmap(picture, dpi, dpi);
    if (keep) *keep = picture;
    return test::Decode(picture, ZXing::BarcodeFormat::MaxiCode,
                        [](ZXing::DecodeHints& h) { h.setIsPure(true); });
}

// Printable text of the sets A and B, so that ZXing's text equals ours byte for byte.
std::string RandomText(std::mt19937& rng, int length) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-:/!?@#$%&*()+=;<>[]_{}|~";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string s;
    for (int i = 0; i < length; ++i) s += alphabet[pick(rng)];
    return s;
}

TEST(MaxiCodeRoundTrip, FreeTextInModes4To6) {
    EnsureGuiApplication();
    const unsigned seed = 20261209;
    std::mt19937 rng(seed);
    for (TStMaxiCodeMode mode : {cmMode4, cmMode5, cmMode6}) {
        for (int dpi : {300, 600}) {
            for (int round = 0; round < 3; ++round) {
                TStMaxiCodeBarcode bc;
                bc.SetMode(mode);
                // short enough for the capacity even when every character changes the code set
                const int maxLength = mode == cmMode5 ? 30 : 40;
                const std::string text = RandomText(rng, 1 + static_cast<int>(rng() % maxLength));
                bc.SetCode(text);
                const test::Decoded d = RenderAndDecode(bc, dpi);
                ASSERT_TRUE(d.found) << "seed " << seed << " mode " << mode + 2 << " dpi " << dpi << " text '"
                                     << text << "'";
                EXPECT_EQ(d.text, text) << "mode " << mode + 2 << " dpi " << dpi;
                EXPECT_EQ(d.ecLevel, std::to_string(mode + 2)) << text;
            }
        }
    }
}

TEST(MaxiCodeRoundTrip, ModulesOfFourToSixPixelsStayReadable) {
    // At 116 to 160 dpi the gap between modules would leave 3-pixel dots off their cells' centres.
    EnsureGuiApplication();
    for (int dpi : {120, 144, 150}) {
        TStMaxiCodeBarcode bc;
        bc.SetCode("LOW RESOLUTION LABEL PRINTER 0123456789");
        const test::Decoded d = RenderAndDecode(bc, dpi);
        ASSERT_TRUE(d.found) << dpi << " dpi";
        EXPECT_EQ(d.text, bc.Code());
    }
    TStMaxiCodeBarcode bc;
    bc.SetBarWidth(5);
    bc.SetBarHeight(5);
    bc.SetAutoScale(false);
    bc.SetCode("FIVE PIXELS");
    const test::Decoded d = RenderAndDecode(bc, 96);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, "FIVE PIXELS");
}

std::string Digits(std::mt19937& rng, int length) {
    std::string s;
    for (int i = 0; i < length; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
}

std::string Pad3(int v) {
    std::string s = std::to_string(v);
    return std::string(3 - s.size(), '0') + s;
}

TEST(MaxiCodeRoundTrip, StructuredCarrierMessagesInModes2And3) {
    EnsureGuiApplication();
    const unsigned seed = 16023;
    std::mt19937 rng(seed);
    for (int dpi : {300, 600}) {
        for (int round = 0; round < 4; ++round) {
            const bool numeric = round % 2 == 0;
            std::string postal = numeric ? Digits(rng, 1 + static_cast<int>(rng() % 9)) : RandomText(rng, 6);
            if (!numeric) // printable set A characters only, as a mode 3 postal code takes
                for (char& ch : postal)
                    if (ch < ' ' || TMaxiCodeEncoder::CodewordInSet(TMaxiCodeEncoder::TCodeSet::csA,
                                                                    static_cast<unsigned char>(ch)) < 0)
                        ch = 'X';
            const int country = static_cast<int>(rng() % 1000), service = static_cast<int>(rng() % 1000);
            const std::string text = RandomText(rng, 1 + static_cast<int>(rng() % 40));
            TStMaxiCodeBarcode bc;
            bc.SetMode(cmMode3); // digits make it mode 2 all the same
            bc.SetCarrierPostalCode(postal);
            bc.SetCarrierCountryCode(country);
            bc.SetCarrierServiceClass(service);
            bc.SetCode(text);
            const test::Decoded d = RenderAndDecode(bc, dpi);
            const std::string context = "seed " + std::to_string(seed) + " dpi " + std::to_string(dpi) +
                                        " postal '" + postal + "' text '" + text + "'";
            ASSERT_TRUE(d.found) << context;
            EXPECT_EQ(d.ecLevel, numeric ? "2" : "3") << context;
            const std::string expected =
                postal + "\x1d" + Pad3(country) + "\x1d" + Pad3(service) + "\x1d" + text;
            EXPECT_EQ(d.bytes, expected) << context;
        }
    }
}

TEST(MaxiCodeRoundTrip, EveryCharacterCodeAndTheEscapes) {
    EnsureGuiApplication();
    // All 256 character codes, from every code set's point of view, in a few symbols.
    std::string all;
    for (int c = 0; c < 256; ++c)
        if (c != 13 && c != '\\') all += static_cast<char>(c); // ZXing 1.4 reads set A's CR as LF
    size_t start = 0;
    while (start < all.size()) {
        const size_t length = std::min<size_t>(24, all.size() - start);
        const std::string chunk = all.substr(start, length);
        start += length;
        TStMaxiCodeBarcode bc;
        bc.SetCode(chunk);
        const test::Decoded d = RenderAndDecode(bc, 300);
        ASSERT_TRUE(d.found) << test::Hex(chunk);
        EXPECT_EQ(test::Hex(d.bytes), test::Hex(chunk));
    }
    TStMaxiCodeBarcode bc;
    bc.SetCode("a\\\\b\\EOT\\x41\\066\\GS.");
    const test::Decoded d = RenderAndDecode(bc, 600);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.bytes, std::string("a\\b\x04"
                                   "AB\x1d."));
}

} // namespace
} // namespace qbm
