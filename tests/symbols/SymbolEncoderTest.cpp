#include "symbols/ESymbolError.h"
#include "symbols/ZintSymbolEncoder.h"

#include "ShapesOnlyCanvas.h"
#include "SymbolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

TSymbolSettings Settings(TSymbology symbology) {
    TSymbolSettings s;
    s.symbology = symbology;
    return s;
}

// Size in modules, quiet zone included, for fixed settings.
struct SizeCase {
    TSymbolSettings settings;
    std::string_view text;
    double width;
    double height;
    double quiet;
};

TSymbolSettings Qr(int version, TQrEcc ecc = TQrEcc::Auto) {
    auto s = Settings(TSymbology::QrCode);
    s.version = version;
    s.qrEcc = ecc;
    return s;
}
TSymbolSettings MicroQr(int version) {
    auto s = Settings(TSymbology::MicroQr);
    s.version = version;
    return s;
}
TSymbolSettings DataMatrix(TDataMatrixShape shape, int rows = 0, int columns = 0) {
    auto s = Settings(TSymbology::DataMatrix);
    s.shape = shape;
    s.rows = rows;
    s.columns = columns;
    return s;
}

const SizeCase kSizes[] = {
    /* 0 */ {Qr(0), "Hello", 21 + 8, 21 + 8, 4},      // version 1, four modules of quiet zone
    /* 1 */ {Qr(5), "Hello", 37 + 8, 37 + 8, 4},      // a fixed version is kept however short the text
    /* 2 */ {MicroQr(0), "12345", 11 + 4, 11 + 4, 2}, // M1 holds five digits; two modules of quiet zone
    /* 3 */ {MicroQr(4), "12345", 17 + 4, 17 + 4, 2},
    /* 4 */ {DataMatrix(TDataMatrixShape::Square), "Hello", 12 + 2, 12 + 2, 1},
    /* 5 */ {DataMatrix(TDataMatrixShape::Square, 32, 32), "Hello", 32 + 2, 32 + 2, 1},
    /* 6 */ {DataMatrix(TDataMatrixShape::Rectangle), "Hello", 18 + 2, 8 + 2, 1},
    /* 7 */ {DataMatrix(TDataMatrixShape::Rectangle), "Hello world, again", 26 + 2, 12 + 2, 1}, // past 8 x 32
    /* 8 */ {DataMatrix(TDataMatrixShape::Square, 16, 48), "Hello", 48 + 2, 16 + 2, 1},
    /* 9 */ {Settings(TSymbology::Aztec), "Hello", 15, 15, 0}, // compact, one layer; no quiet zone needed
};

TEST(SymbolEncoder, SizesFollowTheSettingsWithTheQuietZone) {
    for (size_t i = 0; i < std::size(kSizes); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const TSymbolGeometry g = EncodeSymbol(kSizes[i].settings, kSizes[i].text);
        EXPECT_EQ(g.width, kSizes[i].width);
        EXPECT_EQ(g.height, kSizes[i].height);
        EXPECT_EQ(g.quietX, kSizes[i].quiet);
        for (const TModuleRect& r : g.rects) {
            ASSERT_GE(r.x, g.quietX);
            ASSERT_LE(r.x + r.width, g.width - g.quietX);
        }
        // The module rows hold the modules of the rectangles: both draw the same picture.
        EXPECT_EQ(g.modules.columns + 2 * g.modules.x, g.width);
        EXPECT_EQ(g.modules.rows + 2 * g.modules.y, g.height);
        TSymbolGeometry rectsOnly = g;
        rectsOnly.modules = {};
        for (const int dots : {1, 3})
            EXPECT_EQ(
                test::FirstDifference(test::DrawSymbol(g, dots, 2), test::DrawSymbol(rectsOnly, dots, 2)), "")
                << dots;
    }
}

TEST(SymbolEncoder, QrErrorCorrectionLevelIsTheOneAskedFor) {
    const std::pair<TQrEcc, std::string> levels[] = {
        {TQrEcc::L, "L"}, {TQrEcc::M, "M"}, {TQrEcc::Q, "Q"}, {TQrEcc::H, "H"}};
    for (const auto& [ecc, name] : levels) {
        const auto d = test::Decode(test::DrawSymbol(EncodeSymbol(Qr(0, ecc), "Quirbel"), 3),
                                    ZXing::BarcodeFormat::QRCode);
        ASSERT_TRUE(d.found) << name;
        EXPECT_EQ(d.ecLevel, name);
    }
}

TEST(SymbolEncoder, AztecErrorCorrectionGrowsTheSymbol) {
    auto low = Settings(TSymbology::Aztec), high = low;
    low.aztecEccPercent = 10;
    high.aztecEccPercent = 50;
    const std::string text(60, 'A');
    EXPECT_LT(EncodeSymbol(low, text).width, EncodeSymbol(high, text).width);
}

TEST(SymbolEncoder, LinearSymbolsHaveTheirBarsAndText) {
    auto dataBar = Settings(TSymbology::DataBar);
    const TSymbolGeometry g = EncodeSymbol(dataBar, "0950110153000");
    EXPECT_EQ(g.width, 96); // 96 modules wide, the standard's fixed width
    ASSERT_EQ(g.texts.size(), 1u);
    EXPECT_EQ(g.texts[0].text, "(01)09501101530003");
    dataBar.showText = false;
    EXPECT_TRUE(EncodeSymbol(dataBar, "0950110153000").texts.empty());

    // Intelligent Mail: 65 bars of four states.
    auto imb = Settings(TSymbology::IntelligentMail);
    imb.showText = false;
    const TSymbolGeometry mail = EncodeSymbol(imb, "01234567094987654321");
    EXPECT_EQ(mail.rects.size(), 65u);
    // A routing code of 5, 9 or 11 digits follows the tracking code's 20, with or without a hyphen.
    for (const char* routed : {"0123456709498765432101234", "01234567094987654321012345678",
                               "0123456709498765432101234567891", "01234567094987654321-01234"})
        EXPECT_EQ(EncodeSymbol(imb, routed).rects.size(), 65u) << routed;
    EXPECT_NE(EncodeSymbol(imb, "0123456709498765432101234").rects, mail.rects);
    EXPECT_EQ(EncodeSymbol(Settings(TSymbology::DataBarStacked), "0950110153000").rects.empty(), false);
    EXPECT_EQ(EncodeSymbol(Settings(TSymbology::DataBarLimited), "(01)09501101530003").width, 79 + 0);
}

TEST(SymbolEncoder, EncodingIsAPureFunctionOfSettingsAndText) {
    const auto settings = Qr(0);
    EXPECT_EQ(EncodeSymbol(settings, "same text"), EncodeSymbol(settings, "same text"));
    EXPECT_NE(EncodeSymbol(settings, "same text"), EncodeSymbol(settings, "other text"));
    // Nothing of other symbols, settings or refusals carries over to the next symbol.
    const TSymbolGeometry first = EncodeSymbol(settings, "same text");
    auto gs1 = Settings(TSymbology::DataMatrix);
    gs1.gs1 = true;
    EncodeSymbol(gs1, "(01)09501101530003(10)X");
    EncodeSymbol(Settings(TSymbology::DataBarExpanded), "(01)09501101530003(10)X");
    EncodeSymbol(Qr(40, TQrEcc::H), "x");
    EXPECT_ANY_THROW(EncodeSymbol(Qr(1), std::string(300, '9')));
    EXPECT_EQ(EncodeSymbol(settings, "same text"), first);
}

struct ErrorCase {
    TSymbolSettings settings;
    std::string text;
    std::string message;
};

TEST(SymbolEncoder, RefusesWhatTheSymbologyCannotHoldByName) {
    auto microH = Settings(TSymbology::MicroQr);
    microH.qrEcc = TQrEcc::H;
    auto aztec = Settings(TSymbology::Aztec);
    aztec.aztecEccPercent = 60;
    auto gs1 = Settings(TSymbology::DataMatrix);
    gs1.gs1 = true;
    const ErrorCase cases[] = {
        /* 0 */ {Qr(0), "", "QR Code: there is no text to encode"},
        /* 1 */ {microH, "1", "Micro QR has no error correction level H"},
        /* 2 */ {aztec, "A", "Aztec error correction must be 1 to 50 per cent"},
        /* 3 */
        {DataMatrix(TDataMatrixShape::Square, 11, 11), "A", "Data Matrix has no size of 11 x 11 modules"},
        /* 4 */
        {Settings(TSymbology::DataBar), "123",
         "GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"},
        /* 5 */ {Settings(TSymbology::DataBar), "09501101530004", "GS1 (01) check digit should be 3, not 4"},
        /* 6 */ {gs1, "(17)251332", "GS1 (17) is not a date (YYMMDD): 251332"},
        /* 7 */ {Settings(TSymbology::DataBarExpanded), "(01)09501101530003(99)", "GS1 (99) has no data"},
        /* 8 */ {Qr(100), "A", "QR Code version must be 1 to 40"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_THROW_MSG(EncodeSymbol(cases[i].settings, cases[i].text), ESymbolError, cases[i].message);
    }
    // The encoder's own refusals carry the symbology's name.
    try {
        EncodeSymbol(Qr(1), std::string(200, 'x'));
        ADD_FAILURE() << "200 characters in a version 1 QR Code";
    } catch (const ESymbolError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("QR Code: ", 0), 0u) << e.what();
    }
}

} // namespace
} // namespace qbm
