#include "surface/TCanvas.h"
#include "surface/TPaperSize.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"
#include "surface/TSystemPrinter.h"
#include "util/Errors.h"

#include "TestSupport.h"

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
    p.BeginDoc();
    p.Canvas().StretchDraw({100, 100, 300, 300}, symbol);
    p.EndDoc();
    const std::string pdf = ReadFile(dir + "/labels.pdf");
    EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(pdf.find("/DCTDecode"), std::string::npos) << "a JPEG-compressed symbol loses its module edges";
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
