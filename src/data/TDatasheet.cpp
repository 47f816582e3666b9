#include "data/TDatasheet.h"

#include "util/TProgress.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

namespace qbm {
namespace {

constexpr std::string_view kFirstColumnName = "Data1";
constexpr std::string_view kAddColumnError = "You input a blank name or this name has been exist!";

// A packed row is a run of cells, each a little-endian base-128 length followed by the bytes.

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

size_t LengthBytes(size_t length) {
    size_t bytes = 1;
    for (; length >= 0x80; length >>= 7) ++bytes;
    return bytes;
}

// Appends the packing of `cells` to `out`, growing it once: rows are packed a million at a time by
// imports, so the per-cell work is kept to writing the bytes.
template <typename Out, typename Cells> void PackInto(Out& out, const Cells& cells) {
    size_t count = cells.size();
    while (count > 0 && std::string_view(cells[count - 1]).empty()) --count;
    size_t bytes = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t length = std::string_view(cells[i]).size();
        bytes += length + (length < 0x80 ? 1 : LengthBytes(length));
    }
    const size_t start = out.size();
    out.resize(start + bytes);
    char* p = out.data() + start;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view text(cells[i]);
        size_t length = text.size();
        for (; length >= 0x80; length >>= 7) *p++ = static_cast<char>((length & 0x7F) | 0x80);
        *p++ = static_cast<char>(length);
        if (!text.empty()) std::memcpy(p, text.data(), text.size());
        p += text.size();
    }
}

// Cells cut from one line of text, each one delimiter after the one before (leading empty cells
// aside), pack into nearly that line: a short length byte takes each delimiter's place. So such a row
// is one copy of the line and a byte per cell. False, with nothing appended, for cells of another
// shape or longer than a one-byte length.
template <typename Out> bool AppendCutLine(Out& out, std::span<const std::string_view> cells) {
    size_t count = cells.size();
    while (count > 0 && cells[count - 1].empty()) --count;
    size_t first = 0;
    while (first < count && cells[first].data() == nullptr) ++first;
    if (first == count) return false;
    for (size_t i = first; i < count; ++i) {
        if (cells[i].size() >= 0x80) return false;
        if (i > first && cells[i].data() != cells[i - 1].data() + cells[i - 1].size() + 1) return false;
    }
    out.append(first, '\0');
    const size_t start = out.size();
    const char* const from = cells[first].data();
    const size_t span = static_cast<size_t>(cells[count - 1].data() + cells[count - 1].size() - from);
    out.push_back(static_cast<char>(cells[first].size()));
    out.append(from, span);
    for (size_t i = first + 1; i < count; ++i)
        out[start + static_cast<size_t>(cells[i].data() - from)] = static_cast<char>(cells[i].size());
    return true;
}

std::string_view FirstWithData(std::span<const std::string_view> cells) {
    for (const std::string_view cell : cells)
        if (cell.data() != nullptr) return {cell.data(), 1};
    return {};
}

template <typename Cells> std::string Pack(const Cells& cells) {
    size_t bytes = 0;
    for (const auto& cell : cells) bytes += std::string_view(cell).size() + 1;
    std::string row;
    row.reserve(bytes);
    PackInto(row, cells);
    return row;
}

// The packed run is held in 32 bits; a row longer than that is refused rather than cut.
void CheckRowSize(size_t bytes) {
    if (bytes > UINT32_MAX) throw EDatasheetError("A datasheet row cannot hold more than 4 GB of text!");
}

// Bytes of waste the buffer may always hold before it is compacted.
constexpr size_t kWasteAllowance = size_t(64) << 10;

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

TDatasheet::TRowList::iterator TDatasheet::Find(int row) {
    return std::lower_bound(m_rows.begin(), m_rows.end(), row,
                            [](const StoredRow& stored, int r) { return stored.row < r; });
}

TDatasheet::TRowList::const_iterator TDatasheet::Find(int row) const {
    return std::lower_bound(m_rows.begin(), m_rows.end(), row,
                            [](const StoredRow& stored, int r) { return stored.row < r; });
}

std::string_view TDatasheet::Packed(int row) const {
    const auto it = Find(row);
    return it != m_rows.end() && it->row == row ? Bytes(*it) : std::string_view();
}

bool TDatasheet::InBuffer(std::string_view bytes) const {
    const std::less<const char*> before;
    return !bytes.empty() && !before(bytes.data(), m_text.data()) &&
           before(bytes.data(), m_text.data() + m_text.capacity());
}

TDatasheet::StoredRow TDatasheet::Keep(int row, std::string_view packed) {
    CheckRowSize(packed.size());
    const StoredRow stored{row, static_cast<uint32_t>(packed.size()), m_text.size()};
    m_text.append(packed);
    m_live += packed.size();
    return stored;
}

void TDatasheet::Replace(StoredRow& stored, std::string_view packed) {
    CheckRowSize(packed.size());
    m_live -= stored.length;
    m_live += packed.size();
    if (stored.offset + stored.length == m_text.size()) {
        // The last run written (a row filled cell by cell) grows where it lies.
        m_text.resize(stored.offset);
        m_text.append(packed);
    } else if (packed.size() <= stored.length) {
        std::copy(packed.begin(), packed.end(), m_text.begin() + static_cast<std::ptrdiff_t>(stored.offset));
    } else {
        stored.offset = m_text.size();
        m_text.append(packed);
    }
    stored.length = static_cast<uint32_t>(packed.size());
}

void TDatasheet::ReleaseRange(TRowList::const_iterator first, TRowList::const_iterator last) {
    for (auto it = first; it != last; ++it) Release(*it);
}

void TDatasheet::Store(int row, std::string_view packed) {
    // Imports and loads fill rows in rising order: append without searching.
    if (m_rows.empty() || m_rows.back().row < row) {
        if (!packed.empty()) m_rows.push_back(Keep(row, packed));
        return;
    }
    const auto it = Find(row);
    const bool present = it != m_rows.end() && it->row == row;
    if (packed.empty()) {
        if (present) {
            Release(*it);
            m_rows.erase(it);
        }
    } else if (present) {
        Replace(*it, packed);
    } else {
        m_rows.insert(it, Keep(row, packed));
    }
    CompactIfWasteful();
}

template <typename Edit> void TDatasheet::EditStored(StoredRow& stored, Edit edit) {
    std::string packed(Bytes(stored));
    EditRow(packed, edit);
    Replace(stored, packed);
}

template <typename Rewrite> void TDatasheet::RebuildRows(Rewrite rewrite) {
    TTextBuffer text;
    text.reserve(m_live + m_rows.size());
    for (StoredRow& stored : m_rows) {
        const size_t offset = text.size();
        rewrite(Bytes(stored), text);
        CheckRowSize(text.size() - offset);
        stored.offset = offset;
        stored.length = static_cast<uint32_t>(text.size() - offset);
    }
    m_text = std::move(text);
    m_live = m_text.size();
    DropEmptyRows();
}

void TDatasheet::DropEmptyRows() {
    std::erase_if(m_rows, [](const StoredRow& stored) { return stored.length == 0; });
    CompactIfWasteful();
}

void TDatasheet::CompactIfWasteful() {
    const size_t waste = m_text.size() - m_live;
    if (waste <= kWasteAllowance || waste <= m_live / 2) return;
    RebuildRows([](std::string_view bytes, auto& out) { out.append(bytes); });
    m_text.shrink_to_fit();
}

void TDatasheet::SetColumnCount(int count) {
    count = std::clamp(count, 2, kMaxColumns);
    if (count < m_columnCount) {
        RebuildRows([count](std::string_view bytes, auto& out) {
            auto cells = Unpack(bytes);
            if (cells.size() > static_cast<size_t>(count)) cells.resize(count);
            PackInto(out, cells);
        });
    }
    m_columnCount = count;
    m_widths.resize(count, kDefaultColumnWidth);
    ClampCurrent();
}

void TDatasheet::SetRowCount(int count) {
    count = std::clamp(count, 2, kMaxRows);
    const auto first = Find(count);
    ReleaseRange(first, m_rows.end());
    m_rows.erase(first, m_rows.end());
    CompactIfWasteful();
    m_rowCount = count;
    ClampCurrent();
}

void TDatasheet::Reset(int columnCount, int rowCount) {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_text.clear();
    m_text.shrink_to_fit();
    m_live = 0;
    SetColumnCount(columnCount);
    SetRowCount(rowCount);
}

std::string_view TDatasheet::Cell(int column, int row) const {
    if (column < 0 || column >= m_columnCount) return {};
    return CellOf(Packed(row), column);
}

void TDatasheet::SetCell(int column, int row, std::string_view text) {
    if (column < 0 || column >= m_columnCount || row < 0 || row >= m_rowCount) return;
    const std::string_view packed = Packed(row);
    if (packed.empty() && text.empty()) return;
    std::string edited(packed);
    EditRow(edited, [&](std::vector<std::string>& cells) {
        if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
        cells[column] = text;
    });
    Store(row, edited);
}

void TDatasheet::SetRow(int row, std::span<const std::string> cells) {
    if (row < 0 || row >= m_rowCount) return;
    Store(row, Pack(cells.first(std::min(cells.size(), static_cast<size_t>(m_columnCount)))));
}

void TDatasheet::SetRow(int row, std::span<const std::string_view> cells) {
    SetRow(row, cells, false);
}

void TDatasheet::SetCutRow(int row, std::span<const std::string_view> cells) {
    SetRow(row, cells, true);
}

void TDatasheet::SetRow(int row, std::span<const std::string_view> cells, bool cutFromLine) {
    if (row < 0 || row >= m_rowCount) return;
    cells = cells.first(std::min(cells.size(), static_cast<size_t>(m_columnCount)));
    const bool appended = m_rows.empty() || m_rows.back().row < row;
    // Cells cut from a line lie in one piece of memory, so the first that has data tells for all.
    const auto inBuffer = [this](std::string_view c) { return InBuffer(c); };
    const bool aliased =
        cutFromLine ? InBuffer(FirstWithData(cells)) : std::any_of(cells.begin(), cells.end(), inBuffer);
    if (appended && !aliased) {
        // A reader filling rows in order: the row is packed straight into the buffer.
        const size_t offset = m_text.size();
        if (!cutFromLine || !AppendCutLine(m_text, cells)) PackInto(m_text, cells);
        const size_t length = m_text.size() - offset;
        if (length > UINT32_MAX) m_text.resize(offset);
        CheckRowSize(length);
        if (length > 0) m_rows.push_back(StoredRow{row, static_cast<uint32_t>(length), offset});
        m_live += length;
        return;
    }
    Store(row, Pack(cells));
}

std::vector<std::string> TDatasheet::Row(int row) const {
    std::vector<std::string> cells(m_columnCount);
    const auto stored = RowCells(row);
    for (size_t c = 0; c < stored.size() && c < cells.size(); ++c) cells[c] = stored[c];
    return cells;
}

std::vector<std::string_view> TDatasheet::RowCells(int row) const {
    return Unpack(Packed(row));
}

int TDatasheet::NextRowWithText(int row) const {
    const auto it = Find(row);
    return it == m_rows.end() ? -1 : it->row;
}

void TDatasheet::ForEachRowWithText(
    const std::function<void(int, const std::vector<std::string_view>&)>& visit) const {
    for (const StoredRow& stored : m_rows) visit(stored.row, Unpack(Bytes(stored)));
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
    const auto from = Find(first), to = Find(last + 1);
    ReleaseRange(from, to);
    const auto end = m_rows.erase(from, to);
    for (auto it = end; it != m_rows.end(); ++it) it->row -= removed;
    m_rowCount -= removed;
    CompactIfWasteful();
    ClampCurrent();
}

void TDatasheet::DeleteColumns(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, m_columnCount - 1);
    if (first > last) return;
    RebuildRows([first, last](std::string_view bytes, auto& out) {
        auto cells = Unpack(bytes);
        if (cells.size() > static_cast<size_t>(first)) {
            const size_t end = std::min(cells.size(), static_cast<size_t>(last) + 1);
            cells.erase(cells.begin() + first, cells.begin() + static_cast<std::ptrdiff_t>(end));
        }
        PackInto(out, cells);
    });
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
    const std::string_view packed = Packed(m_currentRow);
    if (packed.empty()) return;
    std::string edited(packed);
    EditRow(edited, [](std::vector<std::string>& cells) {
        for (size_t c = 1; c < cells.size(); ++c) cells[c].clear();
    });
    Store(m_currentRow, edited);
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
        if (stored.row == 0 || CellOf(Bytes(stored), column).empty()) continue;
        EditStored(stored, [column](std::vector<std::string>& cells) { cells[column].clear(); });
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
    const auto first = Find(1);
    ReleaseRange(first, m_rows.end());
    m_rows.erase(first, m_rows.end());
    CompactIfWasteful();
}

void TDatasheet::ClearSelection() {
    const int left = std::max(m_selection.left, 1);
    const int right = std::min(m_selection.right, m_columnCount - 1);
    const int top = std::max(m_selection.top, 1);
    const int bottom = std::min(m_selection.bottom, m_rowCount - 1);
    if (left > right || top > bottom) return;
    for (auto it = Find(top); it != m_rows.end() && it->row <= bottom; ++it) {
        EditStored(*it, [left, right](std::vector<std::string>& cells) {
            for (int c = left; c <= right && static_cast<size_t>(c) < cells.size(); ++c) cells[c].clear();
        });
    }
    DropEmptyRows();
}

void TDatasheet::PlaceInCurrentColumn(const std::vector<std::string>& values, TProgress* progress) {
    if (values.empty()) return;
    const int first = m_currentRow;
    const int rowsBefore = m_rowCount;
    const int64_t needed = static_cast<int64_t>(first) + static_cast<int64_t>(values.size());
    // Growing the count touches no stored row, so putting it back is all a cancel needs for it.
    if (m_rowCount < needed) m_rowCount = static_cast<int>(std::min<int64_t>(needed, kMaxRows));
    const int last = static_cast<int>(std::min<int64_t>(needed, m_rowCount) - 1);
    const int column = m_currentColumn;

    // One merge of the new cells with the stored rows, so that filling a long column stays linear
    // however many rows follow it. The new runs only ever go behind the buffer's end and the row
    // list is swapped in at the end: until then the table is as it was, so a cancel (or a failure)
    // just cuts the buffer back.
    const size_t textBefore = m_text.size();
    const size_t liveBefore = m_live;
    try {
        TRowList merged;
        merged.reserve(m_rows.size() + static_cast<size_t>(last - first + 1));
        auto it = m_rows.begin();
        for (; it != m_rows.end() && it->row < first; ++it) merged.push_back(*it);
        std::string packed;
        for (int row = first; row <= last; ++row) {
            if ((row - first) % 65536 == 65535) ReportProgress(progress, row - first, last - first + 1);
            const bool present = it != m_rows.end() && it->row == row;
            packed.assign(present ? Bytes(*it) : std::string_view());
            EditRow(packed, [&](std::vector<std::string>& cells) {
                if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
                cells[column] = values[static_cast<size_t>(row - first)];
            });
            if (present) Release(*it++);
            if (!packed.empty()) merged.push_back(Keep(row, packed));
        }
        for (; it != m_rows.end(); ++it) merged.push_back(*it);
        m_rows = std::move(merged);
    } catch (...) {
        m_text.resize(textBefore);
        m_live = liveBefore;
        m_rowCount = rowsBefore;
        throw;
    }
    CompactIfWasteful();
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
    RebuildRows([from, to](std::string_view bytes, auto& out) {
        auto cells = Unpack(bytes);
        if (cells.size() <= static_cast<size_t>(std::max(from, to))) cells.resize(std::max(from, to) + 1);
        const std::string_view moved = cells[from];
        cells.erase(cells.begin() + from);
        cells.insert(cells.begin() + to, moved);
        PackInto(out, cells);
    });
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
    RebuildRows([at](std::string_view bytes, auto& out) {
        size_t pos = 0;
        int c = 0;
        for (; c < at && pos < bytes.size(); ++c) {
            const size_t length = ReadLength(bytes, pos);
            pos += length;
        }
        out.append(bytes.substr(0, pos));
        if (c == at && pos < bytes.size()) out.push_back('\0');
        out.append(bytes.substr(pos));
    });
    m_widths.insert(m_widths.begin() + at, kDefaultColumnWidth);
    ++m_columnCount;
}

bool TDatasheet::ColumnIsEmpty(int column) const {
    for (const StoredRow& stored : m_rows)
        if (!CellOf(Bytes(stored), column).empty()) return false;
    return true;
}

TCellBlock TDatasheet::CopyCells(const TGridRect& range) const {
    TCellBlock block;
    block.rect = {std::max(range.left, 0), std::max(range.top, 0), std::min(range.right, m_columnCount - 1),
                  std::min(range.bottom, m_rowCount - 1)};
    const TGridRect& r = block.rect;
    if (r.left > r.right || r.top > r.bottom) return block;
    for (auto it = Find(r.top); it != m_rows.end() && it->row <= r.bottom; ++it) {
        const auto cells = Unpack(Bytes(*it));
        if (cells.size() <= static_cast<size_t>(r.left)) continue;
        const size_t end = std::min(cells.size(), static_cast<size_t>(r.right) + 1);
        const size_t before = block.bytes.size();
        PackInto(block.bytes, std::span(cells).subspan(r.left, end - r.left));
        if (block.bytes.size() == before) continue;
        block.rows.push_back(it->row);
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
    TRowList merged;
    merged.reserve(m_rows.size() + block.rows.size());
    auto it = m_rows.begin();
    for (; it != m_rows.end() && it->row < r.top; ++it) merged.push_back(*it);
    size_t b = 0;
    while (b < block.rows.size() && block.rows[b] < r.top) ++b;
    std::vector<std::string> cells;
    while ((it != m_rows.end() && it->row <= bottom) || (b < block.rows.size() && block.rows[b] <= bottom)) {
        const int itRow = it != m_rows.end() && it->row <= bottom ? it->row : kMaxRows;
        const int bRow = b < block.rows.size() && block.rows[b] <= bottom ? block.rows[b] : kMaxRows;
        const int row = std::min(itRow, bRow);
        cells.clear();
        std::optional<StoredRow> present;
        if (itRow == row) {
            present = *it++;
            for (std::string_view cell : Unpack(Bytes(*present))) cells.emplace_back(cell);
        }
        if (cells.size() < static_cast<size_t>(r.right) + 1) cells.resize(r.right + 1);
        for (int c = r.left; c <= r.right; ++c) cells[c].clear();
        if (bRow == row) {
            const size_t start = b == 0 ? 0 : block.ends[b - 1];
            const auto put = Unpack(std::string_view(block.bytes).substr(start, block.ends[b] - start));
            for (size_t i = 0; i < put.size() && r.left + i < cells.size(); ++i) cells[r.left + i] = put[i];
            ++b;
        }
        const std::string packed = Pack(std::span<const std::string>(cells).first(
            std::min(cells.size(), static_cast<size_t>(m_columnCount))));
        if (present) {
            Replace(*present, packed);
            if (present->length > 0) merged.push_back(*present);
        } else if (!packed.empty()) {
            merged.push_back(Keep(row, packed));
        }
    }
    for (; it != m_rows.end(); ++it) merged.push_back(*it);
    m_rows = std::move(merged);
    CompactIfWasteful();
}

TDatasheet TDatasheet::EmptyOfSameShape() const {
    TDatasheet empty;
    empty.m_columnCount = m_columnCount;
    empty.m_rowCount = m_rowCount;
    empty.m_widths = m_widths;
    empty.m_currentColumn = m_currentColumn;
    empty.m_currentRow = m_currentRow;
    empty.m_selection = m_selection;
    empty.m_rows.clear();
    empty.m_text.clear();
    empty.m_live = 0;
    return empty;
}

TDatasheet TDatasheet::Outline() const {
    TDatasheet outline = EmptyOfSameShape();
    if (const std::string_view header = Packed(0); !header.empty())
        outline.m_rows.push_back(outline.Keep(0, header));
    if (const std::string_view last = Packed(m_rowCount - 1); !last.empty() && m_rowCount - 1 > 0)
        outline.m_rows.push_back(outline.Keep(m_rowCount - 1, last));
    return outline;
}

TDatasheet TDatasheet::Reordered(std::span<const int> order) const {
    TDatasheet result = EmptyOfSameShape();
    result.m_rows.reserve(order.size() + 1);
    result.m_text.reserve(m_live);
    if (const std::string_view header = Packed(0); !header.empty())
        result.m_rows.push_back(result.Keep(0, header));
    const size_t rows = std::min(order.size(), static_cast<size_t>(m_rowCount - 1));
    for (size_t i = 0; i < rows; ++i)
        if (const std::string_view packed = Packed(order[i]); !packed.empty() && order[i] > 0)
            result.m_rows.push_back(result.Keep(static_cast<int>(i) + 1, packed));
    return result;
}

size_t TDatasheet::MemoryUsed() const {
    return sizeof(*this) + m_rows.capacity() * sizeof(StoredRow) + m_widths.capacity() * sizeof(int) +
           m_text.capacity();
}

} // namespace qbm
