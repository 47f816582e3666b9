#include "cli/SymbolCommand.h"

#include "output/SymbolExport.h"
#include "symbols/ZintSymbolEncoder.h"

#include <iostream>

namespace qbm::cli {

Options SymbolOptionTable() {
    return {{"--out", "FILE", "the picture to write: *.png, *.bmp, *.jpg, or vector *.svg / *.pdf"},
            {"--modul", "N", "dots a module, 1 to 50 (default 4; 2 for the linear symbols)"},
            {"--dpi", "N",
             "resolution the dots are meant for (default 300): recorded in a picture, the\n"
             "page size of an SVG or PDF"}};
}

int DrawSymbol(const Args& args, size_t textIndex, const TSymbolSettings& settings, int defaultModul) {
    const std::string& text = args.Positional(textIndex, "TEXT");
    if (args.Positional().size() > textIndex + 1)
        throw UsageError("too many arguments: '" + args.Positional()[textIndex + 1] + "'");
    const auto out = args.Value("--out");
    if (!out) throw UsageError("missing --out FILE");
    if (!IsSymbolExportPath(*out)) throw UsageError("--out must name a .png, .bmp, .jpg, .svg or .pdf file");
    const int modul = args.Int("--modul", defaultModul);
    if (modul < 1 || modul > 50) throw UsageError("--modul must be 1 to 50");
    const int dpi = args.Int("--dpi", 300);
    if (dpi < 1 || dpi > 4800) throw UsageError("--dpi must be 1 to 4800");

    const TSymbolGeometry geometry = EncodeSymbol(settings, text);
    ExportSymbol(geometry, *out, modul, dpi);
    std::cout << "wrote " << *out << " (" << Rnd(geometry.width * modul) << " x "
              << Rnd(geometry.height * modul) << ")\n";
    return 0;
}

} // namespace qbm::cli
