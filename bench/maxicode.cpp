// MaxiCode throughput: a 50-character mode 4 message (capitals, digits, some lower case and
// punctuation) set as Code, encoded and rendered on the screen and for a 600-dpi printer; beside it
// libzint encoding the same message in mode 4 (and encoding plus its raster output), measured in the
// same run. Figures are symbols per second (items_per_second).

#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <string>

namespace {

// Two texts that differ in their last character: setting an unchanged Code would do nothing.
std::array<std::string, 2> Messages() {
    const std::string s = "SHIP TO: QUIRBEL LABELS, 42 Main St, DOCK 7/B 1234";
    return {s.substr(0, 49) + "5", s.substr(0, 49) + "6"};
}

void BM_Qbm_MaxiCode_EncodeAndRender(benchmark::State& state) {
    qbm::EnsureGuiApplication();
    const auto texts = Messages();
    qbm::TStMaxiCodeBarcode bc;
    bc.SetCode(texts[1]);
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    size_t i = 0;
    for (auto _ : state) {
        bc.SetCode(texts[i++ & 1]); // encode, error correction, render into the off-screen bitmap
        benchmark::DoNotOptimize(bc.Bitmap().Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(bc.Bitmap().Width()) * bc.Bitmap().Height();
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
    const auto texts = Messages();
    size_t i = 0;
    int width = 0, height = 0;
    for (auto _ : state) {
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = BARCODE_MAXICODE;
        symbol->option_1 = 4;
        const std::string& t = texts[i++ & 1];
        const auto* data = reinterpret_cast<const unsigned char*>(t.data());
        const int rc = buffer ? ZBarcode_Encode_and_Buffer(symbol, data, static_cast<int>(t.size()), 0)
                              : ZBarcode_Encode(symbol, data, static_cast<int>(t.size()));
        if (rc >= ZINT_ERROR) state.SkipWithError(symbol->errtxt);
        width = symbol->bitmap_width;
        height = symbol->bitmap_height;
        ZBarcode_Delete(symbol);
    }
    state.SetItemsProcessed(state.iterations());
    if (buffer) state.counters["picture_px"] = static_cast<double>(width) * height;
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
