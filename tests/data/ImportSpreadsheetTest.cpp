#include "data/DatasheetImport.h"
#include "data/OdsReader.h"
#include "data/TDatasheet.h"
#include "data/XlsxReader.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <utility>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;

namespace {

// A zipped document of the given parts, stored as a workbook program would write them.
std::string WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return path;
}

std::string OdsContent(const std::string& tableBody) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">
<office:body><office:spreadsheet><table:table table:name="First">)" +
           tableBody + R"(</table:table><table:table table:name="Second"><table:table-row><table:table-cell
 office:value-type="string"><text:p>other sheet</text:p></table:table-cell></table:table-row></table:table>
</office:spreadsheet></office:body></office:document-content>)";
}

std::string WriteOds(const std::string& dir, const std::string& tableBody) {
    return WriteZip(dir + "/sheet.ods", {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                         {"content.xml", OdsContent(tableBody)}});
}

TImportResult Import(TDatasheet& sheet, const std::string& path, TScriptedPrompts& prompts) {
    return ImportData(sheet, path, prompts, nullptr);
}

} // namespace

TEST(ImportXlsx, FirstSheetAsShownFromDataColumnOne) {
    const std::string path = test::MakeTempDir() + "/labels.xlsx";
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* first = workbook_add_worksheet(workbook, "Labels");
    lxw_worksheet* second = workbook_add_worksheet(workbook, "Other");
    lxw_format* twoPlaces = workbook_add_format(workbook);
    format_set_num_format(twoPlaces, "#,##0.00");
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format* percent = workbook_add_format(workbook);
    format_set_num_format_index(percent, 9);
    // The block starts at B2: the blank row and column around it are left out.
    worksheet_write_string(first, 1, 1, "Code", nullptr);
    worksheet_write_string(first, 1, 2, "Name", nullptr);
    worksheet_write_string(first, 1, 3, "Price", nullptr);
    worksheet_write_string(first, 1, 4, "Due", nullptr);
    worksheet_write_number(first, 2, 1, 4006381333931.0, nullptr);
    worksheet_write_string(first, 2, 2, "B\xC3\xBCrste", nullptr); // UTF-8 in the file and in the sheet
    worksheet_write_number(first, 2, 3, 1234.5, twoPlaces);
    worksheet_write_number(first, 2, 4, 45356, date); // 2024-03-05
    worksheet_write_number(first, 3, 1, 0.25, nullptr);
    worksheet_write_number(first, 3, 3, 0.125, percent);
    worksheet_write_boolean(first, 3, 4, 1, nullptr);
    worksheet_write_string(first, 4, 2, "last", nullptr);
    worksheet_write_string(second, 0, 0, "not read", nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = Import(sheet, path, prompts);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name", "Price", "Due"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"4006381333931", "B\u00FCrste", "1,234.50", "05/03/2024"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"0.25", "", "13%", "TRUE"}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"", "last", "", ""}));
}

TEST(ImportOds, RepeatsParagraphsDatesAndErrors) {
    const std::string dir = test::MakeTempDir();
    const std::string body = R"(
<table:table-row table:number-rows-repeated="2"><table:table-cell table:number-columns-repeated="3"/></table:table-row>
<table:table-row><table:table-cell/><table:table-cell office:value-type="string"><text:p>Code</text:p></table:table-cell>
 <table:table-cell office:value-type="string"><text:p>Name</text:p></table:table-cell>
 <table:table-cell office:value-type="string"><text:p>When</text:p></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="2"><table:table-cell/>
 <table:table-cell office:value-type="float" office:value="1234.5"><text:p>1.234,50</text:p></table:table-cell>
 <table:table-cell office:value-type="string"><text:p>two<text:s text:c="2"/>words</text:p><text:p>line</text:p><office:annotation><text:p>a note</text:p></office:annotation></table:table-cell>
 <table:table-cell office:value-type="date" office:date-value="2024-03-05T13:45:00"><text:p>05.03.24</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell/><table:table-cell table:formula="of:=1/0" office:value-type="string" calcext:value-type="error"><text:p>#DIV/0!</text:p></table:table-cell>
 <table:table-cell table:number-columns-repeated="2" office:value-type="string"><text:p>x</text:p></table:table-cell>
 <table:table-cell table:number-columns-repeated="16000"/></table:table-row>
<table:table-row table:number-rows-repeated="1048000"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>)";
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = Import(sheet, WriteOds(dir, body), prompts);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 4);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name", "When"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1.234,50", "two  words\r\nline", "05.03.24"}));
    EXPECT_EQ(DataRow(sheet, 2), DataRow(sheet, 1));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"", "x", "x"}));
}

TEST(ImportSpreadsheet, DamagedAndHostileFilesFailClearly) {
    const std::string dir = test::MakeTempDir();
    const std::string xlsxNote = "Cannot read Excel workbook ";
    const std::string odsNote = "Cannot read OpenDocument spreadsheet ";
    const std::string types = R"(<?xml version="1.0"?><Types/>)";
    const std::string workbook =
        R"(<workbook xmlns:r="r"><sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    const std::string rels =
        R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)";
    const std::string sheetXml =
        R"(<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>7</v></c></row></sheetData></worksheet>)";
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> parts; // empty: the bytes below as the file
        std::string bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        /* 0 */ {"text.xlsx", {}, "Code;Name\n", "not a zipped document"},
        /* 1 */ {"empty.xlsx", {{"[Content_Types].xml", types}}, "", "the part xl/workbook.xml is missing"},
        /* 2 */
        {"nosheet.xlsx",
         {{"xl/workbook.xml", workbook}, {"xl/_rels/workbook.xml.rels", rels}},
         "",
         "the part xl/worksheets/sheet1.xml is missing"},
        /* 3 */
        {"index.xlsx",
         {{"xl/workbook.xml", workbook},
          {"xl/_rels/workbook.xml.rels", rels},
          {"xl/worksheets/sheet1.xml", sheetXml}},
         "",
         "a cell names a shared text that does not exist"},
        /* 4 */
        {"cut.xlsx",
         {{"xl/workbook.xml", workbook.substr(0, 40)}},
         "",
         "the part xl/workbook.xml ends too early"},
        /* 5 */
        {"dtd.xlsx",
         {{"xl/workbook.xml", "<!DOCTYPE w [<!ENTITY a \"aaaa\">]><workbook>&a;</workbook>"}},
         "",
         "the part xl/workbook.xml carries a document type"},
        // A small file that unpacks to more than a workbook part may hold.
        /* 6 */
        {"bomb.xlsx",
         {{"xl/workbook.xml", "<workbook>" + std::string(20 << 20, ' ') + "</workbook>"}},
         "",
         "the part xl/workbook.xml unpacks to more than 16 MB"},
        /* 7 */
        {"nocontent.ods",
         {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}},
         "",
         "the part content.xml is missing"},
        // A million rows of 16,384 repeated cells: far more text than the datasheet takes.
        /* 8 */
        {"repeats.ods",
         {{"content.xml", OdsContent(R"(<table:table-row table:number-rows-repeated="1000000">
<table:table-cell table:number-columns-repeated="16384" office:value-type="string"><text:p>x</text:p></table:table-cell></table:table-row>)")}},
         "",
         "the sheet holds more than 512 MB of text, more than the datasheet takes"},
        /* 9 */
        {"notable.ods",
         {{"content.xml",
           R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"/>)"}},
         "",
         "the document holds no sheet"},
        // The sheet's relationship points at the workbook itself.
        /* 10 */
        {"selfsheet.xlsx",
         {{"xl/workbook.xml", workbook},
          {"xl/_rels/workbook.xml.rels",
           R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="workbook.xml"/></Relationships>)"}},
         "",
         "the part xl/workbook.xml is not a worksheet"},
        // Cells whose text expands beyond what a cell holds: a run of space runs, a shared text, an
        // inline text. Each is refused at the cell, before it is copied anywhere.
        /* 11 */
        {"spaces.ods",
         {{"content.xml",
           OdsContent(
               "<table:table-row><table:table-cell/><table:table-cell office:value-type=\"string\"><text:p>" +
               [] {
                   std::string runs;
                   for (int i = 0; i < 1100; ++i) runs += R"(<text:s text:c="1000"/>)";
                   return runs;
               }() +
               "</text:p></table:table-cell></table:table-row>")}},
         "",
         "the cell B1 of sheet \"First\" is too large (more than 1 MB of text)"},
        /* 12 */
        {"shared.xlsx",
         {{"xl/workbook.xml", workbook},
          {"xl/_rels/workbook.xml.rels",
           R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>)"
           R"(<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/></Relationships>)"},
          {"xl/sharedStrings.xml", "<sst><si><t>" + std::string(1100000, 'x') + "</t></si></sst>"},
          {"xl/worksheets/sheet1.xml", sheetXml}},
         "",
         "a shared text is too large (more than 1 MB)"},
        /* 13 */
        {"inline.xlsx",
         {{"xl/workbook.xml", workbook},
          {"xl/_rels/workbook.xml.rels", rels},
          {"xl/worksheets/sheet1.xml", R"(<worksheet><sheetData><row r="3"><c r="C3" t="inlineStr"><is><t>)" +
                                           std::string(1100000, ' ') +
                                           "</t></is></c></row></sheetData></worksheet>"}},
         "",
         "the cell C3 of sheet \"A\" is too large (more than 1 MB of text)"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string path =
            c.parts.empty() ? test::WriteFile(dir, c.name, c.bytes) : WriteZip(dir + "/" + c.name, c.parts);
        TDatasheet sheet;
        sheet.SetCell(1, 1, "kept");
        TScriptedPrompts prompts;
        const TImportResult result = Import(sheet, path, prompts);
        EXPECT_EQ(result.outcome, TImportOutcome::ioFailed) << i;
        const std::string& note = c.name.ends_with(".ods") ? odsNote : xlsxNote;
        EXPECT_EQ(result.message, note + path + ": " + c.reason) << i;
        EXPECT_EQ(sheet.Cell(1, 1), "kept") << i;
        EXPECT_EQ(sheet.ColumnCount(), 2) << i;
    }
    // A whole workbook cut by its last byte: the archive's directory at its end is gone.
    const std::string whole =
        test::ReadWholeFile(WriteZip(dir + "/whole.xlsx", {{"xl/workbook.xml", workbook},
                                                           {"xl/_rels/workbook.xml.rels", rels},
                                                           {"xl/worksheets/sheet1.xml", sheetXml}}));
    const std::string cut = test::WriteFile(dir, "cut-short.xlsx", whole.substr(0, whole.size() - 1));
    TDatasheet sheet;
    TScriptedPrompts prompts;
    EXPECT_EQ(Import(sheet, cut, prompts).message,
              xlsxNote + cut + ": the file is truncated (it ends before the archive's directory)");
}

// Parts in forms office suites seldom write (another encoding, a line end inside an attribute value)
// read as XML reads them, and a part that is not XML fails with the XML reader's own words.
TEST(ImportXlsx, UncommonXmlReadsAsXmlAndDamageFailsClearly) {
    const std::string dir = test::MakeTempDir();
    const std::string workbook =
        R"(<workbook xmlns:r="r"><sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    const std::string rels =
        R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/></Relationships>)";
    const std::string sheetXml = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                                 "<c r=\"B1\" t=\"inlineStr\"><is><t>in&#10;line</t></is></c></row>"
                                 "<row r=\"2\" spans=\"1:2\n\"><c r=\"A2\" t=\"s\"><v> 1 </v></c>"
                                 "<c r=\"B2\"><v>42</v></c></row></sheetData></worksheet>";
    const std::string strings = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                "<sst><si><t>Caf\xE9</t></si><si><t>Stra\xDF\x65</t></si></sst>";
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result =
        Import(sheet,
               WriteZip(dir + "/latin1.xlsx", {{"xl/workbook.xml", workbook},
                                               {"xl/_rels/workbook.xml.rels", rels},
                                               {"xl/worksheets/sheet1.xml", sheetXml},
                                               {"xl/sharedStrings.xml", strings}}),
               prompts);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Caf\xC3\xA9", "in\nline"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"Stra\xC3\x9F"
                                        "e",
                                        "42"}));

    const std::string path =
        WriteZip(dir + "/bad.xlsx", {{"xl/workbook.xml", workbook},
                                     {"xl/_rels/workbook.xml.rels", rels},
                                     {"xl/worksheets/sheet1.xml", "<worksheet><row></worksheet>"}});
    EXPECT_EQ(
        Import(sheet, path, prompts).message,
        "Cannot read Excel workbook " + path +
            ": the part xl/worksheets/sheet1.xml is not well-formed XML (Opening and ending tag mismatch.)");
}

// A sheet whose cells name shared texts far longer than the sheet's own XML: its cells are not gathered
// in one pass (they would outgrow the XML) but written in a second, to the same table.
TEST(ImportXlsx, LongSharedTextsReadInTwoPassesAlike) {
    const std::string dir = test::MakeTempDir();
    const std::string workbook =
        R"(<workbook xmlns:r="r"><sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    const std::string rels =
        R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/></Relationships>)";
    const std::string longText(300, 'w');
    std::string sheetXml =
        R"(<worksheet><sheetData><row r="2"><c r="B2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c></row>)";
    for (int r = 3; r <= 40; ++r)
        sheetXml += "<row r=\"" + std::to_string(r) + "\"><c r=\"B" + std::to_string(r) +
                    "\" t=\"s\"><v>2</v></c><c r=\"C" + std::to_string(r) + "\"><v>" + std::to_string(r) +
                    "</v></c></row>";
    sheetXml += "</sheetData></worksheet>";
    const std::string strings =
        "<sst><si><t>Text</t></si><si><t>Number</t></si><si><t>" + longText + "</t></si></sst>";
    for (const bool gathered : {false, true}) {
        TDatasheet sheet;
        TScriptedPrompts prompts;
        // The same cells with a short shared text: gathered in the first pass.
        const std::string path =
            WriteZip(dir + (gathered ? "/short.xlsx" : "/long.xlsx"),
                     {{"xl/workbook.xml", workbook},
                      {"xl/_rels/workbook.xml.rels", rels},
                      {"xl/worksheets/sheet1.xml", sheetXml},
                      {"xl/sharedStrings.xml",
                       gathered ? strings.substr(0, strings.find("www")) + "w</t></si></sst>" : strings}});
        const TImportResult result = Import(sheet, path, prompts);
        ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
        EXPECT_EQ(sheet.RowCount(), 39) << gathered;
        EXPECT_EQ(DataRow(sheet, 0), (Cells{"Text", "Number"})) << gathered;
        for (int r = 1; r < 39; ++r)
            EXPECT_EQ(DataRow(sheet, r), (Cells{gathered ? "w" : longText, std::to_string(r + 2)}))
                << gathered << r;
    }
}

// Cells whose space runs expand far beyond the document's XML are not gathered in the first pass (they
// would outgrow it) but written in a second, to the same table.
TEST(ImportOds, LongSpaceRunsReadInTwoPassesAlike) {
    const std::string dir = test::MakeTempDir();
    for (const int spaces : {3, 1000}) {
        std::string body;
        for (int r = 0; r < 30; ++r)
            body +=
                R"(<table:table-row><table:table-cell office:value-type="string"><text:p>a<text:s text:c=")" +
                std::to_string(spaces) +
                R"("/>b</text:p></table:table-cell><table:table-cell office:value-type="float" office:value=")" +
                std::to_string(r) + R"("/></table:table-row>)";
        TDatasheet sheet;
        TScriptedPrompts prompts;
        const TImportResult result = Import(sheet, WriteOds(dir, body), prompts);
        ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
        EXPECT_EQ(sheet.RowCount(), 30) << spaces;
        for (int r = 1; r < 30; ++r)
            EXPECT_EQ(DataRow(sheet, r),
                      (Cells{"a" + std::string(static_cast<size_t>(spaces), ' ') + "b", std::to_string(r)}))
                << spaces << " " << r;
    }
}

// A cell is what it holds itself: a date without its value does not show the number of the cell before.
TEST(ImportOds, ACellWithoutItsValueStaysEmpty) {
    const std::string body =
        R"(<table:table-row><table:table-cell table:number-columns-repeated="4" office:value-type="string"><text:p>N</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>A</text:p></table:table-cell>
 <table:table-cell office:value-type="float" office:value="7"/><table:table-cell office:value-type="date"/>
 <table:table-cell office:value-type="string"><text:p>Z</text:p></table:table-cell></table:table-row>)";
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = Import(sheet, WriteOds(test::MakeTempDir(), body), prompts);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"A", "7", "", "Z"}));
}

TEST(ImportSheets, TheSheetLastShownNeverAHiddenOne) {
    const std::string dir = test::MakeTempDir();
    const auto firstCell = [](const std::string& path, const TWorkbookChoices& choices = {}) {
        TDatasheet sheet;
        TScriptedPrompts prompts;
        TImportOptions options;
        options.workbook = choices;
        const TImportResult result = ImportData(sheet, path, prompts, nullptr, options);
        return result.outcome == TImportOutcome::ioImported ? std::string(sheet.Cell(1, 0)) : result.message;
    };
    // .xlsx: the third sheet active; then the hidden first one active, as a program may leave it.
    for (const bool hiddenActive : {false, true}) {
        const std::string path = dir + "/sheets" + (hiddenActive ? "h" : "") + ".xlsx";
        lxw_workbook* workbook = workbook_new(path.c_str());
        lxw_worksheet* hidden = workbook_add_worksheet(workbook, "Hidden");
        lxw_worksheet* second = workbook_add_worksheet(workbook, "Second");
        lxw_worksheet* third = workbook_add_worksheet(workbook, "Third");
        worksheet_write_string(hidden, 0, 0, "hidden", nullptr);
        worksheet_write_string(second, 0, 0, "second", nullptr);
        worksheet_write_string(third, 0, 0, "third", nullptr);
        worksheet_activate(hiddenActive ? second : third);
        worksheet_hide(hidden);
        ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
        EXPECT_EQ(firstCell(path), hiddenActive ? "second" : "third");
        EXPECT_EQ(firstCell(path, {"Hidden", false}), "hidden");
    }
    // .ods: the active table named in the settings; a hidden one is passed over.
    const auto ods = [&](const std::string& active) {
        const std::string content = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:automatic-styles>
<style:style style:name="ta2" style:family="table"><style:table-properties table:display="false"/></style:style>
</office:automatic-styles><office:body><office:spreadsheet>
<table:table table:name="Hidden" table:style-name="ta2"><table:table-row><table:table-cell office:value-type="string"><text:p>hidden</text:p></table:table-cell></table:table-row></table:table>
<table:table table:name="Second"><table:table-row><table:table-cell office:value-type="string"><text:p>second</text:p></table:table-cell></table:table-row></table:table>
<table:table table:name="Third"><table:table-row><table:table-cell office:value-type="string"><text:p>third</text:p></table:table-cell></table:table-row></table:table>
</office:spreadsheet></office:body></office:document-content>)";
        const std::string settings = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-settings xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0"><office:settings>
<config:config-item-set config:name="ooo:view-settings"><config:config-item-map-indexed config:name="Views">
<config:config-item-map-entry><config:config-item config:name="ActiveTable" config:type="string">)" +
                                     active + R"(</config:config-item>
</config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set></office:settings>
</office:document-settings>)";
        return WriteZip(dir + "/" + active + ".ods",
                        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                         {"content.xml", content},
                         {"settings.xml", settings}});
    };
    EXPECT_EQ(firstCell(ods("Third")), "third");
    EXPECT_EQ(firstCell(ods("Hidden")), "second");
    EXPECT_EQ(firstCell(ods("Hidden"), {"Hidden", false}), "hidden");
}

TEST(ImportSheets, DuplicateAndEmptyHeadersBecomeUnique) {
    const std::string path = test::MakeTempDir() + "/headers.xlsx";
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet1 = workbook_add_worksheet(workbook, nullptr);
    const char* headers[] = {"Code", "Name", "code", "", "Code", "Code (2)"};
    for (int c = 0; c < 6; ++c)
        if (*headers[c]) worksheet_write_string(sheet1, 0, static_cast<lxw_col_t>(c), headers[c], nullptr);
    for (int c = 0; c < 6; ++c) worksheet_write_number(sheet1, 1, static_cast<lxw_col_t>(c), c, nullptr);
    worksheet_write_number(sheet1, 3, 0, 7, nullptr); // row 3 empty between
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = Import(sheet, path, prompts);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    // Names compare without letter case, as the datasheet's own names do.
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name", "code (3)", "Column 4", "Code (4)", "Code (2)"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"7", "", "", "", "", ""}));
    EXPECT_EQ(result.emptyRowsSkipped, 1);
}
