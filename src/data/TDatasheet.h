#pragma once
// The datasheet: a table of text cells with a header row of column names and a row-number column.

#include "util/BigBufferAllocator.h"

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TProgress;

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
    size_t MemoryUsed() const {
        return bytes.capacity() + rows.capacity() * sizeof(int) + ends.capacity() * sizeof(size_t);
    }
};

// Cells are indexed (column, row) from 0. Row 0 holds the column names, column 0 the row numbers
// (drawn, not stored: its cells hold no data). Data columns and rows start at 1, and there is always
// at least one of each.
//
// Storage is one packed run of bytes per row that holds text: each cell as a length prefix and its
// bytes, trailing empty cells left out; empty rows are not stored at all. The runs of all rows share one
// buffer, and the row list (in row order) says where each run lies. So memory follows the text, a
// million-row sheet costs neither per-cell nor per-row allocations, and a sheet of two billion mostly
// empty rows costs next to nothing. A rewritten row goes to the end of the buffer; the space it leaves
// is reclaimed by compacting the buffer once it would otherwise hold more waste than half the text.
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
    void SetRow(int row, const std::vector<std::string>& cells) {
        SetRow(row, std::span<const std::string>(cells));
    }
    void SetRow(int row, std::span<const std::string_view> cells);
    // The same for cells a reader cut from one line of text: each starts one delimiter after the end
    // of the one before (or is an empty view with no data, in front). Such a row is stored with one
    // copy of the line; cells of any other shape are stored as SetRow stores them.
    void SetCutRow(int row, std::span<const std::string_view> cells);
    // Room for this many rows holding text, so that a long import does not copy the row list as it grows.
    void ReserveRows(size_t rows) { m_rows.reserve(rows); }
    // Room for this many bytes of packed text (about the text plus one byte per cell).
    void ReserveText(size_t bytes) { m_text.reserve(bytes); }
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
    // when needed (sequence fill, picture paths). Other cells are untouched. A long column reports to
    // `progress`, which may stop it (EOperationCancelled): the table is then exactly as before.
    void PlaceInCurrentColumn(const std::vector<std::string>& values, TProgress* progress = nullptr);

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

    // The table with its data rows in a new order: row i (from 1) of the result is row order[i - 1]
    // of this one, and rows past the list are empty. Header, counts, widths and cursor stay. Each
    // row's packed run is copied as it lies (sorting a million rows).
    TDatasheet Reordered(std::span<const int> order) const;

    // Bytes of text and packing held, for measuring.
    size_t MemoryUsed() const;

private:
    struct StoredRow {
        int row;
        uint32_t length; // of the packed run, never 0 while the row is listed
        size_t offset;   // of the packed run in m_text
    };
    using TRowList = std::vector<StoredRow, TBigBufferAllocator<StoredRow>>;
    using TTextBuffer = std::basic_string<char, std::char_traits<char>, TBigBufferAllocator<char>>;
    TRowList::iterator Find(int row);
    TRowList::const_iterator Find(int row) const;
    std::string_view Bytes(const StoredRow& stored) const {
        return {m_text.data() + stored.offset, stored.length};
    }
    // The packed run of a row; empty when the row holds no text.
    std::string_view Packed(int row) const;
    bool InBuffer(std::string_view bytes) const;
    void SetRow(int row, std::span<const std::string_view> cells, bool cutFromLine);
    // The buffer's part in a row: Keep appends a run for a new list entry, Replace gives an entry new
    // bytes (empty: the entry is to be dropped), Release forgets an entry's run. None of them accepts
    // bytes that lie in the buffer itself.
    StoredRow Keep(int row, std::string_view packed);
    void Replace(StoredRow& stored, std::string_view packed);
    void Release(const StoredRow& stored) { m_live -= stored.length; }
    void ReleaseRange(TRowList::const_iterator first, TRowList::const_iterator last);
    void Store(int row, std::string_view packed);
    // Runs `edit` on the unpacked cells of a listed row; the row may end up empty (length 0).
    template <typename Edit> void EditStored(StoredRow& stored, Edit edit);
    // Rewrites every row into a fresh buffer: rewrite(bytes, out) appends the row's new run to `out`.
    // Rows left empty are dropped. Whole-column commands use it, so they leave no waste behind.
    template <typename Rewrite> void RebuildRows(Rewrite rewrite);
    void DropEmptyRows();
    // A table of this one's counts, widths, cursor and selection with no text at all.
    TDatasheet EmptyOfSameShape() const;
    void CompactIfWasteful();
    void ClampCurrent();

    int m_columnCount = 2;
    int m_rowCount = 2;
    TRowList m_rows;    // rising row numbers
    TTextBuffer m_text; // the packed runs of the listed rows, and waste
    size_t m_live = 0;  // bytes of m_text the listed rows use
    std::vector<int> m_widths;
    int m_currentColumn = 1;
    int m_currentRow = 1;
    TGridRect m_selection;
};

} // namespace qbm
