#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TPdfPrinter.h"

#include "TestSupport.h"

#include <QImage>

namespace qbm {
namespace {

// The box of a page's dark pixels.
TRect DarkBox(const QImage& page) {
    TRect box{page.width(), page.height(), 0, 0};
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
    return box;
}

struct TPrinted {
    std::string pdf; // the file's bytes
    QImage page;     // rasterised
};

TPrinted PrintOne(TStMaxiCodeBarcode& maxi, bool shapes, const std::string& path) {
    maxi.SetShapesOnPages(shapes);
    TPdfPrinter printer(path, TPaperSize{80, 60}, 600);
    printer.BeginDoc();
    maxi.PrintToCanvas(printer.Canvas(), TPoint{120, 90});
    printer.EndDoc();
    const std::vector<QImage> pages = test::RasterisePdf(path, 300);
    return {test::ReadWholeFile(path), pages.empty() ? QImage() : pages.front()};
}

// On a PDF page MaxiCode's modules and rings are shapes, not a picture of them: they scan, and they
// cover the place the picture would.
TEST(ShapesOnPages, MaxiCodeOnPdfIsShapesThatScanWhereThePictureWouldBe) {
    EnsureGuiApplication();
    const std::string dir = test::MakeTempDir();
    const auto pure = [](ZXing::DecodeHints& h) { h.setIsPure(true); };
    const std::string codes[] = {"Quirbel 1",
                                 "ORDER 12345678 LOT A17 SHIP TO 12 HARBOUR ROAD, QUAYSIDE 90210"};
    for (const std::string& code : codes) {
        SCOPED_TRACE(code);
        TStMaxiCodeBarcode maxi;
        maxi.SetCode(code);
        maxi.SetBounds(maxi.BarCodeWidth() + 2 * maxi.QuietZone(),
                       maxi.BarCodeHeight() + 2 * maxi.QuietZone());
        const TPrinted shapes = PrintOne(maxi, true, dir + "/shapes.pdf");
        const TPrinted picture = PrintOne(maxi, false, dir + "/picture.pdf");
        EXPECT_EQ(shapes.pdf.find("/Subtype /Image"), std::string::npos);
        EXPECT_NE(picture.pdf.find("/Subtype /Image"), std::string::npos);
        EXPECT_LT(shapes.pdf.size(), picture.pdf.size());
        ASSERT_FALSE(shapes.page.isNull());
        EXPECT_EQ(test::Decode(test::FromImage(shapes.page, 0), ZXing::BarcodeFormat::MaxiCode, pure).text,
                  code);
        const TRect a = DarkBox(shapes.page), b = DarkBox(picture.page);
        EXPECT_LE(std::abs(a.left - b.left) + std::abs(a.top - b.top), 2);
        EXPECT_LE(std::abs(a.right - b.right) + std::abs(a.bottom - b.bottom), 2);
    }

    // A symbol larger than its picture area is cut off there; as shapes it would reach onto the next
    // label, so it stays a picture.
    TStMaxiCodeBarcode maxi;
    maxi.SetCode("cut off");
    maxi.SetBounds(maxi.BarCodeWidth() / 2, maxi.BarCodeHeight() / 2);
    EXPECT_NE(PrintOne(maxi, true, dir + "/cut.pdf").pdf.find("/Subtype /Image"), std::string::npos);
}

} // namespace
} // namespace qbm
