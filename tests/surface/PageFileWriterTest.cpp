#include "surface/TCanvas.h"
#include "surface/TPageFileWriter.h"
#include "surface/TPaperSize.h"
#include "surface/TRasterPrinter.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <QImage>

#include <filesystem>

namespace qbm {
namespace {

namespace fs = std::filesystem;

// A 40 x 30 mm page at 100 dpi: 157 x 118 pixels.
const TPaperSize kSmallPaper{40, 30};

// What page n holds: its number in black bars, and a grey or coloured mark on some pages.
void DrawPage(TCanvas& c, int n) {
    c.SetBrush(TBrush{clBlack, TBrushStyle::bsSolid});
    for (int k = 0; k < n; ++k) c.FillRect(TRect{10 + 6 * k, 10, 13 + 6 * k, 60});
    if (n % 3 == 2) c.SetBrush(TBrush{RGBColor(128, 128, 128), TBrushStyle::bsSolid});
    if (n % 3 == 0) c.SetBrush(TBrush{RGBColor(200, 30, 60), TBrushStyle::bsSolid});
    if (n % 3 != 1) c.FillRect(TRect{100, 70, 160, 100}); // up to the right edge, past the last whole 8 pixels
}

struct TRun {
    std::string dir = test::MakeTempDir();
    std::vector<TBitmap> drawn;
    // Prints `pages` pages through the page writer; the pages are also kept as drawn.
    void Print(int pages, int threads) {
        TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(dir, threads));
        printer.BeginDoc();
        for (int n = 1; n <= pages; ++n) {
            if (n > 1) printer.NewPage();
            DrawPage(printer.Canvas(), n);
            TBitmap copy(printer.PageWidth(), printer.PageHeight());
            DrawPage(copy.Canvas(), n);
            drawn.push_back(copy);
        }
        printer.EndDoc();
    }
};

// Pages come back from their files pixel for pixel, with their resolution, at one bit per pixel when
// black and white, eight when grey, colour otherwise; written by one worker or several.
TEST(PageFileWriter, PagesRoundTripWithTheSmallestLosslessDepth) {
    for (const int threads : {1, 3}) {
        TRun run;
        run.Print(7, threads);
        for (int n = 1; n <= 7; ++n) {
            const QImage img(QString::fromStdString(TPageFileWriter(run.dir, 1).PagePath(n)));
            ASSERT_FALSE(img.isNull()) << "page " << n << " threads " << threads;
            EXPECT_EQ(img.depth(), n % 3 == 1 ? 1 : n % 3 == 2 ? 8 : 32) << "page " << n;
            EXPECT_EQ(std::lround(img.dotsPerMeterX() * 0.0254), 100);
            const TBitmap back = test::FromImage(img);
            ASSERT_EQ(back.Width(), run.drawn[n - 1].Width());
            for (int y = 0; y < back.Height(); ++y)
                for (int x = 0; x < back.Width(); ++x)
                    ASSERT_EQ(back.Pixel(x, y), run.drawn[n - 1].Pixel(x, y)) << "page " << n << " at " << x << "," << y;
        }
        // Only the pages: no temporary file is left beside them.
        EXPECT_EQ(std::distance(fs::directory_iterator(run.dir), fs::directory_iterator{}), 7);
    }
}

// A folder that cannot be written fails the run at its end (or at the next page) with the file's
// name, instead of reporting pages that are not there.
TEST(PageFileWriter, UnwritableFolderFailsTheRun) {
    const std::string missing = test::MakeTempDir() + "/not-there";
    TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(missing, 2));
    try {
        printer.BeginDoc();
        printer.NewPage();
        printer.EndDoc();
        FAIL() << "no error reported";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find(missing + "/page-000"), std::string::npos) << e.what();
    }
}

// An aborted run leaves only whole pages, each with all pages before it.
TEST(PageFileWriter, AbortLeavesWholePagesInOrder) {
    const std::string dir = test::MakeTempDir();
    TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(dir, 2));
    printer.BeginDoc();
    for (int n = 1; n < 6; ++n) {
        DrawPage(printer.Canvas(), n);
        printer.NewPage();
    }
    printer.Abort();
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        ++files;
        EXPECT_EQ(e.path().extension(), ".png") << e.path();
        EXPECT_FALSE(QImage(QString::fromStdString(e.path().string())).isNull()) << e.path();
    }
    for (int n = 1; n <= files; ++n) EXPECT_TRUE(fs::exists(TPageFileWriter(dir, 1).PagePath(n))) << n;
}

} // namespace
} // namespace qbm
