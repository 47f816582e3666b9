#include "design/DesignJson.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

using namespace qbm;

namespace {

// A one-pixel PNG, as a logo's file would be.
const std::string
    kLogo("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\x08\x02\0\0\0\x90wS\xDE\0\0\0\x0CIDATx\x9C"
          "c\xF8\xCF\xC0\0\0\3\1\1\0\xC9\xFE\x92\xEF\0\0\0\0IEND\xAE\x42`\x82",
          69);

const std::string kDesign = R"({"objects": [
 {"type": "text", "x_mm": 2, "y_mm": 2, "width_mm": 40, "height_mm": 6, "value": "{Name} – {Price} €"},
 {"type": "barcode", "x_mm": 2, "y_mm": 9, "width_mm": 40, "height_mm": 15, "value": "{Code}", "symbology": "bcCodeEAN13"},
 {"type": "image", "x_mm": 44, "y_mm": 2, "width_mm": 10, "height_mm": 10, "file": "art/logo.png"},
 {"type": "rect", "x_mm": 0, "y_mm": 0, "width_mm": 500, "height_mm": 30}]})";

TEST(QbmDesign, ImportEmbedsExportGivesBackAndMistakesLeaveTheProject) {
    const std::string dir = test::MakeTempDir();
    const std::string project = dir + "/shelf.bpj";
    const std::string classic = "[Properties]\r\nTemplate=EAN13\r\nLinage=3\r\nColumn=2\r\n";
    test::WriteWholeFile(project, classic);
    std::filesystem::create_directory(dir + "/art");
    test::WriteWholeFile(dir + "/art/logo.png", kLogo);
    test::WriteWholeFile(dir + "/design.json", kDesign);

    const test::TCliRun exported0 =
        test::RunQbm(dir, "design " + project + " --export " + dir + "/none.json");
    EXPECT_EQ(exported0.exitCode, 1);
    EXPECT_NE(exported0.err.find("holds the classic label"), std::string::npos) << exported0.err;

    const test::TCliRun imported =
        test::RunQbm(dir, "design " + project + " --import " + dir + "/design.json");
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.err, "warning: object 4 (rect) reaches past the label's right edge\n");
    const std::string withDesign = test::ReadWholeFile(project);
    EXPECT_EQ(withDesign.rfind(classic, 0), 0u) << "the project's own lines stay as they were";

    // The picture now travels inside the project.
    std::filesystem::remove_all(dir + "/art");
    std::filesystem::create_directory(dir + "/out");
    const test::TCliRun exported =
        test::RunQbm(dir, "design " + project + " --export " + dir + "/out/back.json");
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(test::ReadWholeFile(dir + "/out/back-picture-3.png"), kLogo);
    const std::string back = test::ReadWholeFile(dir + "/out/back.json");
    EXPECT_NE(back.find(R"("value": "{Name} – {Price} €")"), std::string::npos) << back;

    // What was exported imports to the same project.
    EXPECT_EQ(test::RunQbm(dir, "design " + project + " --import " + dir + "/out/back.json").exitCode, 0);
    EXPECT_EQ(test::ReadWholeFile(project), withDesign);

    std::string typo = kDesign;
    typo.replace(typo.find("\"value\""), 7, "\"valeu\"");
    test::WriteWholeFile(dir + "/typo.json", typo);
    const test::TCliRun refused = test::RunQbm(dir, "design " + project + " --import " + dir + "/typo.json");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "object 1 (text): unknown key \"valeu\"\n");
    EXPECT_EQ(test::RunQbm(dir, "design " + project + " --import " + dir + "/missing.json").exitCode, 1);
    EXPECT_EQ(test::ReadWholeFile(project), withDesign);

    EXPECT_EQ(test::RunQbm(dir, "design " + project).exitCode, 2);
    EXPECT_EQ(test::RunQbm(dir, "design " + project + " --classic").exitCode, 0);
    // The blank line that parted the sections stays.
    EXPECT_EQ(test::ReadWholeFile(project), classic + "\r\n");
}

} // namespace

// The shelf label: a name and a price from the sheet over the row's EAN-13, three labels of six a
// page, every one read back from the printed PDF inside its own cell.
TEST(QbmDesign, EveryLabelOfASheetCarriesItsOwnRowsBarcodeNameAndPrice) {
    const std::string dir = test::MakeTempDir();
    const std::string library = dir + "/Templates.dat";
    WriteDefaultTemplates(library);
    TLabelProject p;
    p.SetTemplateName("EAN13 (ISBN)");
    p.SetLinearSource(TLinearSource::lsDatasheet);
    p.SetLinage(3);
    p.SetColumn(2);
    TDatasheet& sheet = p.Datasheet();
    sheet.SetColumnCount(4);
    sheet.SetRowCount(4);
    const std::vector<std::vector<std::string>> rows = {
        {"", "Code", "Name", "Price"},
        {"", "4006381333931", "Käse", "1,50 €"},
        {"", "9780201379624", "Brot", "2,99 €"},
        {"", "5901234123457", "Äpfel", "0,89 €"},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 1; c < 4; ++c) sheet.SetCell(c, r, rows[r][c]);
    p.RebuildFieldList(kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    p.SetDesign(DesignFromJson(R"({"objects": [
        {"type": "text", "x_mm": 5, "y_mm": 5, "width_mm": 60, "height_mm": 10, "value": "{Name}", "size_pt": 20},
        {"type": "text", "x_mm": 5, "y_mm": 16, "width_mm": 60, "height_mm": 10, "value": "Preis {Price}",
         "size_pt": 16, "bold": true},
        {"type": "barcode", "x_mm": 5, "y_mm": 30, "width_mm": 60, "height_mm": 30, "value": "{Code}",
         "symbology": "bcCodeEAN13"},
        {"type": "rect", "x_mm": 2, "y_mm": 2, "width_mm": 90, "height_mm": 85, "line_mm": 0.5}]})",
                               {}));
    SaveProject(dir + "/shelf.bpj", p, nullptr);

    const test::TCliRun r = test::RunQbm(dir, "print " + dir + "/shelf.bpj --pdf " + dir +
                                                  "/shelf.pdf --library " + library + " --no-journal");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3 labels on 1 page\n");
    const int dpi = 200;
    const std::vector<QImage> pages = test::RasterisePdf(dir + "/shelf.pdf", dpi);
    ASSERT_EQ(pages.size(), 1u);
    // A4 with 10 mm margins in 2 x 3 cells.
    const double cellW = (210 - 20) / 2.0, cellH = (297 - 20) / 3.0;
    const auto px = [&](double mm) { return static_cast<int>(mm / 25.4 * dpi); };
    for (int label = 0; label < 3; ++label) {
        const double left = 10 + (label % 2) * cellW, top = 10 + (label / 2) * cellH;
        const QImage cell = pages[0].copy(px(left), px(top), px(cellW), px(cellH));
        EXPECT_EQ(test::DecodeAll(cell, ZXing::BarcodeFormat::EAN13),
                  std::vector<std::string>{rows[label + 1][1]})
            << "label " << label;
        const std::string text = dir + "/cell.txt";
        const std::string command = "pdftotext -r " + std::to_string(dpi) + " -x " +
                                    std::to_string(px(left)) + " -y " + std::to_string(px(top)) + " -W " +
                                    std::to_string(px(cellW)) + " -H " + std::to_string(px(cellH)) + " '" +
                                    dir + "/shelf.pdf' '" + text + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string found = test::ReadWholeFile(text);
        EXPECT_NE(found.find(rows[label + 1][2]), std::string::npos) << "label " << label << ": " << found;
        EXPECT_NE(found.find("Preis " + rows[label + 1][3]), std::string::npos)
            << "label " << label << ": " << found;
    }
}

// A design's barcodes have symbologies of their own: a row the design's EAN-13 cannot carry is named
// before anything prints, whatever the template's symbology; so are fields no column gives.
TEST(QbmDesign, LabelsThatWouldPrintWrongAreNamedBeforeAnythingPrints) {
    const std::string dir = test::MakeTempDir();
    const std::string library = dir + "/Templates.dat";
    WriteDefaultTemplates(library);
    TLabelProject p;
    p.SetTemplateName("Code39");
    p.SetLinearSource(TLinearSource::lsDatasheet);
    TDatasheet& sheet = p.Datasheet();
    sheet.SetColumnCount(3);
    sheet.SetRowCount(4);
    const char* const rows[][2] = {
        {"Code", "Name"}, {"4006381333931", "Käse"}, {"ABC", "Brot"}, {"4006381333932", "Milch"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c) sheet.SetCell(c + 1, r, rows[r][c]);
    p.RebuildFieldList(kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    const auto save = [&](const std::string& json) {
        p.SetDesign(DesignFromJson(json, {}));
        SaveProject(dir + "/p.bpj", p, nullptr);
        return test::RunQbm(dir, "print " + dir + "/p.bpj --pdf " + dir + "/p.pdf --library " + library +
                                     " --no-journal");
    };
    const test::TCliRun codes = save(R"({"objects": [{"type": "barcode", "x_mm": 1, "y_mm": 1, "width_mm": 40,
        "height_mm": 20, "value": "{Code}", "symbology": "bcCodeEAN13"}, {"type": "text", "x_mm": 1, "y_mm": 22,
        "width_mm": 8, "height_mm": 4, "value": "{Name}", "size_pt": 30, "shrink_to_fit": false}]})");
    EXPECT_EQ(codes.exitCode, 1);
    EXPECT_NE(codes.err.find("Label 2, object 1 (barcode): "), std::string::npos) << codes.err;
    EXPECT_NE(codes.err.find("Label 3, object 1 (barcode): The check digit"), std::string::npos) << codes.err;
    EXPECT_NE(codes.err.find("Label 1, object 2 (text): the text does not fit its box"), std::string::npos)
        << codes.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/p.pdf"));

    const test::TCliRun fields = save(R"({"objects": [{"type": "text", "x_mm": 1, "y_mm": 1, "width_mm": 40,
        "height_mm": 8, "value": "{Name} {Prise}"}]})");
    EXPECT_EQ(fields.exitCode, 1);
    EXPECT_NE(fields.err.find("object 1 (text): the datasheet has no column \"Prise\""), std::string::npos)
        << fields.err;
}
