#include "barcode/BarcodeRender.h"
#include "barcode/LinearSymbolGeometry.h"
#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "symbols/Gs1ElementString.h"

#include "TestSupport.h"

#include <algorithm>
#include <random>

namespace qbm {
namespace {

struct TShape {
    TBarcodeType type;
    std::string_view value;
    int modules; // the symbol's width without quiet zone
    std::string_view shown;
};
constexpr TShape kShapes[] = {
    /* 0 */ {bcCodeDataBar, "0950110153000", 96, "(01)09501101530003"},
    /* 1 */ {bcCodeDataBarStacked, " 09501101530003 ", 50, "(01)09501101530003"},
    /* 2 */ {bcCodeDataBarLimited, "(01)09501101530003", 79, "(01)09501101530003"},
    /* 3 */ {bcCodeDataBarExpanded, "(01)09501101530003(3103)000750", 200, "(01)09501101530003(3103)000750"},
    /* 4 */ {bcCodeIMb, "01234567094987654321", 129, "01234567094987654321"},
};

// The box the bars of a layout cover, corners included.
TRect BarBox(const TLinearLayout& layout) {
    TRect box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const auto& bar : layout.bars)
        for (const TPoint& p : bar)
            box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
                   std::max(box.bottom, p.y)};
    return box;
}

TEST(GeometryTypes, DrawTheirSymbolAtTheModuleAndHeightOfTheBarcode) {
    EnsureGuiApplication();
    for (size_t i = 0; i < std::size(kShapes); ++i) {
        const TShape& s = kShapes[i];
        SCOPED_TRACE("row " + std::to_string(i));
        for (const int modul : {1, 3}) {
            TBarcode bc;
            bc.SetTyp(s.type);
            bc.SetText(std::string(s.value));
            bc.SetModul(modul);
            bc.SetHeight(40);
            bc.SetLeft(7);
            bc.SetTop(5);
            bc.SetShowText(bcoCode);
            EXPECT_TRUE(bc.DrawsGeometry());
            EXPECT_EQ(bc.BuildPattern(), "");
            EXPECT_EQ(bc.Width(), s.modules * modul);
            const TPlacedBarcode placed = LayOutAtOrigin(bc);
            // The symbol's first module is light in DataBar (its left guard), so bars start at or after
            // the left edge; the tallest bars cover Top to Top + Height, as the pattern types' bars do.
            const TRect bars = BarBox(placed.layout);
            EXPECT_GE(bars.left, 0);
            EXPECT_LT(bars.right, s.modules * modul);
            EXPECT_EQ(bars.top, 0);
            EXPECT_EQ(bars.bottom, 40);
            ASSERT_EQ(placed.layout.texts.size(), 1u);
            EXPECT_EQ(placed.layout.texts[0].text, s.shown);
            EXPECT_GT(placed.layout.texts[0].at.y, 40);
        }
    }
}

TEST(GeometryTypes, TurnAndCarryTypeNameAndCaptionAsThePatternTypes) {
    EnsureGuiApplication();
    TBarcode bc;
    bc.SetTyp(bcCodeDataBarExpanded);
    bc.SetText("(01)09501101530003(3103)000750");
    bc.SetModul(2);
    bc.SetHeight(60);
    bc.SetShowText(bcoBoth);
    bc.ExtCaption = "Box";
    const TLinearLayout upright = LayOutAtOrigin(bc).layout;
    bc.SetAngle(90);
    const TLinearLayout turned = LayOutAtOrigin(bc).layout;
    const TRect a = BarBox(upright), b = BarBox(turned);
    EXPECT_EQ(a.Width(), b.Height());
    EXPECT_EQ(a.Height(), b.Width());
    EXPECT_EQ(upright.bars.size(), turned.bars.size());
    std::vector<std::string> texts;
    for (const TLinearText& t : turned.texts) texts.push_back(t.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"(01)09501101530003(3103)000750", "GS1 DataBar Expanded", "Box"}));
}

TEST(GeometryTypes, HaveTheQuietZoneTheirEncoderGives) {
    TBarcode bc;
    for (const TShape& s : kShapes) {
        bc.SetTyp(s.type);
        bc.SetText(std::string(s.value));
        bc.BuildPattern();
        const TQuietZone zone = bc.QuietZone();
        // DataBar's guards end in light modules of their own; Intelligent Mail wants an eighth of an
        // inch of clear space beside its bars, some five bar pitches.
        if (s.type == bcCodeIMb) {
            EXPECT_EQ(zone.left, 5);
            EXPECT_EQ(zone.right, 5);
        } else {
            EXPECT_EQ(zone.left, 0) << BCdata[s.type].Name;
            EXPECT_EQ(zone.right, 0) << BCdata[s.type].Name;
        }
    }
}

TEST(GeometryTypes, WithoutACodeDrawNothingAndRefuseNothing) {
    EnsureGuiApplication();
    TBarcode bc;
    bc.SetTyp(bcCodeDataBar);
    bc.SetText("  ");
    bc.SetHeight(30);
    EXPECT_EQ(bc.Width(), 0);
    EXPECT_TRUE(LayOutAtOrigin(bc).layout.bars.empty());
    // The value checks still refuse it.
    EXPECT_THROW(EncodeLinear({"", bcCodeDataBar}), EBarcodeError);
}

struct TRefusal {
    TBarcodeType type;
    std::string_view value;
    std::string_view message;
};
constexpr TRefusal kRefusals[] = {
    /* 0 */ {bcCodeDataBar, "123", "GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"},
    /* 1 */ {bcCodeDataBar, "09501101530004", "GS1 (01) check digit should be 3, not 4"},
    /* 2 */ {bcCodeDataBarStacked, "ABC", "GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"},
    // Limited holds the GTINs that start with 0 or 1 only.
    /* 3 */
    {bcCodeDataBarLimited, "2950110153000", "GS1 DataBar Limited: Input out of range (0 to 1999999999999)"},
    /* 4 */
    {bcCodeDataBarExpanded, "09501101530003",
     "A GS1 element string starts with an application identifier in parentheses, such as (01)"},
    /* 5 */ {bcCodeDataBarExpanded, "(01)09501101530003(99)", "GS1 (99) has no data"},
    // A tracking code of 20 digits and a routing code of 0, 5, 9 or 11.
    /* 6 */
    {bcCodeIMb, "0123456709498765432",
     "Intelligent Mail: Invalid length for tracking code (20 characters required)"},
    /* 7 */
    {bcCodeIMb, "0123456709498765432101",
     "Intelligent Mail: Invalid length for ZIP code (5, 9 or 11 characters required)"},
    /* 8 */
    {bcCodeIMb, "01234567094987654321A",
     "Intelligent Mail: Invalid character in data (digits and \"-\" only)"},
    /* 9 */
    {bcCodeIMb, "09234567094987654321",
     "Intelligent Mail: Barcode Identifier (second character) out of range (0 to 4)"},
};

TEST(GeometryTypes, RefuseValuesWithTheEncodersMessage) {
    for (size_t i = 0; i < std::size(kRefusals); ++i) {
        const TRefusal& r = kRefusals[i];
        SCOPED_TRACE("row " + std::to_string(i));
        TBarcode bc;
        bc.SetTyp(r.type);
        bc.SetText(std::string(r.value));
        EXPECT_THROW_MSG(bc.BuildPattern(), EBarcodeError, std::string(r.message));
        EXPECT_THROW_MSG(EncodeLinear({r.value, r.type}), EBarcodeError, std::string(r.message));
    }
}

// Random GTINs drawn at module 2 and 3, upright and turned, with and without their text, read back
// with ZXing as the GTIN with its check digit; Expanded with a batch number behind it, as its element
// string in the printed form.
TEST(GeometryTypes, DataBarReadsBackAsItsGtin) {
    constexpr unsigned kSeed = 20261211;
    std::mt19937 rng(kSeed);
    for (const TBarcodeType type : {bcCodeDataBar, bcCodeDataBarStacked, bcCodeDataBarExpanded}) {
        for (int n = 0; n < 12; ++n) {
            std::string gtin;
            for (int k = 0; k < 13; ++k) gtin += static_cast<char>('0' + rng() % 10);
            const std::string full = gtin + static_cast<char>('0' + Gs1CheckDigit(gtin));
            std::string batch;
            for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k)
                batch += static_cast<char>('A' + rng() % 26);
            const bool expanded = type == bcCodeDataBarExpanded;
            TBarcode bc;
            bc.SetTyp(type);
            bc.SetText(expanded ? "(01)" + full + "(10)" + batch : n % 2 ? gtin : full);
            bc.SetModul(2 + n % 2);
            bc.SetHeight(type == bcCodeDataBarStacked ? 40 : 30 * bc.Modul());
            bc.SetShowText(n % 3 == 0 ? bcoCode : bcoNone);
            bc.SetAngle(n % 4 == 1 ? 90 : 0);
            const TBitmap picture = RenderBarcode(bc, 10 * bc.Modul());
            const test::Decoded d = test::Decode(picture, expanded ? ZXing::BarcodeFormat::DataBarExpanded
                                                                   : ZXing::BarcodeFormat::DataBar);
            EXPECT_TRUE(d.found && d.bytes == (expanded ? "(01)" + full + "(10)" + batch : full))
                << BCdata[type].Name << " seed " << kSeed << " case " << n << " value " << bc.Text()
                << " read " << (d.found ? d.bytes : "nothing");
        }
    }
}

} // namespace
} // namespace qbm
