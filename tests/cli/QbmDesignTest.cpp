#include "CliRun.h"

#include <gtest/gtest.h>

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
