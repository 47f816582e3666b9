// MaxiCode throughput: a 50-character mode 4 message (capitals, digits, some lower case and
// punctuation) set as Code, encoded and rendered on the screen and for a 600-dpi printer; beside each
// libzint encoding the same message in mode 4 plus its raster output at the scale that gives a
// picture of the same area (and encoding alone), measured in the same run. Figures are symbols per
// second (items_per_second).

#include "Bench2D.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
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

void ZintSetUp(zint_symbol& s) {
    s.symbology = BARCODE_MAXICODE;
    s.option_1 = 4;
}

// The screen picture at the control's default size.
void QbmScreen(benchmark::State& state) {
    qbm::bench::EncodeAndRender<qbm::TStMaxiCodeBarcode>(state, Messages());
}

// The picture for a 600-dpi printer, as printing makes it.
void Qbm600Dpi(benchmark::State& state) {
    qbm::EnsureGuiApplication();
    const auto texts = Messages();
    qbm::TStMaxiCodeBarcode bc;
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    qbm::TBitmap target;
    target.SetResolution(600);
    size_t i = 0;
    for (auto _ : state) {
        bc.SetCode(texts[i++ & 1]);
        bc.RenderToBitmap(target, 600, 600);
        benchmark::DoNotOptimize(target.Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["picture_px"] = static_cast<double>(target.Width()) * target.Height();
}

// Our picture's area, measured once, so zint draws at the scale that gives the same area.
double QbmPictureArea(int dpi) {
    qbm::EnsureGuiApplication();
    qbm::TStMaxiCodeBarcode bc;
    bc.SetCode(Messages()[0]);
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    if (dpi == 0) return static_cast<double>(bc.Bitmap().Width()) * bc.Bitmap().Height();
    qbm::TBitmap target;
    target.SetResolution(dpi);
    const auto size = bc.RenderToBitmap(target, dpi, dpi);
    return static_cast<double>(size.width) * size.height;
}

void ZintAtArea(benchmark::State& state, int dpi) {
    const float scale = qbm::bench::ZintScaleForArea(Messages()[0], QbmPictureArea(dpi), ZintSetUp);
    qbm::bench::ZintRun(state, Messages(), true, [scale](zint_symbol& s) {
        ZintSetUp(s);
        s.scale = scale;
    });
    state.counters["zint_scale"] = scale;
}

void ZintEncode(benchmark::State& state) {
    qbm::bench::ZintRun(state, Messages(), false, ZintSetUp);
}

BENCHMARK(QbmScreen)->Name("MaxiCode/Screen/qbm");
BENCHMARK_CAPTURE(ZintAtArea, screen, 0)->Name("MaxiCode/Screen/zint");
BENCHMARK(Qbm600Dpi)->Name("MaxiCode/600dpi/qbm");
BENCHMARK_CAPTURE(ZintAtArea, dpi600, 600)->Name("MaxiCode/600dpi/zint");
BENCHMARK(ZintEncode)->Name("MaxiCode/EncodeOnly/zint");

} // namespace

QBM_BENCHMARK_MAIN()
