#pragma once
// Finding text in the datasheet (Ctrl+F in its window): cells that contain the text, ignoring letter
// case, searched row by row from the cell after the current one, round past the end to the top.

#include <optional>
#include <string_view>

namespace qbm {

class TDatasheet;

struct TCellPosition {
    int column;
    int row;
    bool operator==(const TCellPosition&) const = default;
};

// The first data cell after (column, row) in reading order, or backwards before it, whose text
// contains `text`; the start cell itself is looked at last. Nothing for empty text or no match.
std::optional<TCellPosition> FindInDatasheet(const TDatasheet& sheet, std::string_view text, int column,
                                             int row, bool backwards = false);

} // namespace qbm
