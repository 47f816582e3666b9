#include "surface/GuiApplication.h"
#include "surface/QtPainterCanvas.h"
#include "surface/TGlyphTable.h"
#include "surface/TVectorFile.h"

#include "LabelFontCases.h"
#include "TestSupport.h"

#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qbm {
namespace {
using test::kFonts;
using test::kTexts;
using test::kTurns;
using test::SetFont;
using test::TFontCase;

QImage Draw(bool shapeAll, const TFontCase& f, int turn, const std::string& text, bool opaque, int& width) {
    QImage image(460, 460, QImage::Format_RGB32);
    image.fill(Qt::white);
    QtPainterCanvas c(&image);
    c.SetShapeAllText(shapeAll);
    SetFont(c, f, turn);
    // Bars written straight into the pixels before and after the text, as a barcode does.
    c.Brush() = {clBlack, TBrushStyle::bsSolid};
    c.FillRect({200, 100, 204, 360});
    c.Brush() = opaque ? TBrush{RGBColor(250, 230, 120), TBrushStyle::bsSolid}
                       : TBrush{clWhite, TBrushStyle::bsClear};
    width = c.TextWidth(text);
    c.TextOut(230, 230, text);
    c.Brush() = {clBlack, TBrushStyle::bsSolid};
    c.FillRect({260, 100, 262, 360});
    c.EndPainting();
    return image;
}

TEST(GlyphText, DrawsAndMeasuresAsTheShaper) {
    EnsureGuiApplication();
    for (size_t fi = 0; fi < std::size(kFonts); ++fi) {
        for (const int turn : kTurns) {
            for (size_t ti = 0; ti < std::size(kTexts); ++ti) {
                const bool opaque = (ti + fi) % 3 == 0;
                int shapedWidth = 0, width = 0;
                const QImage shaped = Draw(true, kFonts[fi], turn, kTexts[ti], opaque, shapedWidth);
                const QImage fast = Draw(false, kFonts[fi], turn, kTexts[ti], opaque, width);
                EXPECT_EQ(width, shapedWidth) << "font " << fi << " text " << ti;
                EXPECT_TRUE(fast == shaped) << "font " << fi << " turn " << turn << " text " << ti;
            }
        }
    }
}

QFont QtFont(const TFontCase& f) {
    TFont font;
    font.SetName(f.name);
    font.SetHeight(f.height);
    font.SetStyle(f.style);
    return ToQFont(font);
}

// The label texts themselves must not need the shaper, or printing gains nothing; whatever the font
// cannot show alone, or shows with a stand-in font, must.
TEST(GlyphText, LaysOutWhatTheFontShowsAlone) {
    EnsureGuiApplication();
    struct TCase {
        size_t font;
        const char* text;
        bool laidOut;
    };
    const TCase kCases[] = {
        /* 0 */ {0, "5901234123457", true},
        /* 1 */ {0, "11 1111 7171", true},
        /* 2 */ {0, "Quirbel 2026 abc", true},
        /* 3 */ {0, "AV To Wy", true},
        /* 4 */ {5, "\xC4rger \xD6l caf\xE9", true},
        /* 5 */ {5, "QUIRBEL-2026", true},
        /* 6 */ {0, "tab\there", false},
        /* 7 */
        {0,
         "co\xAD"
         "op",
         false},
        /* 8 */
        {10,
         "a\xF0"
         "b",
         false}, // a letter the symbol font lacks
        /* 9 */ {10, "123", true},
        /* 10 */ {7, "0123 456", true},
        /* 11 */ {7, "flag", false}, // a ligature
        // Digits and spaces among letters, in a font whose Latin rules are not its default ones (and so
        // in Liberation Sans 2 for every text above): measured as the shaper meets them in Latin text.
        /* 12 */ {7, "ab 12", true},
        /* 13 */
        {6,
         "No. 5 \xAB"
         "caf\xE9\xBB",
         true},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        TGlyphTable table(QtFont(kFonts[kCases[i].font]));
        TGlyphTable::TLayout layout;
        EXPECT_EQ(table.Layout(kCases[i].text, layout), kCases[i].laidOut) << i;
        if (kCases[i].laidOut) {
            EXPECT_EQ(layout.glyphs.size(), std::string(kCases[i].text).size()) << i;
        }
    }
}

// Bars go straight into the pixels while the painter that drew the text stays open.
TEST(GlyphText, TextAndDirectPixelsTakeTurns) {
    EnsureGuiApplication();
    auto draw = [](bool closeBetween, QImage* sharedCopy) {
        QImage image(120, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QtPainterCanvas c(&image);
        SetFont(c, kFonts[0], 0);
        c.Brush() = {clBlack, TBrushStyle::bsSolid};
        for (int i = 0; i < 4; ++i) {
            c.Brush().style = TBrushStyle::bsClear;
            c.TextOut(4 + 25 * i, 10 + 5 * i, "8" + std::to_string(i));
            if (closeBetween) c.EndPainting();
            if (sharedCopy && i == 1) *sharedCopy = image; // the next pixel write must not reach the copy
            c.Brush() = {clBlack, TBrushStyle::bsSolid};
            c.FillRect({10 + 25 * i, 0, 14 + 25 * i, 40});
            if (closeBetween) c.EndPainting();
        }
        c.EndPainting();
        return image;
    };
    const QImage reference = draw(true, nullptr);
    EXPECT_TRUE(draw(false, nullptr) == reference);
    QImage copy;
    EXPECT_TRUE(draw(false, &copy) == reference);
    QImage copyReference;
    draw(true, &copyReference);
    EXPECT_TRUE(copy == copyReference);
}

// On a PDF page the text stays text a reader can find and copy, and looks as the shaper places it;
// an SVG picture keeps it as text too.
TEST(GlyphText, PdfAndSvgKeepTheTextAsText) {
    EnsureGuiApplication();
    const std::string dir = test::MakeTempDir();
    auto write = [&](bool shapeAll) {
        const std::string path = dir + (shapeAll ? "/shaped.pdf" : "/glyphs.pdf");
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(600);
        QPainter painter(&writer);
        QtPainterCanvas c(&painter, 600, 600);
        c.SetShapeAllText(shapeAll);
        int y = 100;
        for (const size_t fi : {0, 3, 7}) {
            for (const int turn : {0, 900}) {
                TFontCase f = kFonts[fi];
                f.height *= 5; // 600 dpi
                SetFont(c, f, turn);
                for (const char* text : {"5901234123457", "AV To Wy affluent", "Quirbel \xC4rger caf\xE9"}) {
                    c.TextOut(turn ? 4400 : 200, y, text);
                    y += 110;
                }
            }
        }
        c.Flush();
        painter.end();
        return path;
    };
    const std::string glyphs = write(false), shaped = write(true);
    const std::string txt = dir + "/glyphs.txt";
    ASSERT_EQ(std::system(("pdftotext '" + glyphs + "' '" + txt + "'").c_str()), 0);
    const std::string extracted = test::ReadWholeFile(txt);
    for (const char* expected : {"5901234123457", "AV To Wy affluent", "Quirbel \xC3\x84rger caf\xC3\xA9"})
        EXPECT_NE(extracted.find(expected), std::string::npos) << expected << " in " << extracted;
    const auto a = test::RasterisePdf(glyphs, 150), b = test::RasterisePdf(shaped, 150);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_TRUE(a[0] == b[0]);

    const std::string svg = dir + "/label.svg";
    SaveVectorPicture(svg, TVectorFormat::vfSvg, 300, 100, 96, [](TCanvas& c) {
        SetFont(c, kFonts[0], 0);
        c.TextOut(10, 10, "5901234123457");
    });
    EXPECT_NE(test::ReadWholeFile(svg).find(">5901234123457</text>"), std::string::npos);
}

} // namespace
} // namespace qbm
