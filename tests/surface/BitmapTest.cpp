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
// drawing reads as, text edges included.
TEST(Bitmap, GreyPictureReadsAsTheColourOneDoes) {
    TBitmap colour(120, 40), grey(120, 40, TBitmapPixels::Grey);
    for (TBitmap* b : {&colour, &grey}) {
        TCanvas& c = b->Canvas();
        c.Brush().color = clBlack;
        c.FillRect({3, 2, 9, 38});
        c.Brush().color = RGBColor(90, 160, 30);
        c.FillRect({12, 2, 15, 38});
        TFont font;
        font.SetName("DejaVu Sans");
        font.SetSize(12);
        c.SetFont(font);
        c.Brush().style = TBrushStyle::bsClear;
        c.TextOut(20, 8, "Quirbel 42");
    }
    const std::vector<uint8_t> a = colour.Luminance(), b = grey.Luminance();
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (size_t i = 0; i < a.size(); ++i) differing += std::abs(a[i] - b[i]) > 2;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(b[5 * 120 + 5], 0);
    int darkTextPixels = 0;
    for (int y = 8; y < 36; ++y)
        for (int x = 20; x < 120; ++x) darkTextPixels += b[static_cast<size_t>(y) * 120 + x] < 128;
    EXPECT_GT(darkTextPixels, 50) << "no text drawn";
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
