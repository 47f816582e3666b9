#include "data/DatasheetImport.h"
#include "data/DelimitedTextReader.h"
#include "data/TDatasheet.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;
using qbm::test::WriteFile;

namespace {

TImportResult Import(TDatasheet& sheet, const std::string& path) {
    TScriptedPrompts prompts;
    return ImportData(sheet, path, prompts, nullptr);
}

} // namespace

TEST(DelimiterDetection, FollowsTheCandidateRules) {
    struct Case {
        const char* first;
        const char* second;
        char delimiter;
    };
    const Case kCases[] = {
        /* 0 */ {"Code;Name", "123;Box", ';'},
        /* 1 */ {"a\tb\tc", "1\t2\t3", '\t'},
        /* 2 */ {"Code", "A-1", '-'},        // no agreement: the most frequent in either line
        /* 3 */ {"Code", "4711", '\0'},      // nothing to split on
        /* 4 */ {"a--b;c", "1--2;3", ';'},   // even runs do not separate
        /* 5 */ {"a,,b", "c,d,e", ','},      // agrees only on plain counts
        /* 6 */ {"a;b;c", "x,y", ';'},       // neither agrees: the greatest count wins
        /* 7 */ {"a;b", "x,y", ','},         // a tie goes to the earlier candidate
        /* 8 */ {"a,b|c|d", "1,2|3|4", '|'}, // the most frequent agreeing one
        /* 9 */ {"a,b", "1,2,3", ','},       // step 3 with one line longer
        /* 10 */ {"a&b+c", "1&2+3", '+'},    // equal counts: the earlier in the candidate order
        /* 11 */ {"x,y", "", ','},           // a one-line file
    };
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(DetectDelimiter(kCases[i].first, kCases[i].second), kCases[i].delimiter) << "case " << i;
}

TEST(DelimitedLine, QuotesEmptyFieldsAndLineBreaks) {
    struct Case {
        std::string line;
        char delimiter;
        Cells fields;
    };
    const Case kCases[] = {
        /* 0 */ {"\"a;b\";c", ';', {"a;b", "c"}},
        /* 1 */ {"x;\"a;b\"", ';', {"x", "a;b"}},
        /* 2 */ {"\"say \"\"hi\"\"\";2", ';', {"say \"hi\"", "2"}},
        /* 3 */ {"a\"\"b;c", ';', {"a\"b", "c"}},
        /* 4 */ {"a;b;", ';', {"a", "b"}}, // nothing after the last delimiter
        /* 5 */ {"a;;b", ';', {"a", "", "b"}},
        /* 6 */ {";a", ';', {"", "a"}},
        /* 7 */ {"a;;", ';', {"a", ""}},
        /* 8 */ {"line1\vline2;x", ';', {"line1\r\nline2", "x"}},
        /* 9 */ {"\"one\vtwo\"", ';', {"one\r\ntwo"}},
        /* 10 */ {"\"open;x", ';', {"\"open;x"}}, // no closing quote: kept as it stands
        /* 11 */ {"\"\";b", ';', {"", "b"}},
        /* 12 */ {"\"ab\"cd;e", ';', {"abcd", "e"}},
        /* 13 */ {"whole line", '\0', {"whole line"}},
        /* 14 */ {"", ';', {}},
        /* 15 */ {"", '\0', {}},
    };
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(SplitDelimitedLine(kCases[i].line, kCases[i].delimiter), kCases[i].fields) << "case " << i;
}

TEST(DelimitedLine, LineEnds) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(ImportDelimitedText, SemicolonCsvGivesNamedColumnsAndOneRecord) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    ASSERT_EQ(Import(sheet, WriteFile(dir, "codes.csv", "Code;Name\r\n123;Box\r\n")).outcome,
              TImportOutcome::ioImported);
    EXPECT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"123", "Box"}));
    EXPECT_EQ(sheet.Cell(0, 0), "");
    EXPECT_EQ(sheet.Cell(0, 1), "");
    EXPECT_EQ(sheet.ColumnWidth(0), TDatasheet::kRowNumberColumnWidth);
    EXPECT_TRUE(sheet.ColumnExists("code"));
}

TEST(ImportDelimitedText, OneValuePerLineIsOneColumn) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    ASSERT_EQ(Import(sheet, WriteFile(dir, "list.TXT", "Codes\n4711\n4712\n4713\n")).outcome,
              TImportOutcome::ioImported);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(sheet.ColumnName(1), "Codes");
    EXPECT_EQ(sheet.Cell(1, 3), "4713");
    // The import replaces the table: no "Data1" of the new sheet is left beside the file's column.
    EXPECT_EQ(sheet.ColumnCount(), 2);
}

TEST(ImportDelimitedText, TabsHyphensAndQuotedDelimiters) {
    const std::string dir = test::MakeTempDir();
    TDatasheet tabs;
    Import(tabs, WriteFile(dir, "tabs.txt", "Code\tName\tQty\n1\tBox, small\t5\n"));
    EXPECT_EQ(DataRow(tabs, 1), (Cells{"1", "Box, small", "5"}));

    // A one-column file whose values hold a hyphen is split at it: the hyphen is a candidate.
    TDatasheet hyphen;
    Import(hyphen, WriteFile(dir, "parts.csv", "Code\nA-1\n"));
    EXPECT_EQ(hyphen.ColumnCount(), 3);
    EXPECT_EQ(DataRow(hyphen, 0), (Cells{"Code", "Column 2"})); // every column can be chosen
    EXPECT_EQ(DataRow(hyphen, 1), (Cells{"A", "1"}));

    TDatasheet quoted;
    Import(quoted, WriteFile(dir, "q.csv", "Code;Text\n1;\"a;b\"\n2;\"x\"\n"));
    EXPECT_EQ(quoted.ColumnCount(), 3);
    EXPECT_EQ(DataRow(quoted, 1), (Cells{"1", "a;b"}));
    EXPECT_EQ(DataRow(quoted, 2), (Cells{"2", "x"}));
}

TEST(ImportDelimitedText, ImportReplacesTheWholeTable) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    sheet.Reset(5, 6);
    sheet.SetRow(0, {"", "A", "B", "C", "D"});
    sheet.SetRow(4, {"", "a4", "b4", "c4", "d4"});
    Import(sheet, WriteFile(dir, "two.csv", "X,Y\n1,2\n"));
    // Nothing of the earlier table survives beside or below the file's data.
    EXPECT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"X", "Y"}));
    EXPECT_EQ(sheet.Cell(4, 4), "");
}

TEST(ImportDelimitedText, UnreadableFileFailsAndLeavesTheShape) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const std::string missing = test::MakeTempDir() + "/missing.csv";
    const TImportResult result = ImportData(sheet, missing, prompts, nullptr);
    EXPECT_EQ(result.outcome, TImportOutcome::ioFailed);
    EXPECT_EQ(result.message, "Cannot open file " + missing);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].kind, TMsgKind::mkError);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot open file " + missing);
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_THROW_MSG(ReadDelimitedTextFile(sheet, missing), EInOutError, "Cannot open file " + missing);
}

TEST(ImportDelimitedText, OtherExtensionsNameTheSupportedKinds) {
    const std::string dir = test::MakeTempDir();
    TDatasheet sheet;
    TScriptedPrompts prompts;
    for (const char* name : {"codes.dat", "codes", "codes.csv.bak"}) {
        EXPECT_EQ(ImportData(sheet, WriteFile(dir, name, "A;B\n1;2\n"), prompts, nullptr).outcome,
                  TImportOutcome::ioUnsupported)
            << name;
    }
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    ASSERT_EQ(prompts.Messages().size(), 3u);
    EXPECT_EQ(prompts.Messages()[0].text,
              "Files of the kind '.dat' cannot be imported. Choose a text file (.txt, .csv), a workbook "
              "(.xls, .xlsx, .ods) or an Access database (.mdb).");
    EXPECT_NE(prompts.Messages()[1].text.find("'(none)'"), std::string::npos);
}

// The file import cuts ordinary lines by a fast path of its own; every line must come out as the
// full line rules split it, whatever falls on the edges of that path: quotes, vertical tabs, empty
// fields, line ends of each kind, a last line without one, NUL bytes, fields at word boundaries and
// fields too long for a one-byte length.
TEST(ImportDelimitedText, FileImportAgreesWithTheLineRules) {
    const std::string longField(300, 'L');
    const std::string hugeField(3 << 20, 'H'); // beyond one read of the file
    const std::string kTexts[] = {
        /* 0 */ "a;b;c\r\n1;2;3\r\n",
        /* 1 */ "a;b\n\"x;y\";\"say \"\"hi\"\"\"\n;;\n;lead\ntrail;\nlast;no-end",
        /* 2 */ "h1,h2\rline\vbreak,2\r\r\"one\vtwo\",\"open",
        /* 3 */ "1234567;12345678\n12345678;1234567\n;;;;;;;;;;;;;;;;\n12345678\n",
        /* 4 */ "k|v\n" + longField + "|" + longField + "\nshort|" + hugeField + "\n",
        /* 5 */ std::string("n\tv\nz\0z\t\0\nab\tc", 14),
        /* 6 */ "single\nline\n\n\nafter blanks",
        /* 7 */ "",
    };
    const std::string dir = test::MakeTempDir();
    for (size_t i = 0; i < std::size(kTexts); ++i) {
        const std::string& text = kTexts[i];
        TDatasheet sheet;
        ASSERT_EQ(Import(sheet, WriteFile(dir, "edge.csv", text)).outcome, TImportOutcome::ioImported)
            << "case " << i;
        const auto allLines = SplitTextLines(text);
        const char delimiter =
            DetectDelimiter(allLines.size() > 0 ? allLines[0] : "", allLines.size() > 1 ? allLines[1] : "");
        // Lines with no text in any field are skipped.
        std::vector<std::string_view> lines;
        for (const std::string_view line : allLines) {
            const Cells fields = SplitDelimitedLine(line, delimiter);
            if (std::any_of(fields.begin(), fields.end(), [](const std::string& f) { return !f.empty(); }))
                lines.push_back(line);
        }
        EXPECT_EQ(sheet.RowCount(), std::max<int>(2, static_cast<int>(lines.size()))) << "case " << i;
        size_t widest = 0;
        std::vector<bool> columnHasText;
        for (size_t r = 0; r < lines.size(); ++r) {
            Cells expected = SplitDelimitedLine(lines[r], delimiter);
            widest = std::max(widest, expected.size());
            columnHasText.resize(std::max(columnHasText.size(), expected.size()));
            for (size_t c = 0; c < expected.size(); ++c)
                columnHasText[c] = columnHasText[c] || !expected[c].empty();
            Cells got = DataRow(sheet, static_cast<int>(r));
            got.resize(expected.size());
            EXPECT_EQ(got, expected) << "case " << i << " row " << r;
            for (int c = static_cast<int>(expected.size()) + 1; c < sheet.ColumnCount(); ++c)
                EXPECT_EQ(sheet.Cell(c, static_cast<int>(r)), "")
                    << "case " << i << " row " << r << " column " << c;
            EXPECT_EQ(sheet.Cell(0, static_cast<int>(r)), "") << "case " << i << " row " << r;
        }
        // A last column that holds nothing is no part of the file, and is dropped.
        const bool lastEmpty = widest >= 2 && !columnHasText[widest - 1];
        EXPECT_EQ(sheet.ColumnCount(), std::max<int>(2, static_cast<int>(widest) + (lastEmpty ? 0 : 1)))
            << "case " << i;
    }
}
