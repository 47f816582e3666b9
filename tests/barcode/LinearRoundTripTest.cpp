#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"

#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

constexpr unsigned kSeed = 20261209;
constexpr int kTextsPerModule = 100;

struct TSymbology {
    TBarcodeType type;
    ZXing::BarcodeFormat format;
    std::string alphabet;
    int minLength;
    int maxLength;
    // ZXing reads an interleaved 2 of 5 turned upside down as another valid number (each digit's
    // reversed pattern is a digit too), so that one is only checked upright.
    bool turned = true;
};

std::string AsciiAlphabet() {
    std::string s;
    for (int c = 0; c < 128; ++c) s += static_cast<char>(c);
    return s;
}

const std::string kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

std::string Printable(const std::string& s) {
    std::string r;
    for (const unsigned char c : s)
        r += c >= 32 && c < 127 ? std::string(1, static_cast<char>(c))
                                : "\\x" + test::Hex(std::string(1, static_cast<char>(c)));
    return r;
}

// Draws random texts at module 2 and 3 (some with the code text under the bars, some turned a
// quarter) and reads each back with ZXing.
void RoundTrip(const TSymbology& sym, bool checksums = false) {
    std::mt19937 rng(kSeed + sym.type);
    std::uniform_int_distribution<int> len(sym.minLength, sym.maxLength);
    std::uniform_int_distribution<size_t> pick(0, sym.alphabet.size() - 1);
    int failures = 0;
    for (const int modul : {2, 3}) {
        for (int n = 0; n < kTextsPerModule && failures < 5; ++n) {
            std::string text;
            for (int k = len(rng); k > 0; --k) text += sym.alphabet[pick(rng)];
            TBarcode bc;
            bc.SetTyp(sym.type);
            bc.SetText(text);
            bc.SetModul(modul);
            bc.SetHeight(30 * modul);
            bc.SetChecksum(checksums && n % 2 == 0);
            bc.SetShowText(n % 3 == 0 ? bcoCode : bcoNone);
            bc.SetAngle(sym.turned && n % 10 == 0 ? (n % 20 == 0 ? 90 : 270) : 0);
            const TBitmap bmp = RenderBarcode(bc, 10 * modul);
            const std::string expected = bc.Text(); // interleaved 2 of 5 may have gained a zero
            const test::Decoded d = test::Decode(bmp, sym.format, [&](ZXing::DecodeHints& h) {
                h.setTryCode39ExtendedMode(sym.type == bcCode39Extended);
                h.setValidateCode39CheckSum(bc.Checksum());
            });
            const bool ok = d.found && d.text == expected;
            EXPECT_TRUE(ok) << BCdata[sym.type].Name << " seed " << kSeed << " modul " << modul << " angle "
                            << bc.Angle() << " show " << int(bc.ShowText()) << " text \""
                            << Printable(expected) << "\" read "
                            << (d.found ? "\"" + Printable(d.text) + "\"" : "nothing");
            failures += !ok;
        }
    }
}

TEST(LinearRoundTrip, Code39) {
    RoundTrip({bcCode39, ZXing::BarcodeFormat::Code39, kCode39Chars, 1, 20}, true);
}

TEST(LinearRoundTrip, Code39Extended) {
    RoundTrip({bcCode39Extended, ZXing::BarcodeFormat::Code39, AsciiAlphabet(), 1, 12});
}

TEST(LinearRoundTrip, Code93) {
    RoundTrip({bcCode93, ZXing::BarcodeFormat::Code93, kCode39Chars, 1, 20});
}

TEST(LinearRoundTrip, Code93Extended) {
    RoundTrip({bcCode93Extended, ZXing::BarcodeFormat::Code93, AsciiAlphabet(), 1, 16});
}

TEST(LinearRoundTrip, Interleaved2of5) {
    RoundTrip({bcCode_2_5_interleaved, ZXing::BarcodeFormat::ITF, "0123456789", 6, 24, false});
}

// ZXing wants at least two data characters between start and stop.
TEST(LinearRoundTrip, Codabar) {
    RoundTrip({bcCodeCodabar, ZXing::BarcodeFormat::Codabar, "0123456789-$:/.+", 2, 20});
}

} // namespace
} // namespace qbm
