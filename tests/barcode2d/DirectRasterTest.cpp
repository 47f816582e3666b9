#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"

#include "ShapesOnlyCanvas.h"
#include "TestSupport.h"

#include <random>
#include <string>

namespace qbm {
namespace {

constexpr int kSymbols = 300;
constexpr int kDeviceResolutions[] = {0, 72, 150, 203, 300, 600};
constexpr TColor kColours[][2] = {
    {clBlack, clWhite}, {RGBColor(0, 0, 128), RGBColor(255, 255, 200)}, {clBlack, clBlack}};

std::string RandomText(std::mt19937& rng, int maxLength) {
    std::string s;
    // No backslash: escapes are the encoders' business, not the drawing's.
    for (int k = 1 + static_cast<int>(rng() % maxLength); k > 0; --k) s += static_cast<char>(32 + rng() % 60);
    return s;
}

// Sets the same random settings on a component drawing on bitmaps' pixels and on one drawing shapes.
template <typename T> struct TPair {
    T direct, shapes;
    TPair() { shapes.SetShapesOnly(true); }
    template <typename F> void Both(F&& f) {
        f(direct);
        f(shapes);
    }
};

// The screen picture and a device picture of each component must be the same pixel for pixel.
template <typename T> void ExpectSamePictures(TPair<T>& p, int dpi, const std::string& what) {
    const std::string screen = test::FirstDifference(p.direct.Bitmap(), p.shapes.Bitmap());
    ASSERT_TRUE(screen.empty()) << what << ": screen pictures differ at " << screen;
    TBitmap a, b;
    a.SetResolution(dpi == 0 ? 96 : dpi);
    b.SetResolution(dpi == 0 ? 96 : dpi);
    p.direct.RenderToBitmap(a, dpi, dpi);
    p.shapes.RenderToBitmap(b, dpi, dpi);
    const std::string device = test::FirstDifference(a, b);
    ASSERT_TRUE(device.empty()) << what << " at " << dpi << " dpi: pictures differ at " << device;
}

TEST(DirectRaster, Pdf417RowsMatchTheirRectangles) {
    EnsureGuiApplication();
    constexpr unsigned kSeed = 417;
    std::mt19937 rng(kSeed);
    for (int n = 0; n < kSymbols; ++n) {
        TPair<TStPDF417Barcode> p;
        const std::string text = RandomText(rng, 120);
        const int barWidth = 1 + static_cast<int>(rng() % 3), ratio = 2 + static_cast<int>(rng() % 4);
        const bool truncated = rng() % 4 == 0, caption = rng() % 3 == 0;
        const int quiet = static_cast<int>(rng() % 12), dpi = kDeviceResolutions[rng() % 6];
        const auto& colours = kColours[rng() % 2];
        const int extraWidth = static_cast<int>(rng() % 40) - 20,
                  extraHeight = static_cast<int>(rng() % 40) - 20;
        try {
            p.Both([&](TStPDF417Barcode& bc) {
                bc.SetCode(text);
                bc.SetBarWidth(barWidth);
                bc.SetBarHeightToWidth(ratio);
                bc.SetTruncated(truncated);
                bc.SetQuietZone(quiet);
                bc.SetColor(colours[0]);
                bc.SetBackgroundColor(colours[1]);
                if (caption) bc.SetCaption("Lot " + text.substr(0, 6));
                bc.SetBounds(bc.BarCodeWidth() + 2 * quiet + extraWidth,
                             bc.BarCodeHeight() + 2 * quiet + extraHeight);
            });
        } catch (const E2DBarcodeError&) {
            continue;
        }
        ExpectSamePictures(
            p, dpi, "PDF417 \"" + text + "\" symbol " + std::to_string(n) + " seed " + std::to_string(kSeed));
    }
}

TEST(DirectRaster, MaxiCodeModulesAndFinderMatchTheirShapes) {
    EnsureGuiApplication();
    constexpr unsigned kSeed = 4;
    std::mt19937 rng(kSeed);
    for (int n = 0; n < kSymbols; ++n) {
        TPair<TStMaxiCodeBarcode> p;
        const std::string text = RandomText(rng, 60);
        const int dpi = kDeviceResolutions[rng() % 6];
        const auto& colours = kColours[rng() % 3];
        const bool fixedSize = rng() % 3 == 0;
        const int barWidth = 2 + static_cast<int>(rng() % 10), barHeight = 2 + static_cast<int>(rng() % 10);
        const int extra = static_cast<int>(rng() % 30) - 10;
        try {
            p.Both([&](TStMaxiCodeBarcode& bc) {
                bc.SetCode(text);
                bc.SetColor(colours[0]);
                bc.SetBackgroundColor(colours[1]);
                if (fixedSize) {
                    bc.SetBarWidth(barWidth);
                    bc.SetBarHeight(barHeight);
                    bc.SetAutoScale(false);
                }
                bc.SetBounds(bc.BarCodeWidth() + 16 + extra, bc.BarCodeHeight() + 16 + extra);
            });
        } catch (const E2DBarcodeError&) {
            continue;
        }
        ExpectSamePictures(
            p, dpi,
            "MaxiCode \"" + text + "\" symbol " + std::to_string(n) + " seed " + std::to_string(kSeed) +
                (fixedSize ? " bars " + std::to_string(barWidth) + "x" + std::to_string(barHeight) : "") +
                " colours " + std::to_string(colours[0]) + "/" + std::to_string(colours[1]));
    }
}

} // namespace
} // namespace qbm
