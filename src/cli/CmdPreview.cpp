#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"
#include "cli/CliProject.h"
#include "cli/CliPrompts.h"
#include "ini/TIniFile.h"
#include "output/ProjectPrinting.h"
#include "output/TLabelSetup.h"
#include "output/TPreview.h"
#include "project/CodeValueSources.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "surface/GuiApplication.h"
#include "templates/TemplateLibrary.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

constexpr const char* kUsage =
    "Usage: qbm preview FILE.bpj --out PAGE.png [--library PATH] [--kind linear|2d]\n"
    "\n"
    "Writes the page preview the main window shows for the project (A4 at 300 dpi, as without a\n"
    "printer), and prints the page count text. Fit warnings go to stderr.";

int RunPreview(const Args& args) {
    args.OnlyKnown({"--out", "--library", "--kind"});
    const std::string projectPath = args.Positional(0, "project file");
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out PAGE.png is required");
    EnsureGuiApplication();
    const std::string libraryPath = LibraryPathFor(args);
    const TIniFile library(libraryPath);
    TLabelProject project;
    TProjectEnvironment env;
    env.templateNames = LoadTemplateNames(libraryPath);
    LoadProjectForRun(args, projectPath, project, env);

    const TPage page = PageOf(nullptr, project.Orientation());
    TLabelSetup setup;
    ApplyProjectLabel(setup, project, library, page.resX, page.resY);
    TConsolePrompts prompts;
    TBitmap picture;
    const TPreviewResult r = RefreshPreview(picture, page, LayoutOf(project), TPanelSize{}, setup.label.Bitmap,
                                            project.Kind() == TBarcodeKind::bk2D, LabelCount(project), prompts);
    picture.SaveToFile(*out);
    std::cout << r.pageCountText << "\n";
    return prompts.Complained() ? 1 : 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{"preview", "write a project's page preview picture", kUsage, RunPreview, {}});

} // namespace qbm::cli
