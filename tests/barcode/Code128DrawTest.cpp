#include "barcode/BarcodeRender.h"
#include "barcode/Code128Encoder.h"
#include "barcode/TBarcode.h"

#include "Code128EanTestSupport.h"
#include "RecordingCanvas.h"
#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

using test::ShownText;

TEST(Code128Text, ShowsWhatTheBarsCarry) {
    EXPECT_EQ(ShownText(bcCode128C, "12345"), "012345");
    EXPECT_EQ(ShownText(bcCode128C, "1234"), "1234");
    EXPECT_EQ(ShownText(bcCodeEAN128C, "011234567890123"), "0112345678901231");
    EXPECT_EQ(ShownText(bcCodeEAN128C, "12345"), "123450");
    EXPECT_EQ(ShownText(bcCodeEAN128C, "5"), "5");
    EXPECT_EQ(ShownText(bcCode128Auto, "AB\\9CD\\193\\"), "ABCD\\");
    EXPECT_EQ(ShownText(bcCode128Auto, "A\tB"), "A B"); // a tab is encoded and shown as a blank
    EXPECT_EQ(ShownText(bcCode128A, std::string("A\x80") + "B"), "A B");
}

// Draws random texts of every Code 128 type through Draw, with and without the code text under the
// bars and in the four quarter turns, and reads them back.
TEST(Code128DrawRoundTrip, EveryTypeReadsBackThroughDraw) {
    struct Kind {
        TBarcodeType type;
        int lo, hi;
    };
    const Kind kinds[] = {{bcCode128A, 32, 95},      {bcCode128B, 32, 126},     {bcCode128C, '0', '9'},
                          {bcCodeEAN128A, 'A', 'Z'}, {bcCodeEAN128B, 'a', 'z'}, {bcCodeEAN128C, '0', '9'},
                          {bcCode128Auto, 32, 126}};
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> len(1, 20);
    std::uniform_int_distribution<int> modul(1, 3);
    for (const Kind& kind : kinds) {
        std::uniform_int_distribution<int> ch(kind.lo, kind.hi);
        for (int i = 0; i < 60; ++i) {
            std::string text(static_cast<size_t>(len(rng)), ' ');
            for (char& c : text) c = static_cast<char>(ch(rng));
            if (kind.type == bcCodeEAN128A || kind.type == bcCodeEAN128B) text = "10" + text;
            if (kind.type == bcCodeEAN128C) text = "10" + text;
            TBarcode bc;
            bc.SetTyp(kind.type);
            bc.SetText(text);
            bc.SetModul(modul(rng));
            bc.SetHeight(20 * bc.Modul());
            bc.SetShowText(i % 2 ? bcoCode : bcoNone);
            bc.SetAngle(90.0 * (i % 4));
            std::string expected = kind.type == bcCode128Auto ? ParseEscapes(text, true) : text;
            if ((kind.type == bcCode128C || kind.type == bcCodeEAN128C) && expected.size() % 2)
                expected = kind.type == bcCode128C ? "0" + expected : expected + "0";
            const test::Decoded d =
                test::Decode(RenderBarcode(bc, 10 * bc.Modul()), ZXing::BarcodeFormat::Code128);
            ASSERT_TRUE(d.found) << BCdata[kind.type].Name << " case " << i << " text " << test::Hex(text);
            ASSERT_EQ(d.bytes, expected) << BCdata[kind.type].Name << " case " << i;
        }
    }
}

} // namespace
} // namespace qbm
