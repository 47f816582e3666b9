#include "data/SheetBlock.h"

#include <algorithm>

namespace qbm {
namespace {

constexpr int64_t kMaxReservedRows = 1 << 20;

} // namespace

std::string CellName(int64_t column, int64_t row) {
    std::string letters;
    for (int64_t c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

void RefuseOversizedCell(const std::string& text, const std::string& sheet, int64_t column, int64_t row,
                         const std::function<void(const std::string&)>& fail) {
    if (text.size() <= kMaxCellBytes) return;
    fail("the cell " + CellName(column, row) + " of sheet \"" + sheet + "\" is too large (more than " +
         std::to_string(kMaxCellBytes >> 20) + " MB of text)");
}

void TSheetBlock::Note(int64_t row, int64_t column, int64_t rows, int64_t columns) {
    top = std::min(top, row);
    left = std::min(left, column);
    bottom = std::max(bottom, row + rows - 1);
    right = std::max(right, column + columns - 1);
}

namespace {

template <typename Out> void PutNumber(Out& out, uint64_t n) {
    for (; n >= 0x80; n >>= 7) out += static_cast<char>((n & 0x7F) | 0x80);
    out += static_cast<char>(n);
}

uint64_t TakeNumber(std::string_view bytes, size_t& at) {
    uint64_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<uint8_t>(bytes[at++]);
        n |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return n;
    }
}

} // namespace

void TGatheredCells::Add(std::initializer_list<int64_t> numbers, std::string_view text) {
    if (m_dropped) return;
    if (m_bytes.size() + text.size() + 10 * (numbers.size() + 1) > m_maxBytes) {
        m_dropped = true;
        m_bytes = {};
        return;
    }
    if (m_bytes.capacity() == 0) m_bytes.reserve(m_maxBytes);
    for (const int64_t n : numbers) PutNumber(m_bytes, static_cast<uint64_t>(n));
    PutNumber(m_bytes, text.size());
    m_bytes.append(text.data(), text.size());
}

void TGatheredCells::Clear() {
    m_bytes.clear();
    m_dropped = false;
}

void TGatheredCells::ForEach(const std::function<void(const int64_t*, std::string_view)>& visit) const {
    const std::string_view bytes(m_bytes.data(), m_bytes.size());
    std::vector<int64_t> numbers(m_numbers);
    for (size_t at = 0; at < bytes.size();) {
        for (int64_t& n : numbers) n = static_cast<int64_t>(TakeNumber(bytes, at));
        const auto length = static_cast<size_t>(TakeNumber(bytes, at));
        visit(numbers.data(), bytes.substr(at, length));
        at += length;
    }
}

TSheetBlockWriter::TSheetBlockWriter(TDatasheet& sheet, const TSheetBlock& block,
                                     std::function<void(const std::string&)> fail)
    : m_sheet(sheet), m_block(block), m_fail(std::move(fail)) {
    m_sheet.Reset(block.Width(), block.Height());
    m_cells.resize(block.Width());
}

void TSheetBlockWriter::Reserve(int64_t rows, int64_t cells, int64_t textBytes) {
    if (m_block.Empty()) return;
    // Never more than the budget lets a sheet fill (the rows of a spreadsheet program's longest sheet):
    // a hostile file's counts are no reason to ask the system for gigabytes.
    rows = std::min({rows, static_cast<int64_t>(m_block.Height()), kMaxReservedRows});
    // Each cell's length takes up to three bytes (a cell holds at most a megabyte), and each empty cell
    // before a row's last one takes one.
    const int64_t packed = textBytes + 3 * cells + rows * m_block.Width();
    m_sheet.ReserveRows(static_cast<size_t>(rows));
    m_sheet.ReserveText(static_cast<size_t>(std::min(packed, kMaxSheetBytes)));
}

void TSheetBlockWriter::Put(int64_t column, std::string_view text, int64_t repeat) {
    if (m_block.Empty() || text.empty()) return;
    const int64_t first = std::max(column, m_block.left);
    const int64_t last = std::min(column + repeat - 1, m_block.right);
    for (int64_t c = first; c <= last; ++c) {
        const int index = static_cast<int>(c - m_block.left);
        if (m_cells[index].empty()) m_touched.push_back(index);
        m_cells[index].assign(text); // the cell's string keeps its room from row to row
    }
}

void TSheetBlockWriter::EndRow(int64_t row, int64_t repeat) {
    if (m_touched.empty()) return;
    const int64_t first = std::max(row, m_block.top);
    const int64_t last = std::min(row + repeat - 1, m_block.bottom);
    if (first <= last) {
        const int end = *std::max_element(m_touched.begin(), m_touched.end()) + 1;
        int64_t rowBytes = end;
        for (int c = 0; c < end; ++c) rowBytes += static_cast<int64_t>(m_cells[c].size());
        m_bytes += rowBytes * (last - first + 1);
        if (m_bytes > kMaxSheetBytes)
            m_fail("the sheet holds more than " + std::to_string(kMaxSheetBytes >> 20) +
                   " MB of text, more than the datasheet takes");
        const std::span<const std::string> cells(m_cells.data(), static_cast<size_t>(end));
        m_runs.push_back({first, last - first + 1, m_written});
        for (int64_t r = first; r <= last; ++r) m_sheet.SetRow(m_written++, cells);
    }
    for (const int index : m_touched) m_cells[index].clear();
    m_touched.clear();
}

int TSheetBlockWriter::Finish() {
    const int height = m_block.Height();
    m_sheet.SetRowCount(std::max(m_written, 1));
    return std::max(0, height - std::max(m_written, 1));
}

int TSheetBlockWriter::WrittenRow(int64_t row) const {
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), row,
                                        [](int64_t r, const TRun& run) { return r < run.sheetRow; });
    if (after == m_runs.begin()) return -1;
    const TRun& run = *std::prev(after);
    return row < run.sheetRow + run.rows ? run.row + static_cast<int>(row - run.sheetRow) : -1;
}

} // namespace qbm
