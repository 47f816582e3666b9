#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "symbols/Gs1ElementString.h"

#include "ShapesOnlyCanvas.h"
#include "TestSupport.h"

#include <random>
#include <stdexcept>
#include <string>

namespace qbm {
namespace {

constexpr unsigned kSeed = 1512;
constexpr int kSymbolsPerType = 200;

const std::string kDigits = "0123456789";
const std::string kPrintable = [] {
    std::string s;
    for (int c = 32; c < 127; ++c) s += static_cast<char>(c);
    return s;
}();

// Light stripes across and along the bars: gaps show the background, so a bar written wider than its
// polygon, or a gap painted over, changes a pixel.
TBitmap StripedBackground(TBitmapPixels pixels) {
    TBitmap b(400, 160, pixels);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, RGBColor(200 + x % 5 * 10, 255 - y % 3 * 20, 180 + (x + y) % 7 * 10));
    return b;
}

// A value the types drawn from a symbol geometry take: random texts almost never are one.
std::string GeometryValue(TBarcodeType type, std::mt19937& rng) {
    const auto digits = [&](int n, char first = '0', int firstRange = 10) {
        if (n == 0) return std::string();
        std::string s(1, static_cast<char>(first + rng() % firstRange));
        while (static_cast<int>(s.size()) < n) s += kDigits[rng() % 10];
        return s;
    };
    switch (type) {
    case bcCodeDataBarLimited:
        return digits(13, '0', 2); // a leading 0 or 1 only
    case bcCodeDataBarExpanded: {
        const std::string gtin = digits(13);
        return "(01)" + gtin + static_cast<char>('0' + Gs1CheckDigit(gtin)) + "(10)" +
               digits(1 + static_cast<int>(rng() % 10));
    }
    case bcCodeIMb: {
        static const int kRouting[] = {0, 5, 9, 11};
        return digits(1) + digits(1, '0', 5) + digits(18) + (rng() % 4 ? digits(kRouting[rng() % 4]) : "");
    }
    default:
        return digits(13);
    }
}

// Bars written straight into a bitmap's pixels against the same symbol drawn as polygons, for random
// texts, module sizes, heights, text options and places (some partly outside the picture), every
// other symbol on a grey picture.
TEST(DirectRaster, LinearBarsMatchTheirPolygons) {
    EnsureGuiApplication();
    const TBitmap backgrounds[2] = {StripedBackground(TBitmapPixels::Colour),
                                    StripedBackground(TBitmapPixels::Grey)};
    for (int t = 0; t < kBarcodeTypeCount; ++t) {
        const auto type = static_cast<TBarcodeType>(t);
        const unsigned seed = kSeed + static_cast<unsigned>(t);
        std::mt19937 rng(seed);
        int drawn = 0;
        for (int n = 0; n < kSymbolsPerType; ++n) {
            const std::string& alphabet = rng() % 4 ? kDigits : kPrintable;
            std::string text;
            for (int k = 1 + static_cast<int>(rng() % 16); k > 0; --k)
                text += alphabet[rng() % alphabet.size()];
            TBarcode bc;
            bc.SetTyp(type);
            if (bc.DrawsGeometry()) text = GeometryValue(type, rng);
            bc.SetText(text);
            bc.SetChecksum(rng() % 2);
            bc.SetModul(1 + static_cast<int>(rng() % 3));
            bc.SetRatio(2.0 + (rng() % 3) * 0.5);
            bc.SetHeight(10 + static_cast<int>(rng() % 80));
            bc.SetShowText(static_cast<TBarcodeOption>(rng() % 4));
            bc.SetLeft(static_cast<int>(rng() % 60) - 20);
            bc.SetTop(static_cast<int>(rng() % 40) - 10);
            try {
                bc.BuildPattern();
            } catch (const std::runtime_error&) {
                continue; // not a valid text for this symbology (or a malformed escape)
            }
            TBitmap direct = backgrounds[n % 2], shapes = backgrounds[n % 2];
            bc.Draw(direct.Canvas());
            test::TShapesOnlyCanvas reference(shapes);
            bc.Draw(reference);
            const std::string diff = test::FirstDifference(direct, shapes);
            ASSERT_TRUE(diff.empty()) << BCdata[type].Name << " text \"" << text << "\" symbol " << n
                                      << " seed " << seed << ": pictures differ at " << diff;
            ++drawn;
        }
        EXPECT_GT(drawn, kSymbolsPerType / 10) << BCdata[type].Name << " seed " << seed;
    }
}

} // namespace
} // namespace qbm
