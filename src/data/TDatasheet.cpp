#include "data/TDatasheet.h"

#include "util/Text.h"

#include <algorithm>

namespace qbm {
namespace {

constexpr std::string_view kFirstColumnName = "Data1";
constexpr std::string_view kAddColumnError = "You input a blank name or this name has been exist!";

// A packed row is a run of cells, each a little-endian base-128 length followed by the bytes.
void AppendLength(std::string& row, size_t length) {
    while (length >= 0x80) {
        row.push_back(static_cast<char>((length & 0x7F) | 0x80));
        length >>= 7;
    }
    row.push_back(static_cast<char>(length));
}

// Reads the length at `pos` and moves `pos` past it.
size_t ReadLength(std::string_view row, size_t& pos) {
    size_t length = 0;
    int shift = 0;
    while (pos < row.size()) {
        const auto byte = static_cast<unsigned char>(row[pos++]);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) break;
        shift += 7;
    }
    return length;
}

std::vector<std::string_view> Unpack(std::string_view row) {
    std::vector<std::string_view> cells;
    size_t pos = 0;
    while (pos < row.size()) {
        const size_t length = ReadLength(row, pos);
        cells.push_back(row.substr(pos, length));
        pos += length;
    }
    return cells;
}

template <typename Cells> std::string Pack(const Cells& cells) {
    size_t count = cells.size();
    while (count > 0 && std::string_view(cells[count - 1]).empty()) --count;
    size_t bytes = 0;
    for (size_t i = 0; i < count; ++i) bytes += std::string_view(cells[i]).size() + 1;
    std::string row;
    row.reserve(bytes); // one length byte per cell; longer texts grow the row once
    for (size_t i = 0; i < count; ++i) {
        const std::string_view text(cells[i]);
        AppendLength(row, text.size());
        row.append(text);
    }
    return row;
}

std::string_view CellOf(std::string_view row, int column) {
    size_t pos = 0;
    for (int c = 0; pos < row.size(); ++c) {
        const size_t length = ReadLength(row, pos);
        if (c == column) return row.substr(pos, length);
        pos += length;
    }
    return {};
}

// Rewrites a packed row through its unpacked cells; `edit` may resize the vector.
template <typename Edit> void EditRow(std::string& row, Edit edit) {
    std::vector<std::string> cells;
    for (std::string_view cell : Unpack(row)) cells.emplace_back(cell);
    edit(cells);
    row = Pack(cells);
}

} // namespace

TDatasheet::TDatasheet() {
    m_widths = {kRowNumberColumnWidth, kFirstColumnWidth};
    // The row-number column starts with a blank in each cell, as the window is created with.
    SetRow(0, std::vector<std::string>{" ", std::string(kFirstColumnName)});
    SetRow(1, std::vector<std::string>{" "});
}

std::vector<TDatasheet::StoredRow>::iterator TDatasheet::Find(int row) {
    return std::lower_bound(m_rows.begin(), m_rows.end(), row,
                            [](const StoredRow& stored, int r) { return stored.row < r; });
}

std::vector<TDatasheet::StoredRow>::const_iterator TDatasheet::Find(int row) const {
    return std::lower_bound(m_rows.begin(), m_rows.end(), row,
                            [](const StoredRow& stored, int r) { return stored.row < r; });
}

const std::string* TDatasheet::Packed(int row) const {
    const auto it = Find(row);
    return it != m_rows.end() && it->row == row ? &it->cells : nullptr;
}

void TDatasheet::Store(int row, std::string packed) {
    // Imports and loads fill rows in rising order: append without searching.
    if (m_rows.empty() || m_rows.back().row < row) {
        if (!packed.empty()) m_rows.push_back(StoredRow{row, std::move(packed)});
        return;
    }
    const auto it = Find(row);
    const bool present = it != m_rows.end() && it->row == row;
    if (packed.empty()) {
        if (present) m_rows.erase(it);
    } else if (present) {
        it->cells = std::move(packed);
    } else {
        m_rows.insert(it, StoredRow{row, std::move(packed)});
    }
}

void TDatasheet::DropEmptyRows() {
    std::erase_if(m_rows, [](const StoredRow& stored) { return stored.cells.empty(); });
}

void TDatasheet::SetColumnCount(int count) {
    count = std::clamp(count, 2, kMaxColumns);
    if (count < m_columnCount) {
        for (StoredRow& stored : m_rows) {
            auto cells = Unpack(stored.cells);
            if (cells.size() <= static_cast<size_t>(count)) continue;
            cells.resize(count);
            stored.cells = Pack(cells);
        }
        DropEmptyRows();
    }
    m_columnCount = count;
    m_widths.resize(count, kDefaultColumnWidth);
    ClampCurrent();
}

void TDatasheet::SetRowCount(int count) {
    count = std::clamp(count, 2, kMaxRows);
    m_rows.erase(Find(count), m_rows.end());
    m_rowCount = count;
    ClampCurrent();
}

void TDatasheet::Reset(int columnCount, int rowCount) {
    m_rows.clear();
    m_rows.shrink_to_fit();
    SetColumnCount(columnCount);
    SetRowCount(rowCount);
}

std::string_view TDatasheet::Cell(int column, int row) const {
    if (column < 0 || column >= m_columnCount) return {};
    const std::string* packed = Packed(row);
    return packed ? CellOf(*packed, column) : std::string_view();
}

void TDatasheet::SetCell(int column, int row, std::string_view text) {
    if (column < 0 || column >= m_columnCount || row < 0 || row >= m_rowCount) return;
    const std::string* packed = Packed(row);
    if (!packed && text.empty()) return;
    std::string edited = packed ? *packed : std::string();
    EditRow(edited, [&](std::vector<std::string>& cells) {
        if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
        cells[column] = text;
    });
    Store(row, std::move(edited));
}

void TDatasheet::SetRow(int row, std::span<const std::string> cells) {
    if (row < 0 || row >= m_rowCount) return;
    Store(row, Pack(cells.first(std::min(cells.size(), static_cast<size_t>(m_columnCount)))));
}

void TDatasheet::SetRow(int row, std::span<const std::string_view> cells) {
    if (row < 0 || row >= m_rowCount) return;
    Store(row, Pack(cells.first(std::min(cells.size(), static_cast<size_t>(m_columnCount)))));
}

std::vector<std::string> TDatasheet::Row(int row) const {
    std::vector<std::string> cells(m_columnCount);
    const auto stored = RowCells(row);
    for (size_t c = 0; c < stored.size() && c < cells.size(); ++c) cells[c] = stored[c];
    return cells;
}

std::vector<std::string_view> TDatasheet::RowCells(int row) const {
    const std::string* packed = Packed(row);
    return packed ? Unpack(*packed) : std::vector<std::string_view>();
}

int TDatasheet::NextRowWithText(int row) const {
    const auto it = Find(row);
    return it == m_rows.end() ? -1 : it->row;
}

void TDatasheet::ForEachRowWithText(
    const std::function<void(int, const std::vector<std::string_view>&)>& visit) const {
    for (const StoredRow& stored : m_rows) visit(stored.row, Unpack(stored.cells));
}

std::vector<std::string> TDatasheet::ColumnNames() const {
    return Row(0);
}

int TDatasheet::ColumnWidth(int column) const {
    if (column < 0 || column >= m_columnCount) return 0;
    return m_widths[column];
}

void TDatasheet::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= m_columnCount) return;
    m_widths[column] = std::max(width, 0);
}

void TDatasheet::SetCurrentCell(int column, int row) {
    m_currentColumn = column;
    m_currentRow = row;
    ClampCurrent();
}

void TDatasheet::ClampCurrent() {
    m_currentColumn = std::clamp(m_currentColumn, 1, m_columnCount - 1);
    m_currentRow = std::clamp(m_currentRow, 1, m_rowCount - 1);
}

void TDatasheet::SetSelection(const TGridRect& range) {
    m_selection = {std::min(range.left, range.right), std::min(range.top, range.bottom),
                   std::max(range.left, range.right), std::max(range.top, range.bottom)};
}

bool TDatasheet::ColumnExists(std::string_view name) const {
    const std::string wanted = UpperCase(Trim(name));
    const auto names = RowCells(0);
    for (int c = 1; c < m_columnCount; ++c) {
        const std::string_view header = static_cast<size_t>(c) < names.size() ? names[c] : std::string_view();
        if (UpperCase(Trim(header)) == wanted) return true;
    }
    return false;
}

void TDatasheet::DeleteRows(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, m_rowCount - 1);
    if (first > last) return;
    const int removed = last - first + 1;
    const auto end = m_rows.erase(Find(first), Find(last + 1));
    for (auto it = end; it != m_rows.end(); ++it) it->row -= removed;
    m_rowCount -= removed;
    ClampCurrent();
}

void TDatasheet::DeleteColumns(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, m_columnCount - 1);
    if (first > last) return;
    for (StoredRow& stored : m_rows) {
        EditRow(stored.cells, [first, last](std::vector<std::string>& cells) {
            if (cells.size() <= static_cast<size_t>(first)) return;
            const size_t end = std::min(cells.size(), static_cast<size_t>(last) + 1);
            cells.erase(cells.begin() + first, cells.begin() + static_cast<std::ptrdiff_t>(end));
        });
    }
    DropEmptyRows();
    m_widths.erase(m_widths.begin() + first, m_widths.begin() + last + 1);
    m_columnCount -= last - first + 1;
    ClampCurrent();
}

void TDatasheet::InsertBlankRow() {
    if (m_rowCount == kMaxRows) return;
    for (auto it = Find(m_currentRow); it != m_rows.end(); ++it) ++it->row;
    ++m_rowCount;
}

void TDatasheet::ClearCurrentRow() {
    const std::string* packed = Packed(m_currentRow);
    if (!packed) return;
    std::string edited = *packed;
    EditRow(edited, [](std::vector<std::string>& cells) {
        for (size_t c = 1; c < cells.size(); ++c) cells[c].clear();
    });
    Store(m_currentRow, std::move(edited));
}

void TDatasheet::DeleteCurrentRow() {
    if (m_rowCount <= 2) {
        ClearCurrentRow();
        return;
    }
    DeleteRows(m_currentRow, m_currentRow);
}

void TDatasheet::DeleteAllRows() {
    DeleteRows(1, m_rowCount - 2);
    m_currentRow = 1;
    ClearCurrentRow();
}

void TDatasheet::AddColumn(std::string_view name) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty() || ColumnExists(trimmed)) throw EDatasheetError(std::string(kAddColumnError));
    if (m_columnCount == kMaxColumns) throw EDatasheetError("The datasheet cannot hold more columns!");
    SetColumnCount(m_columnCount + 1);
    SetCell(m_columnCount - 1, 0, trimmed);
}

bool TDatasheet::RenameCurrentColumn(std::string_view name) {
    const std::string trimmed = Trim(name);
    if (trimmed == Trim(Cell(m_currentColumn, 0))) return false;
    if (ColumnExists(trimmed)) throw EDatasheetError("Column '" + trimmed + "' has been exist!");
    if (trimmed.empty()) return false;
    SetCell(m_currentColumn, 0, trimmed);
    return true;
}

void TDatasheet::ClearCurrentColumn() {
    const int column = m_currentColumn;
    for (StoredRow& stored : m_rows) {
        if (stored.row == 0 || CellOf(stored.cells, column).empty()) continue;
        EditRow(stored.cells, [column](std::vector<std::string>& cells) { cells[column].clear(); });
    }
    DropEmptyRows();
}

void TDatasheet::DeleteCurrentColumn() {
    if (m_columnCount <= 2) {
        DeleteRows(1, m_rowCount - 2);
        SetCell(1, 1, {});
        SetCell(1, 0, kFirstColumnName);
        return;
    }
    DeleteColumns(m_currentColumn, m_currentColumn);
}

void TDatasheet::DeleteAllColumns() {
    DeleteColumns(1, m_columnCount - 2);
    DeleteRows(1, m_rowCount - 2);
    SetCell(1, 0, kFirstColumnName);
    SetCell(1, 1, {});
}

void TDatasheet::ClearAll() {
    m_rows.erase(Find(1), m_rows.end());
}

void TDatasheet::ClearSelection() {
    const int left = std::max(m_selection.left, 1);
    const int right = std::min(m_selection.right, m_columnCount - 1);
    const int top = std::max(m_selection.top, 1);
    const int bottom = std::min(m_selection.bottom, m_rowCount - 1);
    if (left > right || top > bottom) return;
    for (auto it = Find(top); it != m_rows.end() && it->row <= bottom; ++it) {
        EditRow(it->cells, [left, right](std::vector<std::string>& cells) {
            for (int c = left; c <= right && static_cast<size_t>(c) < cells.size(); ++c) cells[c].clear();
        });
    }
    DropEmptyRows();
}

void TDatasheet::PlaceInCurrentColumn(const std::vector<std::string>& values) {
    if (values.empty()) return;
    const int first = m_currentRow;
    const int64_t needed = static_cast<int64_t>(first) + static_cast<int64_t>(values.size());
    if (m_rowCount < needed) SetRowCount(static_cast<int>(std::min<int64_t>(needed, kMaxRows)));
    const int last = static_cast<int>(std::min<int64_t>(needed, m_rowCount) - 1);
    const int column = m_currentColumn;

    // One merge of the new cells with the stored rows, so that filling a long column stays linear
    // however many rows follow it.
    std::vector<StoredRow> merged;
    merged.reserve(m_rows.size() + static_cast<size_t>(last - first + 1));
    auto it = m_rows.begin();
    for (; it != m_rows.end() && it->row < first; ++it) merged.push_back(std::move(*it));
    for (int row = first; row <= last; ++row) {
        std::string packed;
        if (it != m_rows.end() && it->row == row) packed = std::move((it++)->cells);
        EditRow(packed, [&](std::vector<std::string>& cells) {
            if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
            cells[column] = values[static_cast<size_t>(row - first)];
        });
        if (!packed.empty()) merged.push_back(StoredRow{row, std::move(packed)});
    }
    for (; it != m_rows.end(); ++it) merged.push_back(std::move(*it));
    m_rows = std::move(merged);
}

void TDatasheet::MoveRow(int from, int to) {
    if (from < 0 || to < 0 || from >= m_rowCount || to >= m_rowCount || from == to) return;
    // Only the stored rows between the two places change; the moved one goes to the other end of
    // them, the rest keep their order.
    const int lo = std::min(from, to), hi = std::max(from, to);
    const auto first = Find(lo), last = Find(hi + 1);
    const bool stored = first != last && (from < to ? first->row == from : std::prev(last)->row == from);
    for (auto it = first; it != last; ++it) {
        if (it->row == from)
            it->row = to;
        else
            it->row += from < to ? -1 : 1;
    }
    if (!stored) return;
    if (from < to)
        std::rotate(first, first + 1, last);
    else
        std::rotate(first, last - 1, last);
}

void TDatasheet::MoveColumn(int from, int to) {
    if (from < 0 || to < 0 || from >= m_columnCount || to >= m_columnCount || from == to) return;
    for (StoredRow& stored : m_rows) {
        EditRow(stored.cells, [from, to](std::vector<std::string>& cells) {
            if (cells.size() <= static_cast<size_t>(std::max(from, to))) cells.resize(std::max(from, to) + 1);
            std::string moved = std::move(cells[from]);
            cells.erase(cells.begin() + from);
            cells.insert(cells.begin() + to, std::move(moved));
        });
    }
    const int width = m_widths[from];
    m_widths.erase(m_widths.begin() + from);
    m_widths.insert(m_widths.begin() + to, width);
}

void TDatasheet::InsertRows(int at, int count) {
    at = std::clamp(at, 0, m_rowCount);
    count = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(kMaxRows) - m_rowCount));
    if (count <= 0) return;
    for (auto it = Find(at); it != m_rows.end(); ++it) it->row += count;
    m_rowCount += count;
}

void TDatasheet::InsertColumn(int at) {
    if (m_columnCount == kMaxColumns) return;
    at = std::clamp(at, 0, m_columnCount);
    // An empty cell is a single zero length: it goes in front of cell `at` of every row that reaches
    // that far, without unpacking the row.
    for (StoredRow& stored : m_rows) {
        size_t pos = 0;
        int c = 0;
        for (; c < at && pos < stored.cells.size(); ++c) {
            const size_t length = ReadLength(stored.cells, pos);
            pos += length;
        }
        if (c == at && pos < stored.cells.size()) stored.cells.insert(pos, 1, '\0');
    }
    m_widths.insert(m_widths.begin() + at, kDefaultColumnWidth);
    ++m_columnCount;
}

bool TDatasheet::ColumnIsEmpty(int column) const {
    for (const StoredRow& stored : m_rows)
        if (!CellOf(stored.cells, column).empty()) return false;
    return true;
}

TCellBlock TDatasheet::CopyCells(const TGridRect& range) const {
    TCellBlock block;
    block.rect = {std::max(range.left, 0), std::max(range.top, 0), std::min(range.right, m_columnCount - 1),
                  std::min(range.bottom, m_rowCount - 1)};
    const TGridRect& r = block.rect;
    if (r.left > r.right || r.top > r.bottom) return block;
    for (auto it = Find(r.top); it != m_rows.end() && it->row <= r.bottom; ++it) {
        const auto cells = Unpack(it->cells);
        if (cells.size() <= static_cast<size_t>(r.left)) continue;
        const size_t end = std::min(cells.size(), static_cast<size_t>(r.right) + 1);
        const std::string packed = Pack(std::span(cells).subspan(r.left, end - r.left));
        if (packed.empty()) continue;
        block.rows.push_back(it->row);
        block.bytes += packed;
        block.ends.push_back(block.bytes.size());
    }
    block.bytes.shrink_to_fit();
    return block;
}

void TDatasheet::PutCells(const TCellBlock& block) {
    const TGridRect& r = block.rect;
    if (r.left > r.right || r.top > r.bottom) return;
    const int bottom = std::min(r.bottom, m_rowCount - 1);
    // One merge of the block's rows with the stored ones, so that a long range stays linear.
    std::vector<StoredRow> merged;
    merged.reserve(m_rows.size() + block.rows.size());
    auto it = m_rows.begin();
    for (; it != m_rows.end() && it->row < r.top; ++it) merged.push_back(std::move(*it));
    size_t b = 0;
    while (b < block.rows.size() && block.rows[b] < r.top) ++b;
    std::vector<std::string> cells;
    while ((it != m_rows.end() && it->row <= bottom) || (b < block.rows.size() && block.rows[b] <= bottom)) {
        const int itRow = it != m_rows.end() && it->row <= bottom ? it->row : kMaxRows;
        const int bRow = b < block.rows.size() && block.rows[b] <= bottom ? block.rows[b] : kMaxRows;
        const int row = std::min(itRow, bRow);
        cells.clear();
        if (itRow == row)
            for (std::string_view cell : Unpack((it++)->cells)) cells.emplace_back(cell);
        if (cells.size() < static_cast<size_t>(r.right) + 1) cells.resize(r.right + 1);
        for (int c = r.left; c <= r.right; ++c) cells[c].clear();
        if (bRow == row) {
            const size_t start = b == 0 ? 0 : block.ends[b - 1];
            const auto put = Unpack(std::string_view(block.bytes).substr(start, block.ends[b] - start));
            for (size_t i = 0; i < put.size() && r.left + i < cells.size(); ++i) cells[r.left + i] = put[i];
            ++b;
        }
        std::string packed = Pack(std::span<const std::string>(cells).first(
            std::min(cells.size(), static_cast<size_t>(m_columnCount))));
        if (!packed.empty()) merged.push_back(StoredRow{row, std::move(packed)});
    }
    for (; it != m_rows.end(); ++it) merged.push_back(std::move(*it));
    m_rows = std::move(merged);
}

TDatasheet TDatasheet::Outline() const {
    TDatasheet outline;
    outline.m_columnCount = m_columnCount;
    outline.m_rowCount = m_rowCount;
    outline.m_widths = m_widths;
    outline.m_currentColumn = m_currentColumn;
    outline.m_currentRow = m_currentRow;
    outline.m_selection = m_selection;
    outline.m_rows.clear();
    if (const std::string* header = Packed(0)) outline.m_rows.push_back(StoredRow{0, *header});
    if (const std::string* last = Packed(m_rowCount - 1); last && m_rowCount - 1 > 0)
        outline.m_rows.push_back(StoredRow{m_rowCount - 1, *last});
    return outline;
}

size_t TDatasheet::MemoryUsed() const {
    size_t bytes = sizeof(*this) + m_rows.capacity() * sizeof(StoredRow) + m_widths.capacity() * sizeof(int);
    for (const StoredRow& stored : m_rows)
        if (stored.cells.capacity() > 15) bytes += stored.cells.capacity() + 1;
    return bytes;
}

} // namespace qbm
