#include "barcode2d/TStMaxiCodeBarcode.h"
#include "cli/CliCommand.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "templates/LabelLimits.h"
#include "util/IntConversion.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Draws TEXT (UTF-8, stored as Latin-1; backslash escapes as in the 2D code texts) as a MaxiCode\n"
    "symbol. Modes 2 and 3 carry a structured carrier message (--postal, --country, --service; a\n"
    "postal code of digits only makes it mode 2).";

TStMaxiCodeMode ParseMode(const Args& args) {
    const int mode = args.Int("--mode", 4);
    if (mode < 2 || mode > 6) throw UsageError("--mode needs 2..6, not " + IntToStr(mode));
    return static_cast<TStMaxiCodeMode>(mode - 2);
}

int RunMaxiCode(const Args& args) {
    const std::string text = Utf8ToLatin1(args.Positional(0, "TEXT"));
    const auto out = args.Value("--out");
    if (!out) throw UsageError("--out FILE is required");
    const int dpi = args.Int("--dpi", 0);
    if (dpi < 0) throw UsageError("--dpi must not be negative");
    const int autoScale = args.Int("--autoscale", 1);
    if (autoScale != 0 && autoScale != 1) throw UsageError("--autoscale needs 0 or 1");
    const int barSize = args.Int("--bar-size", 0);
    if (barSize < 0 || barSize > kMax2DModulePixels)
        throw UsageError("--bar-size takes 0 to " + std::to_string(kMax2DModulePixels) + " pixels");

    EnsureGuiApplication();
    TStMaxiCodeBarcode bc;
    bc.SetCarrierPostalCode(Utf8ToLatin1(args.Value("--postal", bc.CarrierPostalCode())));
    bc.SetCarrierCountryCode(args.Int("--country", 0));
    bc.SetCarrierServiceClass(args.Int("--service", 0));
    bc.SetMode(ParseMode(args));
    bc.SetBarWidth(barSize);
    bc.SetBarHeight(barSize);
    bc.SetAutoScale(autoScale == 1);
    bc.SetCode(text);

    const long long width = bc.BarCodeWidth() + 2 * bc.QuietZone();
    const long long height = bc.BarCodeHeight() + 2 * bc.QuietZone();
    // Both the control's own picture (its size) and the device picture must fit.
    for (const int resolution : {0, dpi})
        RefuseOversizedPicture(bc.RenderedSize(width, height, resolution, resolution), "--bar-size or --dpi");
    bc.SetBounds(static_cast<int>(width), static_cast<int>(height));
    TBitmap picture;
    if (dpi > 0) picture.SetResolution(dpi);
    bc.RenderToBitmap(picture, dpi, dpi);
    picture.SaveToFile(*out);

    if (args.Has("--codewords")) {
        const auto& codewords = bc.Codewords();
        for (size_t i = 0; i < 144; ++i) std::cout << (i ? " " : "") << int(codewords[i]);
        std::cout << "\n";
    }
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "maxicode",
    .summary = "draw a MaxiCode symbol",
    .synopsis = "TEXT --out FILE.png|jpg|bmp [OPTIONS]",
    .description = kDescription,
    .options = {{"--out", "FILE", "the picture to write: *.png, *.jpg or *.bmp"},
                {"--mode", "2..6", "the MaxiCode mode (default 4)"},
                {"--postal", "P", "the carrier's postal code (modes 2 and 3)"},
                {"--country", "N", "the carrier's country code (modes 2 and 3)"},
                {"--service", "N", "the carrier's service class (modes 2 and 3)"},
                {"--autoscale", "0|1", "1 (default): modules of 0.88 mm; 0: modules of --bar-size pixels"},
                {"--bar-size", "N", "module size in pixels with --autoscale 0"},
                {"--dpi", "N", "render for a device of that resolution (300 or more for a printed label)"},
                {"--codewords", "", "print the 144 symbol codewords"}},
    .run = RunMaxiCode});

} // namespace qbm::cli
