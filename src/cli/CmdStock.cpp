#include "cli/CliCommand.h"
#include "cli/CliStock.h"
#include "stock/StockGrid.h"
#include "stock/TStock.h"
#include "stock/TStockDatabase.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Lists the label stock (ready-made label sheets) whose brand, part, description, paper, label\n"
    "size or grid contains every word of SEARCH: brand and part, description, paper, label size and\n"
    "grid (columns x rows). A search that names one stock exactly (\"Avery 5160\") shows the page grid\n"
    "it gives: rows, columns, paper, orientation and margins to a hundredth of a millimetre, or why\n"
    "the page grid cannot follow it. Files that cannot be read are named on stderr.";

std::string Hundredths(int v) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d mm", v / 100, v % 100);
    return text;
}

void ShowGrid(const TStock& stock) {
    std::cout << stock.Name() << "\n"
              << "  description: " << stock.description << "\n"
              << "  paper:       " << stock.PaperText() << "\n"
              << "  label:       " << stock.LabelSizeText() << "\n"
              << "  grid:        " << stock.GridText() << "\n";
    if (!stock.equivalentOf.empty())
        std::cout << "  same sheet as " << stock.brand << " " << stock.equivalentOf << "\n";
    const TStockFit fit = FitStock(stock);
    if (!fit.grid) {
        std::cout << "  not usable:  " << fit.refusal << "\n";
        return;
    }
    const TStockChoice& c = fit.grid->choice;
    std::cout << "  rows " << fit.grid->rows << ", columns " << fit.grid->columns << ", "
              << (fit.grid->orientation == TPrinterOrientation::poPortrait ? "portrait" : "landscape") << "\n"
              << "  margins:     left " << Hundredths(c.marginLeft) << ", top " << Hundredths(c.marginTop)
              << ", right " << Hundredths(c.marginRight) << ", bottom " << Hundredths(c.marginBottom) << "\n";
}

int RunStock(const Args& args) {
    std::string search;
    for (const std::string& word : args.Positional()) search += (search.empty() ? "" : " ") + word;
    const TStockDatabase db = TStockDatabase::Load(args.Value("--stock-dir", DefaultStockFolder()));
    for (const std::string& problem : db.Problems()) std::cerr << "skipped: " << problem << "\n";
    if (db.Stocks().empty()) {
        std::cerr << "No label stock found in " << db.Folder() << "\n";
        return 1;
    }
    if (const TStock* exact = db.Find(search)) {
        ShowGrid(*exact);
        return 0;
    }
    const std::vector<const TStock*> found = db.Search(search);
    size_t nameWidth = 0;
    for (const TStock* s : found) nameWidth = std::max(nameWidth, s->Name().size());
    for (const TStock* s : found) {
        std::string line = s->Name();
        line.resize(nameWidth + 2, ' ');
        std::cout << line << s->description << " | " << s->PaperText() << " | " << s->LabelSizeText() << " | "
                  << s->GridText() << "\n";
    }
    std::cout << found.size() << " of " << db.Stocks().size() << " label stocks\n";
    return found.empty() ? 1 : 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "stock",
                             .summary = "list label stock (ready-made label sheets) by brand, part or size",
                             .synopsis = "[SEARCH...] [OPTIONS]",
                             .description = kDescription,
                             .options = {StockDirOption()},
                             .run = RunStock});

} // namespace qbm::cli
