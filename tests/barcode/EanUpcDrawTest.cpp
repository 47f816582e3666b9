#include "barcode/BarcodeRender.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "util/Rounding.h"

#include "Code128EanTestSupport.h"
#include "RecordingCanvas.h"
#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

bool Dark(const TBitmap& bmp, int x, int y) {
    const TColor c = bmp.Pixel(x, y);
    return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 128;
}

int DarkIn(const TBitmap& bmp, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += Dark(bmp, x, y);
    return n;
}

TFont TextFont(int points = 8) {
    TFont f;
    f.SetName("DejaVu Sans");
    f.SetSize(points);
    return f;
}

// EAN-13 and UPC-A on a bitmap: the digit bars stop short of the text, the guard bars run the whole
// height, the digits sit in their rows beside and under the bars, and the result still scans.
TEST(EanUpcRaster, DigitBarsAreShortenedAndTheDigitsSitInTheirGroups) {
    EnsureGuiApplication();
    struct Case {
        TBarcodeType type;
        std::string text;
        int firstDigitBar, lastDigitBar; // elements of the left group; the right group is 33 ..
        int rightEnd;
        std::string decoded;
        ZXing::BarcodeFormat format;
    };
    const Case cases[] = {
        {bcCodeEAN13, "590123412345", 5, 28, 56, "5901234123457", ZXing::BarcodeFormat::EAN13},
        {bcCodeUPC_A, "03600029145", 9, 28, 52, "036000291452", ZXing::BarcodeFormat::UPCA},
    };
    for (const Case& c : cases) {
        const int left = 40, top = 10, height = 50, modul = 2;
        TBarcode bc;
        bc.SetTyp(c.type);
        bc.SetText(c.text);
        bc.SetChecksum(true);
        bc.SetModul(modul);
        bc.SetHeight(height);
        bc.SetLeft(left);
        bc.SetTop(top);
        bc.SetShowText(bcoCode);
        bc.SetShowTextFont(TextFont(7));
        const int width = bc.Width();
        TBitmap bmp(width + 2 * left, height + 2 * top + 30);
        bmp.Canvas().SetFont(TextFont(7));
        // A letter A ten pixels high: digit bars end at 44, six pixels short, and the digit cells
        // start at 45.
        const int hA = bmp.Canvas().TextHeight("A");
        ASSERT_EQ(hA, 10);
        bc.Draw(bmp.Canvas());
        const int shortEnd = height - Rnd(0.6 * hA);
        const int digitTop = top + height - Rnd(hA / 2.0);
        ASSERT_EQ(shortEnd, 44);
        ASSERT_EQ(digitTop, top + 45);

        const std::string pattern = bc.BuildPattern();
        int x = 0;
        for (size_t k = 0; k < pattern.size(); ++k) {
            const TElement e = bc.ElementWidth(pattern[k]);
            const int i = static_cast<int>(k) + 1;
            if (e.kind != 0) {
                const bool shortened =
                    (i >= c.firstDigitBar && i <= c.lastDigitBar) || (i >= 33 && i <= c.rightEnd);
                const int end = shortened ? shortEnd : height;
                for (int col = left + x; col < left + x + e.width; ++col) {
                    EXPECT_TRUE(Dark(bmp, col, top)) << "element " << i;
                    EXPECT_TRUE(Dark(bmp, col, top + end)) << "element " << i;
                    if (shortened) {
                        EXPECT_FALSE(Dark(bmp, col, top + end + 1)) << "element " << i;
                    }
                }
            } else {
                EXPECT_EQ(DarkIn(bmp, left + x, left + x + e.width, top, top + shortEnd), 0) << "gap " << i;
            }
            x += e.width;
        }
        ASSERT_EQ(x, width);

        // The digit rows: the first digit left of the symbol, the two groups under their bars, nothing
        // under the centre guard.
        const auto& g = bc.GroupMarks;
        const int rowsEnd = digitTop + hA;
        EXPECT_GT(DarkIn(bmp, 0, left, digitTop, rowsEnd), 0);
        EXPECT_GT(DarkIn(bmp, left + g[0], left + g[1] + 1, digitTop, rowsEnd), 0);
        EXPECT_GT(DarkIn(bmp, left + g[2], left + g[3] + 1, digitTop, rowsEnd), 0);
        EXPECT_EQ(DarkIn(bmp, left + g[1] + 1, left + g[2], top + height + 1, rowsEnd), 0);
        EXPECT_EQ(DarkIn(bmp, 0, bmp.Width(), 0, top), 0);
        EXPECT_EQ(DarkIn(bmp, 0, left, top, digitTop), 0);
        if (c.type == bcCodeUPC_A)
            EXPECT_GT(DarkIn(bmp, left + width, bmp.Width(), digitTop, rowsEnd), 0);
        else
            EXPECT_EQ(DarkIn(bmp, left + width, bmp.Width(), 0, bmp.Height()), 0);

        const test::Decoded d = test::Decode(bmp, c.format);
        ASSERT_TRUE(d.found) << c.decoded;
        EXPECT_EQ(d.text, c.decoded);
    }
}

TEST(EanUpcText, UpcEShowsNumberSystemDigitsAndCheckDigit) {
    const auto shown = test::ShownText;
    EXPECT_EQ(shown(bcCodeUPC_E0, "425261"), "04252614");
    EXPECT_EQ(shown(bcCodeUPC_E0, "04252614"), "04252614");
    EXPECT_EQ(shown(bcCodeUPC_E1, "123456"), "11234562");
    EXPECT_EQ(shown(bcCodeEAN8, "1234567"), "12345670"); // without Checksum too: the digits drawn
}

TEST(EanUpcDrawRoundTrip, EveryTypeReadsBackThroughDraw) {
    EnsureGuiApplication();
    struct Kind {
        TBarcodeType type;
        int digits;
        ZXing::BarcodeFormat format;
    };
    const Kind kinds[] = {{bcCodeEAN8, 7, ZXing::BarcodeFormat::EAN8},
                          {bcCodeEAN13, 12, ZXing::BarcodeFormat::EAN13},
                          {bcCodeUPC_A, 11, ZXing::BarcodeFormat::UPCA},
                          {bcCodeUPC_E0, 6, ZXing::BarcodeFormat::UPCE},
                          {bcCodeUPC_E1, 6, ZXing::BarcodeFormat::UPCE}};
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> digit('0', '9');
    std::uniform_int_distribution<int> modul(1, 3);
    for (const Kind& kind : kinds) {
        for (int i = 0; i < 60; ++i) {
            std::string text(static_cast<size_t>(kind.digits), '0');
            for (char& ch : text) ch = static_cast<char>(digit(rng));
            TBarcode bc;
            bc.SetTyp(kind.type);
            bc.SetText(text);
            bc.SetChecksum(true);
            bc.SetModul(modul(rng));
            bc.SetHeight(25 * bc.Modul());
            bc.SetShowText(i % 3 ? bcoCode : bcoNone);
            bc.SetShowTextFont(TextFont());
            bc.SetAngle(90.0 * (i % 4));
            const bool upcE = kind.type == bcCodeUPC_E0 || kind.type == bcCodeUPC_E1;
            const std::string expected = upcE ? UpcEText(bc.EncoderInput()) : text + Modulo10CheckDigit(text);
            const test::Decoded d = test::Decode(RenderBarcode(bc, 12 * bc.Modul()), kind.format);
            ASSERT_TRUE(d.found) << BCdata[kind.type].Name << " case " << i << " text " << text;
            ASSERT_EQ(d.text, expected) << BCdata[kind.type].Name << " case " << i;
        }
    }
}

TEST(EanUpcDrawRoundTrip, Ean13WithItsSupplementDrawnBeside) {
    EnsureGuiApplication();
    std::mt19937 rng(52);
    std::uniform_int_distribution<int> digit('0', '9');
    for (int i = 0; i < 60; ++i) {
        const int modul = 1 + i % 3;
        const int addOnDigits = i % 2 ? 5 : 2;
        std::string code(12, '0'), add(static_cast<size_t>(addOnDigits), '0');
        for (char& ch : code) ch = static_cast<char>(digit(rng));
        for (char& ch : add) ch = static_cast<char>(digit(rng));
        TBarcode main;
        main.SetText(code);
        main.SetChecksum(true);
        main.SetModul(modul);
        main.SetHeight(30 * modul);
        main.SetShowText(bcoCode);
        main.SetShowTextFont(TextFont());
        TBarcode addOn;
        addOn.SetTyp(addOnDigits == 5 ? bcCodeUPC_Supp5 : bcCodeUPC_Supp2);
        addOn.SetText(add);
        addOn.SetModul(modul);
        addOn.SetHeight(30 * modul);
        addOn.SetShowText(bcoCode);
        addOn.SetShowTextFont(TextFont());

        const int margin = 15 * modul;
        main.SetLeft(margin);
        main.SetTop(margin);
        addOn.SetLeft(margin + main.Width() + 9 * modul);
        addOn.SetTop(margin);
        TBitmap bmp(addOn.Left() + addOn.Width() + margin, 2 * margin + main.Height() + 20 * modul);
        main.Draw(bmp.Canvas());
        addOn.Draw(bmp.Canvas());
        const test::Decoded d = test::Decode(bmp, ZXing::BarcodeFormat::EAN13, [](ZXing::DecodeHints& h) {
            h.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Require);
        });
        const std::string expected = code + Modulo10CheckDigit(code) + " " + add;
        ASSERT_TRUE(d.found) << "case " << i << " " << expected;
        ASSERT_EQ(d.text, expected) << "case " << i;
    }
}

} // namespace
} // namespace qbm
