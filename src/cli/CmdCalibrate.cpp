#include "app/ProjectPrinting.h"
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "output/CalibrationSheet.h"
#include "output/TPrinterCalibration.h"
#include "project/TLabelProject.h"
#include "surface/GuiApplication.h"
#include "surface/TPdfPrinter.h"
#include "surface/TSystemPrinter.h"

#include <iostream>
#include <memory>
#include <stdexcept>

namespace qbm::cli {
namespace {

constexpr const char* kDescription =
    "The first form prints the calibration sheet for the project's layout: the cell grid as thin\n"
    "outlines, a millimetre ruler along the top and left edges and a cross at each cell centre, without\n"
    "any correction. Held against a label sheet it shows where the printer puts things.\n"
    "--set stores the correction for a printer (\"PDF\" for PDF output, \"PNG\" for PNG pages): DX and DY\n"
    "move every label right and down in millimetres (-50 to 50), SX and SY stretch positions from the\n"
    "page's top left corner (0.9 to 1.1). qbm print and the window apply it to every run on that printer.";

Options CalibrateOptions() {
    return Join({{{"--pdf", "OUT.pdf", "write the sheet to a PDF"},
                  {"--printer", "NAME", "send the sheet to a system printer"},
                  {"--dpi", "N", "resolution of --pdf, 1 to 4800 (default 600)"},
                  {"--paper", "A4|Letter|WxHmm", "the paper of --pdf (default A4)"},
                  {"--landscape", "", "turn the page"}},
                 ProjectOptions(),
                 {{"--set", "PRINTER", "store the correction DX DY SX SY for PRINTER"},
                  {"--show", "PRINTER", "show the correction stored for PRINTER"},
                  {"--clear", "PRINTER", "remove the correction stored for PRINTER"}}});
}

std::string Describe(const TPrinterCalibration& c) {
    return "offset " + std::to_string(c.offsetX) + " mm, " + std::to_string(c.offsetY) + " mm; scale " +
           std::to_string(c.scaleX) + ", " + std::to_string(c.scaleY);
}

double Number(const std::string& word, const char* what) {
    if (const auto v = ParseDecimal(word)) return *v;
    throw UsageError(std::string(what) + " needs a decimal number, not '" + word + "'");
}

// The printer named by --set, --show or --clear; an empty name would address every printer.
std::string PrinterName(const Args& args, const std::string& option) {
    std::string name = *args.Value(option);
    if (name.empty())
        throw UsageError(option + " needs a printer name (\"PDF\", \"PNG\" or a system printer)");
    return name;
}

int PrintSheet(const Args& args) {
    const std::string projectPath = args.Positional(0, "project file");
    if (args.Has("--pdf") == args.Has("--printer")) throw UsageError("choose one of --pdf and --printer");
    EnsureGuiApplication();
    std::unique_ptr<TPrinter> printer;
    std::string name;
    if (args.Has("--pdf")) {
        const auto paper = TPaperSize::Parse(args.Value("--paper", "A4"));
        if (!paper) throw UsageError("--paper takes A4, Letter or WxHmm, e.g. 100x150mm");
        const int dpi = args.Int("--dpi", 600);
        if (dpi < 1 || dpi > 4800) throw UsageError("--dpi takes 1 to 4800");
        printer = std::make_unique<TPdfPrinter>(*args.Value("--pdf"), *paper, dpi);
        name = "PDF";
    } else {
        if (args.Has("--dpi") || args.Has("--paper"))
            throw UsageError("--dpi and --paper apply to --pdf; a system printer uses its own");
        name = *args.Value("--printer");
        printer = std::make_unique<TSystemPrinter>(name);
        if (printer->PrinterCount() < 1) throw std::runtime_error("No printr device installed! ");
    }
    // The page follows the printer and the project's orientation, as a print run's does.
    TCliDocument run;
    if (!OpenForRun(args, projectPath, run, printer.get(), false)) return 1;
    const TLabelProject& project = run.document->Project();
    if (args.Has("--landscape")) printer->SetOrientation(TPrinterOrientation::poLandscape);
    PrintCalibrationSheet(*printer, LayoutOf(project), name);
    std::cout << "calibration sheet for " << name << ": " << project.Linage() << " x " << project.Column()
              << " cells\n";
    return 0;
}

int RunCalibrate(const Args& args) {
    const TCalibrationStore store;
    if (args.Has("--set")) {
        const std::string name = PrinterName(args, "--set");
        if (args.Positional().size() != 4) throw UsageError("--set takes a printer name and DX DY SX SY");
        const TPrinterCalibration c{Number(args.Positional()[0], "DX"), Number(args.Positional()[1], "DY"),
                                    Number(args.Positional()[2], "SX"), Number(args.Positional()[3], "SY")};
        if (const std::string problem = c.Problem(); !problem.empty()) throw UsageError(problem);
        store.Save(name, c);
        std::cout << name << ": " << Describe(c) << "\n";
        return 0;
    }
    if (args.Has("--show")) {
        const std::string name = PrinterName(args, "--show");
        std::cout << name << ": " << Describe(store.Load(name)) << "\n";
        return 0;
    }
    if (args.Has("--clear")) {
        store.Clear(PrinterName(args, "--clear"));
        return 0;
    }
    return PrintSheet(args);
}

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "calibrate",
                             .summary = "print a calibration sheet; set a printer's offsets and scales",
                             .synopsis = "FILE.bpj (--pdf OUT.pdf | --printer NAME) [OPTIONS]\n"
                                         "--set PRINTER DX DY SX SY\n"
                                         "--show PRINTER | --clear PRINTER",
                             .description = kDescription,
                             .options = CalibrateOptions(),
                             .run = RunCalibrate});

} // namespace qbm::cli
