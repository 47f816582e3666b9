// Matrix symbols: our encode (our own QR Code and Data Matrix encoders; libzint's encoder, its geometry
// taken over, for the others) plus drawing into a picture, beside libzint's encode plus its own raster
// output, for the same texts and the same picture size: two pixels a module (zint's scale 1, a screen
// preview) and eight (scale 4, about a 0.34 mm module on a 600 dpi label printer). Figures are symbols
// per second.

#include "Bench2D.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "symbols/QrCodeEncoder.h"
#include "symbols/ZintSymbolEncoder.h"

#include <benchmark/benchmark.h>
#include <zint.h>

namespace {

using qbm::bench::TTexts;

const TTexts kUrls = {"https://example.com/product/4711?lot=AB12&s=1",
                      "https://example.com/product/4712?lot=AB13&s=2"};
const TTexts kElementStrings = {"(01)09501101530003(17)251231(10)AB12(21)000001",
                                "(01)09501101530003(17)251231(10)AB12(21)000002"};

void Qbm(benchmark::State& state, const qbm::TSymbolSettings& settings, const TTexts& texts, int dots) {
    qbm::EnsureGuiApplication();
    qbm::TSymbolPlacement placement;
    placement.dotsPerModule = dots;
    const qbm::TRect bounds = placement.Bounds(qbm::EncodeSymbol(settings, texts[0]));
    qbm::TBitmap picture(bounds.Width(), bounds.Height());
    size_t i = 0;
    for (auto _ : state) {
        const qbm::TSymbolGeometry g = qbm::EncodeSymbol(settings, texts[i++ & 1]);
        qbm::PaintSymbolPixels(picture.Canvas(), g, placement);
        benchmark::DoNotOptimize(picture.Pixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(bounds.Width()) * bounds.Height();
}

qbm::TSymbolSettings Settings(qbm::TSymbology symbology, bool gs1 = false) {
    qbm::TSymbolSettings s;
    s.symbology = symbology;
    s.gs1 = gs1;
    return s;
}

qbm::bench::TZintSetUp Zint(int symbology, int inputMode, int dots) {
    // zint's raster scale 1 is two pixels a module.
    const float scale = static_cast<float>(dots) / 2;
    return [symbology, inputMode, scale](zint_symbol& s) {
        s.symbology = symbology;
        s.input_mode = inputMode;
        s.output_options |= BARCODE_QUIET_ZONES;
        s.scale = scale;
    };
}

// libzint takes the element string with brackets; ours checks the printed form first.
const TTexts kZintElementStrings = {"[01]09501101530003[17]251231[10]AB12[21]000001",
                                    "[01]09501101530003[17]251231[10]AB12[21]000002"};

struct TPair {
    const char* name;
    qbm::TSymbolSettings settings;
    const TTexts* texts;
    int zintSymbology;
    int zintInputMode;
    const TTexts* zintTexts;
};

// Each pair at both module sizes, ours first, named so that the closing table puts them side by side.
const bool kRegistered = [] {
    static const TPair kPairs[] = {
        {"QrCode", Settings(qbm::TSymbology::QrCode), &kUrls, BARCODE_QRCODE, UNICODE_MODE, &kUrls},
        {"DataMatrix", Settings(qbm::TSymbology::DataMatrix), &kUrls, BARCODE_DATAMATRIX, UNICODE_MODE,
         &kUrls},
        {"Gs1DataMatrix", Settings(qbm::TSymbology::DataMatrix, true), &kElementStrings, BARCODE_DATAMATRIX,
         GS1_MODE, &kZintElementStrings},
        {"Aztec", Settings(qbm::TSymbology::Aztec), &kUrls, BARCODE_AZTEC, UNICODE_MODE, &kUrls},
    };
    for (const TPair& pair : kPairs) {
        for (const int dots : {2, 8}) {
            const std::string name =
                std::string("Symbols/") + pair.name + "/Module" + std::to_string(dots) + "px";
            benchmark::RegisterBenchmark((name + "/qbm").c_str(), [&pair, dots](benchmark::State& state) {
                Qbm(state, pair.settings, *pair.texts, dots);
            });
            benchmark::RegisterBenchmark((name + "/zint").c_str(), [&pair, dots](benchmark::State& state) {
                qbm::bench::ZintRun(state, *pair.zintTexts, true,
                                    Zint(pair.zintSymbology, pair.zintInputMode, dots));
            });
        }
    }
    // The QR Code modules alone, no picture: where libzint spends its time (choosing the mask).
    benchmark::RegisterBenchmark("Symbols/QrCode/EncodeOnly/qbm", [](benchmark::State& state) {
        size_t i = 0;
        for (auto _ : state)
            benchmark::DoNotOptimize(qbm::EncodeQrCode(kUrls[i++ & 1], qbm::TQrEcc::Auto, 0));
        state.SetItemsProcessed(state.iterations());
    });
    benchmark::RegisterBenchmark("Symbols/QrCode/EncodeOnly/zint", [](benchmark::State& state) {
        qbm::bench::ZintRun(state, kUrls, false, Zint(BARCODE_QRCODE, UNICODE_MODE, 2));
    });
    return true;
}();

} // namespace

QBM_BENCHMARK_MAIN()
