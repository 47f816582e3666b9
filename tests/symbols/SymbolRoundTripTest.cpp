#include "symbols/ZintSymbolEncoder.h"

#include "SymbolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace qbm {
namespace {

using test::TRandomTexts;

constexpr int kCases = 40;

TSymbolSettings Settings(TSymbology symbology, bool gs1 = false) {
    TSymbolSettings s;
    s.symbology = symbology;
    s.gs1 = gs1;
    return s;
}

// Draws each text and reads it back; `expect` says what the reader is to hand on.
void RoundTrip(const TSymbolSettings& settings, ZXing::BarcodeFormats formats, unsigned seed,
               const std::function<std::string(TRandomTexts&)>& make,
               const std::function<std::string(const std::string&)>& expect = {}) {
    TRandomTexts random(seed);
    for (int i = 0; i < kCases; ++i) {
        const std::string text = make(random);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", case " + std::to_string(i) + ": " + text);
        const TSymbolGeometry g = EncodeSymbol(settings, text);
        // Aztec and DataBar need no quiet zone of their own; the reader wants a little white around.
        const test::Decoded d = test::Decode(test::DrawSymbol(g, 3, 12), formats);
        ASSERT_TRUE(d.found);
        EXPECT_EQ(d.text, expect ? expect(text) : text);
    }
}

// The element string as a reader hands it on: identifiers and data run together, a GS separator after
// data of variable length that is not the last.
std::string Transmitted(const std::string& elementString) {
    std::string out;
    const auto elements = ParseGs1ElementString(elementString);
    for (size_t i = 0; i < elements.size(); ++i) {
        out += elements[i].ai + elements[i].data;
        const bool fixed = elements[i].ai == "01" || elements[i].ai == "17" || elements[i].ai == "3103";
        if (!fixed && i + 1 < elements.size()) out += '\x1d';
    }
    return out;
}

TEST(SymbolRoundTrip, QrCodeReadsLatin1OtherScriptsAndUrls) {
    const auto settings = Settings(TSymbology::QrCode);
    RoundTrip(settings, ZXing::BarcodeFormat::QRCode, 11,
              [](TRandomTexts& r) { return r.Latin1(r.Between(1, 80)); });
    RoundTrip(settings, ZXing::BarcodeFormat::QRCode, 12,
              [](TRandomTexts& r) { return r.OtherScripts(r.Between(1, 40)); });
    RoundTrip(settings, ZXing::BarcodeFormat::QRCode, 13, [](TRandomTexts& r) { return r.Url(); });
}

TEST(SymbolRoundTrip, DataMatrixReadsLatin1OtherScriptsAndUrls) {
    const auto settings = Settings(TSymbology::DataMatrix);
    RoundTrip(settings, ZXing::BarcodeFormat::DataMatrix, 21,
              [](TRandomTexts& r) { return r.Latin1(r.Between(1, 80)); });
    RoundTrip(settings, ZXing::BarcodeFormat::DataMatrix, 22,
              [](TRandomTexts& r) { return r.OtherScripts(r.Between(1, 40)); });
    RoundTrip(settings, ZXing::BarcodeFormat::DataMatrix, 23, [](TRandomTexts& r) { return r.Url(); });
}

TEST(SymbolRoundTrip, Gs1DataMatrixCarriesTheElementString) {
    RoundTrip(
        Settings(TSymbology::DataMatrix, true), ZXing::BarcodeFormat::DataMatrix, 31,
        [](TRandomTexts& r) { return r.ElementString(); }, Transmitted);
}

TEST(SymbolRoundTrip, AztecReadsLatin1OtherScriptsAndUrls) {
    const auto settings = Settings(TSymbology::Aztec);
    RoundTrip(settings, ZXing::BarcodeFormat::Aztec, 41,
              [](TRandomTexts& r) { return r.Latin1(r.Between(1, 80)); });
    RoundTrip(settings, ZXing::BarcodeFormat::Aztec, 42,
              [](TRandomTexts& r) { return r.OtherScripts(r.Between(1, 40)); });
    RoundTrip(settings, ZXing::BarcodeFormat::Aztec, 43, [](TRandomTexts& r) { return r.Url(); });
}

TEST(SymbolRoundTrip, DataBarCarriesTheGtin) {
    RoundTrip(Settings(TSymbology::DataBar), ZXing::BarcodeFormat::DataBar, 51,
              [](TRandomTexts& r) { return r.Gtin(); });
    // Thirteen digits get their check digit.
    RoundTrip(
        Settings(TSymbology::DataBar), ZXing::BarcodeFormat::DataBar, 52,
        [](TRandomTexts& r) { return r.Gtin().substr(0, 13); },
        [](const std::string& t) { return t + static_cast<char>('0' + Gs1CheckDigit(t)); });
}

TEST(SymbolRoundTrip, DataBarExpandedCarriesTheElementString) {
    // At most 41 letters or 74 digits fit. ZXing 1.4 reads no Expanded symbol that holds a GTIN alone
    // (the shortest form, two symbol characters), whichever way it is drawn; a GTIN alone is GS1
    // DataBar's own job.
    RoundTrip(Settings(TSymbology::DataBarExpanded), ZXing::BarcodeFormat::DataBarExpanded, 61,
              [](TRandomTexts& r) { return r.ElementString(4, true); });
}

} // namespace
} // namespace qbm
