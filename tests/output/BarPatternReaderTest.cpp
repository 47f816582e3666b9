#include "output/BarPatternReader.h"
#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"

#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

constexpr unsigned kSeed = 20261209;

std::optional<std::string> DrawAndRead(TBarcode& bc) {
    return ReadBarPattern(bc.Typ(), TGreyPicture::Of(RenderBarcode(bc, 10 * bc.Modul())));
}

// 250 random symbols of each type at modules 1 to 3, wide-to-narrow ratios 2 to 3, turned by
// quarter turns, some with their text shown, read back to their digits (MSI with its check digit).
TEST(BarPatternReader, ReadsBackRandomSymbolsOfEveryType) {
    std::mt19937 rng(kSeed);
    std::uniform_int_distribution<int> digit(0, 9), length(1, 16), modul(1, 3), turn(0, 3), ratio(0, 4);
    int failures = 0;
    for (const TBarcodeType type : {bcCodeMSI, bcCodePostNet, bcCode_2_5_industrial, bcCode_2_5_matrix}) {
        for (int n = 0; n < 250 && failures < 5; ++n) {
            std::string text;
            for (int k = length(rng); k > 0; --k) text += static_cast<char>('0' + digit(rng));
            TBarcode bc;
            bc.SetTyp(type);
            bc.SetText(text);
            bc.SetModul(modul(rng));
            bc.SetRatio(2.0 + 0.25 * ratio(rng));
            bc.SetHeight(40);
            bc.SetAngle(90.0 * turn(rng));
            bc.SetShowText(n % 3 == 0 ? bcoCode : bcoNone);
            const std::string expected = type == bcCodeMSI ? text + LuhnCheckDigit(text) : text;
            const std::optional<std::string> read = DrawAndRead(bc);
            const bool ok = read == expected;
            EXPECT_TRUE(ok) << BCdata[type].Name << " seed " << kSeed << " symbol " << n << " text " << text
                            << " modul " << bc.Modul() << " ratio " << bc.Ratio() << " angle " << bc.Angle()
                            << " read " << read.value_or("nothing");
            failures += !ok;
        }
    }
}

TEST(BarPatternReader, MsiCheckDigitIsLuhnsModulo10) {
    struct Case {
        const char* digits;
        char check;
    };
    constexpr Case kCases[] = {
        /* 0 */ {"1234567", '4'},
        /* 1 */ {"7992739871", '3'},
        /* 2 */ {"0", '0'},
        /* 3 */ {"9", '1'},
    };
    for (const Case& c : kCases) EXPECT_EQ(LuhnCheckDigit(c.digits), c.check) << c.digits;
}

// Element runs of a pattern string as the encoders write it, trailing gaps dropped.
std::vector<TBarRun> Runs(TBarcode& bc) {
    std::vector<TBarRun> runs;
    for (const char c : bc.BuildPattern()) {
        const TElement e = bc.ElementWidth(c);
        runs.push_back({e.width, e.kind != 0, e.kind == 2});
    }
    while (!runs.empty() && !runs.back().bar) runs.pop_back();
    return runs;
}

TEST(BarPatternReader, RejectsDamagedAndReversedSymbols) {
    TBarcode msi;
    msi.SetTyp(bcCodeMSI);
    msi.SetText("1234567");
    std::vector<TBarRun> runs = Runs(msi);
    ASSERT_EQ(DecodeBarRuns(bcCodeMSI, runs), "12345674");
    // The last data bit turned over: a valid digit whose check digit no longer fits.
    std::vector<TBarRun> damaged = runs;
    const size_t lastDataBar = runs.size() - 3 - 8 - 2;
    std::swap(damaged[lastDataBar].width, damaged[lastDataBar + 1].width);
    EXPECT_EQ(DecodeBarRuns(bcCodeMSI, damaged), std::nullopt);

    for (const TBarcodeType type : {bcCode_2_5_industrial, bcCode_2_5_matrix, bcCodeMSI}) {
        TBarcode bc;
        bc.SetTyp(type);
        bc.SetText("4711");
        std::vector<TBarRun> reversed = Runs(bc);
        std::reverse(reversed.begin(), reversed.end());
        EXPECT_EQ(DecodeBarRuns(type, reversed), std::nullopt) << BCdata[type].Name;
        EXPECT_EQ(DecodeBarRuns(type, {}), std::nullopt) << BCdata[type].Name;
    }
    // A wrong symbology's bars are no symbol.
    TBarcode industrial;
    industrial.SetTyp(bcCode_2_5_industrial);
    industrial.SetText("4711");
    EXPECT_EQ(DecodeBarRuns(bcCode_2_5_matrix, Runs(industrial)), std::nullopt);
}

} // namespace
} // namespace qbm
