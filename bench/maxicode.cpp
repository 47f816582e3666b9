// MaxiCode throughput: a 50-character mode 4 message (capitals, digits, some lower case and
// punctuation) set as Code, encoded and rendered on the screen and for a 600-dpi printer; beside it
// libzint encoding the same message in mode 4 (and encoding plus its raster output), measured in the
// same run. Figures are symbols per second (items_per_second).

#include "barcode2d/TStMaxiCodeBarcode.h"
#include "Bench2D.h"
#include "surface/GuiApplication.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <string>

namespace {

// Two texts that differ in their last character: setting an unchanged Code would do nothing.
qbm::bench::TTexts Messages() {
    const std::string s = "SHIP TO: QUIRBEL LABELS, 42 Main St, DOCK 7/B 1234";
    return {s.substr(0, 49) + "5", s.substr(0, 49) + "6"};
}

void BM_Qbm_MaxiCode_EncodeAndRender(benchmark::State& state) {
    qbm::bench::EncodeAndRender<qbm::TStMaxiCodeBarcode>(state, Messages());
}

void BM_Qbm_MaxiCode_EncodeAndRenderAt600Dpi(benchmark::State& state) {
    qbm::EnsureGuiApplication();
    const auto texts = Messages();
    qbm::TStMaxiCodeBarcode bc;
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    qbm::TBitmap target;
    target.SetResolution(600);
    size_t i = 0;
    for (auto _ : state) {
        bc.SetCode(texts[i++ & 1]);
        bc.RenderToBitmap(target, 600, 600); // hexagons with their outline and fill
        benchmark::DoNotOptimize(target.Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(target.Width()) * target.Height();
}

void ZintRun(benchmark::State& state, bool buffer) {
    double pixels = 0;
    qbm::bench::ZintRun(
        state, Messages(), buffer,
        [](zint_symbol& s) {
            s.symbology = BARCODE_MAXICODE;
            s.option_1 = 4;
        },
        [&](const zint_symbol& s) { pixels = static_cast<double>(s.bitmap_width) * s.bitmap_height; });
    if (buffer) state.counters["picture_px"] = pixels;
}

void BM_Zint_MaxiCode_Encode(benchmark::State& state) {
    ZintRun(state, false);
}
void BM_Zint_MaxiCode_EncodeAndBuffer(benchmark::State& state) {
    ZintRun(state, true);
}

BENCHMARK(BM_Qbm_MaxiCode_EncodeAndRender);
BENCHMARK(BM_Qbm_MaxiCode_EncodeAndRenderAt600Dpi);
BENCHMARK(BM_Zint_MaxiCode_Encode);
BENCHMARK(BM_Zint_MaxiCode_EncodeAndBuffer);

} // namespace

BENCHMARK_MAIN();
