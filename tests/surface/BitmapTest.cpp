#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace qbm {
namespace {

TEST(Bitmap, IsWhiteWhenCreatedAndKeepsPixelsWhenResized) {
    for (const TBitmapPixels pixels : {TBitmapPixels::Colour, TBitmapPixels::Grey}) {
        TBitmap b(4, 3, pixels);
        EXPECT_EQ(b.Pixel(3, 2), clWhite);
        b.SetPixel(1, 1, clBlack);
        b.SetSize(8, 8);
        const TBitmap copy = b;
        EXPECT_EQ(copy.Pixels(), pixels);
        EXPECT_EQ(copy.Width(), 8);
        EXPECT_EQ(copy.Pixel(1, 1), clBlack);
        EXPECT_EQ(copy.Pixel(7, 7), clWhite);
    }
}

// A grey picture is drawn to be read back: what it holds is what the colour picture of the same
// drawing reads as, smoothed text edges included. Coloured text comes within a few grey levels: the
// painter blends colours with a gamma, grey is blended straight.
TEST(Bitmap, GreyPictureReadsAsTheColourOneDoes) {
    constexpr int kWidth = 120, kHeight = 44, kColouredFrom = 22;
    TBitmap colour(kWidth, kHeight), grey(kWidth, kHeight, TBitmapPixels::Grey);
    for (TBitmap* b : {&colour, &grey}) {
        TCanvas& c = b->Canvas();
        c.Brush().color = clBlack;
        c.FillRect({3, 2, 9, 42});
        c.Brush().color = RGBColor(90, 160, 30);
        c.FillRect({12, 2, 15, 42});
        TFont font;
        font.SetName("DejaVu Sans");
        font.SetSize(11);
        c.SetFont(font);
        c.Brush().style = TBrushStyle::bsClear;
        c.TextOut(20, 2, "Quirbel 42");
        font.SetColor(RGBColor(40, 20, 90));
        c.SetFont(font);
        c.TextOut(20, kColouredFrom, "label 7");
    }
    const std::vector<uint8_t> a = colour.Luminance(), b = grey.Luminance();
    ASSERT_EQ(a.size(), b.size());
    int darkTextPixels = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kWidth + x;
            ASSERT_LE(std::abs(a[i] - b[i]), y < kColouredFrom ? 2 : 8) << "at " << x << "," << y;
            darkTextPixels += x >= 20 && b[i] < 128;
        }
    EXPECT_EQ(b[5 * kWidth + 5], 0);
    EXPECT_GT(darkTextPixels, 80) << "no text drawn";
}

TEST(Bitmap, CanvasReportsTheBitmapResolution) {
    TBitmap b(4, 4);
    EXPECT_EQ(b.Canvas().ResolutionX(), 96);
    b.SetResolution(600);
    EXPECT_EQ(b.Canvas().ResolutionY(), 600);
}

TEST(Bitmap, SavesBmpPngAndBaselineJpeg) {
    const std::string dir = test::MakeTempDir();
    TBitmap b(30, 20);
    b.Canvas().Brush().color = clBlack;
    b.Canvas().FillRect({0, 0, 15, 20});
    b.SaveToFile(dir + "/a.bmp");
    b.SaveToFile(dir + "/a.png");
    b.SaveToFile(dir + "/a.jpg");
    for (const char* name : {"a.bmp", "a.png", "a.jpg"}) {
        QImage img(QString::fromStdString(dir + "/" + name));
        ASSERT_FALSE(img.isNull()) << name;
        EXPECT_EQ(img.width(), 30);
        EXPECT_LT(qGray(img.pixel(2, 2)), 40) << name;
        EXPECT_GT(qGray(img.pixel(25, 2)), 215) << name;
    }
    // Baseline JPEG: a start-of-frame 0 marker (FFC0), no progressive FFC2.
    std::ifstream in(dir + "/a.jpg", std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(data.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(data.find("\xFF\xC2"), std::string::npos);
    EXPECT_EQ(QImageReader(QString::fromStdString(dir + "/a.jpg")).imageFormat(), QImage::Format_RGB32);
}

TEST(Bitmap, FailedSaveReportsAndKeepsNothingHalfWritten) {
    TBitmap b(3, 3);
    EXPECT_THROW(b.SaveToFile("/nonexistent-dir/x.png"), EInOutError);
    EXPECT_THROW(b.SaveToFile("/nonexistent-dir/x.jpg"), EInOutError);
    EXPECT_THROW(b.SaveToFile("/tmp/x.gif"), EInOutError);
}

TEST(Font, SizeAndHeightFollowThePixelsPerInch) {
    TFont f;
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13); // 10 x 96 / 72 = 13.33
    f.SetPixelsPerInch(600);
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.Height(), -83);
    const TFont t = f.Turned(450);
    EXPECT_EQ(t.Orientation(), 450);
    EXPECT_EQ(f.Orientation(), 0);
}

TEST(Font, MissingStoredFontsFallBackToAnInstalledSans) {
    const std::string fam = ResolveFontFamily("MS Sans Serif");
    EXPECT_TRUE(fam == "Liberation Sans" || fam == "DejaVu Sans") << fam;
    EXPECT_EQ(ResolveFontFamily("DejaVu Sans"), "DejaVu Sans");
}

} // namespace
} // namespace qbm
