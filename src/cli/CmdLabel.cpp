#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"
#include "ini/TIniFile.h"
#include "surface/GuiApplication.h"
#include "symbols/TStSymbolBarcode.h"
#include "symbols/TSymbolSettings.h"
#include "symbols/TSymbology.h"
#include "templates/Apply2DSettings.h"
#include "templates/ApplyTemplate.h"
#include "templates/TemplateLibrary.h"
#include "util/Text.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <utility>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Writes the label picture of a template (as the main window shows and prints it) for the code\n"
    "TEXT: bars in printer dots for a printer of --dpi dots per inch, with the extended caption when\n"
    "given. With --2d, the picture of the library's 2D settings for TEXT, drawn at screen resolution\n"
    "(QR Code, Data Matrix, Aztec and Micro QR with their default options; TEXT in any script).";

// The matrix symbols --2d draws, by the names the other commands use.
std::optional<TSymbology> MatrixSymbology(const std::string& name) {
    const std::pair<const char*, TSymbology> kNames[] = {{"qrcode", TSymbology::QrCode},
                                                         {"datamatrix", TSymbology::DataMatrix},
                                                         {"aztec", TSymbology::Aztec},
                                                         {"microqr", TSymbology::MicroQr}};
    for (const auto& [n, symbology] : kNames)
        if (SameText(name, n)) return symbology;
    return std::nullopt;
}

int RunLabel(const Args& args) {
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out FILE is required");
    const std::string path = args.Has("--library") ? *args.Value("--library") : TemplateLibraryPath();
    WriteDefaultTemplates(path);
    CheckLibraryReadable(path);
    const TIniFile library(path);
    EnsureGuiApplication();
    TLabelPicture label;

    if (const auto format = args.Value("--2d")) {
        if (args.Positional().size() != 1) throw UsageError("--2d takes exactly one TEXT");
        if (args.Has("--dpi") || args.Has("--caption"))
            throw UsageError("--dpi and --caption are for templates");
        std::string item;
        if (SameText(*format, "pdf417")) {
            item = kPdf417FormatItem;
        } else if (SameText(*format, "maxicode")) {
            item = kMaxiCodeFormatItem;
        } else if (const auto symbology = MatrixSymbology(*format)) {
            TStSymbolBarcode symbol;
            TSymbolSettings settings;
            settings.symbology = *symbology;
            symbol.SetSettings(settings);
            Paint2DLabel(symbol, args.Positional(0, "TEXT"), label);
            label.StatusText = "Barcode Type: " + SymbologyName(*symbology) + " ";
        } else {
            throw UsageError("--2d needs pdf417, maxicode, qrcode, datamatrix, aztec or microqr, not '" +
                             *format + "'");
        }
        if (!item.empty()) {
            TStPDF417Barcode pdf417;
            TStMaxiCodeBarcode maxiCode;
            Apply2DSettings(library, item, Utf8ToLatin1(args.Positional(0, "TEXT")), pdf417, maxiCode, label);
        }
    } else {
        if (args.Positional().size() != 2) throw UsageError("TEMPLATE and TEXT are required");
        const int dpi = args.Int("--dpi", kDefaultPrinterDpi);
        if (dpi < 1 || dpi > 9600) throw UsageError("--dpi must be 1..9600");
        const std::string name = Utf8ToLatin1(args.Positional(0, "TEMPLATE"));
        const TStrings names = LoadTemplateNames(path);
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameText(n, name); }))
            std::cerr << "qbm label: no template '" << Latin1ToUtf8(name) << "' in " << path
                      << "; its defaults are used\n";
        TBarcode barcode;
        barcode.SetText(Utf8ToLatin1(args.Positional(1, "TEXT")));
        barcode.ExtCaption = args.Value("--caption", ""); // UTF-8, as the terminal gives it
        ApplyTemplate(library, name, barcode, label, dpi, dpi);
    }
    label.Bitmap.SaveToFile(*out);
    std::cout << label.StatusText << "\n";
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "label",
    .summary = "draw the label picture of a template or of the 2D settings",
    .synopsis = "TEMPLATE TEXT --out FILE [OPTIONS]\n--2d pdf417|maxicode|qrcode|datamatrix|aztec|microqr "
                "TEXT --out FILE "
                "[--library PATH]",
    .description = kDescription,
    .options = {{"--out", "FILE", "the picture to write: *.png, *.bmp or *.jpg"},
                LibraryOption(),
                {"--dpi", "N", "the printer's resolution, 1 to 9600 (default 300)"},
                {"--caption", "TEXT", "the extended caption"},
                {"--2d", "FORMAT",
                 "draw the 2D label of that format instead: pdf417, maxicode (the library's "
                 "settings), qrcode, datamatrix, aztec or microqr"}},
    .run = RunLabel});

} // namespace qbm::cli
