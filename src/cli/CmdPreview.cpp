#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "surface/GuiApplication.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

constexpr const char* kDescription =
    "Writes the page preview the main window shows for the project (A4 at 300 dpi, as without a\n"
    "printer), and prints the page count text. Fit warnings go to stderr.";

int RunPreview(const Args& args) {
    const std::string projectPath = args.Positional(0, "project file");
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out PAGE.png is required");
    RefuseOutputOverInput(projectPath, *out);
    EnsureGuiApplication();
    TCliDocument run;
    if (!OpenForRun(args, projectPath, run)) return 1;
    const TLabelDocument& doc = *run.document;
    // A fit warning still shows the page; a label that could not be drawn leaves nothing to show.
    if (run.prompts.Failed()) return 1;
    doc.PagePicture().SaveToFile(*out);
    std::cout << doc.PageCountText() << "\n";
    return run.prompts.Complained() ? 1 : 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "preview",
    .summary = "write a project's page preview picture",
    .synopsis = "FILE.bpj --out PAGE.png [OPTIONS]",
    .description = kDescription,
    .options = Join({{{"--out", "PAGE.png", "the picture to write"}}, ProjectOptions()}),
    .run = RunPreview});

} // namespace qbm::cli
