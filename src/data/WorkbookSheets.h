#pragma once
// Which sheet of a workbook an import reads, and how its values come in.

#include <string>
#include <vector>

namespace qbm {

struct TWorkbookChoices {
    std::string sheet;         // by name; empty: the sheet the workbook was last shown on
    bool storedValues = false; // the numbers as stored, not as the cells' formats show them
};

struct TWorkbookSheet {
    std::string name;
    bool hidden = false;
};

// The sheets of a workbook and the one it was last shown on (an index into `sheets`, -1 when unknown).
struct TWorkbookSheetList {
    std::vector<TWorkbookSheet> sheets;
    int active = -1;
};

// The index of the sheet to read: the one named (throws EInOutError naming the sheets there are when
// none is), else `active` when it is a visible sheet, else the first visible one, else the first.
// `what` names the file in the message ("Cannot read <what> <path>: ...").
size_t ChooseSheet(const std::vector<TWorkbookSheet>& sheets, int active, const TWorkbookChoices& choices,
                   const std::string& what, const std::string& path);

} // namespace qbm
