#include "barcode/TBarcode.h"

#include "TestSupport.h"

namespace qbm {
namespace {

// Counts OnChange calls.
struct Counter {
    int n = 0;
    void Attach(TBarcode& bc) {
        bc.SetOnChange([this](TBarcode&) { ++n; });
    }
};

TEST(TBarcodeProperties, NewComponentHasTheInitialValues) {
    TBarcode bc;
    EXPECT_EQ(bc.Height(), 0);
    EXPECT_EQ(bc.Text(), "");
    EXPECT_EQ(bc.Modul(), 1);
    EXPECT_EQ(bc.Ratio(), 2.0);
    EXPECT_EQ(bc.Typ(), bcCodeEAN13);
    EXPECT_FALSE(bc.Checksum());
    EXPECT_EQ(bc.ShowText(), bcoNone);
    EXPECT_EQ(bc.Color(), clWhite);
    EXPECT_EQ(bc.ColorBar(), clBlack);
    EXPECT_EQ(bc.CheckSumMethod(), csmModulo10);
    EXPECT_EQ(bc.ShowTextPosition(), stpTopLeft);
    EXPECT_STREQ(bc.TypeName(), "EAN13");
}

TEST(TBarcodeProperties, ValueWritesNotifyOnlyWhenTheValueChanges) {
    TBarcode bc;
    Counter c;
    c.Attach(bc);
    bc.SetHeight(0);
    bc.SetTop(0);
    bc.SetLeft(0);
    bc.SetTyp(bcCodeEAN13);
    bc.SetShowText(bcoNone);
    bc.SetChecksum(false);
    bc.SetShowTextPosition(stpTopLeft);
    bc.SetText("");
    bc.SetRatio(2.0);
    bc.SetAngle(0.0);
    EXPECT_EQ(c.n, 0);
    bc.SetHeight(5);
    bc.SetTop(1);
    bc.SetLeft(2);
    bc.SetTyp(bcCode39);
    bc.SetShowText(bcoBoth);
    bc.SetChecksum(true);
    bc.SetShowTextPosition(stpBottomCenter);
    bc.SetText("abc");
    bc.SetText("ABC"); // case-sensitive comparison
    bc.SetRatio(2.5);
    bc.SetAngle(90);
    EXPECT_EQ(c.n, 11);
}

TEST(TBarcodeProperties, ColoursAndChecksumMethodNeverNotifyFontsAlwaysDo) {
    TBarcode bc;
    Counter c;
    c.Attach(bc);
    bc.SetColor(clBlack);
    bc.SetColorBar(clWhite);
    bc.SetCheckSumMethod(csmNone);
    EXPECT_EQ(c.n, 0);
    bc.SetShowTextFont(bc.ShowTextFont());
    bc.SetExtCapFont(bc.ExtCapFont());
    EXPECT_EQ(c.n, 2);
}

TEST(TBarcodeProperties, ModulTakesOneToFortyNineAndAlwaysNotifies) {
    TBarcode bc;
    Counter c;
    c.Attach(bc);
    bc.SetModul(50);
    bc.SetModul(0);
    EXPECT_EQ(bc.Modul(), 1);
    EXPECT_EQ(c.n, 0);
    bc.SetModul(1);
    EXPECT_EQ(c.n, 1);
    bc.SetModul(49);
    EXPECT_EQ(bc.Modul(), 49);
    EXPECT_EQ(c.n, 2);
}

TEST(TBarcodeAssign, CopiesSettingsButNotFontsPositionOrCaption) {
    TBarcode src;
    src.SetHeight(40);
    src.SetText("123");
    src.SetTop(3);
    src.SetLeft(4);
    src.SetModul(3);
    src.SetRatio(2.5);
    src.SetTyp(bcCode39);
    src.SetChecksum(true);
    src.SetShowText(bcoCode);
    src.SetAngle(90);
    src.SetCheckSumMethod(csmNone);
    src.SetShowTextPosition(stpBottomRight);
    src.ExtCaption = "caption";
    TFont big;
    big.SetSize(20);
    src.SetShowTextFont(big);

    TBarcode dst;
    Counter c;
    c.Attach(dst);
    dst.Assign(src);
    EXPECT_EQ(c.n, 0); // written directly
    EXPECT_EQ(dst.Height(), 40);
    EXPECT_EQ(dst.Text(), "123");
    EXPECT_EQ(dst.Top(), 3);
    EXPECT_EQ(dst.Left(), 4);
    EXPECT_EQ(dst.Modul(), 3);
    EXPECT_EQ(dst.Ratio(), 2.5);
    EXPECT_EQ(dst.Typ(), bcCode39);
    EXPECT_TRUE(dst.Checksum());
    EXPECT_EQ(dst.ShowText(), bcoCode);
    EXPECT_EQ(dst.Angle(), 90);
    EXPECT_EQ(dst.CheckSumMethod(), csmNone);
    EXPECT_EQ(dst.ShowTextPosition(), stpTopLeft);
    EXPECT_EQ(dst.ExtCaption, "");
    EXPECT_NE(dst.ShowTextFont().Height(), big.Height());
    EXPECT_FALSE(dst.OnChange()); // the source had no handler
}

TEST(TBarcodeAssign, IgnoresOtherSources) {
    struct Other : TPersistent {
        void Assign(const TPersistent*) override {}
    } other;
    TBarcode bc;
    bc.SetText("keep");
    bc.Assign(&other);
    bc.Assign(nullptr);
    EXPECT_EQ(bc.Text(), "keep");
}

TEST(TBarcodeHelpers, PadOrTruncate) {
    TBarcode bc;
    bc.StoreText("123");
    EXPECT_EQ(bc.PadOrTruncate(7), "0000123");
    EXPECT_EQ(bc.PadOrTruncate(3), "123");
    EXPECT_EQ(bc.PadOrTruncate(2), "12");
    EXPECT_EQ(bc.PadOrTruncate(0), "");
}

TEST(TBarcodeHelpers, Modulo10CheckDigit) {
    TBarcode bc;
    EXPECT_EQ(bc.ApplyChecksum("1234567"), "12345670");
    EXPECT_EQ(bc.ApplyChecksum("12345678901"), "123456789012");
    EXPECT_EQ(bc.ApplyChecksum("590123412345"), "5901234123457");
    EXPECT_EQ(bc.ApplyChecksum(""), "0");
    bc.SetCheckSumMethod(csmNone);
    EXPECT_EQ(bc.ApplyChecksum("1234567"), "1234567");
}

TEST(TBarcodeHelpers, WidthsToPatternAlternatesBarsAndGaps) {
    EXPECT_EQ(TBarcode::WidthsToPattern("111141"), "505080");
    EXPECT_EQ(TBarcode::WidthsToPattern("1111411"), "5050805");
    EXPECT_EQ(TBarcode::WidthsToPattern(""), "");
}

TEST(TBarcodeModuleWidths, RoundHalfToEvenAndDeriveTheWiderOnes) {
    struct Case {
        TBarcodeType type;
        int modul;
        double ratio;
        std::array<int8_t, 4> w;
    };
    const Case kCases[] = {
        /* 0 */ {bcCode128B, 1, 2.5, {1, 2, 3, 4}},   // 2.5 rounds to 2
        /* 1 */ {bcCode128B, 3, 2.5, {3, 8, 12, 16}}, // 7.5 rounds to 8
        /* 2 */ {bcCode128B, 1, 1.5, {1, 2, 3, 4}},   // no clamp, 1.5 rounds to 2
        /* 3 */ {bcCode128B, 2, 2.0, {2, 4, 6, 8}},
        /* 4 */ {bcCode128B, 49, 3.0, {49, 127, 127, 127}}, // 8-bit range: clamped, never negative
        /* 5 */ {bcCode128B, 1, 1e300, {1, 127, 127, 127}}, // a damaged template's ratio
        /* 6 */ {bcCode128B, 1, -1e300, {1, -128, -128, -128}},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        TBarcode bc;
        bc.SetTyp(c.type);
        bc.SetModul(c.modul);
        bc.SetRatio(c.ratio);
        try {
            bc.BuildPattern();
        } catch (const EBarcodeError&) {
        }
        EXPECT_EQ(bc.ModuleWidths(), c.w) << "row " << i;
    }
}

TEST(TBarcodeModuleWidths, RatioIsClampedByTypeAndTheClampNotifiesOnce) {
    struct Case {
        TBarcodeType type;
        double ratio;
        double clamped;
    };
    const Case kCases[] = {
        /* 0 */ {bcCode39, 1.5, 2.0},
        /* 1 */ {bcCode39, 3.5, 3.0},
        /* 2 */ {bcCode_2_5_matrix, 2.0, 2.25},
        /* 3 */ {bcCode_2_5_matrix, 3.1, 3.0},
        /* 4 */ {bcCode128B, 1.5, 1.5},
        /* 5 */ {bcCodePostNet, 3.5, 3.5},
        /* 6 */ {bcCodeEAN13, 1.0, 2.0},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        TBarcode bc;
        bc.SetTyp(c.type);
        bc.SetRatio(c.ratio);
        Counter n;
        n.Attach(bc);
        try {
            bc.BuildPattern();
        } catch (const EBarcodeError&) {
        }
        EXPECT_EQ(bc.Ratio(), c.clamped) << "row " << i;
        EXPECT_EQ(n.n, c.ratio == c.clamped ? 0 : 1) << "row " << i;
    }
}

TEST(TBarcodeBuildPattern, NumericTypesTrimTheirTextAndRejectOtherCharacters) {
    TBarcode bc;
    bc.SetTyp(bcCodeMSI);
    Counter n;
    n.Attach(bc);
    bc.StoreText(" \t1234567\r\n");
    try {
        bc.BuildPattern();
    } catch (const EBarcodeError&) {
    }
    EXPECT_EQ(bc.Text(), "1234567");
    EXPECT_EQ(n.n, 0);
    bc.StoreText(" 12a4 ");
    EXPECT_THROW_MSG(bc.BuildPattern(), EBarcodeError, "Barcode must be numeric");
    EXPECT_EQ(bc.Text(), "12a4"); // the trim stays, as a write-back done before the error
}

TEST(TBarcodeBuildPattern, DamagedTypeAndUnknownElementsRaiseTheirErrors) {
    TBarcode bc;
    bc.SetTyp(static_cast<TBarcodeType>(kBarcodeTypeCount));
    EXPECT_THROW_MSG(bc.BuildPattern(), EBarcodeError, "System error!");
    EXPECT_THROW_MSG(bc.Width(), EBarcodeError, "System error!");
    EXPECT_STREQ(bc.TypeName(), "");
    EXPECT_THROW_MSG(bc.ElementWidth('4'), EBarcodeError, "System internal Error");
    EXPECT_THROW_MSG(bc.ElementWidth('9'), EBarcodeError, "System internal Error");
    EXPECT_EQ(bc.ElementWidth('D').kind, 2);
    EXPECT_EQ(bc.ElementWidth('3').kind, 0);
    EXPECT_EQ(bc.ElementWidth('8').width, 4);
}

TEST(TBarcodeTable, NamesFlagsAndLimits) {
    EXPECT_STREQ(BCdata[bcCodeCodabar].Name, "Codebar");
    EXPECT_EQ(BCdata[bcCodeUPC_Supp2].MaxLen, 10);
    EXPECT_EQ(BCdata[bcCodeEAN8].MaxLen, 8);
    EXPECT_TRUE(BCdata[bcCode128C].Num);
    EXPECT_FALSE(BCdata[bcCode128Auto].Num);
    EXPECT_STREQ(BarcodeTypeValueName(bcCode128Auto), "bcCode128Auto");
    int numeric = 0;
    for (const TBCdata& row : BCdata) numeric += row.Num;
    EXPECT_EQ(numeric, 14);
}

} // namespace
} // namespace qbm
