#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TPdfPrinter.h"

#include "TestSupport.h"

#include <QImage>

#include <functional>
#include <memory>

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

TPrinted PrintOne(TStCustom2DBarcode& maxi, bool shapes, const std::string& path) {
    maxi.SetShapesOnPages(shapes);
    TPdfPrinter printer(path, TPaperSize{80, 60}, 600);
    printer.SetPicturesAsRectangles(shapes);
    printer.BeginDoc();
    maxi.PrintToCanvas(printer.Canvas(), TPoint{120, 90});
    printer.EndDoc();
    const std::vector<QImage> pages = test::RasterisePdf(path, 300);
    return {test::ReadWholeFile(path), pages.empty() ? QImage() : pages.front()};
}

// On a PDF page the modules (MaxiCode's hexagons and rings, PDF417's rows) are shapes, not a picture
// of them: they scan, and they cover the place the picture would.
TEST(ShapesOnPages, TwoDSymbolsOnPdfAreShapesThatScanWhereThePictureWouldBe) {
    EnsureGuiApplication();
    const std::string dir = test::MakeTempDir();
    struct TCase {
        std::function<std::unique_ptr<TStCustom2DBarcode>()> make;
        ZXing::BarcodeFormat format;
        bool pure; // the MaxiCode reader wants the symbol alone
    };
    const TCase cases[] = {
        {[] { return std::make_unique<TStMaxiCodeBarcode>(); }, ZXing::BarcodeFormat::MaxiCode, true},
        {[] { return std::make_unique<TStPDF417Barcode>(); }, ZXing::BarcodeFormat::PDF417, false},
    };
    const std::string codes[] = {"Quirbel 1",
                                 "ORDER 12345678 LOT A17 SHIP TO 12 HARBOUR ROAD, QUAYSIDE 90210"};
    for (const TCase& c : cases)
        for (const std::string& code : codes) {
            SCOPED_TRACE(code);
            const auto symbol = c.make();
            symbol->SetCode(code);
            symbol->SetBounds(symbol->BarCodeWidth() + 2 * symbol->QuietZone(),
                              symbol->BarCodeHeight() + 2 * symbol->QuietZone());
            const TPrinted shapes = PrintOne(*symbol, true, dir + "/shapes.pdf");
            const TPrinted picture = PrintOne(*symbol, false, dir + "/picture.pdf");
            EXPECT_EQ(shapes.pdf.find("/Subtype /Image"), std::string::npos);
            EXPECT_NE(picture.pdf.find("/Subtype /Image"), std::string::npos);
            EXPECT_LT(shapes.pdf.size(), picture.pdf.size());
            ASSERT_FALSE(shapes.page.isNull());
            const auto pure = [&](ZXing::DecodeHints& h) { h.setIsPure(c.pure); };
            EXPECT_EQ(test::Decode(test::FromImage(shapes.page, 0), c.format, pure).text, code);
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
