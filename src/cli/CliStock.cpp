#include "cli/CliStock.h"

#include "cli/CliCommand.h"
#include "stock/TStockDatabase.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

namespace qbm::cli {

Option StockDirOption() {
    return {"--stock-dir", "DIR",
            "the folder of label stock files (default: the folder of the QBM_STOCK_DIR\n"
            "environment variable, else Debian's glabels-data folder)"};
}

Options StockOptions() {
    return {{"--stock", "\"BRAND PART\"",
             "lay the labels out on a label stock (see qbm stock): its rows, columns and\n"
             "margins, and its paper unless --paper says otherwise"},
            StockDirOption()};
}

std::optional<TStockGrid> StockOption(const Args& args) {
    const auto name = args.Value("--stock");
    if (!name) return std::nullopt;
    const TStockDatabase db = TStockDatabase::Load(args.Value("--stock-dir", DefaultStockFolder()));
    const TStock* stock = db.Find(*name);
    if (!stock) {
        const size_t similar = db.Search(*name).size();
        throw std::runtime_error(
            "No label stock \"" + *name + "\" in " + db.Folder() +
            (similar ? " (qbm stock " + *name + " lists " + std::to_string(similar) + " that match)"
                     : std::string()));
    }
    const TStockFit fit = FitStock(*stock);
    if (!fit.grid) throw std::runtime_error(fit.refusal);
    return fit.grid;
}

} // namespace qbm::cli
