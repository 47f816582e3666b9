#include "templates/ApplyTemplate.h"

#include "TestSupport.h"
#include "barcode/TBarcode.h"
#include "ini/TIniFile.h"
#include "surface/TCanvas.h"
#include "templates/TemplateLibrary.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qbm {
namespace {

std::string DefaultLibrary() {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    return path;
}

std::string Library(const std::string& text) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// The label with white margins, as it stands in a page cell, for the decoder.
TBitmap WithMargin(const TBitmap& label, int margin) {
    TBitmap page(label.Width() + 2 * margin, label.Height() + 2 * margin);
    page.Canvas().CopyRect(TRect{margin, margin, margin + label.Width(), margin + label.Height()}, label,
                           TRect{0, 0, label.Width(), label.Height()});
    return page;
}

struct ResolutionCase {
    int dpi;
    int modul;
    int height;
    int top;
    int codeFontWhileDrawing;
    int pictureHeight;
};

TEST(ApplyTemplate, DefaultTemplateAtPrinterResolutions) {
    const TIniFile library(DefaultLibrary());
    const ResolutionCase cases[] = {
        /* 0 */ {300, 8, 354, 62, 25, 94 + 354},    // 7.56 dots; 354.3; 62.5 to the even 62; 93.75
        /* 1 */ {600, 15, 709, 125, 50, 188 + 709}, // 15.1; 708.7; 187.5 to the even 188
    };
    for (const ResolutionCase& c : cases) {
        SCOPED_TRACE(c.dpi);
        TBarcode bc;
        bc.SetText("12345678");
        std::vector<int> codeSizes;
        bc.SetOnChange([&](TBarcode& b) { codeSizes.push_back(b.ShowTextFont().Size()); });
        TLabelPicture label;
        ApplyTemplate(library, "Code-2-5-interleaved", bc, label, c.dpi, c.dpi);
        EXPECT_EQ(bc.Typ(), bcCode_2_5_interleaved);
        EXPECT_EQ(bc.Modul(), c.modul);
        EXPECT_EQ(bc.Height(), c.height);
        EXPECT_EQ(bc.Top(), c.top);
        EXPECT_EQ(bc.Left(), 0);
        EXPECT_EQ(bc.ShowText(), bcoNone); // TextLayout=3 whatever TextContent says
        EXPECT_EQ(bc.ShowTextFont().Name(), "MS Sans Serif");
        EXPECT_EQ(bc.ShowTextFont().Size(), 8);
        EXPECT_EQ(bc.ExtCapFont().Size(), 8);
        EXPECT_NE(std::find(codeSizes.begin(), codeSizes.end(), c.codeFontWhileDrawing), codeSizes.end());
        EXPECT_EQ(label.Bitmap.Width(), bc.Width());
        EXPECT_EQ(label.Bitmap.Height(), c.pictureHeight);
        EXPECT_EQ(label.StatusText, "Barcode Type: 2_5_interleaved ");
    }
}

TEST(ApplyTemplate, ModuleIsAtLeastOneDot) {
    const TIniFile library(
        Library("[Thin]\r\nCodeType=6\r\nBarWidth=1\r\n[Odd]\r\nCodeType=6\r\nBarWidth=-50\r\n"));
    TBarcode bc;
    bc.SetText("AB");
    TLabelPicture label;
    ApplyTemplate(library, "Thin", bc, label, 300, 300);
    EXPECT_EQ(bc.Modul(), 1);
    bc.SetModul(5);
    ApplyTemplate(library, "Odd", bc, label, 300, 300);
    EXPECT_EQ(bc.Modul(), 1);
}

TEST(ApplyTemplate, TextLayoutDecidesWhetherTheCodeIsShown) {
    const TIniFile library(
        Library("[None]\r\nTextLayout=3\r\nTextContent=3\r\n"
                "[Left]\r\nTextLayout=0\r\nTextContent=0\r\n"
                "[Centre]\r\nTextLayout=2\r\nTextContent=2\r\n"
                "[Odd]\r\nTextLayout=17\r\nTextContent=2\r\nCodeType=99\r\nHeight=-3\r\n"));
    TBarcode bc;
    bc.SetText("1234");
    TLabelPicture label;
    ApplyTemplate(library, "None", bc, label, 300, 300);
    EXPECT_EQ(bc.ShowText(), bcoNone);
    ApplyTemplate(library, "Left", bc, label, 300, 300);
    EXPECT_EQ(bc.ShowText(), bcoCode);
    EXPECT_EQ(bc.ShowTextPosition(), stpTopLeft);
    ApplyTemplate(library, "Centre", bc, label, 300, 300);
    EXPECT_EQ(bc.ShowText(), bcoCode);
    EXPECT_EQ(bc.ShowTextPosition(), stpTopCenter);
    // A hand-edited layout beyond the list leaves position and type alone; TextContent then counts.
    const int height = bc.Height();
    ApplyTemplate(library, "Odd", bc, label, 300, 300);
    EXPECT_EQ(bc.ShowText(), bcoTyp);
    EXPECT_EQ(bc.ShowTextPosition(), stpTopCenter);
    EXPECT_EQ(bc.Typ(), bcCode_2_5_interleaved);
    EXPECT_EQ(bc.Height(), height);
}

TEST(ApplyTemplate, FontsNamesStylesAndCaptionPosition) {
    const std::string longName(40, 'F');
    const TIniFile library(Library("[T]\r\nCodeType=6\r\nTextLayout=1\r\nCFontName=" + longName +
                                   "\r\nCFontStyle=ub\r\nCFontSize=10\r\nXFontName=DejaVu Sans\r\n"
                                   "XFontStyle=i\r\nXFontSize=12\r\nExtCaptionPosition=2\r\nCheckSum=1\r\n"));
    TBarcode bc;
    bc.SetText("Label");
    TFont keep = bc.ExtCapFont();
    keep.SetName("Kept");
    bc.SetExtCapFont(keep);
    TLabelPicture label;
    ApplyTemplate(library, "T", bc, label, 600, 600);
    EXPECT_EQ(bc.ShowTextFont().Name(), std::string(31, 'F'));
    EXPECT_EQ(bc.ShowTextFont().Style(), fsBold | fsUnderline);
    EXPECT_EQ(bc.ShowTextFont().Size(), 10);
    EXPECT_EQ(bc.ExtCapFont().Name(), "DejaVu Sans");
    EXPECT_EQ(bc.ExtCapFont().Style(), fsItalic);
    EXPECT_EQ(bc.ExtCapFont().Size(), 12);
    EXPECT_EQ(bc.ExtCaptionPosition, 2);
    EXPECT_TRUE(bc.Checksum());
    EXPECT_EQ(bc.ShowTextPosition(), stpTopRight);

    const TIniFile noNames(Library("[T]\r\nCodeType=6\r\n"));
    ApplyTemplate(noNames, "T", bc, label, 600, 600);
    EXPECT_EQ(bc.ExtCapFont().Name(), "DejaVu Sans"); // an empty name leaves the font's name
    EXPECT_EQ(bc.ExtCapFont().Style(), 0);
}

TEST(ApplyTemplate, LabelPictureScans) {
    const TIniFile library(Library("[Code128]\r\nCodeType=6\r\nTextLayout=0\r\nHeight=15\r\nBarWidth=33\r\n"
                                   "CFontName=DejaVu Sans\r\nCFontSize=8\r\n"));
    TBarcode bc;
    bc.SetText("QBM-2026");
    TLabelPicture label;
    label.Bitmap = TBitmap(50, 50); // the picture of the previous template
    ApplyTemplate(library, "Code128", bc, label, 300, 300);
    EXPECT_EQ(bc.Modul(), 4);
    EXPECT_EQ(label.StatusText, "Barcode Type: Code128B ");
    const test::Decoded d = test::Decode(WithMargin(label.Bitmap, 40), ZXing::BarcodeFormat::Code128);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, "QBM-2026");
    // Bars start at the left edge, below the top offset.
    EXPECT_EQ(label.Bitmap.Pixel(0, bc.Top() + 5), clBlack);
    EXPECT_EQ(label.Bitmap.Pixel(0, bc.Top() - 1), clWhite);
}

// Templates of the symbol types draw with the template's module and bar height and scan.
TEST(ApplyTemplate, DataBarTemplatesDrawAtTheTemplatesSizesAndScan) {
    const TIniFile library(
        Library("[DataBar]\r\nCodeType=24\r\nTextLayout=2\r\nHeight=12\r\nBarWidth=33\r\n"
                "[Expanded]\r\nCodeType=27\r\nTextLayout=3\r\nHeight=10\r\nBarWidth=25\r\n"));
    TBarcode bc;
    bc.SetText("0950110153000");
    TLabelPicture label;
    ApplyTemplate(library, "DataBar", bc, label, 300, 300);
    EXPECT_EQ(bc.Modul(), 4);
    EXPECT_EQ(bc.Height(), 142);
    EXPECT_EQ(label.Bitmap.Width(), 96 * 4);
    EXPECT_EQ(label.StatusText, "Barcode Type: GS1 DataBar ");
    test::Decoded d = test::Decode(WithMargin(label.Bitmap, 40), ZXing::BarcodeFormat::DataBar);
    EXPECT_EQ(d.bytes, "09501101530003");

    bc.SetText("(01)09501101530003(3103)000750");
    ApplyTemplate(library, "Expanded", bc, label, 300, 300);
    EXPECT_EQ(bc.ShowText(), bcoNone);
    EXPECT_EQ(label.Bitmap.Width(), 200 * 3);
    d = test::Decode(WithMargin(label.Bitmap, 40), ZXing::BarcodeFormat::DataBarExpanded);
    EXPECT_EQ(d.bytes, "(01)09501101530003(3103)000750");
}

// An ordinal beyond every type (a later release's template) leaves the barcode's type as it is, as
// older readers do with the symbol types' ordinals.
TEST(ApplyTemplate, UnknownTypeOrdinalKeepsTheBarcodesType) {
    const TIniFile library(Library("[Later]\r\nCodeType=29\r\nHeight=10\r\n"));
    TBarcode bc;
    bc.SetTyp(bcCode39);
    bc.SetText("ABC");
    TLabelPicture label;
    ApplyTemplate(library, "Later", bc, label, 300, 300);
    EXPECT_EQ(bc.Typ(), bcCode39);
    EXPECT_GT(label.Bitmap.Width(), 0);
}

TEST(ApplyTemplate, EncoderErrorsReachTheCallerAndFontsAreRestored) {
    const TIniFile library(Library("[EAN]\r\nCodeType=14\r\nCFontSize=8\r\nXFontSize=9\r\n"));
    TBarcode bc;
    bc.SetText("not digits");
    TLabelPicture label;
    EXPECT_THROW_MSG(ApplyTemplate(library, "EAN", bc, label, 600, 600), EBarcodeError,
                     "Barcode must be numeric");
    EXPECT_EQ(bc.ShowTextFont().Size(), 8);
    EXPECT_EQ(bc.ExtCapFont().Size(), 9);
    const TIniFile mail(Library("[Mail]\r\nCodeType=28\r\n"));
    bc.SetText("0123");
    EXPECT_THROW_MSG(ApplyTemplate(mail, "Mail", bc, label, 600, 600), EBarcodeError,
                     "Intelligent Mail: Invalid length for tracking code (20 characters required)");
}

} // namespace
} // namespace qbm
