#include "templates/TTemplateEditor.h"

#include "EditorTestSupport.h"
#include "templates/TTemplate.h"
#include "templates/TemplatePreview.h"
#include "util/TUserPrompts.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

using test::SectionKeys;

struct Editor {
    explicit Editor(std::string path, int preselected = 0) : editor(std::move(path), prompts) {
        editor.SetPreselected(preselected);
        editor.SetOnPreviewChanged([this] { ++redraws; });
    }
    std::string Path() const { return editor.LibraryPath(); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : prompts.Messages()) texts.push_back(m.text);
        return texts;
    }
    TScriptedPrompts prompts;
    TTemplateEditor editor;
    int redraws = 0;
};

// The rows, top to bottom, that hold a dark pixel; and the columns.
struct DarkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
DarkBox DarkArea(const TBitmap& b) {
    DarkBox box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (RedOf(b.Pixel(x, y)) + GreenOf(b.Pixel(x, y)) < 256) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
            }
    return box;
}

int RedPixels(const TBitmap& b) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (RedOf(b.Pixel(x, y)) > 150 && GreenOf(b.Pixel(x, y)) < 100) ++n;
    return n;
}

TEST(TemplateEditor, DefaultTemplateShowsEditorDefaultsAndLeavingWritesThem) {
    Editor e(test::DefaultLibrary(), 14);
    e.editor.Show();
    ASSERT_EQ(e.editor.SelectedName(), "EAN13 (ISBN)");
    EXPECT_EQ(e.editor.Names().size(), 23u) << "the 2D section is not a template";
    EXPECT_EQ(e.editor.BarWidth(), 50) << "the default templates carry no bar width";
    EXPECT_EQ(e.editor.BarHeight(), 30);
    EXPECT_EQ(e.editor.CodeType(), 14);
    EXPECT_EQ(e.editor.TextLayout(), 3);
    EXPECT_EQ(ReadTemplate(TIniFile(e.Path()), "EAN13 (ISBN)").BarWidth, 64);
    ASSERT_TRUE(e.editor.SaveTemplate());
    EXPECT_EQ(TIniFile(e.Path()).ReadString("EAN13 (ISBN)", "BarWidth", ""), "50");
    EXPECT_EQ(ReadTemplate(TIniFile(e.Path()), "EAN13 (ISBN)").BarWidth, 50) << "now prints with 0.5 mm";
    EXPECT_EQ(e.editor.Preselected(), 14);
}

TEST(TemplateEditor, CancelPutsTheLibraryBackAsItWasWhenTheEditorShowed) {
    Editor e(test::DefaultLibrary(), 14);
    const std::string before = test::ReadWholeFile(e.Path());
    e.editor.Show();
    e.editor.SetBarHeight(12);
    ASSERT_TRUE(e.editor.SaveTemplate());
    e.prompts.QueueInput(std::string("Shelf"));
    e.editor.AddNew();
    ASSERT_NE(test::ReadWholeFile(e.Path()), before);
    EXPECT_TRUE(e.editor.Cancel());
    EXPECT_EQ(test::ReadWholeFile(e.Path()), before);

    // Changes kept with OK stay; a later Cancel goes back to them only.
    e.editor.Show();
    e.editor.SetBarHeight(20);
    ASSERT_TRUE(e.editor.Ok());
    const std::string kept = test::ReadWholeFile(e.Path());
    e.editor.Show();
    e.editor.SetBarHeight(5);
    e.editor.SaveTemplate();
    EXPECT_TRUE(e.editor.Cancel());
    EXPECT_EQ(test::ReadWholeFile(e.Path()), kept);
    EXPECT_EQ(ReadTemplate(TIniFile(e.Path()), "EAN13 (ISBN)").Height, 20);
}

TEST(TemplateEditor, PreselectionBeyondTheListSelectsNothing) {
    Editor e(test::DefaultLibrary(), 23);
    e.editor.Show();
    EXPECT_EQ(e.editor.Selected(), -1);
    const std::string before = test::ReadWholeFile(e.Path());
    EXPECT_TRUE(e.editor.SaveTemplate());
    EXPECT_EQ(test::ReadWholeFile(e.Path()), before) << "nothing written without a selection";
}

TEST(TemplateEditor, SavesInKeyOrderAndFontsOnlyAfterAChoice) {
    Editor e(test::LibraryWith("[Shelf]\r\nCreate Time=10:00:00\r\n"));
    e.editor.Show();
    e.editor.SetBarWidth(33);
    ASSERT_TRUE(e.editor.SaveTemplate());
    EXPECT_EQ(SectionKeys(e.Path(), "Shelf"), (TStrings{"Create Time", "CodeType", "ExtCaptionPosition",
                                                        "TextLayout", "Height", "BarWidth", "CheckSum"}));

    Editor fresh(test::LibraryWith("[Shelf]\r\nCreate Time=10:00:00\r\n"));
    fresh.editor.Show();
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetSize(11);
    font.SetStyle(fsBold | fsItalic);
    fresh.editor.ChooseCodeFont(font);
    EXPECT_FALSE(fresh.editor.CodeFontChosen()) << "the mark clears once written";
    EXPECT_EQ(SectionKeys(fresh.Path(), "Shelf"),
              (TStrings{"Create Time", "CodeType", "CFontName", "CFontSize", "CFontStyle",
                        "ExtCaptionPosition", "TextLayout", "Height", "BarWidth", "CheckSum"}));
    TIniFile library(fresh.Path());
    EXPECT_EQ(library.ReadString("Shelf", "CFontName", ""), "DejaVu Sans");
    EXPECT_EQ(library.ReadInteger("Shelf", "CFontSize", 0), 11);
    EXPECT_EQ(library.ReadString("Shelf", "CFontStyle", ""), "IB");

    // Later saves leave the fonts alone until the next choice.
    library.WriteString("Shelf", "CFontName", "Edited by hand");
    ASSERT_TRUE(fresh.editor.SaveTemplate());
    EXPECT_EQ(library.ReadString("Shelf", "CFontName", ""), "Edited by hand");
    fresh.editor.ChooseCaptionFont(font);
    EXPECT_EQ(library.ReadString("Shelf", "XFontStyle", ""), "IB");
    EXPECT_EQ(library.ReadString("Shelf", "CFontName", ""), "Edited by hand");
}

TEST(TemplateEditor, AddNewChecksTheName) {
    struct Case {
        std::optional<std::string> answer;
        std::string message; // empty: none shown
        bool listChanges;
    };
    const Case cases[] = {
        /* 0 */ {"Barcode2D", "Barcode2D is reserved words! Please input another one!", false},
        /* 1 */ {"barcode2d", "Template name: barcode2d has been exist!", false}, // the 2D section exists
        /* 2 */ {"code39", "Template name: code39 has been exist!", false},
        /* 3 */ {"   ", "", false},
        /* 4 */ {std::nullopt, "", false},
        /* 5 */ {"  Shelf A ", "", true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        Editor e(test::DefaultLibrary(), 3);
        e.editor.Show();
        e.editor.SetBarWidth(77);
        e.editor.SetTestCode("ABC");
        e.prompts.QueueInput(c.answer);
        ASSERT_TRUE(e.editor.AddNew()) << i;
        std::vector<std::string> texts = e.Texts();
        ASSERT_EQ(texts.at(0), "New Template: Please name this Template") << i;
        texts.erase(texts.begin());
        EXPECT_EQ(texts, c.message.empty() ? std::vector<std::string>{} : std::vector{c.message}) << i;
        EXPECT_EQ(e.editor.Names().size(), c.listChanges ? 24u : 23u) << i;
        if (!c.listChanges) continue;
        EXPECT_EQ(e.editor.Names().back(), "Shelf A");
        EXPECT_EQ(e.editor.Selected(), 23);
        EXPECT_EQ(SectionKeys(e.Path(), "Shelf A"), TStrings{"Create Time"});
        EXPECT_EQ(e.editor.TestCode(), "");
        EXPECT_EQ(e.editor.CodeType(), 0);
        EXPECT_EQ(e.editor.BarHeight(), 30);
        EXPECT_FALSE(e.editor.CheckSum());
        EXPECT_EQ(e.editor.BarWidth(), 77) << "kept from the template shown before";
        ASSERT_TRUE(e.editor.SaveTemplate());
        EXPECT_EQ(TIniFile(e.Path()).ReadInteger("Shelf A", "BarWidth", 0), 77);
    }
}

TEST(TemplateEditor, DeleteDownToAnEmptyList) {
    Editor e(test::LibraryWith(
        "[A]\r\nCodeType=3\r\n[Barcode2D]\r\nPECC=3\r\n[B]\r\nCodeType=14\r\nBarWidth=40\r\n"));
    e.editor.Show();
    ASSERT_EQ(e.editor.Names(), (TStrings{"A", "B"}));
    ASSERT_TRUE(e.editor.Delete());
    EXPECT_EQ(e.editor.Names(), TStrings{"B"});
    EXPECT_EQ(e.editor.SelectedName(), "B");
    EXPECT_EQ(e.editor.BarWidth(), 40) << "the remaining template is loaded";
    ASSERT_TRUE(e.editor.Delete());
    EXPECT_TRUE(e.editor.Names().empty());
    EXPECT_EQ(e.editor.Selected(), -1);
    const std::string left = test::ReadWholeFile(e.Path());
    EXPECT_EQ(left, "[Barcode2D]\r\nPECC=3\r\n");
    EXPECT_TRUE(e.editor.Delete());
    EXPECT_TRUE(e.editor.Ok());
    EXPECT_EQ(test::ReadWholeFile(e.Path()), left) << "later saves write nothing";
}

TEST(TemplateEditor, FailedWriteIsShownAndKeepsTheDialogOpen) {
    Editor e(test::DefaultLibrary());
    e.editor.Show();
    const std::string path = e.Path();
    test::BreakLibraryFolder(path);
    EXPECT_FALSE(e.editor.Ok());
    e.prompts.QueueInput("New one");
    EXPECT_FALSE(e.editor.AddNew());
    EXPECT_EQ(e.Texts(), (std::vector<std::string>{"Unable to write to " + path,
                                                   "New Template: Please name this Template",
                                                   "Unable to write to " + path}));
}

TEST(TemplateEditor, Matrix25WithoutTestCodeDraws123) {
    Editor e(test::DefaultLibrary());
    e.editor.Show();
    e.editor.SetTestCode("  ");
    EXPECT_EQ(e.editor.TestCode(), "  ");
    e.editor.SetCodeType(2);
    EXPECT_EQ(e.editor.TestCode(), "123");
    EXPECT_EQ(e.editor.Barcode().Text(), "123");
    e.editor.SetTestCode("");
    EXPECT_EQ(e.editor.TestCode(), "123");
}

TEST(TemplateEditor, EveryChangeRedrawsAndLayoutNoneHidesTheText) {
    Editor e(
        test::LibraryWith("[T]\r\nCodeType=14\r\nTextLayout=0\r\n[N]\r\nCodeType=14\r\nTextLayout=3\r\n"));
    e.editor.Show();
    const std::function<void()> changes[] = {
        [&] { e.editor.SetTestCode("590123412345"); },
        [&] { e.editor.SetTestCaption("Shelf"); },
        [&] { e.editor.SetCaptionPosition(1); },
        [&] { e.editor.SetCodeType(13); },
        [&] { e.editor.SetTextLayout(2); },
        [&] { e.editor.SetBarHeight(20); },
        [&] { e.editor.SetBarWidth(30); },
        [&] { e.editor.SetCheckSum(true); },
        [&] { e.editor.ChooseCodeFont(TFont()); },
        [&] { e.editor.ChooseCaptionFont(TFont()); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        const int before = e.redraws;
        changes[i]();
        EXPECT_GT(e.redraws, before) << i;
    }
    EXPECT_EQ(e.editor.Barcode().ShowText(), bcoCode);
    e.editor.SelectTemplate(1);
    EXPECT_EQ(e.editor.Barcode().ShowText(), bcoNone) << "the preview follows the stored layout";
}

TEST(TemplateEditor, PreviewShrinksThePrinterDrawingToScreenScale) {
    for (const int dpi : {300, 600}) {
        Editor e(test::LibraryWith("[EAN]\r\nCodeType=14\r\nTextLayout=2\r\nHeight=20\r\nBarWidth=50\r\n"));
        e.editor.SetPrinterResolution(dpi);
        e.editor.Show();
        e.editor.SetTestCode("5901234123457");
        const TBitmap& preview = e.editor.Preview();
        ASSERT_EQ(preview.Width(), kTemplatePreviewWidth);
        ASSERT_EQ(preview.Height(), kTemplatePreviewHeight);
        // 20 mm of bars at 96 pixels per inch, 95 modules of 0.33 mm, whatever the printer.
        const DarkBox box = DarkArea(preview);
        EXPECT_NEAR(box.right - box.left + 1, 95 * 0.5 / 25.4 * 96, 4) << dpi;
        EXPECT_NEAR(box.bottom - box.top + 1, 20 / 25.4 * 96 + 8, 10) << dpi << ": bars and code text";
        const int leftGap = box.left, rightGap = kTemplatePreviewWidth - 1 - box.right;
        EXPECT_NEAR(leftGap, rightGap, 12) << dpi << ": centred";
        EXPECT_EQ(test::Decode(preview, ZXing::BarcodeFormat::EAN13).text, "5901234123457") << dpi;
    }
}

TEST(TemplateEditor, UncodableTestCodeIsShownWithoutABoxUntilConfirmed) {
    Editor e(test::LibraryWith("[EAN]\r\nCodeType=14\r\n"));
    e.editor.Show();
    e.editor.SetTestCode("12A");
    EXPECT_EQ(e.editor.PreviewError(), "Barcode must be numeric");
    e.editor.SetTestCode("12AB");
    EXPECT_TRUE(e.Texts().empty()) << "no box interrupts the typing";
    EXPECT_EQ(e.editor.TestCode(), "12AB") << "nothing typed is lost";
    EXPECT_FALSE(e.editor.Ok());
    EXPECT_EQ(e.Texts(), std::vector<std::string>{"Barcode must be numeric"});
    EXPECT_EQ(DarkArea(e.editor.Preview()).right, -1) << "no bars, only the message";
    EXPECT_GT(RedPixels(e.editor.Preview()), 20) << "the message is written in the picture";
    e.editor.SetTestCode("123");
    EXPECT_EQ(e.editor.PreviewError(), "");
    EXPECT_GT(DarkArea(e.editor.Preview()).right, 0);
    EXPECT_TRUE(e.editor.Ok());
}

} // namespace
} // namespace qbm

namespace qbm {
namespace {

// The format list: the types up to EAN128C at their ordinals, then GS1 DataBar and Intelligent Mail,
// stored with their own ordinals; Code128Auto, which the list never held, still selects nothing.
TEST(TemplateEditor, FormatListEndsWithTheSymbolTypesStoredAtTheirOrdinals) {
    const TStrings& items = TTemplateEditor::FormatItems();
    ASSERT_EQ(items.size(), 28u);
    EXPECT_EQ(items[22], "EAN128C");
    EXPECT_EQ(TStrings(items.begin() + 23, items.end()),
              (TStrings{"GS1 DataBar", "GS1 DataBar Stacked", "GS1 DataBar Limited", "GS1 DataBar Expanded",
                        "Intelligent Mail"}));
    const struct {
        int codeType, index;
    } kPairs[] = {{0, 0}, {22, 22}, {23, -1}, {24, 23}, {28, 27}, {29, -1}, {-1, -1}};
    for (const auto& p : kPairs) {
        EXPECT_EQ(TTemplateEditor::FormatIndexOf(p.codeType), p.index) << p.codeType;
        if (p.index >= 0) {
            EXPECT_EQ(TTemplateEditor::CodeTypeAt(p.index), p.codeType) << p.index;
        }
    }
    EXPECT_EQ(TTemplateEditor::CodeTypeAt(28), -1);

    Editor e(
        test::LibraryWith("[Shelf]\r\nCodeType=3\r\n[Auto]\r\nCodeType=23\r\n[Mail]\r\nCodeType=28\r\n"));
    e.editor.Show();
    e.editor.SetFormatIndex(26);
    e.editor.SetTestCode("(01)09501101530003(17)251231");
    EXPECT_EQ(e.editor.CodeType(), bcCodeDataBarExpanded);
    EXPECT_EQ(e.editor.PreviewError(), "");
    ASSERT_TRUE(e.editor.SaveTemplate());
    EXPECT_EQ(TIniFile(e.Path()).ReadString("Shelf", "CodeType", ""), "27");
    e.editor.SelectTemplate(1);
    EXPECT_EQ(e.editor.FormatIndex(), -1);
    e.editor.SelectTemplate(2);
    EXPECT_EQ(e.editor.CodeType(), bcCodeIMb);
    EXPECT_EQ(e.editor.FormatIndex(), 27);
}

// The symbol encoders' message is shown beside the test code, and OK reports it.
TEST(TemplateEditor, SymbolTypesShowTheEncodersMessageForAnUncodableTestCode) {
    Editor e(test::LibraryWith("[Small]\r\nCodeType=26\r\nTextLayout=2\r\n"));
    e.editor.Show();
    e.editor.SetTestCode("2950110153000");
    EXPECT_EQ(e.editor.PreviewError(), "GS1 DataBar Limited: Input out of range (0 to 1999999999999)");
    EXPECT_FALSE(e.editor.Ok());
    EXPECT_EQ(e.Texts(),
              (std::vector<std::string>{"GS1 DataBar Limited: Input out of range (0 to 1999999999999)"}));
    e.editor.SetTestCode("1950110153000");
    EXPECT_EQ(e.editor.PreviewError(), "");
    EXPECT_GT(DarkArea(e.editor.Preview()).right, 0);
}

} // namespace
} // namespace qbm
