#pragma once
// The datasheet: a table of text cells with a header row of column names and a row-number column.

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// A refused datasheet command; the text is shown to the user as it stands.
class EDatasheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Questions the datasheet window asks before a command runs (Yes/Cancel warnings).
inline constexpr std::string_view kAskClearRow = "Are you sure clear data in this row?";
inline constexpr std::string_view kAskDeleteRow = "Are you sure delete this row?";
inline constexpr std::string_view kAskDeleteAllRows = "Are you sure delete all rows?";
inline constexpr std::string_view kAskClearColumn = "Are you sure clear data in this column?";
inline constexpr std::string_view kAskDeleteColumn = "Are you sure delete this column?";
inline constexpr std::string_view kAskDeleteAllColumns = "Are you sure delete all columns?";
inline constexpr std::string_view kAskClearAll = "Are you sure clear all data?";
inline constexpr std::string_view kAskClearSelection = "Are you sure clear all selected data?";
inline constexpr std::string_view kAddColumnTitle = "Inset a Column";
inline constexpr std::string_view kRenameColumnTitle = "Change Column Name";
inline constexpr std::string_view kColumnNamePrompt = "Please input the column name:";

// Inclusive cell range, columns left..right and rows top..bottom.
struct TGridRect {
    int left = 1;
    int top = 1;
    int right = 1;
    int bottom = 1;
    bool operator==(const TGridRect&) const = default;
};

// The cells of a range, kept for putting back (undo, redo): only rows holding text in the range, each
// as the range's cells packed the way the sheet packs a row, so a block costs about its text.
struct TCellBlock {
    TGridRect rect;
    std::vector<int> rows;    // rising
    std::vector<size_t> ends; // end of each row's cells in `bytes`
    std::string bytes;
    size_t MemoryUsed() const { return bytes.capacity() + rows.capacity() * sizeof(int) + ends.capacity() * sizeof(size_t); }
};

// Cells are indexed (column, row) from 0. Row 0 holds the column names, column 0 the row numbers
// (drawn, not stored: its cells hold no data). Data columns and rows start at 1, and there is always
// at least one of each.
//
// Storage is one packed string per row that holds text: each cell as a length prefix and its bytes,
// trailing empty cells left out, kept in row order; empty rows are not stored at all. So memory follows
// the text, a million-row sheet costs no per-cell objects, and a sheet of two billion mostly empty rows
// costs next to nothing.
class TDatasheet {
public:
    static constexpr int kMaxColumns = 1 << 20;
    static constexpr int kMaxRows = 2147483647;
    static constexpr int kRowNumberColumnWidth = 50;
    static constexpr int kFirstColumnWidth = 115;
    static constexpr int kDefaultColumnWidth = 64;
    static constexpr int kDefaultRowHeight = 21;

    // The initial table: two columns, two rows, column 1 named "Data1" with one empty row.
    TDatasheet();

    int ColumnCount() const { return m_columnCount; }
    int RowCount() const { return m_rowCount; }
    // Counts are clamped to 2 .. the maximum; cells that fall outside are dropped.
    void SetColumnCount(int count);
    void SetRowCount(int count);
    // Empties every cell and sets both counts (whole-table replacement by imports and loads).
    void Reset(int columnCount, int rowCount);

    // The text of a cell; empty outside the table. The view is valid until the sheet next changes.
    std::string_view Cell(int column, int row) const;
    // Writes a cell inside the table; a cell outside it is ignored.
    void SetCell(int column, int row, std::string_view text);
    // Replaces a whole row at once (cells from column 0), faster than cell by cell.
    void SetRow(int row, std::span<const std::string> cells);
    void SetRow(int row, const std::vector<std::string>& cells) { SetRow(row, std::span<const std::string>(cells)); }
    void SetRow(int row, std::span<const std::string_view> cells);
    // Room for this many rows holding text, so that a long import does not copy the row list as it grows.
    void ReserveRows(size_t rows) { m_rows.reserve(rows); }
    std::vector<std::string> Row(int row) const;
    // The cells of a row from column 0 to its last non-empty one; views valid until the next change.
    std::vector<std::string_view> RowCells(int row) const;
    // The first row at or after `row` that holds any text, or -1: walks the text without visiting the
    // empty rows between.
    int NextRowWithText(int row) const;
    // Calls visit(row, cells) for every row that holds text, in rising order, without searching.
    void
    ForEachRowWithText(const std::function<void(int, const std::vector<std::string_view>&)>& visit) const;
    std::string_view ColumnName(int column) const { return Cell(column, 0); }
    std::vector<std::string> ColumnNames() const;

    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    int CurrentColumn() const { return m_currentColumn; }
    int CurrentRow() const { return m_currentRow; }
    // Clamped into the data area.
    void SetCurrentCell(int column, int row);
    void SetCurrentColumn(int column) { SetCurrentCell(column, m_currentRow); }
    const TGridRect& Selection() const { return m_selection; }
    void SetSelection(const TGridRect& range);

    // True when a data column's header, trimmed, equals `name` trimmed, ignoring letter case.
    bool ColumnExists(std::string_view name) const;

    // The window's commands, acting on the current cell. Questions are asked by the caller first.
    void InsertBlankRow();
    void ClearCurrentRow();
    void DeleteCurrentRow();
    void DeleteAllRows();
    // Throws EDatasheetError "You input a blank name or this name has been exist!".
    void AddColumn(std::string_view name);
    // Returns whether the header changed; throws EDatasheetError "Column '<name>' has been exist!".
    bool RenameCurrentColumn(std::string_view name);
    void ClearCurrentColumn();
    void DeleteCurrentColumn();
    void DeleteAllColumns();
    void ClearAll();
    void ClearSelection();
    // Writes the values into the current column from the current row down, growing the row count
    // when needed (sequence fill, picture paths). Other cells are untouched.
    void PlaceInCurrentColumn(const std::vector<std::string>& values);

    // Dragging a row or a column to another place.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);

    // Row and column structure, as undo puts it back. Counts stay within their limits.
    void InsertRows(int at, int count);
    void DeleteRows(int first, int last);
    void InsertColumn(int at);
    // True when no cell of the column, its header included, holds text.
    bool ColumnIsEmpty(int column) const;
    void DeleteColumns(int first, int last);

    // A copy of the cells of `range` (clipped to the table), and putting such a copy back: the range's
    // cells become the block's, empty where the block holds none.
    TCellBlock CopyCells(const TGridRect& range) const;
    void PutCells(const TCellBlock& block);

    // The table's shape (counts, widths, current cell, selection) with only its header row and last
    // row: what is left after a command that discards every other row, built without copying them.
    TDatasheet Outline() const;

    // Bytes of text and packing held, for measuring.
    size_t MemoryUsed() const;

private:
    struct StoredRow {
        int row;
        std::string cells; // packed, never empty
    };
    std::vector<StoredRow>::iterator Find(int row);
    std::vector<StoredRow>::const_iterator Find(int row) const;
    const std::string* Packed(int row) const;
    void Store(int row, std::string packed);
    void DropEmptyRows();
    void ClampCurrent();

    int m_columnCount = 2;
    int m_rowCount = 2;
    std::vector<StoredRow> m_rows; // rising row numbers
    std::vector<int> m_widths;
    int m_currentColumn = 1;
    int m_currentRow = 1;
    TGridRect m_selection;
};

} // namespace qbm
