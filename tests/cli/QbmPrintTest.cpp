#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

struct Fixture {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/labels.bpj";

    // A datasheet project with `rows` data rows, 2 x 2 labels a page.
    explicit Fixture(int rows, const std::string& templateName = "Code39", const std::string& badRow = {}) {
        WriteDefaultTemplates(library);
        TLabelProject p;
        p.SetTemplateName(templateName);
        p.SetLinearSource(TLinearSource::lsDatasheet);
        TDatasheet& sheet = p.Datasheet();
        sheet.SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r) sheet.SetCell(1, r, "ITEM" + std::to_string(r));
        if (!badRow.empty()) sheet.SetCell(1, 2, badRow);
        p.RebuildFieldList(kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        SaveProject(project, p, nullptr);
    }
    test::TCliRun Run(const std::string& args) const {
        return test::RunQbm(dir, args + " --library " + library);
    }
};

TEST(QbmPrint, WritesOnePngPerPageAndSaysHowManyLabels) {
    const Fixture f(5);
    const test::TCliRun r = f.Run("print " + f.project + " --png-dir " + f.dir + "/pages --dpi 150");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "5 labels on 2 pages\n");
    const QImage page(QString::fromStdString(f.dir + "/pages/page-0001.png"));
    EXPECT_EQ(page.width(), 1240); // A4 at 150 dpi
    EXPECT_TRUE(std::filesystem::exists(f.dir + "/pages/page-0002.png"));
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/pages/page-0003.png"));
}

TEST(QbmPrint, PngPagesOfAnEarlierLongerRunAreRemoved) {
    const Fixture longer(9), shorter(5);
    const std::string pages = longer.dir + "/pages";
    ASSERT_EQ(longer.Run("print " + longer.project + " --png-dir " + pages + " --dpi 50").exitCode, 0);
    ASSERT_TRUE(std::filesystem::exists(pages + "/page-0003.png"));
    for (const char* other : {"/notes.txt", "/page-0003.png.bak", "/page-12.png"})
        test::WriteWholeFile(pages + other, "x");
    const test::TCliRun r = shorter.Run("print " + shorter.project + " --png-dir " + pages + " --dpi 50");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("removed 1 page of an earlier run from " + pages), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(pages + "/page-0002.png"));
    EXPECT_FALSE(std::filesystem::exists(pages + "/page-0003.png"));
    for (const char* other : {"/notes.txt", "/page-0003.png.bak", "/page-12.png"})
        EXPECT_TRUE(std::filesystem::exists(pages + other)) << other;
}

// One-bit pages (PBM, TIFF) still read as the labels printed on them, and stale pages are those of
// the format written.
TEST(QbmPrint, PbmAndTiffPagesHoldReadableLabels) {
    const Fixture f(5);
    for (const std::string format : {"pbm", "tiff"}) {
        const std::string pages = f.dir + "/" + format;
        std::filesystem::create_directories(pages);
        test::WriteWholeFile(pages + "/page-0003." + format, "x");
        const test::TCliRun r =
            f.Run("print " + f.project + " --png-dir " + pages + " --dpi 200 --format " + format);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "5 labels on 2 pages\n");
        EXPECT_FALSE(std::filesystem::exists(pages + "/page-0003." + format)) << format;
        std::vector<std::string> read;
        for (const char* page : {"/page-0001.", "/page-0002."}) {
            const QImage image = test::ReadPageFile(pages + page + format);
            ASSERT_FALSE(image.isNull()) << pages + page + format;
            EXPECT_EQ(image.width(), 1654) << "A4 at 200 dpi";
            for (std::string& text : test::DecodeAll(image, ZXing::BarcodeFormat::Code39))
                read.push_back(text);
        }
        std::sort(read.begin(), read.end());
        EXPECT_EQ(read, (std::vector<std::string>{"ITEM1", "ITEM2", "ITEM3", "ITEM4", "ITEM5"})) << format;
    }
}

TEST(QbmPrint, WritesAPdfWithAPageForEveryFourLabels) {
    const Fixture f(9);
    const test::TCliRun r =
        f.Run("print " + f.project + " --pdf " + f.dir + "/out.pdf --paper Letter --landscape");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string pdf = test::ReadWholeFile(f.dir + "/out.pdf");
    EXPECT_NE(pdf.find("/Count 3"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 792.000000 612.000000]"), std::string::npos) << "Letter, landscape";
}

// Captions from the datasheet in any script print, and the PDF's text finds them.
TEST(QbmPrint, DatasheetCaptionsInAnyScriptArePrintedAsText) {
    const Fixture f(3);
    // A template that shows its text: the caption goes with it.
    std::ofstream(f.library, std::ios::app | std::ios::binary)
        << "[Shelf]\r\nCodeType=6\r\nTextLayout=2\r\nHeight=12\r\nBarWidth=20\r\nXFontName=DejaVu "
           "Sans\r\nXFontSize=8\r\n";
    TLabelProject p;
    LoadProject(f.project, p, {});
    p.SetTemplateName("Shelf");
    TDatasheet& sheet = p.Datasheet();
    sheet.AddColumn("Caption");
    const char* const kCaptions[] = {"Fr\u00FChst\u00FCck \u2013 1,50 \u20AC",
                                     "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1", "K\u00E4se"};
    for (int r = 1; r <= 3; ++r) sheet.SetCell(2, r, kCaptions[r - 1]);
    p.RebuildFieldList(kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    p.SetCapField(2);
    SaveProject(f.project, p, nullptr);
    const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.dir + "/out.pdf");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(std::system(("pdftotext '" + f.dir + "/out.pdf' '" + f.dir + "/out.txt'").c_str()), 0);
    const std::string text = test::ReadWholeFile(f.dir + "/out.txt");
    for (const char* caption : kCaptions)
        EXPECT_NE(text.find(caption), std::string::npos) << caption << " in " << text;
}

TEST(QbmPrint, InvalidRowsAreListedAndNothingIsWritten) {
    const Fixture f(3, "Code93", "lower case");
    const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.dir + "/out.pdf");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Line(2): Invild code data of Code93 format!"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/out.pdf"));
}

TEST(QbmPrint, RefusesWrongUsageAndMissingFiles) {
    const Fixture f(1);
    EXPECT_EQ(f.Run("print " + f.project).exitCode, 2) << "no output chosen";
    EXPECT_EQ(f.Run("print " + f.project + " --pdf a.pdf --png-dir d").exitCode, 2);
    EXPECT_EQ(f.Run("print " + f.project + " --pdf a.pdf --paper A5").exitCode, 2);
    const test::TCliRun gif = f.Run("print " + f.project + " --png-dir " + f.dir + "/gif --format gif");
    EXPECT_EQ(gif.exitCode, 2);
    EXPECT_NE(gif.err.find("--format takes png, pbm or tiff, not \"gif\""), std::string::npos) << gif.err;
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/gif"));
    const test::TCliRun pdf = f.Run("print " + f.project + " --pdf " + f.dir + "/a.pdf --format pbm");
    EXPECT_EQ(pdf.exitCode, 2);
    EXPECT_NE(pdf.err.find("--format applies to --png-dir"), std::string::npos) << pdf.err;
    const test::TCliRun missing = f.Run("print " + f.dir + "/none.bpj --pdf " + f.dir + "/x.pdf");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.bpj"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/x.pdf"));
}

// A project whose template left the library is not printed with the defaults in its place: every
// command that draws or lists its labels says so and writes nothing.
TEST(QbmPrint, ProjectWhoseTemplateIsGoneIsRefusedWithoutOutput) {
    const Fixture f(3, "Gone");
    const struct {
        std::string args;
        std::string output;
    } runs[] = {
        {"print " + f.project + " --pdf " + f.dir + "/out.pdf", f.dir + "/out.pdf"},
        {"print " + f.project + " --png-dir " + f.dir + "/pages", f.dir + "/pages/page-0001.png"},
        {"preview " + f.project + " --out " + f.dir + "/preview.png", f.dir + "/preview.png"},
        {"labels " + f.project, ""},
    };
    for (const auto& run : runs) {
        const test::TCliRun r = f.Run(run.args);
        EXPECT_EQ(r.exitCode, 1) << run.args;
        EXPECT_NE(r.err.find("Template: \"Gone\" has been removed!"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << run.args;
        EXPECT_TRUE(run.output.empty() || !std::filesystem::exists(run.output)) << run.args;
    }
    // The 2D labels of the same project do not need the linear template.
    EXPECT_EQ(f.Run("labels " + f.project + " --kind 2d").exitCode, 0);
}

TEST(QbmPreview, WritesThePreviewPageAndThePageCount) {
    const Fixture f(5);
    const test::TCliRun r = f.Run("preview " + f.project + " --out " + f.dir + "/preview.png");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Total: 2Pages\n");
    const QImage picture(QString::fromStdString(f.dir + "/preview.png"));
    EXPECT_EQ(picture.width(), 207);
    EXPECT_EQ(picture.height(), 292);

    // The second page at 150 pixels an inch: the fifth row's label, alone in the first cell.
    const std::string second = f.dir + "/page2.png";
    ASSERT_EQ(f.Run("preview " + f.project + " --page 2 --dpi 150 --out " + second).exitCode, 0);
    const QImage page2(QString::fromStdString(second));
    EXPECT_EQ(page2.width(), 1240);
    EXPECT_EQ(test::DecodeAll(page2, ZXing::BarcodeFormat::Code39), std::vector<std::string>{"ITEM5"});

    const test::TCliRun past = f.Run("preview " + f.project + " --page 3 --out " + f.dir + "/page3.png");
    EXPECT_EQ(past.exitCode, 2);
    EXPECT_NE(past.err.find("--page must lie between 1 and 2: the run has 2 pages"), std::string::npos)
        << past.err;
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/page3.png"));
}

} // namespace
} // namespace qbm
