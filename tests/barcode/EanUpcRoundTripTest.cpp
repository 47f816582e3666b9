#include "barcode/EanUpcEncoder.h"
#include "barcode/TBarcode.h"

#include "Code128EanTestSupport.h"
#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

constexpr int kCases = 300;

std::string RandomDigits(std::mt19937& rng, int n) {
    std::uniform_int_distribution<int> digit('0', '9');
    std::string s(static_cast<size_t>(n), '0');
    for (char& c : s) c = static_cast<char>(digit(rng));
    return s;
}

struct Symbol {
    TBarcodeType type;
    int digits; // digits of text given to the encoder
    bool checksum;
    ZXing::BarcodeFormat format;
};

TEST(EanUpcRoundTrip, DecodesToTheDigitsWithTheirCheckDigit) {
    const Symbol symbols[] = {
        /* 0 */ {bcCodeEAN8, 7, true, ZXing::BarcodeFormat::EAN8},
        /* 1 */ {bcCodeEAN13, 12, true, ZXing::BarcodeFormat::EAN13},
        /* 2 */ {bcCodeUPC_A, 11, true, ZXing::BarcodeFormat::UPCA},
        /* 3 */ {bcCodeEAN13, 13, false, ZXing::BarcodeFormat::EAN13}, // check digit typed in
    };
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> modul(1, 3);
    for (size_t s = 0; s < std::size(symbols); ++s) {
        const Symbol& sym = symbols[s];
        for (int i = 0; i < kCases; ++i) {
            std::string text = RandomDigits(rng, sym.digits);
            if (!sym.checksum) text.back() = Modulo10CheckDigit(text.substr(0, text.size() - 1));
            TBarcode bc;
            bc.SetTyp(sym.type);
            bc.SetText(text);
            bc.SetChecksum(sym.checksum);
            bc.SetModul(modul(rng));
            const test::Decoded d = test::Decode(test::PaintPattern(bc), sym.format);
            const std::string expected = sym.checksum ? text + Modulo10CheckDigit(text) : text;
            ASSERT_TRUE(d.found) << "symbol " << s << " text " << text;
            ASSERT_EQ(d.text, expected) << "symbol " << s;
        }
    }
}

TEST(EanUpcRoundTrip, UpcEDecodesToItsEightDigits) {
    std::mt19937 rng(6);
    std::uniform_int_distribution<int> modul(1, 3);
    for (int i = 0; i < kCases; ++i) {
        const std::string six = RandomDigits(rng, 6);
        // Six digits, or the full printed form with number system and check digit.
        const bool full = i % 3 == 2;
        TBarcode bc;
        bc.SetTyp(i % 2 ? bcCodeUPC_E1 : bcCodeUPC_E0);
        bc.SetModul(modul(rng));
        const std::string ns = i % 2 ? "1" : "0";
        const std::string expanded = ExpandUpcE(ns + six);
        const std::string expected = ns + six + Modulo10CheckDigit(expanded);
        bc.SetText(full && bc.Typ() == bcCodeUPC_E0 ? expected : six);
        EXPECT_EQ(UpcEText(bc.EncoderInput()), expected);
        const test::Decoded d = test::Decode(test::PaintPattern(bc), ZXing::BarcodeFormat::UPCE);
        ASSERT_TRUE(d.found) << "case " << i << " text " << bc.Text();
        ASSERT_EQ(d.text, expected) << "case " << i << " text " << bc.Text();
    }
}

TEST(EanUpcRoundTrip, Ean13WithASupplementBesideIt) {
    std::mt19937 rng(25);
    for (int i = 0; i < kCases; ++i) {
        const int addOnDigits = i % 2 ? 5 : 2;
        TBarcode main;
        main.SetText(RandomDigits(rng, 12));
        main.SetChecksum(true);
        TBarcode addOn;
        addOn.SetTyp(addOnDigits == 5 ? bcCodeUPC_Supp5 : bcCodeUPC_Supp2);
        addOn.SetText(RandomDigits(rng, addOnDigits));
        addOn.SetChecksum(i % 3 == 0); // only rewrites Text; the bars are the same

        const std::string mainPattern = main.BuildPattern();
        const std::string addOnPattern = addOn.BuildPattern();
        const std::string addOnDigitsText = addOn.Text().substr(0, static_cast<size_t>(addOnDigits));
        const int quiet = 24, height = 20, gap = 9;
        TBitmap bmp(95 + gap + (addOnDigits == 5 ? 47 : 20) + 2 * quiet, height + 2 * quiet);
        const int x = test::PaintPatternAt(bmp, main, mainPattern, quiet, quiet, height);
        test::PaintPatternAt(bmp, addOn, addOnPattern, x + gap, quiet, height);

        const test::Decoded d = test::Decode(bmp, ZXing::BarcodeFormat::EAN13, [](ZXing::DecodeHints& h) {
            h.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Require);
        });
        const std::string code = main.Text() + Modulo10CheckDigit(main.Text());
        ASSERT_TRUE(d.found) << "case " << i << " " << code << " " << addOnDigitsText;
        ASSERT_EQ(d.text, code + " " + addOnDigitsText) << "case " << i;
    }
}

} // namespace
} // namespace qbm
