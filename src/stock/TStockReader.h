#pragma once
// Reads the label stock database: its paper sizes, then any number of template files, then resolves
// the parts sold as equivalents of others.

#include "stock/TStock.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

struct TStockPaper {
    std::string name;
    double width = 0; // millimetres, portrait
    double height = 0;
};

class TStockReader {
public:
    // Knows A4 and US-Letter until a paper size file says more, so that a folder without one still
    // yields the bulk of its sheets.
    TStockReader();

    // Reads a paper size file (paper-sizes.xml). A damaged file adds a problem and no sizes.
    void ReadPaperSizes(std::string_view xml, const std::string& fileName);
    // Reads one template file. A file that is not well formed, or not a template file, adds a problem
    // naming it and no stock; a damaged template is skipped with a problem naming it and the file.
    void ReadTemplates(std::string_view xml, const std::string& fileName);
    // The stocks read so far with their equivalents resolved, sorted by brand and part; a part listed
    // twice keeps its first definition.
    std::vector<TStock> Finish();

    // "file: what is wrong", one line per problem.
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    struct TEquivalent {
        std::string brand;
        std::string part;
        std::string of;
        std::string description;
        std::string file;
    };

    std::map<std::string, TStockPaper> m_papers;
    std::vector<TStock> m_stocks;
    std::vector<TEquivalent> m_equivalents;
    std::vector<std::string> m_problems;

    friend class TTemplateParser;
};

} // namespace qbm
