#include "project/CodeValueSources.h"
#include "project/CodeListFile.h"
#include "project/ControlCharMenu.h"
#include "project/TLabelProject.h"
#include "util/Errors.h"

#include "SheetProject.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qbm;

TEST(FieldValue, TrimsBothSidesComparesCaseAndMovesTheCurrentColumn) {
    TLabelProject project = test::ProjectWithThreeRowSheet();
    TDatasheet& sheet = project.Datasheet();
    EXPECT_EQ(FindFieldColumn(sheet, "Code"), 1);
    EXPECT_EQ(FindFieldColumn(sheet, "\tCode  "), 1);
    EXPECT_EQ(FindFieldColumn(sheet, "code"), -1); // unlike the datasheet's own duplicate test
    EXPECT_EQ(FindFieldColumn(sheet, "Missing"), -1);
    EXPECT_EQ(sheet.CurrentColumn(), 1);

    EXPECT_EQ(FieldValue(sheet, "Caption", 3), "third");
    EXPECT_EQ(sheet.CurrentColumn(), 2);
    EXPECT_EQ(FieldValue(sheet, "Code", 1), "123");
    EXPECT_EQ(sheet.CurrentColumn(), 1);
    sheet.SetCurrentColumn(2);
    EXPECT_EQ(FieldValue(sheet, "CODE", 1), "");
    EXPECT_EQ(sheet.CurrentColumn(), 2);
}

TEST(LabelSources, CountsAndValuesOfTheFourSources) {
    TLabelProject project = test::ProjectWithThreeRowSheet();

    // Constant value: the code exactly as typed, every label alike.
    project.SetFixedCode(" 12 ");
    project.SetExtCaption("cap");
    project.SetFixedCodeAmount(3);
    EXPECT_EQ(LabelCount(project), 3);
    EXPECT_EQ(LabelValue(project, 2).code, " 12 ");
    EXPECT_EQ(LabelValue(project, 2).caption, "cap");

    // Datasheet: one label per data row, empty rows included, fields trimmed.
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetCodeField(1);
    project.SetCapField(2);
    EXPECT_EQ(LabelCount(project), 3);
    EXPECT_EQ(LabelValue(project, 0).code, "123");
    EXPECT_EQ(LabelValue(project, 1).code, "");
    EXPECT_EQ(LabelValue(project, 1).caption, "second");
    EXPECT_EQ(LabelValue(project, 2).code, "456");
    EXPECT_EQ(LabelValue(project, 2).caption, "third");
    project.SetCodeField(0); // the placeholder: no field chosen, empty values
    EXPECT_EQ(LabelValue(project, 0).code, "");

    // 2D code list: trimmed entries, empty ones are labels too.
    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsCodeList);
    project.CodeList2D() = {"  a b  ", "", "\tc\r\n"};
    EXPECT_EQ(LabelCount(project), 3);
    EXPECT_EQ(LabelValue(project, 0).code, "a b");
    EXPECT_EQ(LabelValue(project, 1).code, "");
    EXPECT_EQ(LabelValue(project, 2).code, "c");
    EXPECT_EQ(Current2DText(project), "  a b  ");

    // Fixed text: lines joined by CR LF, trimmed around.
    project.SetSource2D(T2DSource::tsFixedText);
    project.SetText2D("\r\nline1\r\nline2\r\n");
    project.SetAmount2D(2);
    EXPECT_EQ(LabelCount(project), 2);
    EXPECT_EQ(LabelValue(project, 1).code, "line1\r\nline2");
    EXPECT_EQ(Current2DText(project), "\r\nline1\r\nline2\r\n");
    EXPECT_EQ(LabelValue(project, 2).code, ""); // past the last label
}

TEST(ValidateCode, NumericLengthAndCode93Rules) {
    struct Case {
        TBarcodeType type;
        std::string_view text;
        bool valid;
    };
    const Case cases[] = {
        /* 0 */ {bcCodeEAN13, "123456789012", true},
        /* 1 */ {bcCodeEAN13, "12345678901234", false},
        /* 2 */ {bcCodeEAN13, "12345A", false},
        /* 3 */ {bcCodeEAN8, " 123 ", true}, // trimmed before the test
        /* 4 */ {bcCodeEAN8, "123456789", false},
        /* 5 */ {bcCodeUPC_Supp2, "1234567890", true}, // ten, not two
        /* 6 */ {bcCodeUPC_Supp2, "12345678901", false},
        /* 7 */ {bcCode39, "abc lower", true}, // not checked at this stage
        /* 8 */ {bcCode93, "CODE 93", true},
        /* 9 */ {bcCode93, "lower", false}, // the encoder refuses it
        /* 10 */ {bcCode93Extended, "lower", true},
        /* 11 */ {bcCode128C, "", true}, // empty passes
        /* 12 */ {bcCodePostNet, "12-34", false},
        /* 13 */ {bcCode128A, std::string_view("AB\x03", 3), true},
        /* 14 */ {bcCodeEAN13, std::string_view("1234567890123\x0d", 14), true}, // trailing control unseen
        // EAN-128 trade item numbers and shipping codes: 13 or 17 digits before the computed check digit
        /* 15 */ {bcCodeEAN128C, "0112345678901", false},
        /* 16 */ {bcCodeEAN128C, " 011234567890123 ", true},
        /* 17 */ {bcCodeEAN128C, "001234567890123456", false},
        /* 18 */ {bcCodeEAN128C, "0012345678901234567", true},
        /* 19 */ {bcCodeEAN128C, "10123", true},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ValidateCode(cases[i].text, cases[i].type), cases[i].valid) << "case " << i;
    EXPECT_EQ(InvalidCodeMessage(bcCodeEAN13), "Invild code data of EAN13 format!");
    EXPECT_EQ(InvalidCodeMessage(bcCodeCodabar), "Invild code data of Codebar format!");
}

// GS1 DataBar and Intelligent Mail values are checked by their encoder, which says what is wrong.
TEST(CodeProblem, SymbolTypesAskTheirEncoder) {
    struct Case {
        TBarcodeType type;
        std::string_view text;
        std::string_view problem;
    };
    const Case cases[] = {
        /* 0 */ {bcCodeDataBar, " 0950110153000 ", ""},
        /* 1 */
        {bcCodeDataBar, "095011015300", "GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"},
        /* 2 */ {bcCodeDataBarStacked, "(01)09501101530003", ""},
        /* 3 */ {bcCodeDataBarLimited, "1950110153000", ""},
        /* 4 */
        {bcCodeDataBarLimited, "2950110153000",
         "GS1 DataBar Limited: Input out of range (0 to 1999999999999)"},
        /* 5 */ {bcCodeDataBarExpanded, "(01)09501101530003(17)251231", ""},
        /* 6 */
        {bcCodeDataBarExpanded, "(01)09501101530003(17)251331", "GS1 (17) is not a date (YYMMDD): 251331"},
        /* 7 */ {bcCodeIMb, "0123456709498765432101234", ""},
        /* 8 */
        {bcCodeIMb, "012345670949876543210123",
         "Intelligent Mail: Invalid length for ZIP code (5, 9 or 11 characters required)"},
        /* 9 */ {bcCodeDataBar, "", "GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"},
        /* 10 */ {bcCodeIMb, "", "Intelligent Mail: there is no text to encode"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(CodeProblem(c.text, c.type, false), c.problem) << "case " << i;
        EXPECT_EQ(ValidateCode(c.text, c.type), c.problem.empty()) << "case " << i;
    }
}

TEST(ControlCharMenu, OfferedPerSymbologyWithTheBytesItAppends) {
    EXPECT_EQ(ControlCharMenuFor(bcCode128A).showSubmenus, true);
    EXPECT_EQ(ControlCharMenuFor(bcCode128A).showDel, false);
    EXPECT_EQ(ControlCharMenuFor(bcCode39Extended).hint, "Right Click to Inser Special Code");
    EXPECT_EQ(ControlCharMenuFor(bcCode128B).showSubmenus, false);
    EXPECT_EQ(ControlCharMenuFor(bcCode128B).showDel, true);
    EXPECT_FALSE(ControlCharMenuFor(bcCodeEAN13).attached);
    EXPECT_TRUE(ControlCharMenuFor(bcCodeEAN13).hint.empty());

    const auto& submenus = ControlCharSubmenus();
    EXPECT_EQ(submenus[0].caption, "ASCII 00-10");
    ASSERT_EQ(submenus[0].entries.size(), 11u);
    ASSERT_EQ(submenus[1].entries.size(), 10u);
    ASSERT_EQ(submenus[2].entries.size(), 11u);
    EXPECT_EQ(submenus[0].entries[0].caption, "00 - NULL");
    EXPECT_EQ(AppendControlChar("AB", submenus[0].entries[0]), "AB\x80");
    EXPECT_EQ(submenus[0].entries[10].caption, "10 - LF");
    EXPECT_EQ(submenus[1].entries[2].caption, "13 - CR");
    EXPECT_EQ(submenus[1].entries[2].appends, '\r');
    EXPECT_EQ(submenus[2].entries[10].caption, "31 - US");
    EXPECT_EQ(submenus[2].entries[10].appends, '\x1f');
    EXPECT_EQ(AppendControlChar("x", ControlCharDel()), "x\x7f");
}

TEST(CodeListFile, OneEntryPerLineEmptyLinesIncluded) {
    EXPECT_EQ(SplitCodeLines("a\r\n\r\nb\nc\rd"), (std::vector<std::string>{"a", "", "b", "c", "d"}));
    EXPECT_EQ(SplitCodeLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitCodeLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitCodeLines("").empty());

    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/codes.txt";
    std::ofstream(path, std::ios::binary) << " 001 \r\n\r\n002\r\n";
    std::vector<std::string> list = {"old"};
    ImportCodeList(path, list);
    EXPECT_EQ(list, (std::vector<std::string>{" 001 ", "", "002"}));

    list = {"old"};
    EXPECT_THROW(ImportCodeList(dir + "/missing.txt", list), EInOutError);
    EXPECT_TRUE(list.empty());

    // Files in the encodings text files come in: the list holds UTF-8; linear lists Latin-1.
    const struct {
        std::string bytes;
        std::vector<std::string> utf8, latin1;
    } files[] = {
        {"K\xC3\xA4se\r\n\xCE\xA9\r\n", {"K\u00E4se", "\u03A9"}, {"K\xE4se", "?"}}, // UTF-8
        {"\xEF\xBB\xBFK\xC3\xA4se\n", {"K\u00E4se"}, {"K\xE4se"}},                  // with its mark
        {"K\xE4se \x80\r\n", {"K\u00E4se \u20AC"}, {"K\xE4se ?"}},                  // Windows-1252
        {std::string("\xFF\xFEK\0\xE4\0\r\0\n\0", 10), {"K\u00E4"}, {"K\xE4"}},     // UTF-16 LE
    };
    for (const auto& f : files) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << f.bytes;
        ImportCodeList(path, list);
        EXPECT_EQ(list, f.utf8);
        ImportCodeList(path, list, TCodeListText::ctLatin1);
        EXPECT_EQ(list, f.latin1);
    }
}

TEST(LabelProject, ControlsRangesAndTheNewCommand) {
    TLabelProject project;
    project.SetLinage(0);
    EXPECT_EQ(project.Linage(), 1);
    project.SetLinage(31);
    EXPECT_EQ(project.Linage(), 30);
    project.SetColumn(51);
    EXPECT_EQ(project.Column(), 50);
    project.SetMarginTop(-1);
    EXPECT_EQ(project.MarginTop(), 0);
    project.SetMarginBottom(801);
    EXPECT_EQ(project.MarginBottom(), 800);
    project.SetFixedCodeAmount(0);
    EXPECT_EQ(project.FixedCodeAmount(), 1);
    project.SetAmount2D(1'000'000'000);
    EXPECT_EQ(project.Amount2D(), 999'999'999);

    project.SetTemplateName("EAN13");
    project.SetExtCaption("keep");
    project.SetSource2D(T2DSource::tsCodeList);
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetFixedCode("x");
    project.SetFormat2D(1);
    project.CodeList2D() = {"a"};
    project.LinearCodeList() = {"b"};
    project.SetSplitMarks(false);
    project.Datasheet().SetCell(1, 1, "stays");
    project.NewProject();
    EXPECT_EQ(project.TemplateName(), "EAN13");
    EXPECT_EQ(project.ExtCaption(), "keep");
    EXPECT_EQ(project.Source2D(), T2DSource::tsCodeList);
    EXPECT_EQ(project.LinearSource(), TLinearSource::lsConstant);
    EXPECT_EQ(project.FixedCode(), "");
    EXPECT_EQ(project.Format2DName(), "PDF417 Format");
    EXPECT_TRUE(project.CodeList2D().empty());
    EXPECT_TRUE(project.LinearCodeList().empty());
    EXPECT_TRUE(project.SplitMarks());
    EXPECT_EQ(project.Linage(), 2);
    EXPECT_EQ(project.Column(), 2);
    EXPECT_EQ(project.FixedCodeAmount(), 1);
    EXPECT_EQ(project.Datasheet().Cell(1, 1), "stays");
}

TEST(LabelSources, FieldChoicesFollowTheirNamesAcrossTheDatasheetWindow) {
    TLabelProject project = test::ProjectWithThreeRowSheet();
    project.SetCodeField(2);
    project.SetCapField(0);
    const TNotedFields noted = NoteFieldChoices(project);
    EXPECT_EQ(noted.code, "Caption");
    EXPECT_EQ(noted.caption, "");

    // The window moves "Caption" to the front and adds a column.
    TDatasheet& sheet = project.Datasheet();
    sheet.MoveColumn(2, 1);
    sheet.AddColumn("New");
    RestoreFieldChoices(project, noted);
    EXPECT_EQ(project.FieldList(),
              (std::vector<std::string>{"Please choose the data field ...", "Caption", " Code ", "New"}));
    EXPECT_EQ(project.CodeField(), 1);
    EXPECT_EQ(project.CapField(), 0);

    // A renamed column is no longer found: the placeholder is selected.
    sheet.SetCurrentColumn(1);
    sheet.RenameCurrentColumn("Label");
    RestoreFieldChoices(project, NoteFieldChoices(project));
    EXPECT_EQ(project.CodeField(), 0);
}
