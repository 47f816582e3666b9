#pragma once
// Cells through the clipboard as spreadsheets exchange them: one line per row, cells separated by
// tabs, and a cell that holds a tab, a line break or a quote written in quotes with its quotes
// doubled. What Calc, Excel or a text editor puts on the clipboard pastes into the datasheet, and what
// the datasheet copies pastes into them.

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;
struct TGridRect;

using TTextTable = std::vector<std::vector<std::string>>;

// The cells of `range` (clipped to the table) as tab-separated text; every row ends with a line
// break, as spreadsheets write it, so that an empty last row is not lost.
std::string CopyAsTabSeparated(const TDatasheet& sheet, const TGridRect& range);

// Tab-separated text as rows of cells. Lines may end in CR LF, LF or CR; a line break after the last
// row does not make an empty row. Rows may differ in length.
TTextTable ParseTabSeparated(std::string_view text);

// Pastes tab-separated text with its first cell at the selection's top-left cell, as one step
// ("Paste"). The table grows by rows and columns where the text reaches beyond it; added columns are
// named "Data<n>" as new tables name their first. A single cell pasted onto a selected range fills
// the range. Returns the range written, or nothing for empty text; text wider or longer than a
// datasheet can be is refused whole (EDatasheetError) and the table is left as it was.
bool PasteTabSeparated(TDatasheet& sheet, std::string_view text, TDatasheetHistory* history,
                       TGridRect* written = nullptr);

} // namespace qbm
