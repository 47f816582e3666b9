#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

// An EAN-13 datasheet project, 2 x 2 labels a page; printer calibrations go to a settings folder of
// the test's own.
struct Fixture {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/labels.bpj";

    explicit Fixture(const std::vector<std::string>& codes) {
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        WriteDefaultTemplates(library);
        TLabelProject p;
        p.SetTemplateName("EAN13 (ISBN)");
        p.SetLinearSource(TLinearSource::lsDatasheet);
        p.Datasheet().SetRowCount(static_cast<int>(codes.size()) + 1);
        for (size_t r = 0; r < codes.size(); ++r) p.Datasheet().SetCell(1, static_cast<int>(r + 1), codes[r]);
        p.RebuildFieldList(kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        SaveProject(project, p, nullptr);
    }
    test::TCliRun Run(const std::string& args) const {
        return test::RunQbm(dir, args + " --library " + library);
    }
    test::TCliRun Calibrate(const std::string& args) const { return test::RunQbm(dir, "calibrate " + args); }
    std::vector<std::string> Journal() const {
        std::ifstream in(project + ".log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find('\t') + 1));
        return lines;
    }
};

// The template prints EAN-13 without adding a check digit: the values carry theirs.
const std::vector<std::string> kCodes = {"4006381333931", "5901234123457", "8712345678906", "3123456789019",
                                         "5012345678900"};

TEST(QbmPrintVerify, ASlippedValueStopsTheRunBeforeAnythingIsPrinted) {
    std::vector<std::string> codes = kCodes;
    codes[1] = "5901234123458"; // wrong check digit: no scanner takes the symbol
    const Fixture f(codes);
    const test::TCliRun r = f.Run("print " + f.project + " --verify --pdf " + f.dir + "/out.pdf");
    EXPECT_EQ(r.exitCode, 1);
    // Named by the check before the labels are even drawn.
    EXPECT_NE(r.err.find("Line(2): The check digit of 5901234123458 should be 7."), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/out.pdf"));
    EXPECT_TRUE(f.Journal().empty());

    const Fixture clean(kCodes);
    const test::TCliRun ok =
        clean.Run("print " + clean.project + " --verify --pdf " + clean.dir + "/out.pdf");
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_EQ(ok.out, "5 labels on 2 pages\n");
    EXPECT_NE(ok.err.find("5 labels verified in "), std::string::npos) << ok.err;
}

TEST(QbmPrintVerify, StartPagesJournalAndFromLabel) {
    const Fixture f(kCodes);
    // Two cells left empty: labels 1 and 2 on page 1, labels 3 to 5 on page 2.
    const test::TCliRun r = f.Run("print " + f.project + " --start 3 --pages 2 --pdf " + f.dir + "/out.pdf");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3 labels on 1 page of the run's 2\n");
    ASSERT_EQ(f.Journal().size(), 1u);
    EXPECT_EQ(f.Journal()[0], "PDF\tpage 2\tlabel 3\t8712345678906\tlabel 5\t5012345678900");

    const test::TCliRun resumed = f.Run("print " + f.project + " --from-label 4 --pdf " + f.dir + "/out.pdf");
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_EQ(resumed.out, "2 labels on 1 page\n");
    EXPECT_EQ(f.Journal().back(), "PDF\tpage 1\tlabel 4\t3123456789019\tlabel 5\t5012345678900");

    EXPECT_EQ(f.Run("print " + f.project + " --pages 3-1 --pdf x.pdf").exitCode, 2);
    const test::TCliRun beyond = f.Run("print " + f.project + " --start 5 --pdf " + f.dir + "/none.pdf");
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_NE(beyond.err.find("The start position must lie between 1 and 4."), std::string::npos)
        << beyond.err;
}

TEST(QbmCalibrate, StoresCorrectionsPerPrinterAndPrintsTheSheet) {
    const Fixture f(kCodes);
    test::TCliRun r = f.Calibrate("--set PDF 1.5 -2 1.01 0.99");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = f.Calibrate("--show PDF");
    EXPECT_EQ(r.out, "PDF: offset 1.500000 mm, -2.000000 mm; scale 1.010000, 0.990000\n");
    r = f.Calibrate("--show 'Office/Laser 2'");
    EXPECT_EQ(r.out, "Office/Laser 2: offset 0.000000 mm, 0.000000 mm; scale 1.000000, 1.000000\n");
    EXPECT_EQ(f.Calibrate("--set PDF 60 0 1 1").exitCode, 2) << "beyond 50 mm";
    EXPECT_EQ(f.Calibrate("--set PDF 0 0 1.2 1").exitCode, 2) << "beyond 10 %";
    EXPECT_EQ(f.Calibrate("--set PDF 0 x 1 1").exitCode, 2);
    EXPECT_EQ(f.Calibrate("--show PDF").out,
              "PDF: offset 1.500000 mm, -2.000000 mm; scale 1.010000, 0.990000\n")
        << "refused values leave the stored ones";
    EXPECT_EQ(f.Calibrate("--clear PDF").exitCode, 0);
    EXPECT_EQ(f.Calibrate("--show PDF").out,
              "PDF: offset 0.000000 mm, 0.000000 mm; scale 1.000000, 1.000000\n");

    r = f.Calibrate("" + f.project + " --pdf " + f.dir + "/sheet.pdf --dpi 300");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "calibration sheet for PDF: 2 x 2 cells\n");
    EXPECT_NE(test::ReadWholeFile(f.dir + "/sheet.pdf").find("/Count 1"), std::string::npos);
}

// An empty printer name would address every printer's calibration; numbers are decimals only and the
// stated limits are allowed.
TEST(QbmCalibrate, RefusesEmptyNamesAndOddNumbersAndAllowsTheLimits) {
    const Fixture f(kCodes);
    ASSERT_EQ(f.Calibrate("--set PDF 50 -50 1.1 0.9").exitCode, 0) << "the limits themselves";
    const std::string stored = "PDF: offset 50.000000 mm, -50.000000 mm; scale 1.100000, 0.900000\n";
    EXPECT_EQ(f.Calibrate("--show PDF").out, stored);
    const struct {
        std::string args;
        std::string error;
    } refused[] = {
        /* 0 */ {"--clear ''", "--clear needs a printer name"},
        /* 1 */ {"--set '' 1 1 1 1", "--set needs a printer name"},
        /* 2 */ {"--set PDF 0x10 0 1 1", "DX needs a decimal number, not '0x10'"},
        /* 3 */ {"--set PDF 1e1 0 1 1", "DX needs a decimal number, not '1e1'"},
        /* 4 */ {"--set PDF 0 0 inf 1", "SX needs a decimal number, not 'inf'"},
        /* 5 */ {"--set PDF 0 0 1.1000001 1", "scales go from 0.9 to 1.1"},
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        const test::TCliRun r = f.Calibrate(refused[i].args);
        EXPECT_EQ(r.exitCode, 2) << i;
        EXPECT_NE(r.err.find(refused[i].error), std::string::npos) << i << ": " << r.err;
    }
    EXPECT_EQ(f.Calibrate("--show PDF").out, stored) << "refusals change nothing";
}

// A settings file that cannot be written whole (here a file-size limit, as a full disk) fails the
// change with exit 1 and keeps every printer's calibration as it was, with no stray file beside it.
TEST(QbmCalibrate, AWriteCutShortKeepsTheStoredCalibrations) {
    const Fixture f(kCodes);
    for (int i = 1; i <= 30; ++i)
        ASSERT_EQ(f.Calibrate("--set Printer" + std::to_string(i) + " 1 2 1 1").exitCode, 0);
    const std::string folder = f.dir + "/config/Quirbel";
    const std::string file = folder + "/Quirbel Barcode Maker.conf";
    const std::string before = test::ReadWholeFile(file);
    ASSERT_GT(before.size(), 2048u);
    for (const char* change : {"--set Printer31 1 2 1 1", "--clear Printer30"}) {
        const test::TCliRun r = test::RunQbmOnFullDisk(f.dir, std::string("calibrate ") + change, 4);
        EXPECT_EQ(r.exitCode, 1) << change;
        EXPECT_NE(r.err.find("Cannot save the printer calibration"), std::string::npos) << r.err;
        EXPECT_EQ(test::ReadWholeFile(file), before) << change;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

} // namespace
} // namespace qbm
