#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace qbm {
namespace {

using TQbmRun = test::TCliRun;

TQbmRun Qbm(const std::string& dir, const std::string& args) {
    return test::RunQbm(dir, args);
}

TEST(QbmTemplates, CreatesTheDefaultLibraryAndListsItsNames) {
    const std::string dir = test::MakeTempDir();
    const TQbmRun run = Qbm(dir, "templates --library " + dir + "/lib/Templates.dat");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir + "/lib/Templates.dat"));
    EXPECT_EQ(run.out.substr(0, 41), "Code-2-5-interleaved\nCode-2-5-industrial\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 23);
    EXPECT_EQ(run.out.find("Barcode2D"), std::string::npos);
}

TEST(QbmLabel, TemplatePictureScans) {
    const std::string dir = test::MakeTempDir();
    std::ofstream(dir + "/Templates.dat", std::ios::binary)
        << "[Parcel]\r\nCodeType=6\r\nTextLayout=2\r\nHeight=12\r\nBarWidth=40\r\nCFontName=DejaVu Sans\r\n"
           "CFontSize=8\r\nXFontName=DejaVu Sans\r\nXFontSize=8\r\n";
    const TQbmRun run = Qbm(dir, "label Parcel QBM-77 --out " + dir + "/label.png --library " + dir +
                                     "/Templates.dat --dpi 200 --caption Box");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Barcode Type: Code128B \n");
    const TBitmap picture = test::LoadPicture(dir + "/label.png", 30);
    const test::Decoded d = test::Decode(picture, ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, "QBM-77");
    // 12 mm at 200 dpi is 94.5, to the even 94 dots; 30/96 of 200 is 62.5, to the even 62.
    EXPECT_EQ(picture.Height() - 60, 94 + 62);
}

TEST(QbmLabel, Pdf417PictureScans) {
    const std::string dir = test::MakeTempDir();
    const TQbmRun run = Qbm(dir, "label --2d pdf417 'Label 2D text' --out " + dir + "/p.png --library " +
                                     dir + "/Templates.dat");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Barcode Type: PDF417 \n");
    const test::Decoded d = test::Decode(test::LoadPicture(dir + "/p.png", 0), ZXing::BarcodeFormat::PDF417);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, "Label 2D text");
}

// The matrix symbols' label pictures, with texts in any script.
TEST(QbmLabel, MatrixSymbolPicturesScan) {
    const std::string dir = test::MakeTempDir();
    const struct {
        const char* name;
        const char* status;
        ZXing::BarcodeFormat format;
        const char* text;
    } kCases[] = {
        {"qrcode", "QR Code", ZXing::BarcodeFormat::QRCode,
         "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u65E5\u672C"},
        {"datamatrix", "Data Matrix", ZXing::BarcodeFormat::DataMatrix, "K\u00E4se 4711"},
        {"aztec", "Aztec", ZXing::BarcodeFormat::Aztec, "Ticket 42"},
        {"microqr", "Micro QR", ZXing::BarcodeFormat::MicroQRCode, "12345"},
    };
    for (const auto& c : kCases) {
        const std::string out = dir + "/" + c.name + ".png";
        const TQbmRun run = Qbm(dir, std::string("label --2d ") + c.name + " '" + c.text + "' --out " + out +
                                         " --library " + dir + "/Templates.dat");
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, std::string("Barcode Type: ") + c.status + " \n");
        const test::Decoded d = test::Decode(test::LoadPicture(out, 0), c.format);
        EXPECT_EQ(d.text, c.text) << c.name;
    }
}

TEST(QbmLabel, ErrorsAndWrongUse) {
    const std::string dir = test::MakeTempDir();
    const std::string lib = " --library " + dir + "/Templates.dat";
    TQbmRun run = Qbm(dir, "label EAN8 abc --out " + dir + "/x.png" + lib);
    EXPECT_EQ(run.exitCode, 1);
    // Qt may put a note of its own before the message.
    EXPECT_TRUE(run.err.ends_with("\nBarcode must be numeric\n") || run.err == "Barcode must be numeric\n")
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.png"));
    EXPECT_EQ(Qbm(dir, "label EAN8 1234567" + lib).exitCode, 2);
    EXPECT_EQ(Qbm(dir, "label --2d qr text --out " + dir + "/q.png" + lib).exitCode, 2);
    EXPECT_EQ(Qbm(dir, "label EAN8 1234567 --dpi 0 --out " + dir + "/q.png" + lib).exitCode, 2);
    run = Qbm(dir, "templates --library " + dir + "/file/Templates.dat");
    EXPECT_EQ(run.exitCode, 0); // a directory that does not exist yet is created
    std::ofstream(dir + "/plain") << "x";
    run = Qbm(dir, "templates --library " + dir + "/plain/Templates.dat");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Cannot create file " + dir + "/plain/Templates.dat\n");
}

} // namespace
} // namespace qbm
