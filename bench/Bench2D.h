#pragma once
// What the 2D benchmarks share: our component encoding and rendering two alternating texts, and
// libzint encoding the same texts with or without its raster output. Each run reports the pixel
// count of its picture, so that pairs compare pictures of the same area.

#include "RatioReporter.h"
#include "surface/GuiApplication.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

namespace qbm::bench {

// Texts alternate so that every Code write is a change (an unchanged Code does nothing).
using TTexts = std::array<std::string, 2>;

// Encode, error correction and render into the component's off-screen bitmap, per text.
// `setUp` sizes the component after its first text.
template <typename TComponent>
void EncodeAndRender(benchmark::State& state, const TTexts& texts,
                     const std::function<void(TComponent&)>& setUp = {}) {
    EnsureGuiApplication();
    TComponent bc;
    bc.SetCode(texts[1]);
    if (setUp)
        setUp(bc);
    else
        bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    size_t i = 0;
    for (auto _ : state) {
        bc.SetCode(texts[i++ & 1]);
        benchmark::DoNotOptimize(bc.Bitmap().Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(bc.Bitmap().Width()) * bc.Bitmap().Height();
}

using TZintSetUp = std::function<void(zint_symbol&)>;

// libzint on the same texts; `setUp` chooses the symbology and its options, `buffer` adds zint's
// raster output (whose pixel count is reported).
inline void ZintRun(benchmark::State& state, const TTexts& texts, bool buffer, const TZintSetUp& setUp) {
    size_t i = 0;
    double pixels = 0;
    for (auto _ : state) {
        zint_symbol* symbol = ZBarcode_Create();
        setUp(*symbol);
        const std::string& t = texts[i++ & 1];
        const auto* data = reinterpret_cast<const unsigned char*>(t.data());
        const int rc = buffer ? ZBarcode_Encode_and_Buffer(symbol, data, static_cast<int>(t.size()), 0)
                              : ZBarcode_Encode(symbol, data, static_cast<int>(t.size()));
        if (rc >= ZINT_ERROR) state.SkipWithError(symbol->errtxt);
        pixels = static_cast<double>(symbol->bitmap_width) * symbol->bitmap_height;
        ZBarcode_Delete(symbol);
    }
    state.SetItemsProcessed(state.iterations());
    if (buffer) state.counters["picture_px"] = pixels;
}

// The zint scale whose raster picture of `text` comes closest to `pixels` in area (zint steps its
// raster scale in halves).
inline float ZintScaleForArea(const std::string& text, double pixels, const TZintSetUp& setUp) {
    float best = 1;
    double bestDiff = -1;
    for (float scale = 0.5f; scale <= 40; scale += 0.5f) {
        zint_symbol* symbol = ZBarcode_Create();
        setUp(*symbol);
        symbol->scale = scale;
        const auto* data = reinterpret_cast<const unsigned char*>(text.data());
        bool larger = false;
        if (ZBarcode_Encode_and_Buffer(symbol, data, static_cast<int>(text.size()), 0) < ZINT_ERROR) {
            const double area = static_cast<double>(symbol->bitmap_width) * symbol->bitmap_height;
            const double diff = std::abs(area - pixels);
            if (bestDiff < 0 || diff < bestDiff) {
                bestDiff = diff;
                best = scale;
            }
            larger = area > pixels;
        }
        ZBarcode_Delete(symbol);
        if (larger) break; // areas only grow from here
    }
    return best;
}

} // namespace qbm::bench
