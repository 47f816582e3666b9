#include "data/WorkbookReader.h"

#include "data/ImportRows.h"
#include "data/TDatasheet.h"
#include "data/WorkbookText.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/IsolatedRun.h"
#include "util/TProgress.h"
#include "util/Text.h"

#include <freexl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace qbm {
namespace {

// The largest sheet the .xls format holds.
constexpr unsigned kMaxSheetRows = 65536;
constexpr unsigned kMaxSheetColumns = 256;

struct CloseWorkbook {
    void operator()(const void* handle) const { freexl_close(handle); }
};
using TWorkbookHandle = std::unique_ptr<const void, CloseWorkbook>;

std::string Reason(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "the file does not exist or cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "not enough memory";
    case FREEXL_BIFF_OBFUSCATED:
        return "the workbook is password protected";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return "not an Excel 97-2003 workbook";
    default:
        return "the workbook is damaged or of an unsupported kind (error " + std::to_string(code) + ")";
    }
}

[[noreturn]] void Fail(const std::string& path, int code) {
    throw EInOutError("Cannot read Excel workbook " + path + ": " + Reason(code));
}

bool HasValue(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
    case FREEXL_CELL_DOUBLE:
        return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value && *cell.value.text_value;
    default:
        return false;
    }
}

std::string CellText(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return std::to_string(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return NumberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? Utf8ToLatin1(cell.value.text_value) : std::string();
    default:
        return {};
    }
}

class TSheetReader {
public:
    TSheetReader(const void* handle, unsigned rows, unsigned columns)
        : m_handle(handle), m_rows(rows), m_columns(columns) {}

    bool Used(unsigned row, unsigned column) const {
        FreeXL_CellValue cell{};
        return freexl_get_cell_value(m_handle, row, static_cast<unsigned short>(column), &cell) ==
                   FREEXL_OK &&
               HasValue(cell);
    }

    std::string Text(unsigned row, unsigned column) const {
        FreeXL_CellValue cell{};
        if (freexl_get_cell_value(m_handle, row, static_cast<unsigned short>(column), &cell) != FREEXL_OK)
            return {};
        return CellText(cell);
    }

    unsigned Rows() const { return m_rows; }
    unsigned Columns() const { return m_columns; }

private:
    const void* m_handle;
    unsigned m_rows;
    unsigned m_columns;
};

// What the reader process sends: the outcome, then for a read sheet its place and the used block's
// texts row by row.
struct TSheetBlock {
    int failure = FREEXL_OK;
    uint32_t active = 0, top = 0, left = 0, width = 0, height = 0;
};

using TWrite = std::function<void(const void*, size_t)>;

void SendNumber(const TWrite& write, uint32_t value) {
    write(&value, sizeof value);
}

// Runs in the reader process: the library reads the workbook and the used block goes to `write`.
void SendSheet(const std::string& path, const TWrite& write) {
    TSheetBlock block;
    const auto fail = [&](int code) {
        block.failure = code;
        write(&block, sizeof block);
    };
    const void* raw = nullptr;
    const int opened = freexl_open(path.c_str(), &raw);
    TWorkbookHandle handle(raw); // closed on every way out, failure included
    if (opened != FREEXL_OK) return fail(opened);

    unsigned sheetCount = 0;
    if (const int rc = freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheetCount); rc != FREEXL_OK)
        return fail(rc);
    if (sheetCount == 0) return fail(FREEXL_BIFF_WORKBOOK_NOT_FOUND);
    unsigned short active = 0;
    if (freexl_get_active_worksheet(raw, &active) != FREEXL_OK || active >= sheetCount) active = 0;
    if (const int rc = freexl_select_active_worksheet(raw, active); rc != FREEXL_OK) return fail(rc);

    unsigned rows = 0;
    unsigned short columns = 0;
    if (const int rc = freexl_worksheet_dimensions(raw, &rows, &columns); rc != FREEXL_OK) return fail(rc);
    const TSheetReader reader(raw, std::min(rows, kMaxSheetRows),
                              std::min<unsigned>(columns, kMaxSheetColumns));

    // The block is the used part of the sheet: blank rows and columns around it are left out, and a
    // blank in the first column or the header row does not cut data off.
    unsigned top = reader.Rows(), bottom = 0, left = reader.Columns(), right = 0;
    for (unsigned r = 0; r < reader.Rows(); ++r) {
        for (unsigned c = 0; c < reader.Columns(); ++c) {
            if (!reader.Used(r, c)) continue;
            top = std::min(top, r);
            bottom = std::max(bottom, r);
            left = std::min(left, c);
            right = std::max(right, c);
        }
    }
    if (top > bottom || left > right) {
        // An empty sheet: a block of one empty cell.
        top = bottom = left = right = 0;
    }
    block.active = active;
    block.top = top;
    block.left = left;
    block.width = right - left + 1;
    block.height = bottom - top + 1;
    write(&block, sizeof block);
    for (uint32_t i = 0; i < block.height; ++i) {
        for (uint32_t j = 0; j < block.width; ++j) {
            const std::string text = reader.Text(top + i, left + j);
            SendNumber(write, static_cast<uint32_t>(text.size()));
            write(text.data(), text.size());
        }
    }
}

// Reads what SendSheet sent; nullopt when it is cut short (the reader process failed on the way).
class TBlockReader {
public:
    explicit TBlockReader(const std::string& bytes) : m_bytes(bytes) {}
    bool Read(void* into, size_t size) {
        if (m_bytes.size() - m_at < size) return false;
        std::memcpy(into, m_bytes.data() + m_at, size);
        m_at += size;
        return true;
    }
    bool Text(std::string& text) {
        uint32_t size = 0;
        if (!Read(&size, sizeof size) || m_bytes.size() - m_at < size) return false;
        text.assign(m_bytes, m_at, size);
        m_at += size;
        return true;
    }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

[[noreturn]] void Damaged(const std::string& path) {
    throw EInOutError("Cannot read Excel workbook " + path + ": the workbook is damaged");
}

} // namespace

void ReadWorkbookFile(TDatasheet& sheet, const std::string& path, TProgress* progress,
                      std::vector<TXlsCell>* errorCells) {
    std::string bytes;
    if (!ReadFileIfExists(path, bytes)) Fail(path, FREEXL_FILE_NOT_FOUND);
    if (!HasWholeWorkbookStream(bytes)) {
        if (bytes.rfind("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 0) != 0) Fail(path, FREEXL_INVALID_CFBF_HEADER);
        Damaged(path);
    }
    // The workbook library reads outside its buffers on some damaged files; it runs in a process of
    // its own, so that such a file is only a file that cannot be read.
    const TIsolatedResult sent = RunIsolated([&](const TWrite& write) { SendSheet(path, write); });
    TBlockReader in(sent.output);
    TSheetBlock block;
    if (!in.Read(&block, sizeof block)) Damaged(path);
    if (block.failure != FREEXL_OK) Fail(path, block.failure);
    if (!sent.finished || block.width == 0 || block.height == 0 || block.width > kMaxSheetColumns ||
        block.height > kMaxSheetRows)
        Damaged(path);

    const int width = static_cast<int>(block.width);
    const int height = static_cast<int>(block.height);
    std::vector<TXlsCell> errors;
    for (const TXlsCell& cell : XlsErrorCells(bytes, static_cast<unsigned short>(block.active)))
        if (cell.row >= block.top && cell.row - block.top < block.height && cell.column >= block.left &&
            cell.column - block.left < block.width)
            errors.push_back({cell.row - block.top, cell.column - block.left});
    std::sort(errors.begin(), errors.end(), [](const TXlsCell& a, const TXlsCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    bytes.clear();
    sheet.Reset(width, height);
    auto error = errors.begin();
    for (int i = 0; i < height; ++i) {
        if (i % 4096 == 4095) ReportProgress(progress, i, height);
        std::vector<std::string> fields(width);
        for (int j = 0; j < width; ++j) {
            if (!in.Text(fields[j])) Damaged(path);
            const bool isError = error != errors.end() && error->row == static_cast<unsigned>(i) &&
                                 error->column == static_cast<unsigned>(j);
            if (isError) {
                ++error; // shows as TRUE or FALSE through the library
                fields[j].clear();
            }
        }
        PutImportedRow(sheet, i, 0, std::move(fields));
    }
    if (errorCells) *errorCells = std::move(errors);
}

} // namespace qbm
