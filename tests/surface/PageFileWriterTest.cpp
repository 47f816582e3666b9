#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TOffsetCanvas.h"
#include "surface/TPageFileWriter.h"
#include "surface/TPaperSize.h"
#include "surface/TRasterPrinter.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <QImage>

#include <algorithm>
#include <filesystem>

namespace qbm {
namespace {

namespace fs = std::filesystem;

// A 40 x 30 mm page at 100 dpi: 157 x 118 pixels.
const TPaperSize kSmallPaper{40, 30};

// What page n holds: its number in black bars, and a grey or coloured mark on some pages; grey pages
// also carry text, whose edges are shades of grey.
void DrawPage(TCanvas& c, int n) {
    c.SetBrush(TBrush{clBlack, TBrushStyle::bsSolid});
    for (int k = 0; k < n; ++k) c.FillRect(TRect{10 + 6 * k, 10, 13 + 6 * k, 60});
    if (n % 3 == 2) {
        c.SetBrush(TBrush{RGBColor(128, 128, 128), TBrushStyle::bsSolid});
        c.Font().SetName("DejaVu Sans");
        c.Font().SetHeight(-14);
        c.TextOut(20, 64, "Page " + std::to_string(n));
    }
    if (n % 3 == 0) c.SetBrush(TBrush{RGBColor(200, 30, 60), TBrushStyle::bsSolid});
    if (n % 3 != 1)
        c.FillRect(TRect{100, 70, 160, 100}); // up to the right edge, past the last whole 8 pixels
}

struct TRun {
    std::string dir = test::MakeTempDir();
    std::vector<TBitmap> drawn;
    // Prints pages through the page writer, page i showing what DrawPage draws for contents[i]; the
    // pages are also kept as drawn.
    // With `bandRows`, pages are drawn in bands of that many rows.
    void Print(const std::vector<int>& contents, int threads, TPageFormat format = TPageFormat::Png,
               int bandRows = 0) {
        TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(dir, threads, format));
        printer.SetBandRows(bandRows);
        printer.BeginDoc();
        for (size_t i = 0; i < contents.size(); ++i) {
            if (i > 0) printer.NewPage();
            do {
                TOffsetCanvas band(printer.Canvas(), TPoint{0, -printer.BandTop()}, false);
                DrawPage(printer.BandTop() == 0 ? printer.Canvas() : band, contents[i]);
            } while (printer.NextBand());
            TBitmap copy(printer.PageWidth(), printer.PageHeight());
            DrawPage(copy.Canvas(), contents[i]);
            drawn.push_back(copy);
        }
        printer.EndDoc();
    }
    void Print(int pages, int threads) {
        std::vector<int> contents;
        for (int n = 1; n <= pages; ++n) contents.push_back(n);
        Print(contents, threads);
    }
};

// A pixel as a one-bit page stores it: black when darker than half grey.
TColor Thresholded(TColor c) {
    return qGray(RedOf(c), GreenOf(c), BlueOf(c)) < 128 ? clBlack : clWhite;
}

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
                    ASSERT_EQ(back.Pixel(x, y), run.drawn[n - 1].Pixel(x, y))
                        << "page " << n << " at " << x << "," << y;
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

// Every format gives back each page as drawn, the one-bit ones thresholded at half grey (colour pages
// keep their colour in TIFF), with the resolution where the format has a place for it. The pages are
// drawn on reused bitmaps, a busy page before a bare one, so ink left from an earlier page shows.
TEST(PageFileWriter, EveryFormatHoldsThePagesAsDrawn) {
    struct Case {
        TPageFormat format;
        const char* extension;
        bool thresholdsGrey;
        bool thresholdsColour;
        int dpi; // 0: not stored
    };
    constexpr Case kCases[] = {
        /* 0 */ {TPageFormat::Png, ".png", false, false, 100},
        /* 1 */ {TPageFormat::Pbm, ".pbm", true, true, 0},
        /* 2 */ {TPageFormat::Tiff, ".tiff", true, false, 100},
    };
    const std::vector<int> contents = {9, 1, 8, 2, 12, 3, 1, 5};
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        TRun run;
        run.Print(contents, 2, c.format);
        for (size_t p = 0; p < contents.size(); ++p) {
            const std::string path = TPageFileWriter(run.dir, 1, c.format).PagePath(static_cast<int>(p) + 1);
            ASSERT_EQ(fs::path(path).extension(), c.extension);
            const QImage img = test::ReadPageFile(path);
            ASSERT_FALSE(img.isNull()) << path;
            if (c.dpi > 0) {
                EXPECT_EQ(std::lround(img.dotsPerMeterX() * 0.0254), c.dpi) << path;
            }
            const TBitmap back = test::FromImage(img);
            const TBitmap& drawn = run.drawn[p];
            ASSERT_EQ(back.Width(), drawn.Width());
            ASSERT_EQ(back.Height(), drawn.Height());
            const bool colourPage = contents[p] % 3 == 0;
            const bool threshold = colourPage ? c.thresholdsColour : c.thresholdsGrey;
            for (int y = 0; y < back.Height(); ++y)
                for (int x = 0; x < back.Width(); ++x) {
                    const TColor want = threshold ? Thresholded(drawn.Pixel(x, y)) : drawn.Pixel(x, y);
                    ASSERT_EQ(back.Pixel(x, y), want)
                        << "case " << i << " page " << p + 1 << " at " << x << "," << y;
                }
        }
    }
}

// A run that does not complete leaves the folder as the earlier run left it, and nothing beside it.
// Pages drawn in bands (one row, a few, most of the page) are stored as the same files as pages
// drawn whole, black-and-white, grey and colour ones, in every format.
TEST(PageFileWriter, PagesDrawnInBandsGiveTheSameFiles) {
    for (const TPageFormat format : {TPageFormat::Png, TPageFormat::Pbm, TPageFormat::Tiff}) {
        TRun whole;
        whole.Print({1, 2, 3, 5, 6}, 2, format);
        for (const int rows : {1, 9, 100}) {
            TRun banded;
            banded.Print({1, 2, 3, 5, 6}, 2, format, rows);
            for (int n = 1; n <= 5; ++n) {
                const std::string path = TPageFileWriter(whole.dir, 1, format).PagePath(n);
                EXPECT_TRUE(test::ReadWholeFile(TPageFileWriter(banded.dir, 1, format).PagePath(n)) ==
                            test::ReadWholeFile(path))
                    << PageExtension(format) << " page " << n << " in bands of " << rows;
            }
        }
    }
}

// A page left before its last band is not written as if it were complete.
TEST(PageFileWriter, APageLeftBeforeItsLastBandFailsTheRun) {
    TRun run;
    TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(run.dir, 1));
    printer.SetBandRows(50);
    printer.BeginDoc();
    DrawPage(printer.Canvas(), 1);
    EXPECT_THROW(printer.EndDoc(), EInOutError);
    printer.Abort();
    EXPECT_FALSE(fs::exists(TPageFileWriter(run.dir, 1).PagePath(1)));
}

TEST(PageFileWriter, AbortKeepsTheEarlierRunsPages) {
    TRun earlier;
    earlier.Print(3, 2);
    const std::string first = test::ReadWholeFile(TPageFileWriter(earlier.dir, 1).PagePath(1));
    TRasterPrinter printer(kSmallPaper, 100, std::make_unique<TPageFileWriter>(earlier.dir, 2));
    printer.BeginDoc();
    for (int n = 5; n < 10; ++n) {
        DrawPage(printer.Canvas(), n);
        printer.NewPage();
    }
    printer.Abort();
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(earlier.dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"page-0001.png", "page-0002.png", "page-0003.png"}));
    EXPECT_EQ(test::ReadWholeFile(TPageFileWriter(earlier.dir, 1).PagePath(1)), first);
    for (const auto& e : fs::directory_iterator(fs::path(earlier.dir).parent_path()))
        EXPECT_NE(
            e.path().filename().string().rfind("." + fs::path(earlier.dir).filename().string() + ".qbm-", 0),
            0u)
            << e.path();
}

} // namespace
} // namespace qbm
