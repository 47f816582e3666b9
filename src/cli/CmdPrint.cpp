#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliProgress.h"
#include "cli/CliStock.h"
#include "output/TPrintJournal.h"
#include "output/TPrinterCalibration.h"
#include "surface/GuiApplication.h"
#include "surface/TPageFileWriter.h"
#include "surface/TPageFormat.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"
#include "surface/TSystemPrinter.h"
#include "util/Errors.h"
#include "util/IntConversion.h"
#include "util/Rounding.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>

namespace qbm::cli {
namespace {

constexpr const char* kDescription =
    "Prints every label of the project's current source, as the Print button does when answered Yes:\n"
    "the project's template (or 2D settings) applied at the printer's resolution, its layout, split\n"
    "marks and checks. Choose one output: --pdf, --png-dir or --printer. Progress goes to stderr, the\n"
    "first line within a second of the start. Each page printed is noted in FILE.bpj.log (unless\n"
    "--no-journal). The printer's calibration (qbm calibrate) is applied; PDF output counts as the\n"
    "printer \"PDF\", PNG pages as \"PNG\". A project saved with a stock prints on it by itself.";

Options PrintOptions() {
    return Join({{{"--pdf", "OUT.pdf", "write a PDF (vector bars, default 600 dpi)"},
                  {"--png-dir", "DIR",
                   "write one picture per page (default 300 dpi), page-0001.png, .pbm or .tiff;\n"
                   "each appears whole, in page order; pages an earlier, longer run left in DIR\n"
                   "are removed"},
                  {"--printer", "NAME", "send the job to a system printer"},
                  {"--dpi", "N",
                   "resolution of --pdf and --png-dir, 1 to 4800; a --png-dir page of more than\n"
                   "200 million pixels (A4 above 1400 dpi) is drawn in bands, within 1 GB of\n"
                   "memory; pages over 6000 million pixels (larger than SRA3 at 4800 dpi) are\n"
                   "refused"},
                  {"--format", "png|pbm|tiff",
                   "the page files of --png-dir: png (default; one bit per pixel for black-and-\n"
                   "white pages, 8-bit grey when they have grey text edges, colour when they have\n"
                   "colour), pbm (one bit per pixel, darker than half grey is black; no resolution\n"
                   "stored) or tiff (black-and-white and grey pages one bit per pixel with fax G4\n"
                   "compression, pages with colour in colour)"},
                  {"--paper", "A4|Letter|WxHmm", "the paper of --pdf and --png-dir (default A4)"},
                  {"--landscape", "", "turn the page"}},
                 ProjectOptions(),
                 StockOptions(),
                 {{"--verify", "",
                   "read every label back before printing; print nothing when one does not read\n"
                   "as its value (projects say whether they do by themselves; new ones do)"},
                  {"--no-verify", "", "do not read the labels back in this run"},
                  {"--start", "N", "leave the first N-1 cells of the first sheet empty (row by row)"},
                  {"--pages", "A-B", "print only those pages of the run (or one page A)"},
                  {"--from-label", "K", "start with label K (a datasheet row's number)"},
                  {"--no-journal", "", "do not note the pages in FILE.bpj.log"}}});
}

// "A-B" or "A": the pages to print.
std::pair<int, int> PageRange(const std::string& text) {
    const auto dash = text.find('-');
    const auto a = TryStrToInt(text.substr(0, dash));
    const auto b = dash == std::string::npos ? a : TryStrToInt(text.substr(dash + 1));
    if (!a || !b || *a < 1 || *b < *a) throw UsageError("--pages takes A-B or A, pages from 1, e.g. 2-5");
    return {*a, *b};
}

std::string PrinterNameFor(const Args& args) {
    if (args.Has("--pdf")) return "PDF";
    if (args.Has("--png-dir")) return "PNG";
    return *args.Value("--printer");
}

TPrintRunOptions RunOptions(const Args& args, const std::string& projectPath) {
    TPrintRunOptions options;
    options.verify = args.Has("--verify");
    options.startCell = args.Int("--start", 1);
    if (args.Has("--pages"))
        std::tie(options.firstPage, options.lastPage) = PageRange(*args.Value("--pages"));
    options.fromLabel = args.Int("--from-label", 1);
    options.printerName = PrinterNameFor(args);
    options.calibration = TCalibrationStore().Load(options.printerName);
    if (!args.Has("--no-journal")) options.journalPath = JournalPathFor(projectPath);
    return options;
}

TPageFormat PageFormatOf(const Args& args) {
    const auto name = args.Value("--format");
    if (!name) return TPageFormat::Png;
    if (!args.Has("--png-dir")) throw UsageError("--format applies to --png-dir");
    const auto format = ParsePageFormat(*name);
    if (!format) throw UsageError("--format takes png, pbm or tiff, not \"" + *name + "\"");
    return *format;
}

std::unique_ptr<TPrinter> MakePrinter(const Args& args, const std::string& pngDir,
                                      std::optional<TPaperSize> stockPaper = std::nullopt,
                                      TPageFileWriter** pageWriter = nullptr) {
    const int outputs = args.Has("--pdf") + args.Has("--png-dir") + args.Has("--printer");
    if (outputs != 1) throw UsageError("choose one of --pdf, --png-dir and --printer");
    const auto paper =
        stockPaper && !args.Has("--paper") ? stockPaper : TPaperSize::Parse(args.Value("--paper", "A4"));
    if (!paper) throw UsageError("--paper takes A4, Letter or WxHmm, e.g. 100x150mm");
    if (args.Has("--pdf"))
        return std::make_unique<TPdfPrinter>(*args.Value("--pdf"), *paper, args.Int("--dpi", 600));
    if (args.Has("--png-dir")) {
        const TPageFormat format = PageFormatOf(args);
        std::filesystem::create_directories(pngDir);
        auto writer = std::make_unique<TPageFileWriter>(pngDir, 0, format);
        if (pageWriter) *pageWriter = writer.get();
        return std::make_unique<TRasterPrinter>(*paper, args.Int("--dpi", 300), std::move(writer));
    }
    if (args.Has("--dpi") || args.Has("--paper"))
        throw UsageError("--dpi and --paper apply to --pdf and --png-dir; a system printer uses its own");
    return std::make_unique<TSystemPrinter>(*args.Value("--printer"));
}

// A page picture larger than any page may be is refused before anything is read or drawn.
void RefuseOversizedPage(const TPrinter& printer) {
    if (const auto* raster = dynamic_cast<const TRasterPrinter*>(&printer))
        if (const std::string problem = raster->PageSizeProblem(); !problem.empty())
            throw EInOutError(problem);
}

int RunPrint(const Args& args) {
    const std::string projectPath = args.Positional(0, "project file");
    PageFormatOf(args); // a wrong --format is reported before anything is opened
    EnsureGuiApplication();
    if (args.Has("--dpi") && (args.Int("--dpi", 0) < 1 || args.Int("--dpi", 0) > 4800))
        throw UsageError("--dpi takes 1 to 4800");
    if (const auto pdf = args.Value("--pdf")) RefuseOutputOverInput(projectPath, *pdf);
    TPageFileWriter* pageWriter = nullptr;
    std::unique_ptr<TPrinter> printer =
        MakePrinter(args, args.Value("--png-dir", ""), std::nullopt, &pageWriter);
    if (printer->ResolutionX() < 1 || printer->ResolutionX() > 4800)
        throw UsageError("--dpi takes 1 to 4800");

    // The page follows the printer, and the project's orientation is carried to it, as in the window.
    TCliDocument run;
    if (!OpenForRun(args, projectPath, run, printer.get(), false)) return 1;
    TLabelDocument& doc = *run.document;
    if (const auto grid = StockOption(args)) doc.ChooseStock(*grid);
    // A file printer takes the stock's paper, lying as the stock's sheet lies.
    if (const auto paper = StockPaper(doc.Project()); paper && !args.Has("--printer")) {
        printer = MakePrinter(args, args.Value("--png-dir", ""), *paper, &pageWriter);
        doc.SetPrinter(printer.get());
    }
    if (args.Has("--landscape")) printer->SetOrientation(TPrinterOrientation::poLandscape);
    RefuseOversizedPage(*printer);

    const long long labels = doc.LabelCount();
    TRunProgress progress("printing " + std::to_string(labels) + (labels == 1 ? " label" : " labels") +
                          " ...");
    TPrintOptions options;
    options.progress = [&](int done, int pages) {
        progress.Report("print", done, pages,
                        "printed page " + std::to_string(done) + " of " + std::to_string(pages));
        return true;
    };
    options.run = RunOptions(args, projectPath);
    if (args.Has("--verify") && args.Has("--no-verify")) throw UsageError("choose --verify or --no-verify");
    options.run.verify = args.Has("--verify") || (doc.Project().VerifyLabels() && !args.Has("--no-verify"));
    using Clock = std::chrono::steady_clock;
    const auto verifyStarted = Clock::now();
    auto verifyEnded = verifyStarted;
    options.run.verifyProgress = [&](long long done, long long total) {
        if (done == total) verifyEnded = Clock::now();
        progress.Report("verify", done, total,
                        "verified " + std::to_string(done) + " of " + std::to_string(total) + " labels");
        return true;
    };
    const TPrintResult result = doc.Print(*printer, options);
    if (!result.notReadBack.empty()) std::cerr << "labels not read back: " << result.notReadBack << "\n";
    if (result.verified > 0) {
        // Both rates, so the cost of reading every label back stands beside the print's own.
        const double verifying = std::chrono::duration<double>(verifyEnded - verifyStarted).count();
        const double printing = std::chrono::duration<double>(Clock::now() - verifyEnded).count();
        std::cerr << result.verified << " labels verified in " << verifying << " s ("
                  << Rnd(result.verified / std::max(verifying, 1e-9)) << " labels/s), " << result.unreadable
                  << " unreadable";
        if (result.outcome == TPrintOutcome::poPrinted)
            std::cerr << "; printed in " << printing << " s ("
                      << Rnd(result.labels / std::max(printing, 1e-9)) << " labels/s)";
        std::cerr << "\n";
    }
    if (result.outcome != TPrintOutcome::poPrinted) return run.prompts.Complained() ? 1 : 0;
    if (const int removed = pageWriter ? pageWriter->StalePagesRemoved() : 0; removed > 0)
        std::cerr << "removed " << removed << (removed == 1 ? " page" : " pages")
                  << " of an earlier run from " << *args.Value("--png-dir") << "\n";
    std::cout << result.labels << " labels on " << result.pages << (result.pages == 1 ? " page" : " pages");
    if (result.pages != result.runPages) std::cout << " of the run's " << result.runPages;
    std::cout << "\n";
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "print",
    .summary = "print a project's labels to PDF, PNG pages or a printer",
    .synopsis = "FILE.bpj (--pdf OUT.pdf | --png-dir DIR | --printer NAME) [OPTIONS]",
    .description = kDescription,
    .options = PrintOptions(),
    .run = RunPrint});

} // namespace qbm::cli
