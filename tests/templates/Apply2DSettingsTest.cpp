#include "templates/Apply2DSettings.h"

#include "TestSupport.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "ini/TIniFile.h"
#include "templates/TemplateLibrary.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qbm {
namespace {

std::string Library(const std::string& text) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string DefaultLibrary() {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    return path;
}

TEST(Apply2DSettings, DefaultLibraryGoesIntoBothComponents) {
    const TIniFile library(DefaultLibrary());
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    TLabelPicture label;
    Apply2DSettings(library, kPdf417FormatItem, "Quirbel 2D label", pdf, maxi, label);
    EXPECT_EQ(pdf.ECCLevel(), ecLevel2);
    EXPECT_EQ(pdf.BarWidth(), 1);
    EXPECT_EQ(pdf.BarHeightToWidth(), 4);
    EXPECT_EQ(pdf.NumColumns(), 0);
    EXPECT_EQ(pdf.NumRows(), 0);
    EXPECT_FALSE(pdf.Truncated());
    EXPECT_EQ(pdf.Alignment(), taLeftJustify);
    EXPECT_EQ(maxi.Mode(), cmMode6);
    EXPECT_TRUE(maxi.AutoScale());
    EXPECT_EQ(maxi.CarrierCountryCode(), 12);
    EXPECT_EQ(maxi.CarrierServiceClass(), 22);
    EXPECT_EQ(maxi.CarrierPostalCode(), "145");
    EXPECT_EQ(maxi.BarWidth(), 6);
    EXPECT_EQ(maxi.BarHeight(), 6);
    EXPECT_EQ(maxi.Alignment(), taLeftJustify);
    EXPECT_EQ(label.StatusText, "Barcode Type: PDF417 ");
}

TEST(Apply2DSettings, MissingSectionUsesTheReaderDefaults) {
    const TIniFile library(Library("[Code39]\r\nCodeType=3\r\n"));
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    TLabelPicture label;
    label.StatusText = "before";
    Apply2DSettings(library, "Something else", "x", pdf, maxi, label);
    EXPECT_EQ(pdf.ECCLevel(), ecLevel0);
    EXPECT_EQ(pdf.BarHeightToWidth(), 3);
    EXPECT_EQ(maxi.Mode(), cmMode6);
    EXPECT_EQ(maxi.BarWidth(), 0);
    EXPECT_EQ(maxi.BarHeight(), 4);
    EXPECT_EQ(maxi.CarrierPostalCode(), "0");
    EXPECT_EQ(label.StatusText, "before"); // no format chosen: the picture is not touched
    EXPECT_EQ(label.Bitmap.Width(), 0);
}

TEST(Apply2DSettings, RowsCountOnlyWithAutomaticColumns) {
    T2DSettings s;
    s.PCol = 5;
    s.PRow = 20;
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    Apply2DComponentSettings(s, pdf, maxi);
    EXPECT_EQ(pdf.NumColumns(), 5);
    EXPECT_EQ(pdf.NumRows(), 0);
    s.PCol = 0;
    Apply2DComponentSettings(s, pdf, maxi);
    EXPECT_EQ(pdf.NumRows(), 20);
}

TEST(Apply2DSettings, OrdinalsBeyondTheEnumerationsFallBack) {
    T2DSettings s;
    s.PECC = 42;
    s.MMode = -1;
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    maxi.SetMode(cmMode4);
    Apply2DComponentSettings(s, pdf, maxi);
    EXPECT_EQ(pdf.ECCLevel(), ecLevel0);
    EXPECT_EQ(maxi.Mode(), cmMode6);
}

TEST(Apply2DSettings, Pdf417PictureIsSymbolPlusQuietZoneAndScans) {
    const TIniFile library(DefaultLibrary());
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    TLabelPicture label;
    const std::string text = "Quirbel Barcode Maker 2D label 0123456789";
    Apply2DSettings(library, kPdf417FormatItem, text, pdf, maxi, label);
    EXPECT_EQ(pdf.Code(), text);
    EXPECT_EQ(label.Bitmap.Width(), pdf.BarCodeWidth() + 2 * pdf.QuietZone());
    EXPECT_EQ(label.Bitmap.Height(), pdf.BarCodeHeight() + 2 * pdf.QuietZone());
    EXPECT_EQ(pdf.Width(), label.Bitmap.Width());
    EXPECT_EQ(pdf.Height(), label.Bitmap.Height());
    const test::Decoded d = test::Decode(label.Bitmap, ZXing::BarcodeFormat::PDF417);
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, text);
}

TEST(Apply2DSettings, MaxiCodePictureScans) {
    const TIniFile library(Library("[Barcode2D]\r\nMMode=2\r\nMMAS=1\r\n"));
    TStPDF417Barcode pdf;
    TStMaxiCodeBarcode maxi;
    TLabelPicture label;
    const std::string text = "QUIRBEL MAXICODE 12345";
    Apply2DSettings(library, kMaxiCodeFormatItem, text, pdf, maxi, label);
    EXPECT_EQ(maxi.Mode(), cmMode4);
    EXPECT_EQ(label.StatusText, "Barcode Type: MaxiCode ");
    EXPECT_EQ(label.Bitmap.Width(), maxi.BarCodeWidth() + 2 * maxi.QuietZone());
    EXPECT_EQ(label.Bitmap.Height(), maxi.BarCodeHeight() + 2 * maxi.QuietZone());
    const test::Decoded d = test::Decode(label.Bitmap, ZXing::BarcodeFormat::MaxiCode,
                                         [](ZXing::DecodeHints& h) { h.setIsPure(true); });
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.text, text);
}

} // namespace
} // namespace qbm
