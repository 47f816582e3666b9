#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

namespace qbm {
namespace {

struct DrawCase {
    std::vector<std::string> args; // the command line up to --out
    std::string file;
    ZXing::BarcodeFormat format;
    std::string expected; // what the reader hands on
};

// Every format a picture can be written in, read back as a label printer's user would scan it.
TEST(QbmSymbolCommands, WritePicturesThatScan) {
    const std::string dir = test::MakeTempDir();
    const DrawCase cases[] = {
        /* 0 */ {{"qrcode", "Grüße aus Köln, Привет 日本", "--ecc", "H"},
                 "qr.png",
                 ZXing::BarcodeFormat::QRCode,
                 "Grüße aus Köln, Привет 日本"},
        /* 1 */
        {{"qrcode", "https://example.com/?id=4711", "--version", "7", "--modul", "2"},
         "qr.bmp",
         ZXing::BarcodeFormat::QRCode,
         "https://example.com/?id=4711"},
        /* 2 */
        {{"datamatrix", "(01)09501101530003(17)251231(10)AB12", "--gs1"},
         "gs1.png",
         ZXing::BarcodeFormat::DataMatrix,
         "010950110153000317251231"
         "10AB12"},
        /* 3 */
        {{"datamatrix", "Lot 4711", "--shape", "rect"},
         "rect.jpg",
         ZXing::BarcodeFormat::DataMatrix,
         "Lot 4711"},
        /* 4 */
        {{"aztec", "Ticket 000123 Zürich", "--ecc", "50"},
         "aztec.png",
         ZXing::BarcodeFormat::Aztec,
         "Ticket 000123 Zürich"},
        /* 5 */
        {{"render", "bcCodeDataBar", "0950110153000", "--show", "code"},
         "databar.png",
         ZXing::BarcodeFormat::DataBar,
         "09501101530003"},
        /* 6 */
        {{"render", "bcCodeDataBarExpanded", "(01)09501101530003(3103)000750"},
         "expanded.png",
         ZXing::BarcodeFormat::DataBarExpanded,
         "(01)09501101530003(3103)000750"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        std::vector<std::string> args = cases[i].args;
        args.insert(args.end(), {"--out", dir + "/" + cases[i].file});
        const test::TCliRun r = test::RunQbm(dir, args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const test::Decoded d =
            test::Decode(test::LoadPicture(dir + "/" + cases[i].file, 10), cases[i].format);
        ASSERT_TRUE(d.found);
        EXPECT_EQ(d.text, cases[i].expected);
    }
}

TEST(QbmSymbolCommands, VectorFilesKeepTheModulesAsShapes) {
    const std::string dir = test::MakeTempDir();
    test::TCliRun r =
        test::RunQbm(dir, {"aztec", "Boarding pass 42", "--out", dir + "/a.pdf", "--dpi", "150"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<QImage> pages = test::RasterisePdf(dir + "/a.pdf", 150);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(test::DecodeAll(pages[0], ZXing::BarcodeFormat::Aztec),
              std::vector<std::string>{"Boarding pass 42"});

    r = test::RunQbm(dir, {"qrcode", "A", "--out", dir + "/q.svg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string svg = test::ReadWholeFile(dir + "/q.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "modules went out as a picture";
}

TEST(QbmSymbolCommands, MicroQrAndIntelligentMailHaveTheirStandardSizes) {
    const std::string dir = test::MakeTempDir();
    // M1 (11 x 11 modules) with two modules of quiet zone on each side, four dots a module.
    test::TCliRun r = test::RunQbm(dir, {"microqr", "12345", "--out", dir + "/m.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "wrote " + dir + "/m.png (60 x 60)\n");
    r = test::RunQbm(dir, {"microqr", "HELLO", "--version", "4", "--ecc", "Q", "--out", dir + "/m4.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::LoadPicture(dir + "/m4.png").Width(), (17 + 4) * 4);
    r = test::RunQbm(dir, {"render", "bcCodeIMb", "01234567094987654321", "--out", dir + "/imb.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(test::LoadPicture(dir + "/imb.png").Width(), 0);
}

TEST(QbmSymbolCommands, RefuseWrongTextsAndOptions) {
    const std::string dir = test::MakeTempDir();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const std::string out = dir + "/x.png";
    const Case cases[] = {
        /* 0 */ {{"datamatrix", "(01)09501101530004", "--gs1", "--out", out},
                 1,
                 "GS1 (01) check digit should be 3, not 4"},
        /* 1 */
        {{"render", "bcCodeDataBarLimited", "2950110153000", "--out", out}, 1, "GS1 DataBar Limited: "},
        /* 2 */ {{"qrcode", "x", "--ecc", "X", "--out", out}, 2, "--ecc takes L, M, Q or H, not 'X'"},
        /* 3 */ {{"microqr", "x", "--ecc", "H", "--out", out}, 2, "--ecc takes L, M or Q, not 'H'"},
        /* 4 */ {{"qrcode", "x", "--version", "41", "--out", out}, 2, "--version must be 1 to 40"},
        /* 5 */ {{"aztec", "x", "--ecc", "90", "--out", out}, 2, "--ecc must be 1 to 50 per cent"},
        /* 6 */
        {{"datamatrix", "x", "--size", "11x11", "--out", out},
         1,
         "Data Matrix has no size of 11 x 11 modules"},
        /* 7 */
        {{"qrcode", "x", "--out", dir + "/x.gif"},
         2,
         "--out must name a .png, .bmp, .jpg, .svg or .pdf file"},
        /* 8 */
        {{"render", "bcCodeDataBar", "0950110153000", "--checksum", "--out", out},
         2,
         "--checksum does not apply to GS1 DataBar"},
        /* 9 */ {{"qrcode", "", "--out", out}, 1, "QR Code: there is no text to encode"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const test::TCliRun r = test::RunQbm(dir, cases[i].args);
        EXPECT_EQ(r.exitCode, cases[i].exitCode);
        EXPECT_NE(r.err.find(cases[i].message), std::string::npos) << r.err;
        EXPECT_TRUE(test::ReadWholeFile(out).empty()) << "a refused symbol left a picture";
    }
}

} // namespace
} // namespace qbm
