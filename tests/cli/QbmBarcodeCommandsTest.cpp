#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <array>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace qbm {
namespace {

using TRun = test::TCliRun;

TRun Qbm(const std::vector<std::string>& args) {
    static const std::string dir = test::MakeTempDir();
    return test::RunQbm(dir, args);
}

std::string ReadFile(const std::string& path) {
    return test::ReadWholeFile(path);
}

TBitmap LoadBitmap(const std::string& path) {
    return test::LoadPicture(path);
}

TEST(QbmEncode, PrintsThePatternForNameOrOrdinal) {
    const TRun byName = Qbm({"encode", "bcCode39", "A", "--checksum"});
    EXPECT_EQ(byName.exitCode, 0) << byName.err;
    EXPECT_EQ(byName.out, "515060605060505150606050515060515060605\n");
    const TRun byOrdinal = Qbm({"encode", "3", "A", "--checksum"});
    EXPECT_EQ(byOrdinal.out, byName.out);
    EXPECT_EQ(Qbm({"encode", "bcCodePostNet", "", "--modul", "2"}).out, "515\n");
}

TEST(QbmEncode, EngineErrorsPrintTheirTextAndExitOne) {
    const TRun bad93 = Qbm({"encode", "bcCode93", "abc"});
    EXPECT_EQ(bad93.exitCode, 1);
    EXPECT_EQ(bad93.err, "Code93 bad Data !\n");
    EXPECT_EQ(bad93.out, "");
    const TRun numeric = Qbm({"encode", "bcCodeMSI", "12a"});
    EXPECT_EQ(numeric.exitCode, 1);
    EXPECT_EQ(numeric.err, "Barcode must be numeric\n");
    // An ordinal beyond the types is wrong usage, named as such rather than an engine failure.
    EXPECT_EQ(Qbm({"encode", "30", "1"}).exitCode, 2);
}

TEST(QbmEncode, UsageErrorsExitTwoAndHelpExitsZero) {
    EXPECT_EQ(Qbm({"encode", "bcNoSuchType", "1"}).exitCode, 2);
    EXPECT_EQ(Qbm({"encode", "bcCode39"}).exitCode, 2);
    EXPECT_EQ(Qbm({"encode", "bcCode39", "A", "--modul", "50"}).exitCode, 2);
    EXPECT_EQ(Qbm({"encode", "bcCode93", "A", "--ratio", "1e12"}).exitCode, 2);
    EXPECT_EQ(Qbm({"encode", "bcCode39", "A", "--bogus", "1"}).exitCode, 2);
    const TRun help = Qbm({"encode", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: qbm encode TYPE TEXT"), std::string::npos);
    const TRun renderHelp = Qbm({"render", "--help"});
    EXPECT_EQ(renderHelp.exitCode, 0);
    EXPECT_NE(renderHelp.out.find("--margin PX"), std::string::npos);
}

TEST(QbmRender, WritesAPictureThatDecodesWithTheMarginAroundIt) {
    const std::string dir = test::MakeTempDir();
    const std::string png = dir + "/c39.png";
    const TRun r = Qbm({"render", "bcCode39", "QBM-123", "--out", png, "--modul", "2", "--margin", "15"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const TBitmap bmp = LoadBitmap(png);
    ASSERT_GT(bmp.Width(), 0);
    // Nine characters of 12 modules and 8 gaps between them, 2 pixels each, plus the margins;
    // height 50 x 2.
    EXPECT_EQ(bmp.Width(), (9 * 12 + 8) * 2 + 30);
    EXPECT_EQ(bmp.Height(), 100 + 1 + 30);
    EXPECT_EQ(bmp.Pixel(14, 50), clWhite);
    EXPECT_EQ(bmp.Pixel(15, 50), clBlack);
    const test::Decoded d = test::Decode(bmp, ZXing::BarcodeFormat::Code39);
    EXPECT_TRUE(d.found);
    EXPECT_EQ(d.text, "QBM-123");
}

TEST(QbmRender, BmpByExtensionTurnedAndWithText) {
    const std::string dir = test::MakeTempDir();
    const std::string bmpPath = dir + "/itf.BMP";
    const TRun r = Qbm({"render", "0", "12345", "--out", bmpPath, "--modul", "3", "--angle", "90", "--show",
                        "both", "--caption", "Lot"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(bmpPath).substr(0, 2), "BM");
    const test::Decoded d = test::Decode(LoadBitmap(bmpPath), ZXing::BarcodeFormat::ITF);
    EXPECT_EQ(d.text, "012345");
}

TEST(QbmRender, RejectsOtherExtensionsAndReportsEngineErrors) {
    const std::string dir = test::MakeTempDir();
    EXPECT_EQ(Qbm({"render", "bcCode39", "A", "--out", dir + "/x.gif"}).exitCode, 2);
    EXPECT_EQ(Qbm({"render", "bcCode39", "A", "--out", dir + "/x.svg", "--dpi", "0"}).exitCode, 2);
    EXPECT_EQ(Qbm({"render", "bcCode39", "A"}).exitCode, 2);
    EXPECT_EQ(Qbm({"render", "bcCode39", "A", "--out", dir + "/x.png", "--show", "all"}).exitCode, 2);
    const TRun bad = Qbm({"render", "bcCode93", "a", "--out", dir + "/x.png"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "Code93 bad Data !\n");
    EXPECT_FALSE(std::ifstream(dir + "/x.png").good());
}

} // namespace
} // namespace qbm
