#include "output/PreviewExport.h"

#include "TestSupport.h"
#include "barcode/EBarcodeError.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "templates/EditorTestSupport.h"
#include "templates/T2DTemplateEditor.h"
#include "templates/TTemplateEditor.h"
#include "templates/TemplatePreview.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>

namespace qbm {
namespace {

// An SVG drawn at one device pixel per unit, on white.
TBitmap RasteriseSvg(const std::string& path) {
    QSvgRenderer renderer(QString::fromStdString(path));
    if (!renderer.isValid()) return TBitmap();
    QImage img(renderer.viewBox().size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    renderer.render(&p);
    p.end();
    return test::FromImage(img, 20);
}

// The first page of a PDF drawn by poppler at the given resolution, with a white margin.
TBitmap RasterisePdf(const std::string& path, int dpi) {
    const std::vector<QImage> pages = test::RasterisePdf(path, dpi);
    return pages.empty() ? TBitmap() : test::FromImage(pages.front(), 20);
}

struct LinearEditor {
    LinearEditor() : editor(test::LibraryWith("[EAN]\r\nCodeType=14\r\nTextLayout=2\r\n"), prompts) {
        editor.Show();
        editor.SetTestCode("5901234123457");
    }
    TScriptedPrompts prompts;
    TTemplateEditor editor;
};

TEST(PreviewExport, LinearBitmapIsThePreviewPixelForPixel) {
    LinearEditor e;
    const std::string dir = test::MakeTempDir();
    for (const char* name : {"/label.bmp", "/label.PNG"}) {
        ExportTemplatePreview(e.editor, dir + name);
        const TBitmap saved = test::LoadPicture(dir + name);
        ASSERT_EQ(saved.Width(), kTemplatePreviewWidth) << name;
        ASSERT_EQ(saved.Height(), kTemplatePreviewHeight) << name;
        int differing = 0;
        for (int y = 0; y < saved.Height(); ++y)
            for (int x = 0; x < saved.Width(); ++x)
                differing += saved.Pixel(x, y) != e.editor.Preview().Pixel(x, y);
        EXPECT_EQ(differing, 0) << name;
        EXPECT_EQ(test::Decode(saved, ZXing::BarcodeFormat::EAN13).text, "5901234123457") << name;
    }
}

TEST(PreviewExport, LinearVectorFilesHoldTheBarcodeAtItsPrintedSize) {
    LinearEditor e;
    const std::string dir = test::MakeTempDir();
    ExportTemplatePreview(e.editor, dir + "/label.svg");
    ExportTemplatePreview(e.editor, dir + "/label.pdf");
    const std::string svg = test::ReadWholeFile(dir + "/label.svg");
    const std::string pdf = test::ReadWholeFile(dir + "/label.pdf");
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "bars stay shapes";
    EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos) << "bars stay shapes";

    // 95 modules of 0.5 mm (6 dots at 300 dpi) plus ten modules of margin on each side; the leading
    // digit stands a little left of the bars.
    const int expectedWidth = (95 + 20) * 6;
    const TBitmap fromSvg = RasteriseSvg(dir + "/label.svg");
    EXPECT_NEAR(fromSvg.Width() - 40, expectedWidth, 15);
    EXPECT_EQ(test::Decode(fromSvg, ZXing::BarcodeFormat::EAN13).text, "5901234123457");
    const TBitmap fromPdf = RasterisePdf(dir + "/label.pdf", 300);
    EXPECT_NEAR(fromPdf.Width(), fromSvg.Width(), 2);
    EXPECT_EQ(test::Decode(fromPdf, ZXing::BarcodeFormat::EAN13).text, "5901234123457");
}

TEST(PreviewExport, UncodableOrUnknownPicturesAreRefusedWithoutAFile) {
    LinearEditor e;
    const std::string dir = test::MakeTempDir();
    EXPECT_THROW(ExportTemplatePreview(e.editor, dir + "/label.gif"), EInOutError);
    e.editor.SetTestCode("59012X");
    EXPECT_THROW_MSG(ExportTemplatePreview(e.editor, dir + "/label.bmp"), EBarcodeError,
                     "Barcode must be numeric");
    EXPECT_THROW(ExportTemplatePreview(e.editor, dir + "/label.svg"), EBarcodeError);

    TScriptedPrompts prompts;
    T2DTemplateEditor editor2D(test::DefaultLibrary(), prompts);
    editor2D.SetColumns(1);
    editor2D.SetRows(3);
    editor2D.SetPdf417Text(std::string(3000, '7'));
    EXPECT_THROW(Export2DPreview(editor2D, dir + "/symbol.jpg", 300), E2DBarcodeError);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// True for a baseline colour JPEG: a SOF0 frame with three components, no progressive frame.
bool IsBaselineColourJpeg(const std::string& bytes) {
    const size_t sof0 = bytes.find("\xFF\xC0");
    return bytes.rfind("\xFF\xD8", 0) == 0 && sof0 != std::string::npos && sof0 + 9 < bytes.size() &&
           static_cast<unsigned char>(bytes[sof0 + 9]) == 3 && bytes.find("\xFF\xC2") == std::string::npos;
}

TEST(PreviewExport, TwoDJpegIsThePreviewPicture) {
    TScriptedPrompts prompts;
    T2DTemplateEditor editor(test::DefaultLibrary(), prompts);
    editor.SetVisibleArea(300, 220);
    const std::string dir = test::MakeTempDir();

    editor.SetPdf417Text("Shelf 12");
    Export2DPreview(editor, dir + "/small.jpg", 300);
    const std::string small = test::ReadWholeFile(dir + "/small.jpg");
    EXPECT_TRUE(IsBaselineColourJpeg(small));
    const TBitmap smallPicture = test::LoadPicture(dir + "/small.jpg");
    EXPECT_EQ(smallPicture.Width(), 300);
    EXPECT_EQ(smallPicture.Height(), 220);
    EXPECT_EQ(test::Decode(smallPicture, ZXing::BarcodeFormat::PDF417).text, "Shelf 12");

    const std::string text(400, 'W');
    editor.SetBarWidth(2);
    editor.SetColumns(6);
    editor.SetPdf417Text(text);
    TStPDF417Barcode pdf417;
    editor.SetUpPdf417(pdf417);
    Export2DPreview(editor, dir + "/large.jpg", 300);
    const TBitmap large = test::LoadPicture(dir + "/large.jpg");
    EXPECT_EQ(large.Width(), pdf417.BarCodeWidth() + 2 * pdf417.QuietZone() + 40);
    EXPECT_EQ(large.Height(), pdf417.BarCodeHeight() + 2 * pdf417.QuietZone() + 40);
    EXPECT_TRUE(IsBaselineColourJpeg(test::ReadWholeFile(dir + "/large.jpg")));
    EXPECT_EQ(test::Decode(large, ZXing::BarcodeFormat::PDF417).text, text);
}

TEST(PreviewExport, TwoDVectorFilesScan) {
    TScriptedPrompts prompts;
    T2DTemplateEditor editor(test::DefaultLibrary(), prompts);
    const std::string dir = test::MakeTempDir();
    editor.SetPdf417Text("Quirbel PDF417 vector");
    Export2DPreview(editor, dir + "/p.svg", 300);
    Export2DPreview(editor, dir + "/p.pdf", 300);
    EXPECT_EQ(test::ReadWholeFile(dir + "/p.svg").find("<image"), std::string::npos);
    EXPECT_EQ(test::ReadWholeFile(dir + "/p.pdf").find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(test::Decode(RasteriseSvg(dir + "/p.svg"), ZXing::BarcodeFormat::PDF417).text,
              "Quirbel PDF417 vector");
    EXPECT_EQ(test::Decode(RasterisePdf(dir + "/p.pdf", 300), ZXing::BarcodeFormat::PDF417).text,
              "Quirbel PDF417 vector");

    editor.SetPage(T2DTemplateEditor::TPage::MaxiCode);
    editor.SetMaxiCodeText("Quirbel MaxiCode vector");
    Export2DPreview(editor, dir + "/m.svg", 300);
    Export2DPreview(editor, dir + "/m.pdf", 300);
    const auto pure = [](ZXing::DecodeHints& h) { h.setIsPure(true); };
    // A MaxiCode symbol is about 28 mm wide (some 330 dots at 300 dpi), with 8 screen pixels of
    // quiet zone on each side.
    const TBitmap maxi = RasterisePdf(dir + "/m.pdf", 300);
    EXPECT_NEAR(maxi.Width() - 40, 28.0 / 25.4 * 300 + 2 * 8 * 300 / 96, 20);
    EXPECT_EQ(test::Decode(maxi, ZXing::BarcodeFormat::MaxiCode, pure).text, "Quirbel MaxiCode vector");
    EXPECT_EQ(test::Decode(RasteriseSvg(dir + "/m.svg"), ZXing::BarcodeFormat::MaxiCode, pure).text,
              "Quirbel MaxiCode vector");
}

} // namespace
} // namespace qbm
