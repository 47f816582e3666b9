#pragma once
// What the commands drawing the symbologies beside our linear, PDF417 and MaxiCode engines share: the text,
// --out, --modul and --dpi.

#include "cli/CliCommand.h"
#include "symbols/TSymbolSettings.h"

#include <cstddef>

namespace qbm::cli {

// --out, --modul and --dpi, for the command's own table.
Options SymbolOptionTable();

// Encodes the TEXT argument (the positional argument at `textIndex`, the last one) with the settings
// and writes the picture --out names.
int DrawSymbol(const Args& args, size_t textIndex, const TSymbolSettings& settings, int defaultModul);

} // namespace qbm::cli
