// The PDF printer writes its pages itself; Qt's PDF writer, drawing the same through the same canvas
// calls, is what its pages must look like.

#include "surface/GuiApplication.h"
#include "surface/QtPainterCanvas.h"
#include "surface/TBitmap.h"
#include "surface/TPdfPrinter.h"

#include "LabelFontCases.h"
#include "TestSupport.h"

#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iterator>

namespace qbm {
namespace {

constexpr int kDpi = 200;
const TPaperSize kPaper{420, 600};
constexpr int kCell = 500;

// Every label font with texts of its own, upright, turned by each right angle and by 45 degrees
// (drawn from outlines), some on an opaque cell; then shapes of every kind.
void DrawPage(TCanvas& c) {
    constexpr int kTurns[] = {0, 900, 1800, 2700, 450};
    int cell = 0;
    for (size_t fi = 0; fi < std::size(test::kFonts); ++fi)
        for (int k = 0; k < 3; ++k) {
            const int turn = kTurns[cell % std::size(kTurns)];
            test::TFontCase f = test::kFonts[fi];
            f.height = f.height * kDpi / 96;
            test::SetFont(c, f, turn);
            c.Brush() = cell % 4 == 0 ? TBrush{clSilver, TBrushStyle::bsSolid}
                                      : TBrush{clWhite, TBrushStyle::bsClear};
            const int x = kCell / 2 + (cell % 6) * kCell, y = 250 + (cell / 6) * kCell;
            const std::string text = test::kTexts[(fi + k) % std::size(test::kTexts)];
            // Tabs: Qt's writer moves to its own tab stops, which mean nothing on a label.
            if (text.find('\t') == std::string::npos) c.TextOut(x, y, text);
            ++cell;
        }
    const int top = 250 + (cell / 6 + 1) * kCell;
    c.Pen() = TPen{clBlack, 3, TPenStyle::psSolid};
    c.Brush() = TBrush{clRed, TBrushStyle::bsSolid};
    c.Polygon({{100, top}, {400, top + 50}, {250, top + 300}});
    c.Ellipse(500, top, 800, top + 200);
    c.Brush().style = TBrushStyle::bsClear;
    c.Rectangle(900, top, 1200, top + 300);
    c.MoveTo(1300, top);
    c.LineTo(1600, top + 250);
    c.MoveTo(1300, top + 280);
    c.LineTo(1700, top + 280);
    test::SetFont(c, test::kFonts[5], 0);
    c.Brush() = TBrush{clSilver, TBrushStyle::bsSolid};
    c.TextRectRight({1800, top, 2300, top + 120}, "right-aligned 4006381333931");
}

std::string PrintOurs(const std::string& path, const std::function<void(TCanvas&)>& draw) {
    TPdfPrinter p(path, kPaper, kDpi);
    p.BeginDoc();
    draw(p.Canvas());
    p.EndDoc();
    return path;
}

std::string PrintWithQt(const std::string& path, const std::function<void(TCanvas&)>& draw) {
    EnsureGuiApplication();
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QSizeF(kPaper.widthMm, kPaper.heightMm), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QtPainterCanvas c(&painter, kDpi, kDpi);
    draw(c);
    c.Flush();
    painter.end();
    return path;
}

bool Dark(QRgb p) {
    return qGray(p) < 128;
}

// Dark pixels of `a` with no dark pixel of `b` at most a pixel away: rasterisers may place an
// anti-aliased edge a pixel apart, but a glyph or shape that is missing, moved or mirrored shows.
long Unmatched(const QImage& a, const QImage& b, long& dark) {
    long unmatched = 0;
    const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            if (!Dark(a.pixel(x, y))) continue;
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Dark(b.pixel(x + dx, y + dy));
            unmatched += !near;
        }
    return unmatched;
}

TEST(PdfPage, LooksAsQtDrawsItAndKeepsTextAsText) {
    const std::string dir = test::MakeTempDir();
    const auto ours = test::RasterisePdf(PrintOurs(dir + "/ours.pdf", DrawPage), kDpi);
    const auto qt = test::RasterisePdf(PrintWithQt(dir + "/qt.pdf", DrawPage), kDpi);
    ASSERT_EQ(ours.size(), 1u);
    ASSERT_EQ(qt.size(), 1u);
    // Qt rounds the paper to whole points, a pixel or two more here.
    ASSERT_LE(std::abs(ours[0].width() - qt[0].width()), 3);
    ASSERT_LE(std::abs(ours[0].height() - qt[0].height()), 3);
    for (const bool oursFirst : {true, false}) {
        long dark = 0;
        const long unmatched = oursFirst ? Unmatched(ours[0], qt[0], dark) : Unmatched(qt[0], ours[0], dark);
        EXPECT_GT(dark, 100000);
        EXPECT_LT(unmatched, dark / 1000)
            << unmatched << " of " << dark << (oursFirst ? " of ours" : " of Qt's");
    }

    const std::string txt = dir + "/ours.txt";
    ASSERT_EQ(std::system(("pdftotext '" + dir + "/ours.pdf' '" + txt + "'").c_str()), 0);
    const std::string extracted = test::ReadWholeFile(txt);
    for (const char* expected : {"5901234123457", "AV AW Ta To Ty Vo We Yo", "Quirbel 2026 abc",
                                 "4006381333931", "\xC3\x84rger \xC3\x96l"})
        EXPECT_NE(extracted.find(expected), std::string::npos) << expected << " in " << extracted;
}

// A caption in any script prints with the glyphs of a font that has them, beside Qt's own drawing of
// it, and stays text that a reader finds, turned or not, Latin-1 or not.
TEST(PdfPage, CaptionsInAnyScriptPrintAndStaySearchable) {
    const std::string dir = test::MakeTempDir();
    const char* const kTexts[] = {
        "Fr\u00FChst\u00FCck \u2013 1,50 \u20AC", "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1",
        "\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430", "K\u00E4se", "\u65E5\u672C\u8A9E"};
    const auto draw = [&](TCanvas& c) {
        int y = 100;
        for (const int turn : {0, 900}) {
            test::TFontCase f = test::kFonts[0];
            f.height = f.height * kDpi / 96;
            test::SetFont(c, f, turn);
            c.Brush() = TBrush{clWhite, TBrushStyle::bsClear};
            for (const char* text : kTexts) {
                c.TextOut(turn ? 2000 : 100, y, text);
                y += 120;
            }
        }
    };
    const std::string ours = PrintOurs(dir + "/ours.pdf", draw);
    const std::string txt = dir + "/ours.txt";
    ASSERT_EQ(std::system(("pdftotext '" + ours + "' '" + txt + "'").c_str()), 0);
    const std::string extracted = test::ReadWholeFile(txt);
    for (const char* expected : kTexts)
        EXPECT_NE(extracted.find(expected), std::string::npos) << expected << " in " << extracted;

    const auto a = test::RasterisePdf(ours, kDpi);
    const auto b = test::RasterisePdf(PrintWithQt(dir + "/qt.pdf", draw), kDpi);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    for (const bool oursFirst : {true, false}) {
        long dark = 0;
        const long unmatched = oursFirst ? Unmatched(a[0], b[0], dark) : Unmatched(b[0], a[0], dark);
        EXPECT_GT(dark, 5000);
        EXPECT_LT(unmatched, dark / 100) << unmatched << " of " << dark;
    }
}

// ... and a picture redrawn in place for the next label is a picture of its own.
TEST(PdfPage, APicturePrintedOnEveryLabelIsStoredOnce) {
    const std::string dir = test::MakeTempDir();
    TBitmap logo(40, 30);
    logo.Canvas().Brush().color = RGBColor(200, 30, 30);
    logo.Canvas().FillRect({5, 5, 35, 25});
    const std::string path = PrintOurs(dir + "/labels.pdf", [&](TCanvas& c) {
        for (int i = 0; i < 24; ++i) {
            if (i == 23) logo.Canvas().FillRect({0, 0, 40, 30});
            c.StretchDraw(
                {100 + 200 * (i % 6), 100 + 200 * (i / 6), 180 + 200 * (i % 6), 160 + 200 * (i / 6)}, logo);
        }
    });
    const std::string pdf = test::ReadWholeFile(path);
    size_t images = 0;
    for (size_t at = pdf.find("/Subtype /Image"); at != std::string::npos;
         at = pdf.find("/Subtype /Image", at + 1))
        ++images;
    EXPECT_EQ(images, 2u);
    const auto pages = test::RasterisePdf(path, kDpi);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(Dark(pages[0].pixel(100 + 200 * 4 + 40, 100 + 200 * 3 + 30))) << "a label's picture";
    EXPECT_FALSE(Dark(pages[0].pixel(100 + 200 * 4 + 40, 100 + 200 * 3 + 4))) << "its white border";
    EXPECT_TRUE(Dark(pages[0].pixel(100 + 200 * 5 + 40, 100 + 200 * 3 + 4)))
        << "the last label's picture, redrawn";
}

} // namespace
} // namespace qbm
