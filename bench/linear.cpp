// Patterns per second for every linear symbology: our BuildPattern and Draw, each printed right above
// libzint doing the same symbology in this run, and a closing table of the ratios. zint's Encode
// builds its module rows, its Buffer rasterises them at 2 pixels per module like our Modul 2, without
// text (Draw) and with its human-readable text (DrawText, ours with the code shown below the bars);
// our Draw paints into one reused bitmap, zint allocates a fresh one. Ours is drawn twice: on a
// 32-bit colour picture, as the window shows labels ("qbm"), and on a grey picture of a byte a
// pixel, as labels are drawn to be read back ("qbm-grey"); zint's buffer is 24-bit RGB, its only
// raster form. Both pictures have the same pixels. zint has no fixed Code 128 set A
// or C, so those are measured against its automatic Code 128; GS1 data goes to zint in its bracketed
// form. zint draws no text under PostNet, so DrawText/PostNet sets our bars and text against zint's
// bars alone. GS1 DataBar and Intelligent Mail are zint's own symbols in ours, laid out as bars.

#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstring>
#include <string>

namespace {

using namespace qbm;

struct TCase {
    const char* name;
    TBarcodeType type;
    const char* text;
    int zintSymbology;
    const char* zintText; // zint wants Codabar's start and stop in the data
    int zintOption2 = 0;
    bool checksum = false;
};

const TCase kCases[] = {
    {"2of5Interleaved", bcCode_2_5_interleaved, "12345678901234", BARCODE_C25INTER, "12345678901234", 0},
    {"2of5Industrial", bcCode_2_5_industrial, "12345678901234", BARCODE_C25IND, "12345678901234", 0},
    {"2of5Matrix", bcCode_2_5_matrix, "12345678901234", BARCODE_C25STANDARD, "12345678901234", 0},
    {"Code39", bcCode39, "QUIRBEL-2026", BARCODE_CODE39, "QUIRBEL-2026", 0},
    {"Code39Extended", bcCode39Extended, "Quirbel 2026!", BARCODE_EXCODE39, "Quirbel 2026!", 0},
    {"Code93", bcCode93, "QUIRBEL-2026", BARCODE_CODE93, "QUIRBEL-2026", 0},
    {"Code93Extended", bcCode93Extended, "Quirbel 2026!", BARCODE_CODE93, "Quirbel 2026!", 0},
    {"Codabar", bcCodeCodabar, "1234567890", BARCODE_CODABAR, "A1234567890B", 0},
    {"MSI", bcCodeMSI, "1234567890", BARCODE_MSI_PLESSEY, "1234567890", 1}, // option 1: mod-10 check
    {"PostNet", bcCodePostNet, "12345678901", BARCODE_POSTNET, "12345678901", 0},
    {"Code128A", bcCode128A, "QUIRBEL 2026/ABC", BARCODE_CODE128, "QUIRBEL 2026/ABC"},
    {"Code128B", bcCode128B, "Quirbel 2026 abc", BARCODE_CODE128B, "Quirbel 2026 abc"},
    {"Code128C", bcCode128C, "12345678901234", BARCODE_CODE128, "12345678901234"},
    {"Code128Auto", bcCode128Auto, "Quirbel\\9label 12345678", BARCODE_CODE128, "Quirbel\tlabel 12345678"},
    {"EAN128A", bcCodeEAN128A, "10ABC123", BARCODE_GS1_128, "[10]ABC123"},
    {"EAN128B", bcCodeEAN128B, "10ABC123", BARCODE_GS1_128, "[10]ABC123"},
    {"EAN128C", bcCodeEAN128C, "011234567890123", BARCODE_GS1_128, "[01]12345678901231"},
    {"EAN8", bcCodeEAN8, "1234567", BARCODE_EANX, "1234567", 0, true},
    {"EAN13", bcCodeEAN13, "590123412345", BARCODE_EANX, "590123412345", 0, true},
    {"UPC_A", bcCodeUPC_A, "03600029145", BARCODE_UPCA, "03600029145", 0, true},
    {"UPC_E0", bcCodeUPC_E0, "425261", BARCODE_UPCE, "0425261"},
    {"UPC_E1", bcCodeUPC_E1, "123456", BARCODE_UPCE, "1123456"},
    {"Supp2", bcCodeUPC_Supp2, "12", BARCODE_EANX, "12"},
    {"Supp5", bcCodeUPC_Supp5, "52495", BARCODE_EANX, "52495"},
    // Ours is zint's encoding and vector output laid out as bars: the price of the geometry path.
    {"DataBar", bcCodeDataBar, "0950110153000", BARCODE_DBAR_OMN, "0950110153000"},
    {"DataBarExpanded", bcCodeDataBarExpanded, "(01)09501101530003(3103)000750", BARCODE_DBAR_EXP,
     "[01]09501101530003[3103]000750"},
    {"IntelligentMail", bcCodeIMb, "01234567094987654321", BARCODE_USPS_IMAIL, "01234567094987654321"},
};

void SetUp(TBarcode& bc, const TCase& c, bool text = false) {
    bc.SetTyp(c.type);
    if (text) bc.SetShowText(bcoCode);
    bc.SetText(c.text);
    bc.SetChecksum(c.checksum);
    bc.SetModul(2);
    bc.SetHeight(60);
}

zint_symbol* ZintSymbol(const TCase& c, bool text = false) {
    zint_symbol* s = ZBarcode_Create();
    s->symbology = c.zintSymbology;
    s->option_2 = c.zintOption2;
    s->show_hrt = text ? 1 : 0;
    s->scale = 1.0f; // 2 pixels per module
    s->height = 30.0f;
    return s;
}

void QbmBuildPattern(benchmark::State& state, const TCase& c) {
    TBarcode bc;
    SetUp(bc, c);
    for (auto _ : state) benchmark::DoNotOptimize(bc.BuildPattern());
    state.SetItemsProcessed(state.iterations());
}

void ZintEncode(benchmark::State& state, const TCase& c) {
    const auto* data = reinterpret_cast<const unsigned char*>(c.zintText);
    const int len = static_cast<int>(std::strlen(c.zintText));
    for (auto _ : state) {
        zint_symbol* s = ZintSymbol(c);
        const int err = ZBarcode_Encode(s, data, len);
        if (err >= ZINT_ERROR) state.SkipWithError(s->errtxt);
        benchmark::DoNotOptimize(s->width);
        ZBarcode_Delete(s);
    }
    state.SetItemsProcessed(state.iterations());
}

void QbmDraw(benchmark::State& state, const TCase& c, bool text, TBitmapPixels pixels) {
    EnsureGuiApplication();
    TBarcode bc;
    SetUp(bc, c, text);
    bc.SetLeft(20);
    bc.SetTop(20);
    TBitmap bitmap(bc.Width() + 40, bc.Height() + 40, pixels);
    for (auto _ : state) bc.Draw(bitmap.Canvas());
    state.SetItemsProcessed(state.iterations());
}

void ZintEncodeAndBuffer(benchmark::State& state, const TCase& c, bool text) {
    const auto* data = reinterpret_cast<const unsigned char*>(c.zintText);
    const int len = static_cast<int>(std::strlen(c.zintText));
    for (auto _ : state) {
        zint_symbol* s = ZintSymbol(c, text);
        const int err = ZBarcode_Encode_and_Buffer(s, data, len, 0);
        if (err >= ZINT_ERROR) state.SkipWithError(s->errtxt);
        benchmark::DoNotOptimize(s->bitmap);
        ZBarcode_Delete(s);
    }
    state.SetItemsProcessed(state.iterations());
}

// Pairs in a fixed order, so each of our figures sits directly above zint's.
const int kRegistered = [] {
    for (const TCase& c : kCases) {
        const std::string n = c.name;
        benchmark::RegisterBenchmark(("BuildPattern/" + n + "/qbm").c_str(), QbmBuildPattern, c);
        benchmark::RegisterBenchmark(("BuildPattern/" + n + "/zint").c_str(), ZintEncode, c);
    }
    for (const bool text : {false, true})
        for (const TCase& c : kCases) {
            const std::string n = (text ? "DrawText/" : "Draw/") + std::string(c.name);
            benchmark::RegisterBenchmark((n + "/qbm").c_str(), QbmDraw, c, text, TBitmapPixels::Colour);
            benchmark::RegisterBenchmark((n + "/qbm-grey").c_str(), QbmDraw, c, text, TBitmapPixels::Grey);
            benchmark::RegisterBenchmark((n + "/zint").c_str(), ZintEncodeAndBuffer, c, text);
        }
    return 0;
}();

} // namespace

QBM_BENCHMARK_MAIN()
