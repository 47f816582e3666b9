#include "output/PreviewExport.h"

#include "TestSupport.h"
#include "barcode/EBarcodeError.h"
#include "barcode/TBarcodeTypes.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "templates/EditorTestSupport.h"
#include "templates/T2DTemplateEditor.h"
#include "templates/TTemplateEditor.h"
#include "templates/TemplatePreview.h"
#include "util/Errors.h"
#include "util/Rounding.h"
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

// Any picture the export writes, TIFF included, as the tests read it.
TBitmap LoadExported(const std::string& path) {
    if (path.ends_with(".tiff")) return test::FromImage(test::ReadPageFile(path));
    return test::LoadPicture(path);
}

struct LinearEditor {
    LinearEditor() : editor(test::LibraryWith("[EAN]\r\nCodeType=14\r\nTextLayout=2\r\n"), prompts) {
        editor.Show();
        editor.SetTestCode("5901234123457");
    }
    TScriptedPrompts prompts;
    TTemplateEditor editor;
};

TEST(PreviewExport, LinearPreviewPictureIsThePreviewPixelForPixel) {
    LinearEditor e;
    const std::string dir = test::MakeTempDir();
    TPictureExport preview;
    preview.previewPicture = true;
    for (const char* name : {"/label.bmp", "/label.PNG"}) {
        ExportTemplatePreview(e.editor, dir + name, preview);
        const TBitmap saved = test::LoadPicture(dir + name);
        ASSERT_EQ(saved.Width(), kTemplatePreviewWidth) << name;
        ASSERT_EQ(saved.Height(), kTemplatePreviewHeight) << name;
        int differing = 0;
        for (int y = 0; y < saved.Height(); ++y)
            for (int x = 0; x < saved.Width(); ++x)
                differing += saved.Pixel(x, y) != e.editor.Preview().Pixel(x, y);
        EXPECT_EQ(differing, 0) << name;
    }
}

// The dark pixels' bounding box of a picture.
TRect DarkBox(const TBitmap& b) {
    TRect r{b.Width(), b.Height(), -1, -1};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Pixel(x, y);
            if (RedOf(c) + GreenOf(c) + BlueOf(c) >= 3 * 128) continue;
            r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                 std::max(r.bottom, y + 1)};
        }
    return r;
}

// Every raster format, at the chosen resolution, holds the whole barcode with ten modules of white
// around it, and scans; the symbologies a reader knows are all tried.
TEST(PreviewExport, LinearPicturesCarryTheWholeSymbolAtTheChosenResolutionAndScan) {
    const struct {
        int type;
        const char *code, *read;
        ZXing::BarcodeFormat format;
    } cases[] = {
        {bcCodeEAN13, "5901234123457", "5901234123457", ZXing::BarcodeFormat::EAN13},
        {bcCode128B, "ABC-12345", "ABC-12345", ZXing::BarcodeFormat::Code128},
        {bcCode39, "CODE-39", "CODE-39", ZXing::BarcodeFormat::Code39},
        {bcCode93, "CODE93", "CODE93", ZXing::BarcodeFormat::Code93},
        {bcCode_2_5_interleaved, "12345678", "12345678", ZXing::BarcodeFormat::ITF},
        {bcCodeCodabar, "0123-456", "0123-456", ZXing::BarcodeFormat::Codabar},
        {bcCodeEAN8, "96385074", "96385074", ZXing::BarcodeFormat::EAN8},
        {bcCodeUPC_A, "036000291452", "036000291452", ZXing::BarcodeFormat::UPCA},
    };
    const std::string dir = test::MakeTempDir();
    for (const auto& c : cases) {
        TScriptedPrompts prompts;
        TTemplateEditor editor(test::LibraryWith("[T]\r\nCodeType=" + std::to_string(c.type) + "\r\n"),
                               prompts);
        editor.Show();
        editor.SetTestCode(c.code);
        for (const char* ext : {".bmp", ".png", ".jpg", ".tiff"}) {
            const std::string path = dir + "/t" + std::to_string(c.type) + ext;
            ExportTemplatePreview(editor, path);
            const TBitmap saved = LoadExported(path);
            ASSERT_GT(saved.Width(), 0) << path;
            EXPECT_EQ(test::Decode(saved, c.format).text, c.read) << path;
            // the bars stand clear of every edge by at least ten modules
            const TRect box = DarkBox(saved);
            const int modul = std::max(1, HundredthsMmToDots(editor.BarWidth(), 300));
            EXPECT_GE(box.left, 10 * modul - 1) << path;
            EXPECT_GE(saved.Width() - box.right, 10 * modul - 1) << path;
        }
    }
    // EAN-13 at 600 dpi: twice the dots of 300 dpi, 95 modules of 12 dots and the margins
    LinearEditor e;
    TPictureExport fine;
    fine.dpi = 600;
    ExportTemplatePreview(e.editor, dir + "/fine.png", fine);
    const TBitmap at600 = test::LoadPicture(dir + "/fine.png");
    EXPECT_NEAR(at600.Width(), (95 + 20) * 12, 40);
    EXPECT_EQ(test::Decode(at600, ZXing::BarcodeFormat::EAN13).text, "5901234123457");
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
    TPictureExport coarse;
    coarse.dpi = 10;
    EXPECT_THROW_MSG(ExportTemplatePreview(e.editor, dir + "/label.png", coarse), EInOutError,
                     "The resolution of an exported picture is 72 to 2400 dots per inch, not 10.");
    e.editor.SetTestCode("59012X");
    EXPECT_THROW_MSG(ExportTemplatePreview(e.editor, dir + "/label.bmp"), EBarcodeError,
                     "Barcode must be numeric");
    EXPECT_THROW(ExportTemplatePreview(e.editor, dir + "/label.svg"), EBarcodeError);

    TScriptedPrompts prompts;
    T2DTemplateEditor editor2D(test::DefaultLibrary(), prompts);
    editor2D.SetColumns(1);
    editor2D.SetRows(3);
    editor2D.SetPdf417Text(std::string(3000, '7'));
    EXPECT_THROW(Export2DPreview(editor2D, dir + "/symbol.jpg"), E2DBarcodeError);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// True for a baseline colour JPEG: a SOF0 frame with three components, no progressive frame.
bool IsBaselineColourJpeg(const std::string& bytes) {
    const size_t sof0 = bytes.find("\xFF\xC0");
    return bytes.rfind("\xFF\xD8", 0) == 0 && sof0 != std::string::npos && sof0 + 9 < bytes.size() &&
           static_cast<unsigned char>(bytes[sof0 + 9]) == 3 && bytes.find("\xFF\xC2") == std::string::npos;
}

// The symbol in the middle of its quiet zone: equal white on opposite sides (a pixel of rounding).
void ExpectCentred(const TBitmap& picture, int leastQuiet, const std::string& what, int slack = 1) {
    const TRect box = DarkBox(picture);
    EXPECT_NEAR(box.left, picture.Width() - box.right, slack) << what;
    EXPECT_NEAR(box.top, picture.Height() - box.bottom, slack) << what;
    EXPECT_GE(box.left, leastQuiet) << what;
    EXPECT_GE(box.top, leastQuiet) << what;
}

TEST(PreviewExport, TwoDPicturesAreCentredInTheirQuietZoneAtTheChosenResolutionAndScan) {
    TScriptedPrompts prompts;
    T2DTemplateEditor editor(test::DefaultLibrary(), prompts);
    const std::string dir = test::MakeTempDir();
    editor.SetPdf417Text("Shelf 12");
    for (const char* ext : {".jpg", ".png", ".bmp", ".tiff"}) {
        Export2DPreview(editor, dir + "/p" + ext);
        const TBitmap p = LoadExported(dir + "/p" + ext);
        EXPECT_EQ(test::Decode(p, ZXing::BarcodeFormat::PDF417).text, "Shelf 12") << ext;
        ExpectCentred(p, 2 * 3, std::string("PDF417 ") + ext); // two modules of 3 dots at 300 dpi
    }
    EXPECT_TRUE(IsBaselineColourJpeg(test::ReadWholeFile(dir + "/p.jpg")));
    // twice the resolution, twice the size: modules stay whole pixels
    TPictureExport fine;
    fine.dpi = 600;
    Export2DPreview(editor, dir + "/fine.png", fine);
    const TBitmap p300 = test::LoadPicture(dir + "/p.png"), p600 = test::LoadPicture(dir + "/fine.png");
    EXPECT_EQ(DarkBox(p600).Width(), 2 * DarkBox(p300).Width());

    editor.SetPage(T2DTemplateEditor::TPage::MaxiCode);
    editor.SetMaxiCodeText("Parcel 0042");
    const auto pure = [](ZXing::DecodeHints& h) { h.setIsPure(true); };
    for (const char* ext : {".png", ".jpg"}) {
        Export2DPreview(editor, dir + "/m" + ext);
        const TBitmap m = test::LoadPicture(dir + "/m" + ext);
        EXPECT_EQ(test::Decode(m, ZXing::BarcodeFormat::MaxiCode, pure).text, "Parcel 0042") << ext;
        ExpectCentred(m, 300 * 0.88 / 25.4, std::string("MaxiCode ") + ext); // one module
        // 30.5 modules of 0.88 mm at 300 dpi, not the 3 pixels a module of a screen picture
        EXPECT_NEAR(DarkBox(m).Width(), 30.5 * 300 * 1.003937 / 29, 12) << ext;
    }
}

TEST(PreviewExport, TwoDPreviewPictureStaysAvailable) {
    TScriptedPrompts prompts;
    T2DTemplateEditor editor(test::DefaultLibrary(), prompts);
    editor.SetVisibleArea(300, 220);
    editor.SetPdf417Text("Shelf 12");
    const std::string dir = test::MakeTempDir();
    TPictureExport preview;
    preview.previewPicture = true;
    Export2DPreview(editor, dir + "/small.jpg", preview);
    const TBitmap small = test::LoadPicture(dir + "/small.jpg");
    EXPECT_EQ(small.Width(), 300);
    EXPECT_EQ(small.Height(), 220);
    EXPECT_EQ(test::Decode(small, ZXing::BarcodeFormat::PDF417).text, "Shelf 12");
}

TEST(PreviewExport, TwoDVectorFilesScan) {
    TScriptedPrompts prompts;
    T2DTemplateEditor editor(test::DefaultLibrary(), prompts);
    const std::string dir = test::MakeTempDir();
    editor.SetPdf417Text("Quirbel PDF417 vector");
    Export2DPreview(editor, dir + "/p.svg");
    Export2DPreview(editor, dir + "/p.pdf");
    EXPECT_EQ(test::ReadWholeFile(dir + "/p.svg").find("<image"), std::string::npos);
    EXPECT_EQ(test::ReadWholeFile(dir + "/p.pdf").find("/Subtype /Image"), std::string::npos);
    const TBitmap pdfSvg = RasteriseSvg(dir + "/p.svg");
    EXPECT_EQ(test::Decode(pdfSvg, ZXing::BarcodeFormat::PDF417).text, "Quirbel PDF417 vector");
    ExpectCentred(pdfSvg, 20 + 6, "PDF417 svg");
    EXPECT_EQ(test::Decode(RasterisePdf(dir + "/p.pdf", 300), ZXing::BarcodeFormat::PDF417).text,
              "Quirbel PDF417 vector");

    editor.SetPage(T2DTemplateEditor::TPage::MaxiCode);
    editor.SetMaxiCodeText("Quirbel MaxiCode vector");
    Export2DPreview(editor, dir + "/m.svg");
    Export2DPreview(editor, dir + "/m.pdf");
    const std::string svg = test::ReadWholeFile(dir + "/m.svg");
    // hexagons and rings, not thousands of one-unit rectangles
    size_t rects = 0;
    for (size_t at = svg.find("<rect"); at != std::string::npos; at = svg.find("<rect", at + 1)) ++rects;
    EXPECT_LT(rects, 10u);
    EXPECT_EQ(svg.find("<image"), std::string::npos);
    const auto pure = [](ZXing::DecodeHints& h) { h.setIsPure(true); };
    const TBitmap maxi = RasterisePdf(dir + "/m.pdf", 300);
    EXPECT_NEAR(DarkBox(maxi).Width(), 30.5 * 300 * 1.003937 / 29, 12);
    ExpectCentred(maxi, 20 + 10, "MaxiCode pdf", 2); // the reader's own rounding of the page
    EXPECT_EQ(test::Decode(maxi, ZXing::BarcodeFormat::MaxiCode, pure).text, "Quirbel MaxiCode vector");
    EXPECT_EQ(test::Decode(RasteriseSvg(dir + "/m.svg"), ZXing::BarcodeFormat::MaxiCode, pure).text,
              "Quirbel MaxiCode vector");
}

} // namespace
} // namespace qbm
