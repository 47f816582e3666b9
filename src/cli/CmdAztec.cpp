#include "cli/SymbolCommand.h"
#include "util/IntConversion.h"

#include <string>

namespace qbm::cli {
namespace {

int RunAztec(const Args& args) {
    TSymbolSettings settings;
    settings.symbology = TSymbology::Aztec;
    if (const auto ecc = args.Value("--ecc")) {
        const auto percent = TryStrToInt(*ecc);
        if (!percent || *percent < 1 || *percent > 50) throw UsageError("--ecc must be 1 to 50 per cent");
        settings.aztecEccPercent = *percent;
    }
    return DrawSymbol(args, 0, settings, 4);
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "aztec",
    .summary = "draw an Aztec symbol",
    .synopsis = "TEXT --out FILE [OPTIONS]",
    .description = "Draws TEXT (UTF-8) as an Aztec symbol; it needs no quiet zone.",
    .options = Join({{{"--ecc", "PERCENT",
                       "error correction as a share of the data, 1 to 50: rounded up to 10, 23,\n"
                       "36 or 50 % (default 23 %, as the standard recommends)"}},
                     SymbolOptionTable()}),
    .run = RunAztec});

} // namespace qbm::cli
