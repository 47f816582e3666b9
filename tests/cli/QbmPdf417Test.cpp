#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

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

// Carrier data the primary message cannot hold is refused by name, nothing written; what it can hold
// scans back as given.
TEST(QbmMaxiCode, CarrierDataOutOfRangeIsRefusedAndValidDataScans) {
    const std::string dir = test::MakeTempDir();
    const struct {
        std::string options, message;
    } refused[] = {
        {"--mode 2 --postal 1523828021 --country 840",
         "Invalid Postal Code \"1523828021\": mode 2 takes 1 to 9 digits."},
        {"--mode 2 --postal 152382802 --country 1840", "Invalid Country Code: 1840 is not in 0 to 999."},
        {"--mode 2 --postal 'W1A 1AA' --country 826", "Invalid Postal Code \"W1A 1AA\": mode 2 takes digits "
                                                      "only; mode 3 takes letters (up to 6 characters)."},
        {"--mode 3 --postal 'W1A 1AA' --country 826", "Invalid Postal Code \"W1A 1AA\": mode 3 takes 1 to 6"},
        {"--mode 3 --postal W1A1AA --service 1000", "Invalid Service Class: 1000 is not in 0 to 999."},
    };
    for (const auto& c : refused) {
        const std::string out = dir + "/refused.png";
        const test::TCliRun r = test::RunQbm(dir, "maxicode Parcel " + c.options + " --out " + out);
        EXPECT_EQ(r.exitCode, 1) << c.options;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.options;
    }
    const test::TCliRun r = test::RunQbm(
        dir, "maxicode Parcel --mode 3 --postal W1A1AA --country 826 --service 1 --dpi 300 --out " + dir +
                 "/uk.png");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const test::Decoded d = test::Decode(Load(dir + "/uk.png"), ZXing::BarcodeFormat::MaxiCode);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.bytes, "W1A1AA\x1d"
                       "826\x1d"
                       "001\x1dParcel");
}

} // namespace
} // namespace qbm
