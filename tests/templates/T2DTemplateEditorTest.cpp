#include "templates/T2DTemplateEditor.h"

#include "EditorTestSupport.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "util/TUserPrompts.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

struct Editor2D {
    explicit Editor2D(const std::string& path) : editor(path, prompts) {
        editor.SetOnPreviewChanged([this] { ++redraws; });
    }
    TScriptedPrompts prompts;
    T2DTemplateEditor editor;
    int redraws = 0;
};

struct Values {
    std::string ecc;
    int eccIndex, barWidth, heightToWidth, columns, rows;
    bool truncated;
    std::string mode;
    int country, service;
    std::string postal;
    bool autoScale;
    int moduleSize;
};

void ExpectValues(const T2DTemplateEditor& e, const Values& v, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(e.EccText(), v.ecc);
    EXPECT_EQ(e.EccIndex(), v.eccIndex);
    EXPECT_EQ(e.BarWidth(), v.barWidth);
    EXPECT_EQ(e.HeightToWidth(), v.heightToWidth);
    EXPECT_EQ(e.Columns(), v.columns);
    EXPECT_EQ(e.Rows(), v.rows);
    EXPECT_EQ(e.Truncated(), v.truncated);
    EXPECT_EQ(e.ModeText(), v.mode);
    EXPECT_EQ(e.Country(), v.country);
    EXPECT_EQ(e.ServiceClass(), v.service);
    EXPECT_EQ(e.PostalCode(), v.postal);
    EXPECT_EQ(e.AutoScale(), v.autoScale);
    EXPECT_EQ(e.ModuleSize(), v.moduleSize);
}

TEST(TemplateEditor2D, ReadsTheSectionWithTheEditorsDefaults) {
    const Editor2D defaults(test::DefaultLibrary());
    ExpectValues(defaults.editor, {"3", 3, 1, 4, 0, 0, false, "6", 12, 22, "145", true, 6},
                 "default library");
    // Without the section: the editor's own defaults, bar width and ratio raised into their ranges.
    const Editor2D empty(test::LibraryWith("[Code39]\r\nCodeType=3\r\n"));
    ExpectValues(empty.editor, {"2", 2, 1, 1, 4, 0, false, "2", 0, 0, "0", true, 4}, "no section");
    const Editor2D odd(
        test::LibraryWith("[Barcode2D]\r\nPECC=12\r\nPCol=-3\r\nPRow=200\r\nMMode=-1\r\nPBW=40\r\n"));
    ExpectValues(odd.editor, {"", -1, 10, 1, 0, 90, false, "", 0, 0, "0", true, 4}, "values out of range");
}

TEST(TemplateEditor2D, SavesBothPagesInOrderWithTypedEntriesAsMinusOne) {
    Editor2D e(test::LibraryWith("[Code39]\r\nCodeType=3\r\n"));
    e.editor.SetEccText("12");
    e.editor.SetModeText("5");
    e.editor.SetPostalCode("A1 2B");
    e.editor.SetTruncated(true);
    ASSERT_TRUE(e.editor.Save2DSettings());
    const std::string path = e.editor.LibraryPath();
    EXPECT_EQ(test::SectionKeys(path, "Barcode2D"),
              (TStrings{"PECC", "PTruncated", "PBW", "PBH", "PCol", "PRow", "MMode", "MCON", "MSEV", "MPST",
                        "MMAS", "MBWH"}));
    const TIniFile library(path);
    EXPECT_EQ(library.ReadInteger("Barcode2D", "PECC", 0), -1);
    EXPECT_EQ(library.ReadInteger("Barcode2D", "MMode", 0), 3);
    EXPECT_EQ(library.ReadString("Barcode2D", "MPST", ""), "A1 2B");
    EXPECT_TRUE(library.ReadBool("Barcode2D", "PTruncated", false));
    EXPECT_EQ(library.ReadInteger("Barcode2D", "MBWH", 0), 4);

    const Editor2D reread(path);
    EXPECT_EQ(reread.editor.EccIndex(), -1);
    EXPECT_EQ(reread.editor.ModeText(), "5");
}

TEST(TemplateEditor2D, RowsRedrawOnlyWhileTheColumnsAreAutomatic) {
    Editor2D e(test::DefaultLibrary());
    e.editor.SetPdf417Text("Quirbel");
    e.editor.SetColumns(4);
    int before = e.redraws;
    e.editor.SetRows(12);
    EXPECT_EQ(e.redraws, before) << "rows do not count beside a column count";
    EXPECT_EQ(e.editor.Rows(), 12);
    e.editor.SetColumns(0);
    before = e.redraws;
    e.editor.SetRows(20);
    EXPECT_EQ(e.redraws, before + 1);
    e.editor.SetColumns(-5);
    EXPECT_EQ(e.editor.Columns(), 0) << "a negative count is taken as 0";

    // Every other control of both pages redraws.
    const std::function<void()> changes[] = {
        [&] { e.editor.SetEccText("4"); },      [&] { e.editor.SetTruncated(true); },
        [&] { e.editor.SetBarWidth(2); },       [&] { e.editor.SetHeightToWidth(2); },
        [&] { e.editor.SetMaxiCodeText("A"); }, [&] { e.editor.SetModeText("4"); },
        [&] { e.editor.SetCountry(840); },      [&] { e.editor.SetServiceClass(1); },
        [&] { e.editor.SetPostalCode("1"); },   [&] { e.editor.SetAutoScale(false); },
        [&] { e.editor.SetModuleSize(5); },     [&] { e.editor.SetPage(T2DTemplateEditor::TPage::Pdf417); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        before = e.redraws;
        changes[i]();
        EXPECT_EQ(e.redraws, before + 1) << i;
    }
}

TEST(TemplateEditor2D, PreviewIsAtLeastTheVisibleAreaWithTheSymbolCentredAtTheTop) {
    Editor2D e(test::DefaultLibrary());
    e.editor.SetVisibleArea(300, 200);
    e.editor.SetPdf417Text("Quirbel");
    EXPECT_EQ(e.editor.Preview().Width(), 300);
    EXPECT_EQ(e.editor.Preview().Height(), 200);
    EXPECT_EQ(test::Decode(e.editor.Preview(), ZXing::BarcodeFormat::PDF417).text, "Quirbel");

    e.editor.SetBarWidth(3);
    e.editor.SetPdf417Text(std::string(300, 'Q') + " shelf label");
    TStPDF417Barcode pdf417;
    e.editor.SetUpPdf417(pdf417);
    const int w = pdf417.BarCodeWidth() + 2 * pdf417.QuietZone() + 40;
    const int h = pdf417.BarCodeHeight() + 2 * pdf417.QuietZone() + 40;
    ASSERT_GT(w, 300);
    ASSERT_GT(h, 200);
    EXPECT_EQ(e.editor.Preview().Width(), w);
    EXPECT_EQ(e.editor.Preview().Height(), h);
    // 20 pixels to each side of the quiet zone; the component spreads the other 40 above and below.
    const TBitmap& p = e.editor.Preview();
    int firstDarkX = -1, firstDarkY = -1;
    for (int y = 0; y < p.Height() && firstDarkY < 0; ++y)
        for (int x = 0; x < p.Width(); ++x)
            if (p.Pixel(x, y) == clBlack) {
                firstDarkY = y;
                break;
            }
    for (int x = 0; x < p.Width() && firstDarkX < 0; ++x)
        for (int y = 0; y < p.Height(); ++y)
            if (p.Pixel(x, y) == clBlack) {
                firstDarkX = x;
                break;
            }
    EXPECT_EQ(firstDarkY, 20 + pdf417.QuietZone());
    EXPECT_EQ(firstDarkX, 20 + pdf417.QuietZone());

    e.editor.SetPage(T2DTemplateEditor::TPage::MaxiCode);
    e.editor.SetMaxiCodeText("Quirbel MaxiCode");
    EXPECT_EQ(e.editor.Preview().Width(), 300) << "a small symbol fills the visible area";
    EXPECT_EQ(e.editor.PreviewError(), "");
}

TEST(TemplateEditor2D, RejectedTextShowsTheMessageInsteadOfTheSymbol) {
    Editor2D e(test::DefaultLibrary());
    e.editor.SetColumns(1);
    e.editor.SetRows(3);
    e.editor.SetPdf417Text(std::string(3000, '7'));
    EXPECT_EQ(e.editor.PreviewError(), "Code too large for barcode");
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::TestText);
    e.editor.SetPdf417Text(std::string(3001, '7'));
    EXPECT_TRUE(e.prompts.Messages().empty()) << "no box interrupts the typing";
    EXPECT_EQ(e.editor.Preview().Width(), T2DTemplateEditor::kVisibleWidth);
    // confirming with the text still refused says so and keeps the dialog open
    EXPECT_FALSE(e.editor.Ok());
    ASSERT_EQ(e.prompts.Messages().size(), 1u);
    EXPECT_EQ(e.prompts.Messages()[0].text, "Code too large for barcode");
    e.editor.SetPdf417Text("ok");
    EXPECT_EQ(e.editor.PreviewError(), "");
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::None);
    EXPECT_TRUE(e.editor.Ok());
}

TEST(TemplateEditor2D, CarrierDataOutOfRangeIsShownBesideItsField) {
    Editor2D e(test::DefaultLibrary());
    e.editor.PrepareOpening(T2DTemplateEditor::TPage::MaxiCode, "Parcel");
    e.editor.Show();
    e.editor.SetModeText("2");
    e.editor.SetPostalCode("1523828021");
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::PostalCode);
    EXPECT_EQ(e.editor.PreviewError(), "Invalid Postal Code \"1523828021\": mode 2 takes 1 to 9 digits.");
    e.editor.SetPostalCode("152382802");
    e.editor.SetCountry(1840);
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::Country);
    e.editor.SetCountry(840);
    e.editor.SetServiceClass(1000);
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::ServiceClass);
    e.editor.SetServiceClass(1);
    EXPECT_EQ(e.editor.PreviewError(), "");
    e.editor.SetPostalCode("W1A 1AA");
    EXPECT_EQ(e.editor.PreviewError(), "Invalid Postal Code \"W1A 1AA\": mode 2 takes digits only; mode 3 "
                                       "takes letters (up to 6 characters).");
    e.editor.SetModeText("3");
    EXPECT_EQ(e.editor.PreviewErrorField(), T2DTemplateEditor::TProblemField::PostalCode);
    e.editor.SetPostalCode("W1A1AA");
    EXPECT_EQ(e.editor.PreviewError(), "");
    EXPECT_TRUE(e.prompts.Messages().empty());
}

TEST(TemplateEditor2D, CancelPutsTheControlsAndTheLibraryBack) {
    Editor2D e(test::DefaultLibrary());
    const std::string path = e.editor.LibraryPath();
    T2DSettings project = e.editor.Settings();
    project.MMode = 0;
    project.MPST = "152382802";
    project.MCON = 840;
    e.editor.PrepareOpening(T2DTemplateEditor::TPage::MaxiCode, "Parcel", project);
    EXPECT_EQ(e.editor.PostalCode(), "152382802") << "the project's settings are shown";
    const std::string before = test::ReadWholeFile(path);
    e.editor.SetCountry(124);
    e.editor.SetBarWidth(3);
    ASSERT_TRUE(e.editor.Save2DSettings()); // leaving a field writes the library
    EXPECT_NE(test::ReadWholeFile(path), before);
    e.editor.Cancel();
    EXPECT_EQ(test::ReadWholeFile(path), before);
    EXPECT_EQ(e.editor.Settings(), project);
}

TEST(TemplateEditor2D, FailedWriteKeepsTheDialogOpen) {
    Editor2D e(test::DefaultLibrary());
    const std::string path = e.editor.LibraryPath();
    test::BreakLibraryFolder(path);
    EXPECT_FALSE(e.editor.Ok());
    ASSERT_EQ(e.prompts.Messages().size(), 1u);
    EXPECT_EQ(e.prompts.Messages()[0].text, "Unable to write to " + path);
}

} // namespace
} // namespace qbm
