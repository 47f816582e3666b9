#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

namespace qbm {
namespace {

TBitmap Load(const std::string& path) {
    return test::LoadPicture(path);
}

TEST(QbmPdf417, PrintsTheCodewordsOfTheEmptySymbol) {
    const std::string dir = test::MakeTempDir();
    const test::TCliRun r = test::RunQbm(dir, "pdf417 '' --codewords --out " + dir + "/empty.png");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2 900 792 768 189 329 324 285 547 210\n");
}

TEST(QbmPdf417, WritesPicturesThatScan) {
    const std::string dir = test::MakeTempDir();
    struct Case {
        std::string options;
        std::string file;
    };
    const Case cases[] = {
        {"--caption Label", "screen.png"},
        {"--truncated --dpi 300", "truncated.png"},
        {"--ecc 5 --columns 4 --bar-width 3 --row-height 9", "fixed.bmp"},
    };
    for (const Case& c : cases) {
        const test::TCliRun r = test::RunQbm(dir, "pdf417 'Quirbel 0123456789012345 label' " + c.options +
                                                      " --out " + dir + "/" + c.file);
        ASSERT_EQ(r.exitCode, 0) << c.options << ": " << r.err;
        const test::Decoded d = test::Decode(Load(dir + "/" + c.file), ZXing::BarcodeFormat::PDF417);
        ASSERT_TRUE(d.found) << c.options;
        EXPECT_EQ(d.bytes, "Quirbel 0123456789012345 label") << c.options;
    }
    // A printer-resolution picture scans as well.
    const test::TCliRun r = test::RunQbm(dir, "pdf417 ABC --dpi 600 --out " + dir + "/print.png");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const TBitmap print = Load(dir + "/print.png");
    const test::Decoded d = test::Decode(print, ZXing::BarcodeFormat::PDF417);
    EXPECT_TRUE(d.found);
}

TEST(QbmPdf417, ReportsTheComponentsErrors) {
    const std::string dir = test::MakeTempDir();
    test::TCliRun r = test::RunQbm(dir, "pdf417 ABC --columns 31 --out " + dir + "/x.png");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Invalid Number of columns"), std::string::npos) << r.err;
    r = test::RunQbm(dir, "pdf417 ABC --ecc 8 --columns 3 --out " + dir + "/x.png");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Code too large for barcode"), std::string::npos) << r.err;
    r = test::RunQbm(dir, "pdf417 'AB\\Gxyzxyz' --out " + dir + "/x.png");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("'xyzxyz' is not a valid integer value"), std::string::npos) << r.err;
    r = test::RunQbm(dir, "pdf417 ABC --ecc 9 --out " + dir + "/x.png");
    EXPECT_EQ(r.exitCode, 2);
}

} // namespace
} // namespace qbm
