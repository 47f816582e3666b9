#include "app/ProjectPrinting.h"
#include "app/TLabelSetup.h"
#include "barcode/EBarcodeError.h"
#include "barcode2d/E2DBarcodeError.h"
#include "ini/TIniFile.h"
#include "project/CodeValueSources.h"
#include "project/TLabelProject.h"
#include "surface/TCanvas.h"
#include "surface/TRasterPrinter.h"
#include "templates/TemplateLibrary.h"
#include "util/TUserPrompts.h"

#include "TestSupport.h"

#include <random>

namespace qbm {
namespace {

struct PrintedRun {
    std::vector<TBitmap> pages;
    TCellGrid grid;
    TPrintResult result;
};

// Prints the project's current source on page images, as the Print button does answered Yes.
PrintedRun PrintOnPages(TLabelProject& project, int dpi) {
    const std::string library = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(library);
    const TIniFile ini(library);
    TRasterPrinter printer(TPaperSize::A4(), dpi);
    TLabelSetup setup;
    ApplyProjectLabel(setup, project, ini, dpi, dpi);
    TScriptedPrompts prompts;
    PrintedRun run;
    run.result =
        PrintProject(project, printer, setup.bcdMain, &setup.Symbol2D(project), setup.label.Bitmap, prompts);
    run.pages = printer.Pages();
    run.grid = PrinterCellGrid({printer.PageWidth(), printer.PageHeight(), dpi, dpi}, LayoutOf(project));
    return run;
}

TBitmap CellOf(const PrintedRun& run, int page, int row, int col) {
    const TCellGrid& g = run.grid;
    TBitmap cell(g.cellWidth, g.cellHeight);
    const int left = g.marginLeft + col * g.cellWidth, top = g.marginTop + row * g.cellHeight;
    cell.Canvas().CopyRect({0, 0, g.cellWidth, g.cellHeight}, run.pages.at(static_cast<size_t>(page)),
                           {left, top, left + g.cellWidth, top + g.cellHeight});
    return cell;
}

TEST(ProjectPrint, FirstCodeTheSymbologyCannotDrawIsReportedNotDrawnEmpty) {
    TLabelProject project;
    project.SetTemplateName("EAN8");
    project.SetLinearSource(TLinearSource::lsConstant);
    project.SetFixedCode("NOT DIGITS");
    const std::string library = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(library);
    TLabelSetup setup;
    EXPECT_THROW(ApplyProjectLabel(setup, project, TIniFile(library), 300, 300), EBarcodeError);
}

TEST(ProjectPrint, EveryDatasheetLabelDecodesToItsRow) {
    TLabelProject project;
    project.SetTemplateName("Code128B");
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetLinage(3);
    project.SetColumn(2);
    TDatasheet& sheet = project.Datasheet();
    const int rows = 8; // one full page of six and two labels on the second
    sheet.Reset(3, rows + 1);
    sheet.SetCell(1, 0, "Article");
    sheet.SetCell(2, 0, "Name");
    std::mt19937 rng(7);
    std::vector<std::string> codes;
    for (int r = 1; r <= rows; ++r) {
        // Short enough that the label with its quiet zones fits half the page's width.
        std::string code = "ART-";
        for (int k = 0; k < 3; ++k) code += static_cast<char>('A' + rng() % 26);
        codes.push_back(code);
        sheet.SetCell(1, r, code);
        sheet.SetCell(2, r, "name " + std::to_string(r));
    }
    project.RebuildFieldList(kFieldPlaceholderLoaded);
    project.SetCodeField(1);
    project.SetCapField(2);

    const PrintedRun run = PrintOnPages(project, 200);
    ASSERT_EQ(run.result.outcome, TPrintOutcome::poPrinted);
    ASSERT_EQ(run.pages.size(), 2u);
    for (int i = 0; i < rows; ++i) {
        const int page = i / 6, row = (i % 6) / 2, col = i % 2;
        const test::Decoded d = test::Decode(CellOf(run, page, row, col), ZXing::BarcodeFormat::Code128);
        EXPECT_EQ(d.text, codes[static_cast<size_t>(i)]) << "label " << i;
    }
}

// QR Code carries any script: a code list in Greek, Japanese and German reads back as typed.
TEST(ProjectPrint, QrCodeListInAnyScriptDecodesAsTyped) {
    TLabelProject project;
    project.SetKind(TBarcodeKind::bk2D);
    project.SetFormat2D(kFirstSymbolFormat); // QR Code
    project.SetSource2D(T2DSource::tsCodeList);
    project.CodeList2D() = {"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1", "\u65E5\u672C\u8A9E 2026",
                            "K\u00E4se \u20AC"};
    const PrintedRun run = PrintOnPages(project, 300);
    ASSERT_EQ(run.result.outcome, TPrintOutcome::poPrinted);
    for (int i = 0; i < 3; ++i) {
        const test::Decoded d = test::Decode(CellOf(run, 0, i / 2, i % 2), ZXing::BarcodeFormat::QRCode);
        EXPECT_EQ(d.text, project.CodeList2D()[static_cast<size_t>(i)]) << "entry " << i;
    }
}

// PDF417 and MaxiCode carry Latin-1: a text with other characters is refused by name before
// anything prints, instead of printing '?' for them.
TEST(ProjectPrint, Pdf417AndMaxiCodeRefuseTextsBeyondLatin1) {
    TLabelProject project;
    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsCodeList);
    project.CodeList2D() = {"K\u00E4se", "\u65E5\u672C"};
    EXPECT_EQ(Latin1Problem2D(project),
              "PDF417 carries Latin-1 characters only, and code 2 \"\u65E5\u672C\" has "
              "others. QR Code, Data Matrix and Aztec carry any script.");
    const PrintedRun run = PrintOnPages(project, 200);
    EXPECT_NE(run.result.outcome, TPrintOutcome::poPrinted);
    EXPECT_TRUE(run.pages.empty());
    project.SetFormat2D(1);
    project.SetSource2D(T2DSource::tsFixedText);
    project.SetText2D("\u03A9");
    EXPECT_EQ(Latin1Problem2D(project).substr(0, 60),
              "MaxiCode carries Latin-1 characters only, and the fixed text");
    project.SetText2D("K\u00E4se");
    EXPECT_EQ(Latin1Problem2D(project), "");
    project.SetFormat2D(kFirstSymbolFormat);
    project.SetText2D("\u03A9");
    EXPECT_EQ(Latin1Problem2D(project), "");
}

TEST(ProjectPrint, EveryPdf417ListEntryDecodesInItsCell) {
    TLabelProject project;
    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsCodeList);
    project.CodeList2D() = {"  first entry  ", "Second: 1234567890", "third/Käse"};
    const PrintedRun run = PrintOnPages(project, 300);
    ASSERT_EQ(run.result.outcome, TPrintOutcome::poPrinted);
    ASSERT_EQ(run.pages.size(), 1u);
    // The list is UTF-8; PDF417 carries Latin-1, which a scanner reads back as the same letters.
    const std::vector<std::string> expected = {"first entry", "Second: 1234567890", "third/Käse"};
    for (int i = 0; i < 3; ++i) {
        const test::Decoded d = test::Decode(CellOf(run, 0, i / 2, i % 2), ZXing::BarcodeFormat::PDF417);
        EXPECT_EQ(d.text, expected[static_cast<size_t>(i)]) << "entry " << i;
    }
    EXPECT_EQ(test::Decode(CellOf(run, 0, 1, 0), ZXing::BarcodeFormat::PDF417).bytes, "third/K\xE4se");
    EXPECT_FALSE(test::Decode(CellOf(run, 0, 1, 1), ZXing::BarcodeFormat::PDF417).found)
        << "fourth cell empty";
}

TEST(ProjectPrint, EveryQrDataMatrixAndAztecEntryDecodesInItsCell) {
    struct Case {
        int format;
        bool gs1;
        ZXing::BarcodeFormat reader;
        std::vector<std::string> entries;
        std::vector<std::string> expected; // as the reader hands it on
    };
    const Case cases[] = {
        {2,
         false,
         ZXing::BarcodeFormat::QRCode,
         {"https://example.com/?id=1", "Grüße", "日本語"},
         {"https://example.com/?id=1", "Grüße", "日本語"}},
        {3,
         true,
         ZXing::BarcodeFormat::DataMatrix,
         {"(01)09501101530003(17)251231", "(01)09501101530003(10)AB"},
         {"0109501101530003"
          "17251231",
          "0109501101530003"
          "10AB"}},
        {4,
         false,
         ZXing::BarcodeFormat::Aztec,
         {"Ticket 1", "Ticket 2", "Ticket 3"},
         {"Ticket 1", "Ticket 2", "Ticket 3"}},
    };
    for (const Case& c : cases) {
        TLabelProject project;
        project.SetKind(TBarcodeKind::bk2D);
        project.SetSource2D(T2DSource::tsCodeList);
        project.SetFormat2D(c.format);
        TSymbolSettings options;
        options.gs1 = c.gs1;
        project.SetSymbolOptions2D(options);
        project.CodeList2D() = c.entries;
        const PrintedRun run = PrintOnPages(project, 300);
        ASSERT_EQ(run.result.outcome, TPrintOutcome::poPrinted) << project.Format2DName();
        for (size_t i = 0; i < c.entries.size(); ++i) {
            const test::Decoded d = test::Decode(CellOf(run, 0, static_cast<int>(i) / 2, i % 2), c.reader);
            EXPECT_EQ(d.text, c.expected[i]) << project.Format2DName() << " entry " << i;
        }
    }
}

TEST(ProjectPrint, GtinWithAWrongCheckDigitIsRefusedByName) {
    TLabelProject project;
    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsFixedText);
    project.SetFormat2D(3);
    TSymbolSettings options;
    options.gs1 = true;
    project.SetSymbolOptions2D(options);
    project.SetText2D("(01)09501101530004");
    const std::string library = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(library);
    TLabelSetup setup;
    EXPECT_THROW_MSG(ApplyProjectLabel(setup, project, TIniFile(library), 300, 300), E2DBarcodeError,
                     "GS1 (01) check digit should be 3, not 4");
}

} // namespace
} // namespace qbm
