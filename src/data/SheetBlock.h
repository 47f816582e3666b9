#pragma once
// The used block of a workbook sheet (from its first to its last used row and column) and writing
// that block into an empty datasheet from cell (0, 0), within a budget that a hostile file cannot
// talk past.

#include "data/TDatasheet.h"
#include "util/BigBufferAllocator.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// Spreadsheet programs' own sheet limits.
inline constexpr int64_t kMaxSheetRows = 16 * 1024 * 1024;
inline constexpr int64_t kMaxSheetColumns = 16384;
// The packed text an imported sheet may bring into the datasheet: with the datasheet's own
// bookkeeping and the reader's buffers an import stays within a gigabyte.
inline constexpr int64_t kMaxSheetBytes = int64_t(512) << 20;
// The text of one cell. Real cells stay far below (a spreadsheet program's cell holds 32,767
// characters); a file whose cell text expands beyond it (space runs, repeated references) is hostile.
inline constexpr size_t kMaxCellBytes = size_t(1) << 20;

// A cell's name as the spreadsheet shows it: column letters and row number ("B7"), from 0-based indexes.
std::string CellName(int64_t column, int64_t row);
// Why a cell's text is refused: `sheet` names the sheet, `text` is the text so far.
void RefuseOversizedCell(const std::string& text, const std::string& sheet, int64_t column, int64_t row,
                         const std::function<void(const std::string&)>& fail);

struct TSheetBlock {
    int64_t top = kMaxSheetRows, left = kMaxSheetColumns, bottom = -1, right = -1;
    // A used cell, or a run of `rows` x `columns` used cells from (row, column).
    void Note(int64_t row, int64_t column, int64_t rows = 1, int64_t columns = 1);
    bool Empty() const { return bottom < 0; }
    int Width() const { return Empty() ? 1 : static_cast<int>(right - left + 1); }
    int Height() const { return Empty() ? 1 : static_cast<int>(bottom - top + 1); }
};

// Cells gathered while a sheet is read, for writing them once its block is known: each as a few
// numbers (its row and column, and what else the reader needs) and its text, packed one after another,
// up to a number of bytes. Past that they are dropped, and the sheet has to be read again.
class TGatheredCells {
public:
    TGatheredCells(uint64_t maxBytes, size_t numbers) : m_maxBytes(maxBytes), m_numbers(numbers) {}
    // `numbers` holds as many as the constructor said, none negative.
    void Add(std::initializer_list<int64_t> numbers, std::string_view text = {});
    bool Complete() const { return !m_dropped; }
    void Clear();
    // Calls visit(numbers, text) for every cell, in the order they came.
    void ForEach(const std::function<void(const int64_t* numbers, std::string_view text)>& visit) const;

private:
    // The numbers and the text's length, 7 bits a byte, low bits first; then the text. Its room is taken
    // for the most it may hold at once, which costs memory only as far as it is filled.
    std::basic_string<char, std::char_traits<char>, TBigBufferAllocator<char>> m_bytes;
    uint64_t m_maxBytes;
    size_t m_numbers;
    bool m_dropped = false;
};

class TSheetBlockWriter {
public:
    // Resets the sheet to the block's size. `fail` throws the reader's error with the reason given.
    TSheetBlockWriter(TDatasheet& sheet, const TSheetBlock& block,
                      std::function<void(const std::string&)> fail);
    // Room in the sheet for what a first pass over the sheet found: `rows` rows holding `cells` cells of
    // `textBytes` bytes of text in all. Reserved room costs memory only as far as it is filled, while a
    // sheet that grows as it fills holds its old and its new buffer at once.
    void Reserve(int64_t rows, int64_t cells, int64_t textBytes);
    // The cells of one sheet row; rows come in rising order, cells in any order.
    void Put(int64_t column, std::string_view text, int64_t repeat = 1);
    // Writes the row collected since the last EndRow as sheet row `row` and the `repeat` - 1 rows after it.
    // Rows without text are skipped: the datasheet's rows follow one another without gaps.
    void EndRow(int64_t row, int64_t repeat = 1);
    // Ends the sheet: the row count becomes the rows written; returns how many empty rows were skipped.
    int Finish();
    // The datasheet row that sheet row `row` went to, or -1 when it held no text.
    int WrittenRow(int64_t row) const;

private:
    TDatasheet& m_sheet;
    TSheetBlock m_block;
    std::function<void(const std::string&)> m_fail;
    std::vector<std::string> m_cells;
    std::vector<int> m_touched;
    int64_t m_bytes = 0;
    int m_written = 0;
    // Where each run of written sheet rows went: its first sheet row, its length and its datasheet row.
    struct TRun {
        int64_t sheetRow, rows;
        int row;
    };
    std::vector<TRun> m_runs;
};

} // namespace qbm
