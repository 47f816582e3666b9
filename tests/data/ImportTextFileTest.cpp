// Text files as office suites and editors write them: encodings, byte-order marks, and the CSV
// structure of quoted line breaks, doubled quotes and empty rows.
#include "data/DatasheetImport.h"
#include "data/DelimitedTextReader.h"
#include "data/TDatasheet.h"
#include "data/TextEncoding.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;
using qbm::test::WriteFile;

namespace {

TImportResult Import(TDatasheet& sheet, const std::string& path, const TTextImportChoices& choices = {}) {
    TScriptedPrompts prompts;
    TImportOptions options;
    options.text = choices;
    const TImportResult result = ImportData(sheet, path, prompts, nullptr, options);
    EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front().text;
    return result;
}

// UTF-16 bytes of ASCII-and-BMP text given as UTF-8, with the mark first.
std::string Utf16(std::u16string_view text, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes += littleEndian ? lo : hi;
        bytes += littleEndian ? hi : lo;
    }
    return bytes;
}

} // namespace

TEST(TextEncoding, MarkOrValidityDecides) {
    struct Case {
        std::string sample;
        TTextEncoding encoding;
        size_t bom;
    };
    const Case kCases[] = {
        /* 0 */ {"Code;Name\n1;K\xC3\xA4se\n", TTextEncoding::teUtf8, 0},
        /* 1 */
        {"\xEF\xBB\xBF"
         "Code",
         TTextEncoding::teUtf8, 3},
        /* 2 */
        {"\xFF\xFE"
         "C\0",
         TTextEncoding::teUtf16LE, 2},
        /* 3 */ {"\xFE\xFF\0C", TTextEncoding::teUtf16BE, 2},
        /* 4 */ {"1;K\xE4se\n", TTextEncoding::teWindows1252, 0}, // Latin-1 bytes are no UTF-8
        /* 5 */ {"\x80 \x93quoted\x94", TTextEncoding::teWindows1252, 0},
        /* 6 */ {"plain ASCII", TTextEncoding::teUtf8, 0},
        /* 7 */ {"cut at the end \xE2\x82", TTextEncoding::teUtf8, 0}, // the sample ends inside "€"
        /* 8 */ {"overlong \xC0\xAF", TTextEncoding::teWindows1252, 0},
        /* 9 */ {"surrogate \xED\xA0\x80", TTextEncoding::teWindows1252, 0},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const TDetectedEncoding found = DetectTextEncoding(kCases[i].sample);
        EXPECT_EQ(found.encoding, kCases[i].encoding) << "case " << i;
        EXPECT_EQ(found.bomLength, kCases[i].bom) << "case " << i;
    }
}

TEST(TextEncoding, Windows1252HighCodesAreTheirCharacters) {
    // 0x80 to 0x9F are printable in Windows-1252, not the control codes of Latin-1.
    EXPECT_EQ(DecodeToUtf8("\x80\x82\x84\x85\x8A\x8C\x91\x92\x93\x94\x95\x96\x97\x99\x9F",
                           TTextEncoding::teWindows1252),
              "€‚„…ŠŒ‘’“”•–—™Ÿ");
    EXPECT_EQ(DecodeToUtf8("K\xE4se \xA0\xFF", TTextEncoding::teWindows1252), "Käse \u00A0ÿ");
    // A UTF-8 file with one stray Windows-1252 byte keeps both.
    EXPECT_EQ(DecodeToUtf8("\xE2\x82\xAC 5 \x80", TTextEncoding::teUtf8), "€ 5 €");
    EXPECT_EQ(DecodeToUtf8(Utf16(u"a\U0001F600b", true).substr(2), TTextEncoding::teUtf16LE), "a😀b");
    EXPECT_EQ(DecodeToUtf8(std::string("\xD8\x00", 2), TTextEncoding::teUtf16BE), "\uFFFD");
}

TEST(ImportTextEncoding, EveryKindOfFileReadsAsWritten) {
    struct Case {
        const char* name;
        std::string bytes;
        Cells header, row;
        TTextEncoding encoding;
    };
    const Case kCases[] = {
        /* 0 */ {
            "utf8.csv", "Code;Name\n1;K\xC3\xA4se\n", {"Code", "Name"}, {"1", "Käse"}, TTextEncoding::teUtf8},
        /* 1 */
        {"bom.csv",
         "\xEF\xBB\xBF"
         "Code;Name\r\n2;\xCE\xB1\xCE\xB2\r\n",
         {"Code", "Name"},
         {"2", "αβ"},
         TTextEncoding::teUtf8},
        /* 2 */
        {"ansi.csv",
         "Code;Price\n3;\x80 5\x96\x39\n",
         {"Code", "Price"},
         {"3", "€ 5–9"},
         TTextEncoding::teWindows1252},
        /* 3 */
        {"le.txt",
         Utf16(u"Code\tName\r\n4\t\u65E5\u672C\r\n", true),
         {"Code", "Name"},
         {"4", "日本"},
         TTextEncoding::teUtf16LE},
        /* 4 */
        {"be.txt",
         Utf16(u"Code\tName\n5\t\u00C5se\n", false),
         {"Code", "Name"},
         {"5", "Åse"},
         TTextEncoding::teUtf16BE},
        /* 5 */
        {"emoji.csv",
         "Code,Name\n6,\xF0\x9F\x93\xA6 box\n",
         {"Code", "Name"},
         {"6", "📦 box"},
         TTextEncoding::teUtf8},
    };
    const std::string dir = test::MakeTempDir();
    for (size_t i = 0; i < std::size(kCases); ++i) {
        TDatasheet sheet;
        const TImportResult result = Import(sheet, WriteFile(dir, kCases[i].name, kCases[i].bytes));
        ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << "case " << i;
        EXPECT_EQ(DataRow(sheet, 0), kCases[i].header) << "case " << i;
        EXPECT_EQ(DataRow(sheet, 1), kCases[i].row) << "case " << i;
        ASSERT_TRUE(result.text) << "case " << i;
        EXPECT_EQ(result.text->encoding, kCases[i].encoding) << "case " << i;
    }
}

TEST(ImportTextEncoding, ChosenEncodingAndDelimiterOverrideTheGuess) {
    const std::string dir = test::MakeTempDir();
    // Valid UTF-8 that the user knows to be Windows-1252 text.
    const std::string path = WriteFile(dir, "chosen.csv", "A;B,C\n\xC3\xA4;1,2\n");
    TDatasheet sheet;
    TTextImportChoices choices;
    choices.encoding = TTextEncoding::teWindows1252;
    choices.delimiter = ',';
    Import(sheet, path, choices);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"A;B", "C"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"Ã¤;1", "2"}));

    // Without names in the first row it is data, and the columns are numbered.
    choices = {};
    choices.firstRowHoldsNames = false;
    Import(sheet, path, choices);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Column 1", "Column 2"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"A;B", "C"})); // a tie goes to the comma, the earlier candidate
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"ä;1", "2"}));
}

TEST(ImportCsvStructure, QuotedLineBreaksStayInTheirField) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    const TImportResult result =
        Import(sheet, WriteFile(dir, "multi.csv",
                                "Code,Address,Note\r\n"
                                "1,\"Main St 5\r\n12345 Town\",\"say \"\"hi\"\"\"\r\n"
                                "2,\"a,b\",\"three\nline\n\"\"field\"\"\"\r\n"
                                "3,plain,\"\"\r\n"));
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1", "Main St 5\n12345 Town", "say \"hi\""}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"2", "a,b", "three\nline\n\"field\""}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"3", "plain", ""}));
}

TEST(ImportCsvStructure, EmptyRowsAreSkippedAndCounted) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    const TImportResult result =
        Import(sheet, WriteFile(dir, "gaps.csv", "Code;Name\n\n1;A\n;;\n\r\n2;B\n;\n"));
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(result.emptyRowsSkipped, 4);
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1", "A"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"2", "B"}));
    EXPECT_EQ(result.Summary(), "2 rows imported; 4 empty rows skipped (UTF-8, delimiter ';')");
}

TEST(ImportCsvStructure, UnclosedQuoteTakesTheRestOfTheFile) {
    // As office suites read it: nothing after the open quote is lost, it is all that one field.
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    Import(sheet, WriteFile(dir, "open.csv", "Code;Note\n1;\"open\n2;x\n"));
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1", "\"open\n2;x"}));
}

TEST(ImportCsvStructure, PreviewReadsOnlyTheFirstRecords) {
    const std::string dir = test::MakeTempDir();
    std::string text = "Code\tName\n";
    for (int i = 0; i < 1000; ++i) text += std::to_string(i) + "\tN\n";
    TDatasheet sheet;
    const TTextImportInfo info = PreviewDelimitedTextFile(sheet, WriteFile(dir, "long.txt", text), 5);
    EXPECT_EQ(info.delimiter, '\t');
    EXPECT_EQ(sheet.RowCount(), 5);
    EXPECT_EQ(sheet.Cell(1, 4), "3");
}
