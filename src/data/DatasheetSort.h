#pragma once
// Sorting the datasheet's rows by one column, as a click on the column's header does: numbers in
// numeric order before text, text in alphabetical order ignoring letter case, empty cells last in
// either direction, and rows of equal keys in the order they had.

#include <string_view>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;

// Negative, zero or positive as `a` sorts before, with or after `b` in ascending order (empty cells
// are not compared here: they go last whatever the order).
int CompareCellValues(std::string_view a, std::string_view b);

// Sorts data rows 1 .. row count - 1 by `column`, as one step ("Sort by <column name>"). The header
// row, the row count and the column widths stay. Returns false when the column is outside the table.
bool SortByColumn(TDatasheet& sheet, int column, bool ascending, TDatasheetHistory* history);

} // namespace qbm
