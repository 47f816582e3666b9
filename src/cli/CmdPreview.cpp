#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "output/TPreview.h"
#include "surface/GuiApplication.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

constexpr const char* kDescription =
    "Writes a page of the page preview the main window shows for the project (A4 at 300 dpi, as\n"
    "without a printer): each cell with its own label as printed. Prints the page count text. Fit\n"
    "warnings, and values a label could not be drawn with, go to stderr.";

constexpr int kDefaultPixelsPerInch = 25; // A4 as a 207 x 292 picture, as the window first shows it

int RunPreview(const Args& args) {
    const std::string projectPath = args.Positional(0, "project file");
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out PAGE.png is required");
    RefuseOutputOverInput(projectPath, *out);
    const int page = args.Int("--page", 1);
    const int dpi = args.Int("--dpi", kDefaultPixelsPerInch);
    if (dpi < kMinPreviewPixelsPerInch || dpi > kMaxPreviewPixelsPerInch)
        throw UsageError("--dpi must lie between " + std::to_string(int(kMinPreviewPixelsPerInch)) + " and " +
                         std::to_string(int(kMaxPreviewPixelsPerInch)));
    EnsureGuiApplication();
    TCliDocument run;
    if (!OpenForRun(args, projectPath, run)) return 1;
    TLabelDocument& doc = *run.document;
    // A fit warning still shows the page; a label that could not be drawn leaves nothing to show.
    if (run.prompts.Failed()) return 1;
    doc.SetPreviewPixelsPerInch(dpi);
    doc.ShowPreviewPage(page);
    if (doc.PreviewPage() != page)
        throw UsageError("--page must lie between 1 and " +
                         std::to_string(std::max(1, doc.PreviewPageCount())) + ": the run has " +
                         std::to_string(doc.PreviewPageCount()) +
                         (doc.PreviewPageCount() == 1 ? " page" : " pages"));
    doc.PagePicture().SaveToFile(*out);
    std::cout << doc.PageCountText() << "\n";
    if (!doc.PreviewProblem().empty()) std::cerr << doc.PreviewProblem() << "\n";
    return run.prompts.Complained() || !doc.PreviewProblem().empty() ? 1 : 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "preview",
    .summary = "write a project's page preview picture",
    .synopsis = "FILE.bpj --out PAGE.png [OPTIONS]",
    .description = kDescription,
    .options = Join({{{"--out", "PAGE.png", "the picture to write"},
                      {"--page", "N", "the page of the run to show (1 by default)"},
                      {"--dpi", "N",
                       "picture pixels an inch of paper, 8 to 600 (25 by default: A4 as 207 x 292;\n"
                       "96 shows the page at its real size on an ordinary screen)"}},
                     ProjectOptions()}),
    .run = RunPreview});

} // namespace qbm::cli
