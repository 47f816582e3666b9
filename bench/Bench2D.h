#pragma once
// What the 2D benchmarks share: our component encoding and rendering two alternating texts, and
// libzint encoding the same texts with or without its raster output.

#include "surface/GuiApplication.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <functional>
#include <string>

namespace qbm::bench {

// Texts alternate so that every Code write is a change (an unchanged Code does nothing).
using TTexts = std::array<std::string, 2>;

// Encode, error correction and render into the component's off-screen bitmap, per text.
template <typename TComponent> void EncodeAndRender(benchmark::State& state, const TTexts& texts) {
    EnsureGuiApplication();
    TComponent bc;
    bc.SetCode(texts[1]);
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    size_t i = 0;
    for (auto _ : state) {
        bc.SetCode(texts[i++ & 1]);
        benchmark::DoNotOptimize(bc.Bitmap().Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(bc.Bitmap().Width()) * bc.Bitmap().Height();
}

// libzint on the same texts; `setUp` chooses the symbology and its options, `buffer` adds zint's
// raster output. `done` sees the last symbol before it is freed (for counters).
inline void ZintRun(benchmark::State& state, const TTexts& texts, bool buffer,
                    const std::function<void(zint_symbol&)>& setUp,
                    const std::function<void(const zint_symbol&)>& done = {}) {
    size_t i = 0;
    for (auto _ : state) {
        zint_symbol* symbol = ZBarcode_Create();
        setUp(*symbol);
        const std::string& t = texts[i++ & 1];
        const auto* data = reinterpret_cast<const unsigned char*>(t.data());
        const int rc = buffer ? ZBarcode_Encode_and_Buffer(symbol, data, static_cast<int>(t.size()), 0)
                              : ZBarcode_Encode(symbol, data, static_cast<int>(t.size()));
        if (rc >= ZINT_ERROR) state.SkipWithError(symbol->errtxt);
        if (done) done(*symbol);
        ZBarcode_Delete(symbol);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace qbm::bench
