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

// GS1 DataBar and Intelligent Mail templates beside the defaults, and a datasheet project that prints
// `codes` with one of them, 2 x 2 labels a page, read back before printing as projects are.
struct Fixture {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/labels.bpj";

    Fixture(const std::string& templateName, const std::vector<std::string>& codes) {
        WriteDefaultTemplates(library);
        std::ofstream(library, std::ios::app | std::ios::binary)
            << "[DataBar]\r\nCodeType=24\r\nTextLayout=2\r\nHeight=10\r\nBarWidth=33\r\n"
               "[Stacked]\r\nCodeType=25\r\nTextLayout=3\r\nHeight=8\r\nBarWidth=33\r\n"
               "[Limited]\r\nCodeType=26\r\nTextLayout=0\r\nHeight=8\r\nBarWidth=33\r\n"
               "[Expanded]\r\nCodeType=27\r\nTextLayout=2\r\nHeight=10\r\nBarWidth=33\r\n"
               "[Mail]\r\nCodeType=28\r\nTextLayout=0\r\nHeight=4\r\nBarWidth=50\r\n";
        TLabelProject p;
        p.SetTemplateName(templateName);
        p.SetLinearSource(TLinearSource::lsDatasheet);
        TDatasheet& sheet = p.Datasheet();
        sheet.SetRowCount(static_cast<int>(codes.size()) + 1);
        for (size_t r = 0; r < codes.size(); ++r) sheet.SetCell(1, static_cast<int>(r) + 1, codes[r]);
        p.RebuildFieldList(kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        p.SetLinage(2);
        p.SetColumn(2);
        SaveProject(project, p, nullptr);
    }
    test::TCliRun Run(const std::string& args) const {
        return test::RunQbm(dir, args + " --library " + library);
    }
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

const std::vector<std::string> kGtins = {"09501101530003", "0950110153010", "(01)00012345600012",
                                         "04012345678901", "4006381333931"};
// As the reader hands them on: 14 digits, the check digit added where it was left out.
const std::vector<std::string> kRead = {"00012345600012", "04012345678901", "09501101530003",
                                        "09501101530102", "40063813339314"};

TEST(QbmSymbolTypes, DataBarPrintsIntoPagePicturesAndPdfAndEveryLabelReadsBack) {
    const Fixture f("DataBar", kGtins);
    const test::TCliRun png =
        f.Run("print " + f.project + " --png-dir " + f.dir + "/pages --dpi 300 --verify");
    ASSERT_EQ(png.exitCode, 0) << png.err;
    EXPECT_EQ(png.out, "5 labels on 2 pages\n");
    EXPECT_NE(png.err.find("5 labels verified in "), std::string::npos) << png.err;
    EXPECT_NE(png.err.find(", 0 unreadable"), std::string::npos) << png.err;
    std::vector<std::string> read;
    for (const char* page : {"/pages/page-0001.png", "/pages/page-0002.png"})
        for (std::string& text :
             test::DecodeAll(QImage(QString::fromStdString(f.dir + page)), ZXing::BarcodeFormat::DataBar))
            read.push_back(text);
    EXPECT_EQ(Sorted(read), kRead);

    const test::TCliRun pdf = f.Run("print " + f.project + " --pdf " + f.dir + "/out.pdf --verify");
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err;
    read.clear();
    for (const QImage& page : test::RasterisePdf(f.dir + "/out.pdf", 300))
        for (std::string& text : test::DecodeAll(page, ZXing::BarcodeFormat::DataBar)) read.push_back(text);
    EXPECT_EQ(Sorted(read), kRead);
}

TEST(QbmSymbolTypes, ExpandedAndStackedReadBackLimitedAndMailSayTheyWereNotRead) {
    const struct {
        const char* name;
        std::vector<std::string> codes;
        std::string out;
        std::string err; // what the run says of reading the labels back
    } kCases[] = {
        {"Expanded",
         {"(01)09501101530003(3103)000750", "(01)09501101530003(10)LOT-7"},
         "2 labels on 1 page\n",
         "2 labels verified in "},
        {"Stacked", {"0950110153000"}, "1 labels on 1 page\n", "1 labels verified in "},
        {"Limited",
         {"1950110153000"},
         "1 labels on 1 page\n",
         "labels not read back: no reader for GS1 DataBar Limited symbols\n"},
        {"Mail",
         {"01234567094987654321", "0123456709498765432101234"},
         "2 labels on 1 page\n",
         "labels not read back: no reader for Intelligent Mail symbols\n"},
    };
    for (const auto& c : kCases) {
        const Fixture f(c.name, c.codes);
        const test::TCliRun r =
            f.Run("print " + f.project + " --png-dir " + f.dir + "/pages --dpi 300 --verify");
        ASSERT_EQ(r.exitCode, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.name << ": " << r.err;
        if (c.err.find("verified") != std::string::npos) {
            EXPECT_NE(r.err.find(", 0 unreadable"), std::string::npos) << c.name << ": " << r.err;
        }
        if (std::string(c.name) == "Expanded") {
            const QImage page(QString::fromStdString(f.dir + "/pages/page-0001.png"));
            EXPECT_EQ(
                Sorted(test::DecodeAll(page, ZXing::BarcodeFormat::DataBarExpanded)),
                (std::vector<std::string>{"(01)09501101530003(10)LOT-7", "(01)09501101530003(3103)000750"}));
        }
    }
}

// A value its symbology cannot carry stops the run before anything is written, with the encoder's
// message for its row.
TEST(QbmSymbolTypes, AnUncodableRowIsListedWithTheEncodersMessage) {
    const Fixture f("Limited", {"1950110153000", "2950110153000"});
    const test::TCliRun r = f.Run("print " + f.project + " --pdf " + f.dir + "/out.pdf");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("GS1 DataBar Limited: Input out of range (0 to 1999999999999)"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/out.pdf"));
}

// The label command draws every symbol type's template into a picture of its own.
TEST(QbmSymbolTypes, LabelCommandDrawsEachTemplate) {
    const Fixture f("DataBar", {"0950110153000"});
    const struct {
        const char* name;
        const char* code;
    } kLabels[] = {{"DataBar", "0950110153000"},
                   {"Stacked", "0950110153000"},
                   {"Limited", "0950110153000"},
                   {"Expanded", "(01)09501101530003(17)251231"},
                   {"Mail", "01234567094987654321"}};
    for (const auto& l : kLabels) {
        const std::string out = f.dir + "/" + l.name + ".png";
        const test::TCliRun r = f.Run(std::string("label ") + l.name + " \"" + l.code + "\" --out " + out);
        ASSERT_EQ(r.exitCode, 0) << l.name << ": " << r.err;
        const QImage picture(QString::fromStdString(out));
        EXPECT_GT(picture.width(), 100) << l.name;
    }
}

} // namespace
} // namespace qbm
