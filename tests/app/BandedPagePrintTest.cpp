#include "app/ProjectPrinting.h"
#include "app/TLabelSetup.h"
#include "ini/TIniFile.h"
#include "project/TLabelProject.h"
#include "surface/TPageFileWriter.h"
#include "surface/TRasterPrinter.h"
#include "templates/TemplateLibrary.h"
#include "util/TUserPrompts.h"

#include "TestSupport.h"

#include <filesystem>

namespace qbm {
namespace {

// Prints the project's labels on A4 page files, drawn whole (bandRows 0) or in bands of `bandRows`
// rows, and gives the files' bytes page by page.
std::vector<std::string> PrintToFiles(TLabelProject& project, TPageFormat format, int bandRows) {
    constexpr int kDpi = 200;
    const std::string dir = test::MakeTempDir();
    const std::string library = dir + "/Templates.dat";
    WriteDefaultTemplates(library);
    auto writer = std::make_unique<TPageFileWriter>(dir + "/pages", 1, format);
    TPageFileWriter& files = *writer;
    std::filesystem::create_directory(dir + "/pages");
    TRasterPrinter printer(TPaperSize::A4(), kDpi, std::move(writer));
    printer.SetBandRows(bandRows);
    TLabelSetup setup;
    ApplyProjectLabel(setup, project, TIniFile(library), kDpi, kDpi);
    TScriptedPrompts prompts;
    const TPrintResult result =
        PrintProject(project, printer, setup.bcdMain, &setup.Symbol2D(project), setup.label.Bitmap, prompts);
    EXPECT_EQ(result.outcome, TPrintOutcome::poPrinted);
    std::vector<std::string> pages;
    for (int n = 1; std::filesystem::exists(files.PagePath(n)); ++n)
        pages.push_back(test::ReadWholeFile(files.PagePath(n)));
    return pages;
}

TLabelProject DatasheetLabels() {
    TLabelProject project;
    project.SetTemplateName("Code128B");
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetLinage(3);
    project.SetColumn(2);
    project.SetSplitMarks(true);
    TDatasheet& sheet = project.Datasheet();
    sheet.Reset(3, 9);
    sheet.SetCell(1, 0, "Article");
    sheet.SetCell(2, 0, "Name");
    for (int r = 1; r <= 8; ++r) {
        sheet.SetCell(1, r, "ART-" + std::to_string(100 + r));
        sheet.SetCell(2, r, "name " + std::to_string(r));
    }
    project.RebuildFieldList(kFieldPlaceholderLoaded);
    project.SetCodeField(1);
    project.SetCapField(2);
    return project;
}

TLabelProject SymbolList(int format) {
    TLabelProject project;
    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsCodeList);
    project.SetFormat2D(format);
    project.CodeList2D() = {"first entry", "Second: 1234567890", "third"};
    return project;
}

// A page drawn band by band, each band cutting through bars, digits, captions, split marks and 2D
// symbols, gives the very file the page drawn whole gives, in every page format.
TEST(BandedPagePrint, BandsGiveTheFilesOfTheWholePage) {
    const std::pair<std::string, TLabelProject> projects[] = {
        {"Code 128 with captions", DatasheetLabels()},
        {"PDF417", SymbolList(0)},
        {"MaxiCode", SymbolList(1)},
        {"QR Code", SymbolList(2)},
    };
    for (auto [name, project] : projects)
        for (const TPageFormat format : {TPageFormat::Png, TPageFormat::Pbm, TPageFormat::Tiff}) {
            const std::vector<std::string> whole = PrintToFiles(project, format, 0);
            ASSERT_FALSE(whole.empty()) << name;
            for (const int rows : {37, 500}) {
                const std::vector<std::string> banded = PrintToFiles(project, format, rows);
                ASSERT_EQ(banded.size(), whole.size()) << name << " in bands of " << rows;
                for (size_t p = 0; p < whole.size(); ++p)
                    EXPECT_TRUE(banded[p] == whole[p]) << name << ", " << PageExtension(format) << " page "
                                                       << p + 1 << " in bands of " << rows;
            }
        }
}

} // namespace
} // namespace qbm
