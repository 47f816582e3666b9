#include "barcode/BarcodeRender.h"
#include "cli/BarcodeOptions.h"
#include "cli/SymbolCommand.h"
#include "output/BarcodeExport.h"
#include "symbols/TSymbology.h"
#include "util/Text.h"

#include <algorithm>
#include <iostream>

namespace qbm::cli {
namespace {

TBarcodeOption ParseShow(const std::string& s) {
    if (s == "none") return bcoNone;
    if (s == "code") return bcoCode;
    if (s == "type") return bcoTyp;
    if (s == "both") return bcoBoth;
    throw UsageError("--show takes none, code, type or both, not '" + s + "'");
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && LowerCase(s.substr(s.size() - suffix.size())) == suffix;
}

// GS1 DataBar and Intelligent Mail: drawn at the heights their standards give, their text under the bars
// with --show code.
int RenderSymbol(const Args& args, TSymbology symbology) {
    for (const char* option : {"--checksum", "--ratio", "--height", "--angle", "--caption", "--margin"})
        if (args.Has(option))
            throw UsageError(std::string(option) + " does not apply to " + SymbologyName(symbology));
    TSymbolSettings settings;
    settings.symbology = symbology;
    const std::string show = args.Value("--show", "none");
    if (show != "none" && show != "code")
        throw UsageError("--show takes none or code for " + SymbologyName(symbology));
    settings.showText = show == "code";
    return DrawSymbol(args, 1, settings, 2);
}

int RunRender(const Args& args) {
    if (!args.Positional().empty())
        if (const auto symbology = SymbologyByValueName(args.Positional()[0]))
            return RenderSymbol(args, *symbology);
    const auto out = args.Value("--out");
    if (!out) throw UsageError("missing --out FILE");
    const bool vector = EndsWith(*out, ".svg") || EndsWith(*out, ".pdf");
    if (!vector && !EndsWith(*out, ".png") && !EndsWith(*out, ".bmp") && !EndsWith(*out, ".jpg"))
        throw UsageError("--out must name a .png, .bmp, .jpg, .svg or .pdf file");

    TBarcode bc;
    ApplyBarcodeOptions(args, bc);
    const int modul = bc.Modul();
    const int height = args.Int("--height", 50 * modul);
    if (height < 1 || height > 100000) throw UsageError("--height must be 1 to 100000");
    bc.SetHeight(height);
    bc.SetShowText(ParseShow(args.Value("--show", "none")));
    // Not a number, an infinity or a huge turn would draw an empty picture.
    const double angle = args.Double("--angle", 0.0);
    if (!(angle >= -360.0 && angle <= 360.0)) throw UsageError("--angle must be -360 to 360 degrees");
    bc.SetAngle(angle);
    bc.ExtCaption = args.Value("--caption", "");
    // Text grows with the module so the digits stay in proportion with the bars.
    TFont font = bc.ShowTextFont();
    font.SetSize(std::max(8, 6 * modul));
    bc.SetShowTextFont(font);
    bc.SetExtCapFont(font);
    const int margin = args.Int("--margin", 10 * modul);
    if (margin < 0 || margin > 10000) throw UsageError("--margin must be 0 to 10000");

    const int dpi = args.Int("--dpi", 300);
    if (dpi < 1 || dpi > 4800) throw UsageError("--dpi must be 1 to 4800");
    if (vector) {
        // Bars stay shapes; the pixel sizes above are device dots at --dpi.
        ExportBarcode(bc, *out, margin, dpi);
        std::cout << "wrote " << *out << "\n";
        return 0;
    }
    TBitmap bitmap = RenderBarcode(bc, margin);
    bitmap.SetResolution(dpi);
    bitmap.SaveToFile(*out);
    std::cout << "wrote " << *out << " (" << bitmap.Width() << " x " << bitmap.Height() << ")\n";
    return 0;
}

const std::string kDescription =
    std::string("Draws the barcode on a white picture and writes it by FILE's extension: PNG, BMP or JPEG,\n"
                "or as a vector SVG or PDF for placing in other documents.\n\n") +
    BarcodeTypeHelp() +
    "\nAlso bcCodeDataBar, bcCodeDataBarStacked, bcCodeDataBarLimited (a GTIN of 13 digits, or 14 with its\n"
    "check digit), bcCodeDataBarExpanded (a GS1 element string such as \"(01)09501101530003(3103)000750\")\n"
    "and bcCodeIMb (20 digits of tracking code and 0, 5, 9 or 11 of routing code); for these only --out,\n"
    "--modul (default 2), --dpi and --show none|code apply.";

Options RenderOptions() {
    return Join(
        {{{"--out", "FILE", "the picture to write: *.png, *.bmp, *.jpg, *.svg or *.pdf"},
          {"--dpi", "N",
           "resolution the pixel sizes are meant for (default 300): the size of a PDF or\n"
           "SVG page, and the resolution recorded in a picture"}},
         BarcodeOptionTable(),
         {{"--height", "PX", "bar height (default 50 x module)"},
          {"--show", "WHAT",
           "text with the bars: none (default), code, type name, or both;\n"
           "the text size grows with the module"},
          {"--angle", "DEG", "counter-clockwise turn in degrees (default 0)"},
          {"--caption", "TEXT", "extended caption above the symbol (drawn only when --show is not none)"},
          {"--margin", "PX", "white margin on every side, around bars and text (default 10 x module)"}}});
}

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "render",
                             .summary = "draw a linear barcode into a picture (PNG, BMP, JPEG, SVG, PDF)",
                             .synopsis = "TYPE TEXT --out FILE [OPTIONS]",
                             .description = kDescription,
                             .options = RenderOptions(),
                             .run = RunRender});

} // namespace qbm::cli
