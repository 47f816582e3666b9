#include "ini/TIniFile.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "Code39Workspace.h"
#include "TestSupport.h"

#include <filesystem>

namespace qbm {
namespace {

// Sizes far beyond any label, from the command line, the library and the code itself: each is refused
// at once with the setting it comes from, and no picture is written.
TEST(QbmSizeLimits, OversizedSettingsAreRefusedByName) {
    const std::string dir = test::MakeTempDir();
    const std::string out = dir + "/a.png";
    const auto library = [&](const std::string& section, const std::string& key, int value) {
        const std::string path = dir + "/" + key + ".dat";
        WriteDefaultTemplates(path);
        TIniFile(path).WriteInteger(section, key, value);
        return " --library " + path;
    };
    const std::string longCode(10000, 'A');
    const std::string bothLarge = dir + "/both.dat";
    WriteDefaultTemplates(bothLarge);
    TIniFile(bothLarge).WriteInteger("Barcode2D", "PBW", 200);
    TIniFile(bothLarge).WriteInteger("Barcode2D", "PBH", 100);
    const struct {
        std::string args;
        int exitCode;
        std::string message;
    } cases[] = {
        /* 0 */ {"maxicode X --autoscale 0 --bar-size 1000000 --out " + out, 2, "--bar-size takes 0 to 200"},
        /* 1 */
        {"label --2d maxicode X --out " + out + library("Barcode2D", "MBWH", 1000000), 1,
         "The 2D setting MBWH of the template library is 1000000"},
        /* 2 */ {"label --2d pdf417 X --out " + out + library("Barcode2D", "PBW", 1000000), 1, "setting PBW"},
        /* 3 */ {"label --2d pdf417 X --out " + out + library("Barcode2D", "PBH", 1000000), 1, "setting PBH"},
        /* 4 */
        {"label Code39 ABC --out " + out + library("Code39", "Height", 100000), 1,
         "The template's Height of 100000 mm is more than a label can be"},
        /* 5 */
        {"label Code39 ABC --out " + out + library("Code39", "BarWidth", 1000000), 1, "BarWidth of 1000000"},
        /* 6 */
        {"label Code128B " + longCode + " --out " + out, 1,
         "more than a label picture can hold; the code has 10000 characters"},
        /* 7 */
        {"label --2d pdf417 X --out " + out + " --library " + bothLarge, 1,
         "more than a label picture can hold; check the bar and module sizes (PBW, PBH, MBWH)"},
        /* 8 */
        {"maxicode X --dpi 1000000 --out " + out, 2, "more than any label; use smaller --bar-size or --dpi"},
        /* 9 */
        {"pdf417 X --dpi 2400 --bar-width 50 --row-height 500 --out " + out, 2,
         "more than any label; use smaller --bar-width, --row-height or --dpi"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const test::TCliRun r = test::RunQbm(dir, cases[i].args);
        EXPECT_EQ(r.exitCode, cases[i].exitCode) << "case " << i << ": " << r.err;
        EXPECT_NE(r.err.find(cases[i].message), std::string::npos) << "case " << i << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << "case " << i;
    }

    // A label far wider than its page: the preview fails with the cause instead of a blank page.
    WriteDefaultTemplates(dir + "/Templates.dat");
    TLabelProject p;
    p.SetTemplateName("Code128B");
    p.SetLinearSource(TLinearSource::lsConstant);
    p.SetFixedCode(std::string(1000000, 'A'));
    SaveProject(dir + "/wide.bpj", p, nullptr);
    const test::TCliRun r = test::RunQbm(dir, "preview " + dir + "/wide.bpj --out " + dir +
                                                  "/page.png --library " + dir + "/Templates.dat");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("more than a label picture can hold; the code has 1000000 characters"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/page.png")) << "a blank page in place of the label";
}

// The largest symbols the options allow are refused before any picture of them exists: the refusal
// names the options and the run stays small (a picture of that size would take 1.9 GB).
TEST(QbmSizeLimits, LargestSymbolsAreRefusedBeforeTheirPictureIsMade) {
    const std::string dir = test::MakeTempDir();
    const std::string out = dir + "/a.png";
    const struct {
        std::string args;
        std::string message;
    } cases[] = {
        {"pdf417 " + std::string(1800, 'A') + " --bar-width 50 --row-height 500 --out " + out,
         "the picture would be 28966 x 16516 pixels, more than any label"},
        {"maxicode X --autoscale 0 --bar-size 200 --dpi 2400 --out " + out,
         "more than any label; use smaller --bar-size"},
    };
    for (const auto& c : cases) {
        const test::TMeasuredCliRun r = test::RunQbmMeasured(dir, c.args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own memory is not the program's
        EXPECT_LT(r.peakKilobytes, 400'000) << c.args.substr(0, 40);
#endif
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// A folder with the template library and huge.bpj: a constant code of `length` letters A.
std::string HugeCodeProject(const std::string& templateName, size_t length) {
    const std::string dir = test::MakeTempDir();
    WriteDefaultTemplates(dir + "/Templates.dat");
    TLabelProject p;
    p.SetTemplateName(templateName);
    p.SetLinearSource(TLinearSource::lsConstant);
    p.SetFixedCode(std::string(length, 'A'));
    SaveProject(dir + "/huge.bpj", p, nullptr);
    return dir;
}

// A constant code of millions of characters is refused by its length before it is encoded, measured or
// drawn, in the preview and in a print run: the run stays small (a few copies of the text) instead of
// building a pattern and bar list ten and a hundred times its size.
TEST(QbmSizeLimits, AHugeConstantCodeIsRefusedBeforeItIsEncoded) {
    const std::string dir = HugeCodeProject("Code128B", 5'000'000);
    const std::string lib = " --library " + dir + "/Templates.dat";
    for (const std::string& run : {"preview " + dir + "/huge.bpj --out " + dir + "/page.png" + lib,
                                   "print " + dir + "/huge.bpj --pdf " + dir + "/out.pdf" + lib}) {
        const test::TMeasuredCliRun r = test::RunQbmMeasured(dir, run);
        EXPECT_EQ(r.exitCode, 1) << run;
        EXPECT_NE(r.err.find("more than a label picture can hold; the code has 5000000 characters"),
                  std::string::npos)
            << r.err;
#if !defined(__SANITIZE_ADDRESS__)
        EXPECT_LT(r.peakKilobytes, 250'000) << run;
#endif
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/page.png"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/out.pdf"));
}

// The preview of a project whose constant code is 100 MB holds the code about twice (the project's
// own and the first label's value), not once more for each check and measurement before it is refused.
TEST(QbmSizeLimits, AHugeConstantCodeIsNotCopiedByThePreview) {
    const std::string dir = HugeCodeProject("Code39", 100'000'000);
    const test::TMeasuredCliRun r = test::RunQbmMeasured(
        dir, "preview " + dir + "/huge.bpj --out " + dir + "/page.png --library " + dir + "/Templates.dat");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("the code has 100000000 characters"), std::string::npos) << r.err.substr(0, 300);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(r.peakKilobytes, 300'000) << "peak " << r.peakKilobytes / 1024 << " MB";
#endif
}

// A template's bar width that is more dots at the printer's resolution than a bar may be is refused
// with the resolution that fits, instead of printing the bars of the setting before (one dot wide).
TEST(QbmSizeLimits, BarsWiderThanTheBarcodeDrawsAreRefusedWithTheResolutionThatFits) {
    const test::TCode39Workspace w(4);
    const std::string lib = " --library " + w.library + " --no-journal";
    const test::TCliRun high =
        test::RunQbm(w.dir, "print " + w.project + " --pdf " + w.dir + "/high.pdf --dpi 2400" + lib);
    EXPECT_EQ(high.exitCode, 1);
    EXPECT_NE(high.err.find("dots at 2400 dpi, more than the 49 dots a bar may be; choose "),
              std::string::npos)
        << high.err;
    EXPECT_FALSE(std::filesystem::exists(w.dir + "/high.pdf"));
    const test::TCliRun fits =
        test::RunQbm(w.dir, "print " + w.project + " --pdf " + w.dir + "/fits.pdf --dpi 1200" + lib);
    EXPECT_EQ(fits.exitCode, 0) << fits.err;
}

} // namespace
} // namespace qbm
