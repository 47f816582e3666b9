#pragma once
// Choosing a label stock from the command line (--stock, --stock-dir).

#include "cli/CliCommand.h"
#include "stock/StockGrid.h"

#include <optional>
#include <string>

namespace qbm::cli {

// --stock-dir DIR, where the label stock is read from.
Option StockDirOption();

// --stock NAME and --stock-dir DIR.
Options StockOptions();

// With --stock NAME: reads the stock folder (--stock-dir or the default) and gives the grid of the
// stock named. An unknown stock, or one the page grid cannot follow, throws with the reason.
// Without --stock: nothing.
std::optional<TStockGrid> StockOption(const Args& args);

} // namespace qbm::cli
