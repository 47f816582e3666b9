#include "output/BarcodeExport.h"
#include "barcode/TBarcode.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

void MakeSample(TBarcode& bc) {
    bc.SetTyp(bcCode128B);
    bc.SetText("Export 42");
    bc.SetModul(3);
    bc.SetHeight(120);
    bc.SetShowText(bcoCode);
    bc.SetLeft(7);
    bc.SetTop(9);
}

TEST(BarcodeExport, RasterPicturesHoldTheBarcodeWithItsMargin) {
    const std::string dir = test::MakeTempDir();
    TBarcode bc;
    MakeSample(bc);
    const int width = bc.Width();
    for (const char* name : {"a.png", "a.bmp", "a.jpg"}) {
        ExportBarcode(bc, dir + "/" + name, 30, 300);
        const QImage img(QString::fromStdString(dir + "/" + name));
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(img.width(), width + 60) << name;
        EXPECT_GT(img.height(), 120 + 60) << name << ": the text is inside the picture";
        EXPECT_EQ(test::Decode(test::FromImage(img), ZXing::BarcodeFormat::Code128).text, "Export 42")
            << name;
    }
    EXPECT_EQ(bc.Left(), 7) << "position restored";
    EXPECT_EQ(bc.Top(), 9);
}

TEST(BarcodeExport, SvgKeepsBarsAsShapesAndScans) {
    const std::string dir = test::MakeTempDir();
    TBarcode bc;
    MakeSample(bc);
    ExportBarcode(bc, dir + "/a.svg", 30, 300);
    std::ifstream in(dir + "/a.svg");
    const std::string svg((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "no embedded raster picture";
    QSvgRenderer renderer(QString::fromStdString(dir + "/a.svg"));
    ASSERT_TRUE(renderer.isValid());
    QImage img(renderer.viewBox().size(), QImage::Format_RGB32); // one SVG unit per device pixel
    img.fill(Qt::white);
    QPainter p(&img);
    renderer.render(&p);
    p.end();
    EXPECT_EQ(test::Decode(test::FromImage(img), ZXing::BarcodeFormat::Code128).text, "Export 42");
}

TEST(BarcodeExport, PdfIsOnePageOfTheBarcodesSize) {
    const std::string dir = test::MakeTempDir();
    TBarcode bc;
    MakeSample(bc);
    ExportBarcode(bc, dir + "/a.pdf", 30, 300);
    std::ifstream in(dir + "/a.pdf", std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos) << "bars stay vector shapes";
}

// GS1 DataBar Expanded in every format: the raster pictures and the SVG read back, the PDF keeps its
// bars as shapes.
TEST(BarcodeExport, DataBarInEveryFormatScans) {
    const std::string dir = test::MakeTempDir();
    TBarcode bc;
    bc.SetTyp(bcCodeDataBarExpanded);
    bc.SetText("(01)09501101530003(3103)000750");
    bc.SetModul(3);
    bc.SetHeight(100);
    bc.SetShowText(bcoCode);
    const std::string expected = "(01)09501101530003(3103)000750";
    for (const char* name : {"a.png", "a.bmp", "a.jpg", "a.svg"}) {
        ExportBarcode(bc, dir + "/" + name, 30, 300);
        QImage img;
        if (std::string(name) == "a.svg") {
            QSvgRenderer renderer(QString::fromStdString(dir + "/a.svg"));
            ASSERT_TRUE(renderer.isValid());
            img = QImage(renderer.viewBox().size(), QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            renderer.render(&p);
        } else {
            img.load(QString::fromStdString(dir + "/" + name));
        }
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(img.width(), 200 * 3 + 60) << name;
        EXPECT_EQ(test::Decode(test::FromImage(img), ZXing::BarcodeFormat::DataBarExpanded).bytes, expected)
            << name;
    }
    ExportBarcode(bc, dir + "/a.pdf", 30, 300);
    const std::string pdf = test::ReadWholeFile(dir + "/a.pdf");
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos) << "bars stay vector shapes";
}

TEST(BarcodeExport, ErrorsLeaveNoFileBehind) {
    const std::string dir = test::MakeTempDir();
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("12x");
    EXPECT_THROW(ExportBarcode(bc, dir + "/a.svg", 10, 300), EBarcodeError);
    bc.SetText("123");
    EXPECT_THROW(ExportBarcode(bc, dir + "/a.gif", 10, 300), EInOutError);
    EXPECT_THROW(ExportBarcode(bc, "/nonexistent-dir/a.pdf", 10, 300), EInOutError);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

} // namespace
} // namespace qbm
