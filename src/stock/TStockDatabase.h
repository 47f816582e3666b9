#pragma once
// The label stock database: every sheet of a stock folder, searchable by brand, part and size.

#include "stock/TStock.h"

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// Where Debian's label database (package glabels-data) installs its sheets.
inline constexpr std::string_view kDebianStockFolder = "/usr/share/libglabels-3.0/templates";

// The stock folder to read: the QBM_STOCK_DIR environment variable, else the "LabelStock/Folder"
// setting, else Debian's folder.
std::string DefaultStockFolder();

class TStockDatabase {
public:
    // Reads paper-sizes.xml and every *-templates.xml of the folder. Files that cannot be read are
    // named in Problems() and skipped; the others still load. A missing folder gives an empty
    // database with one problem.
    static TStockDatabase Load(const std::string& folder);

    const std::vector<TStock>& Stocks() const { return m_stocks; }
    const std::vector<std::string>& Problems() const { return m_problems; }
    const std::string& Folder() const { return m_folder; }

    // The stock named "brand part" (letter case ignored), or null.
    const TStock* Find(std::string_view name) const;
    // Whether every word of `words` occurs in the stock's brand, part, description, paper, label size
    // or grid (letter case ignored); no words match every stock.
    bool Matches(size_t index, std::string_view words) const;
    std::vector<const TStock*> Search(std::string_view words) const;

private:
    std::string m_folder;
    std::vector<TStock> m_stocks;
    std::vector<std::string> m_searchText; // per stock, lower case
    std::vector<std::string> m_problems;
};

} // namespace qbm
