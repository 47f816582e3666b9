// PDF417 throughput: a 200-byte mixed text (letters, digits runs, punctuation, Latin-1 bytes) set as
// Code, encoded and rendered; beside it libzint encoding the same bytes (and encoding plus its
// raster output), measured in the same run. Figures are symbols per second (items_per_second).

#include "barcode2d/TStPDF417Barcode.h"
#include "Bench2D.h"
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

void BM_Qbm_Pdf417_EncodeAndRender(benchmark::State& state) {
    qbm::bench::EncodeAndRender<qbm::TStPDF417Barcode>(state, MixedTexts());
}

void ZintRun(benchmark::State& state, bool buffer) {
    int rows = 0;
    qbm::bench::ZintRun(
        state, MixedTexts(), buffer,
        [](zint_symbol& s) {
            s.symbology = BARCODE_PDF417;
            s.input_mode = DATA_MODE;
        },
        [&](const zint_symbol& s) { rows = s.rows; });
    state.counters["rows"] = rows;
}

void BM_Zint_Pdf417_Encode(benchmark::State& state) {
    ZintRun(state, false);
}
void BM_Zint_Pdf417_EncodeAndBuffer(benchmark::State& state) {
    ZintRun(state, true);
}

BENCHMARK(BM_Qbm_Pdf417_EncodeAndRender);
BENCHMARK(BM_Zint_Pdf417_Encode);
BENCHMARK(BM_Zint_Pdf417_EncodeAndBuffer);

} // namespace

BENCHMARK_MAIN();
