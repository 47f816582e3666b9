// PDF417 throughput: a 200-byte mixed text (letters, digits runs, punctuation, Latin-1 bytes) set as
// Code, encoded and rendered; beside it libzint encoding the same bytes plus its raster output (and
// encoding alone), measured in the same run. Figures are symbols per second (items_per_second).

#include "Bench2D.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <random>
#include <string>

namespace {

// Two texts that differ in their last character: setting an unchanged Code would do nothing.
std::array<std::string, 2> MixedTexts() {
    std::mt19937 rng(200);
    std::string s;
    const std::string punct = "!?.,;:-/+()@#";
    while (s.size() < 199) {
        switch (rng() % 5) {
        case 0:
            s += static_cast<char>('A' + rng() % 26);
            break;
        case 1:
            s += static_cast<char>('a' + rng() % 26);
            break;
        case 2:
            for (int i = 0, n = 1 + static_cast<int>(rng() % 18); i < n; ++i)
                s += static_cast<char>('0' + rng() % 10);
            break;
        case 3:
            s += punct[rng() % punct.size()];
            break;
        default:
            s += rng() % 4 == 0 ? static_cast<char>(0xC0 + rng() % 60) : ' ';
            break;
        }
    }
    s.resize(199);
    return {s + "X", s + "Y"};
}

// Rows 3 modules high and a quiet zone of 4 modules around the symbol on both sides, so that our
// picture and zint's have the same module size and area.
void QbmEncodeAndRender(benchmark::State& state) {
    qbm::bench::EncodeAndRender<qbm::TStPDF417Barcode>(state, MixedTexts(), [](qbm::TStPDF417Barcode& bc) {
        bc.SetBarHeightToWidth(3);
        bc.SetQuietZone(8);
        bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    });
}

void ZintSetUp(zint_symbol& s) {
    s.symbology = BARCODE_PDF417;
    s.input_mode = DATA_MODE;
    s.whitespace_width = 4;
    s.whitespace_height = 4;
}

void ZintEncode(benchmark::State& state) {
    qbm::bench::ZintRun(state, MixedTexts(), false, ZintSetUp);
}
void ZintEncodeAndBuffer(benchmark::State& state) {
    qbm::bench::ZintRun(state, MixedTexts(), true, ZintSetUp);
}

BENCHMARK(QbmEncodeAndRender)->Name("Pdf417/EncodeAndRender/qbm");
BENCHMARK(ZintEncodeAndBuffer)->Name("Pdf417/EncodeAndRender/zint");
BENCHMARK(ZintEncode)->Name("Pdf417/EncodeOnly/zint");

} // namespace

QBM_BENCHMARK_MAIN()
