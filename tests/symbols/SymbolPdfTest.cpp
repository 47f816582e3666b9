// Matrix symbols on a PDF page rasterise exactly as when every dark module was a rectangle of its
// own: the rectangles that gather modules cover the very same area.

#include "surface/SymbolCanvasPainter.h"
#include "surface/TPdfPrinter.h"
#include "symbols/ZintSymbolEncoder.h"

#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace qbm {
namespace {

// The geometry with a rectangle for each dark module.
TSymbolGeometry ModuleByModule(TSymbolGeometry g) {
    std::vector<TModuleRect> modules;
    for (const TModuleRect& r : g.rects)
        for (double y = r.y; y < r.y + r.height; ++y)
            for (double x = r.x; x < r.x + r.width; ++x) modules.push_back({x, y, 1, 1});
    g.rects = std::move(modules);
    return g;
}

TSymbolSettings Settings(TSymbology symbology) {
    TSymbolSettings s;
    s.symbology = symbology;
    return s;
}

TEST(SymbolPdf, GatheredModulesRasteriseAsModuleByModule) {
    const std::string text = "ORDER 48151623 LOT A17 SHIP TO 12 HARBOUR ROAD, QUAYSIDE 90210";
    const std::vector<TSymbolGeometry> symbols = {EncodeSymbol(Settings(TSymbology::QrCode), text),
                                                  EncodeSymbol(Settings(TSymbology::DataMatrix), text),
                                                  EncodeSymbol(Settings(TSymbology::Aztec), text),
                                                  EncodeSymbol(Settings(TSymbology::MicroQr), "12345")};
    const std::string dir = test::MakeTempDir();
    const auto placement = [](size_t i) {
        TSymbolPlacement p;
        p.origin = {37 + static_cast<int>(i % 2) * 900, 53 + static_cast<int>(i / 2) * 900};
        p.dotsPerModule = 7;
        return p;
    };
    const auto print = [&](const std::string& name, bool moduleByModule) {
        // 600 dpi, 7 dots a module: module edges fall between the pixels of 150 and 200 dpi pages.
        TPdfPrinter printer(dir + "/" + name, TPaperSize{80, 80}, 600);
        printer.BeginDoc();
        for (size_t i = 0; i < symbols.size(); ++i)
            PaintSymbolShapes(printer.Canvas(), moduleByModule ? ModuleByModule(symbols[i]) : symbols[i],
                              placement(i));
        printer.EndDoc();
        return dir + "/" + name;
    };
    const std::string gathered = print("gathered.pdf", false), modules = print("modules.pdf", true);
    for (const int dpi : {150, 200, 600}) {
        const std::vector<QImage> a = test::RasterisePdf(gathered, dpi), b = test::RasterisePdf(modules, dpi);
        ASSERT_EQ(a.size(), 1u) << dpi;
        ASSERT_EQ(b.size(), 1u) << dpi;
        EXPECT_TRUE(a[0] == b[0]) << dpi << " dpi";
        if (dpi != 600) continue;
        // Each symbol alone: the Data Matrix reader looks for one near the middle of the picture.
        const ZXing::BarcodeFormat formats[] = {ZXing::BarcodeFormat::QRCode,
                                                ZXing::BarcodeFormat::DataMatrix};
        for (size_t i = 0; i < std::size(formats); ++i) {
            const TRect box = placement(i).Bounds(symbols[i]);
            const QImage symbol = a[0].copy(box.left - 20, box.top - 20, box.Width() + 40, box.Height() + 40);
            EXPECT_EQ(test::DecodeAll(symbol, formats[i]), std::vector<std::string>{text}) << i;
        }
    }
}

} // namespace
} // namespace qbm
