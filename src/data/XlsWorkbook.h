#pragma once
// The records of an Excel 97-2003 workbook stream (BIFF8) read for the datasheet: the sheet list, the
// shared texts, the number formats and the cells of one sheet, each as the office suite shows it.

#include "data/WorkbookSheets.h"
#include "data/XlsErrorCells.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// The cells of a sheet that hold text, in sheet order (row by row, column by column), packed: a cell
// names its text among the workbook's shared texts or the sheet's own (numbers as shown, inline texts),
// so that a cell costs eight bytes beside a text it does not copy.
class TXlsSheetCells {
public:
    struct TCell {
        uint16_t row, column;
        uint32_t text; // kShared | index of a shared text, or where the sheet's own text starts
    };
    static constexpr uint32_t kShared = 0x80000000u;

    std::vector<TCell> cells;
    std::vector<TXlsCell> errors; // cells holding an error value, as constants or formula results

    std::string_view Text(const TCell& cell) const;
    // A cell with a text of the sheet's own; false when the sheet's texts outgrow what a cell can name.
    bool Add(uint16_t row, uint16_t column, std::string_view text);
    void AddShared(uint16_t row, uint16_t column, uint32_t index) {
        cells.push_back({row, column, kShared | index});
    }

    // The workbook's shared texts, one after another, and where each ends.
    std::string shared;
    std::vector<size_t> sharedEnds;

private:
    std::string m_own; // each text after its length (7 bits a byte, low bits first)
};

// The chosen sheet of a workbook stream (ChooseSheet: by name, else the one the workbook was last shown
// on, never a hidden one), read as often as needed. Numbers come as their cells' formats show them, or
// as stored with `choices.storedValues`; formula cells as their stored results. Throws EInOutError
// "Cannot read Excel workbook <path>: <reason>" for a damaged stream or a sheet name it does not hold.
// The stream must outlive the reader.
class TXlsSheetReader {
public:
    TXlsSheetReader(std::string_view stream, const TWorkbookChoices& choices, const std::string& path);
    ~TXlsSheetReader();
    // Calls cell(row, column, text) for every cell with text and error(row, column) for every cell
    // holding an error value, in the order of the sheet's records: row by row as a rule, but a file may
    // list them in any order, and name a cell more than once (the last one counts).
    void ForEachCell(const std::function<void(uint16_t, uint16_t, std::string_view)>& cell,
                     const std::function<void(uint16_t, uint16_t)>& error) const;
    // All of them packed, in sheet order; the reader's shared texts go with them.
    TXlsSheetCells Cells();

private:
    struct TImpl;
    std::unique_ptr<TImpl> m;
};

// The workbook's worksheets, for choosing one.
TWorkbookSheetList ListXlsSheets(std::string_view stream, const std::string& path);

} // namespace qbm
