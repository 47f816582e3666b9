#include "surface/TCanvas.h"
#include "surface/TPaperSize.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"
#include "surface/TSystemPrinter.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <QImage>

#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(PaperSize, ParsesNamesAndMillimetres) {
    EXPECT_EQ(TPaperSize::Parse("a4")->widthMm, 210.0);
    EXPECT_EQ(TPaperSize::Parse("Letter")->heightMm, 279.4);
    const auto custom = TPaperSize::Parse("100x150mm");
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->widthMm, 100.0);
    EXPECT_EQ(custom->heightMm, 150.0);
    EXPECT_FALSE(TPaperSize::Parse("100x150"));
    EXPECT_FALSE(TPaperSize::Parse("0x150mm"));
    EXPECT_FALSE(TPaperSize::Parse("A5"));
}

TEST(RasterPrinter, A4At300DpiInBothOrientations) {
    TRasterPrinter p(TPaperSize::A4(), 300);
    EXPECT_EQ(p.PageWidth(), 2480);
    EXPECT_EQ(p.PageHeight(), 3508);
    p.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(p.PageWidth(), 3508);
    EXPECT_EQ(p.PageHeight(), 2480);
}

TEST(RasterPrinter, HandsEveryFinishedPageToItsSink) {
    std::vector<int> seen;
    TRasterPrinter p(TPaperSize{50, 30}, 100, [&](const TBitmap& page, int n) {
        seen.push_back(n);
        EXPECT_EQ(page.Width(), 197);
        EXPECT_EQ(page.Resolution(), 100);
    });
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    p.Canvas().Brush().color = clBlack;
    p.Canvas().FillRect({0, 0, 10, 10});
    p.NewPage();
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_THROW(p.Canvas(), EInOutError);
}

TEST(RasterPrinter, AbortDropsThePageInProgress) {
    TRasterPrinter p(TPaperSize{50, 30}, 100);
    p.BeginDoc();
    p.NewPage();
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_EQ(p.Pages().size(), 1u);
    EXPECT_FALSE(p.Printing());
}

TEST(PdfPrinter, WritesTheFileOnlyWhenTheDocumentEnds) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/labels.pdf";
    TPdfPrinter p(path, TPaperSize::A4(), 600);
    EXPECT_EQ(p.PageWidth(), 4961);
    p.BeginDoc();
    p.Canvas().Brush().color = clBlack;
    p.Canvas().FillRect({100, 100, 200, 2000});
    p.NewPage();
    EXPECT_FALSE(std::filesystem::exists(path));
    p.EndDoc();
    const std::string pdf = ReadFile(path);
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos) << "A4 in points";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no temporary left";
}

TEST(PdfPrinter, PicturesOnThePageAreStoredLosslessly) {
    const std::string dir = test::MakeTempDir();
    TBitmap symbol(200, 200);
    symbol.Canvas().Brush().color = clBlack;
    for (int i = 0; i < 200; i += 4) symbol.Canvas().FillRect({i, 0, i + 2, 200});
    TPdfPrinter p(dir + "/labels.pdf", TPaperSize::A4(), 600);
    p.SetPicturesAsRectangles(false);
    p.BeginDoc();
    p.Canvas().StretchDraw({100, 100, 300, 300}, symbol);
    p.EndDoc();
    const std::string pdf = ReadFile(dir + "/labels.pdf");
    EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(pdf.find("/DCTDecode"), std::string::npos) << "a JPEG-compressed symbol loses its module edges";
}

// Dark pixels of a rasterised page inside [left, right) x [top, bottom), and outside it.
std::pair<int, int> DarkInsideAndOutside(const QImage& page, int left, int top, int right, int bottom) {
    int inside = 0, outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ++(x >= left && x < right && y >= top && y < bottom ? inside : outside);
    return {inside, outside};
}

TEST(PdfPrinter, BarsLandOnTheirOwnPageAndUnderWhatIsDrawnLater) {
    const std::string dir = test::MakeTempDir();
    TPdfPrinter p(dir + "/bars.pdf", TPaperSize{50, 30}, 100);
    p.BeginDoc();
    TCanvas& c = p.Canvas();
    c.Brush() = TBrush{clBlack, TBrushStyle::bsSolid};
    c.FillRect({10, 10, 60, 40});
    c.Brush().color = clWhite; // later and lighter: clears the right half of the bar
    c.FillRect({35, 0, 100, 100});
    p.NewPage();
    p.Canvas().Brush() = TBrush{clBlack, TBrushStyle::bsSolid};
    p.Canvas().FillRect({100, 50, 120, 70});
    p.EndDoc();
    const auto pages = test::RasterisePdf(dir + "/bars.pdf", 100);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(DarkInsideAndOutside(pages[0], 10, 10, 35, 40), std::make_pair(25 * 30, 0));
    EXPECT_EQ(DarkInsideAndOutside(pages[1], 100, 50, 120, 70), std::make_pair(20 * 20, 0));
}

TEST(PdfPrinter, TwoColouredSymbolsBecomeRectanglesOfTheSamePixels) {
    const std::string dir = test::MakeTempDir();
    TBitmap symbol(60, 40);
    symbol.Canvas().Brush().color = clBlack;
    for (int i = 0; i < 60; i += 6) symbol.Canvas().FillRect({i, 0, i + 2 + i % 4, i < 30 ? 20 : 40});
    TBitmap coloured = symbol;
    coloured.Canvas().Brush().color = clRed;
    coloured.Canvas().FillRect({58, 38, 60, 40});
    for (const bool rectangles : {true, false}) {
        const std::string path = dir + (rectangles ? "/rects.pdf" : "/pictures.pdf");
        TPdfPrinter p(path, TPaperSize{50, 30}, 100);
        p.SetPicturesAsRectangles(rectangles);
        p.BeginDoc();
        p.Canvas().StretchDraw({20, 30, 80, 70}, symbol);
        p.Canvas().StretchDraw({100, 30, 160, 70}, coloured);
        p.EndDoc();
        const std::string pdf = ReadFile(path);
        // The red corner keeps the second symbol a picture either way.
        EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos);
        if (!rectangles) continue;
        // Rectangles on whole device pixels: every module edge where the picture has it (a picture
        // is resampled by the viewer and may move an edge by a pixel).
        const auto pages = test::RasterisePdf(path, 100);
        ASSERT_EQ(pages.size(), 1u);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(qGray(pages[0].pixel(20 + x, 30 + y)) < 128, symbol.Pixel(x, y) == clBlack)
                    << x << "," << y;
    }
    EXPECT_LT(ReadFile(dir + "/rects.pdf").size(), ReadFile(dir + "/pictures.pdf").size());
}

TEST(PdfPrinter, AbortLeavesNoFileAndKeepsAnOldOne) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/labels.pdf";
    std::ofstream(path) << "previous";
    TPdfPrinter p(path, TPaperSize::A4(), 300);
    p.BeginDoc();
    p.Canvas().FillRect({0, 0, 10, 10});
    p.Abort();
    EXPECT_EQ(ReadFile(path), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST(PdfPrinter, UnwritableTargetIsReported) {
    TPdfPrinter p("/nonexistent-dir/labels.pdf", TPaperSize::A4(), 300);
    EXPECT_THROW(
        {
            p.BeginDoc();
            p.EndDoc();
        },
        EInOutError);
}

TEST(SystemPrinter, CountMatchesTheInstalledList) {
    TSystemPrinter p;
    EXPECT_EQ(p.PrinterCount(), static_cast<int>(TSystemPrinter::InstalledPrinters().size()));
}

} // namespace
} // namespace qbm
