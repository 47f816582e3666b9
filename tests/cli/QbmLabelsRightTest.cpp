#include "ini/TBigIniFile.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <filesystem>

namespace qbm {
namespace {

struct Fixture {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/shelf.bpj";
    std::string pdf = dir + "/shelf.pdf";

    // EAN-13 labels of the default template from a datasheet, `columns` across a page of two rows.
    Fixture(const std::vector<std::string>& codes, int columns = 2) {
        WriteDefaultTemplates(library);
        TLabelProject p;
        p.SetTemplateName("EAN13 (ISBN)");
        p.SetLinearSource(TLinearSource::lsDatasheet);
        p.SetColumn(columns);
        TDatasheet& sheet = p.Datasheet();
        sheet.SetRowCount(static_cast<int>(codes.size()) + 1);
        for (size_t r = 0; r < codes.size(); ++r) sheet.SetCell(1, static_cast<int>(r) + 1, codes[r]);
        p.RebuildFieldList(kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        SaveProject(project, p, nullptr);
    }
    test::TCliRun Run(const std::string& args) const {
        return test::RunQbm(dir, args + " --library " + library);
    }
};

TEST(QbmCheckDigits, AWrongCheckDigitIsRefusedByNameAndAMissingOneIsMade) {
    const std::string dir = test::MakeTempDir();
    const test::TCliRun wrong = test::RunQbm(dir, {"encode", "bcCodeEAN13", "5901234123458"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, "The check digit of 5901234123458 should be 7.\n");
    const test::TCliRun made = test::RunQbm(dir, {"encode", "bcCodeEAN13", "590123412345"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(made.out, test::RunQbm(dir, {"encode", "bcCodeEAN13", "5901234123457"}).out);
    const test::TCliRun render =
        test::RunQbm(dir, {"render", "bcCodeUPC_A", "123456789013", "--out", dir + "/upc.png"});
    EXPECT_EQ(render.exitCode, 1);
    EXPECT_EQ(render.err, "The check digit of 123456789013 should be 2.\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "/upc.png"));
}

TEST(QbmCheckDigits, ThePrePrintCheckListsWrongCheckDigitsAndEmptyCodes) {
    const Fixture f({"5901234123457", "5901234123458", "", "4006381333931"});
    const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.pdf);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(
        r.err.find("Line(2): The check digit of 5901234123458 should be 7.\nLine(3): The code is empty."),
        std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("Line(1)"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(f.pdf));
}

TEST(QbmPrint, LabelsLargerThanTheirCellsAreRefusedWithBothSizesAndNoFile) {
    // The default template draws a 60.8 mm wide symbol: with its quiet zones it needs more than the
    // 63.3 mm of three columns on A4.
    const Fixture f({"590123412345"}, 3);
    const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.pdf);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(" mm with their quiet zones; the cells are 63.3 x 138.5 mm. Choose a narrower "
                         "module width or print fewer columns."),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(f.pdf));
    EXPECT_EQ(f.Run("print " + f.project + " --png-dir " + f.dir + "/pages").exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/pages/page-0001.png"));
}

TEST(QbmPrint, LabelsAreReadBackWhenTheProjectSaysSoUnlessTheRunSaysOtherwise) {
    const Fixture f({"590123412345", "4006381333931"});
    const auto verified = [&](const std::string& options) {
        const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.pdf + options);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.err.find("2 labels verified") != std::string::npos;
    };
    EXPECT_TRUE(verified("")); // a project made now reads its labels back
    EXPECT_FALSE(verified(" --no-verify"));
    EXPECT_EQ(f.Run("print " + f.project + " --pdf " + f.pdf + " --verify --no-verify").exitCode, 2);

    // A project written before the setting existed prints as it did: without reading back.
    {
        TBigIniFile ini(f.project);
        ini.DeleteKey("Properties", "Verify");
        ini.UpdateFile();
    }
    EXPECT_FALSE(verified(""));
    EXPECT_TRUE(verified(" --verify"));
}

} // namespace
} // namespace qbm
