#include "data/WorkbookSheets.h"

#include "util/Errors.h"

namespace qbm {

size_t ChooseSheet(const std::vector<TWorkbookSheet>& sheets, int active, const TWorkbookChoices& choices,
                   const std::string& what, const std::string& path) {
    if (sheets.empty())
        throw EInOutError("Cannot read " + what + " " + path + ": the workbook holds no sheet");
    if (!choices.sheet.empty()) {
        for (size_t i = 0; i < sheets.size(); ++i)
            if (sheets[i].name == choices.sheet) return i;
        std::string names;
        for (const TWorkbookSheet& sheet : sheets)
            names += (names.empty() ? "\"" : ", \"") + sheet.name + "\"";
        throw EInOutError("Cannot read " + what + " " + path + ": it has no sheet \"" + choices.sheet +
                          "\"; its sheets are " + names);
    }
    // The user's last view, unless a hidden sheet was left active (a program wrote it so).
    if (active >= 0 && static_cast<size_t>(active) < sheets.size() &&
        !sheets[static_cast<size_t>(active)].hidden)
        return static_cast<size_t>(active);
    for (size_t i = 0; i < sheets.size(); ++i)
        if (!sheets[i].hidden) return i;
    return 0;
}

} // namespace qbm
