#include "barcode2d/TStPDF417Barcode.h"
#include "cli/CliCommand.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "util/IntConversion.h"
#include "util/Text.h"

#include <algorithm>
#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Draws TEXT (UTF-8, stored as Latin-1; backslash escapes as in the 2D code texts) as a PDF417\n"
    "symbol.";

TStPDF417ECCLevels ParseEcc(const std::string& value) {
    if (SameText(value, "auto")) return ecAuto;
    const auto n = TryStrToInt(value);
    if (!n || *n < 0 || *n > 8) throw UsageError("--ecc needs auto or 0..8, not '" + value + "'");
    return static_cast<TStPDF417ECCLevels>(*n + 1);
}

int RunPdf417(const Args& args) {
    const std::string text = Utf8ToLatin1(args.Positional(0, "TEXT"));
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out FILE is required");
    const int dpi = args.Int("--dpi", 0);
    // Limits that keep the picture within memory; the component checks the lower bounds itself.
    if (dpi < 0 || dpi > 2400) throw UsageError("--dpi must be 0..2400");
    if (args.Int("--bar-width", 2) > 50) throw UsageError("--bar-width must be at most 50");
    if (args.Int("--row-height", 0) > 500) throw UsageError("--row-height must be at most 500");

    EnsureGuiApplication();
    TStPDF417Barcode bc;
    bc.SetECCLevel(ParseEcc(args.Value("--ecc", "auto")));
    bc.SetNumColumns(args.Int("--columns", 0));
    bc.SetNumRows(args.Int("--rows", 0));
    bc.SetTruncated(args.Has("--truncated"));
    bc.SetBarWidth(args.Int("--bar-width", bc.BarWidth()));
    if (args.Has("--row-height")) {
        bc.SetBarHeight(args.Int("--row-height", 0));
        bc.SetBarHeightToWidth(0);
    }
    bc.SetCaption(Utf8ToLatin1(args.Value("--caption", "")));
    bc.SetCode(text);

    // Size the component to the symbol, its quiet zone and the caption line.
    TBitmap probe;
    probe.Canvas().SetFont(bc.Font());
    const int captionHeight = bc.Caption().empty() ? 0 : probe.Canvas().TextHeight("Yg0") + 4;
    const int captionWidth = probe.Canvas().TextWidth(Latin1ToUtf8(bc.Caption()));
    const long long width = std::max(bc.BarCodeWidth() + 2 * bc.QuietZone(), captionWidth);
    const long long height = bc.BarCodeHeight() + 2 * bc.QuietZone() + captionHeight;
    // Both the control's own picture (its size) and the device picture must fit.
    for (const int resolution : {0, dpi})
        RefuseOversizedPicture(bc.RenderedSize(width, height, resolution, resolution),
                               "--bar-width, --row-height or --dpi");
    bc.SetBounds(static_cast<int>(width), static_cast<int>(height));
    TBitmap picture;
    if (dpi > 0) picture.SetResolution(dpi);
    bc.RenderToBitmap(picture, dpi, dpi);
    picture.SaveToFile(*out);

    if (args.Has("--codewords")) {
        const std::vector<int> codewords = bc.SymbolCodewords();
        for (size_t i = 0; i < codewords.size(); ++i) std::cout << (i ? " " : "") << codewords[i];
        std::cout << "\n";
    }
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "pdf417",
    .summary = "draw a PDF417 symbol",
    .synopsis = "TEXT --out FILE.png|jpg|bmp [OPTIONS]",
    .description = kDescription,
    .options = {{"--out", "FILE", "the picture to write: *.png, *.jpg or *.bmp"},
                {"--ecc", "auto|0..8", "the error correction level (default auto)"},
                {"--columns", "N", "data columns (default: chosen for the data)"},
                {"--rows", "N", "rows (default: chosen for the data)"},
                {"--truncated", "", "draw the truncated (compact) form"},
                {"--bar-width", "N", "module width in pixels, at most 50"},
                {"--row-height", "N", "row height in pixels, at most 500, instead of four module widths"},
                {"--caption", "TEXT", "a caption line under the symbol"},
                {"--dpi", "N", "render for a device of that resolution, 0 to 2400"},
                {"--codewords", "", "print the symbol's codewords"}},
    .run = RunPdf417});

} // namespace qbm::cli
