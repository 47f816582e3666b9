#include "data/DatabaseReader.h"

#include "data/ImportRows.h"
#include "data/TCapturedDiagnostics.h"
#include "data/TDatasheet.h"
#include "data/WorkbookText.h"
#include "util/Errors.h"
#include "util/TProgress.h"
#include "util/Text.h"

#include <mdbtools.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace qbm {
namespace {

// Long text fields are read up to this many bytes.
constexpr size_t kBindSize = 65536;

struct CloseDatabase {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using TDatabaseHandle = std::unique_ptr<MdbHandle, CloseDatabase>;

struct FreeTable {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TTableHandle = std::unique_ptr<MdbTableDef, FreeTable>;

TDatabaseHandle OpenDatabase(const std::string& path) {
    // The library reports a missing file on stderr only; the user gets our message instead.
    if (!std::ifstream(path, std::ios::binary)) throw EInOutError("Cannot open file " + path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw EInOutError("Cannot open file " + path + ": not a regular file");
    TDatabaseHandle mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!mdb) throw EInOutError("Cannot read Access database " + path);
    // A database is whole pages; a file cut anywhere else is damaged before anything is read from it.
    const auto size = std::filesystem::file_size(path, error);
    if (!error && mdb->fmt && mdb->fmt->pg_size > 0 && size % mdb->fmt->pg_size != 0)
        throw EInOutError("Cannot read Access database " + path + ": the file is damaged (cut short)");
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw EInOutError("Cannot read the table list of Access database " + path);
    // Every database lists its own system tables; a catalogue without any was cut off or overwritten.
    if (mdb->num_catalog == 0)
        throw EInOutError("Cannot read Access database " + path +
                          ": the file is damaged (its table list is empty)");
    return mdb;
}

struct TBoundColumn {
    MdbColumn* column = nullptr;
    std::vector<char> buffer;
    int length = 0;
};

std::string FieldText(MdbHandle* mdb, const TBoundColumn& bound) {
    if (bound.length <= 0) return {};
    switch (bound.column->col_type) {
    case MDB_OLE:
    case MDB_BINARY:
    case MDB_COMPLEX:
        return {};
    case MDB_DATETIME:
        if (bound.column->cur_value_len == 8 && bound.column->cur_value_start >= 0 &&
            bound.column->cur_value_start + 8 <= MDB_PGSIZE)
            return SerialDateText(mdb_get_double(mdb->pg_buf, bound.column->cur_value_start));
        return {};
    default: {
        const size_t length = std::min(static_cast<size_t>(bound.length), bound.buffer.size() - 1);
        return std::string(bound.buffer.data(), strnlen(bound.buffer.data(), length));
    }
    }
}

// The library's printed complaints as the damage they report.
void ThrowIfComplained(TCapturedDiagnostics& diagnostics, const std::string& path) {
    const std::string text = diagnostics.Take();
    if (text.empty()) return;
    const size_t start = text.find_first_not_of(" \t\r\n");
    const std::string first =
        start == std::string::npos ? std::string() : Trim(text.substr(start, text.find('\n', start) - start));
    throw EInOutError("Cannot read Access database " + path + ": the file is damaged" +
                      (first.empty() ? std::string() : " (" + first + ")"));
}

} // namespace

std::vector<std::string> DatabaseTableNames(const std::string& path) {
    TCapturedDiagnostics diagnostics;
    const TDatabaseHandle mdb = OpenDatabase(path);
    std::vector<std::string> names;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry)) names.push_back(entry->object_name);
    }
    ThrowIfComplained(diagnostics, path);
    return names;
}

void ReadDatabaseTable(TDatasheet& sheet, const std::string& path, const std::string& table,
                       TProgress* progress) {
    TCapturedDiagnostics diagnostics;
    const TDatabaseHandle mdb = OpenDatabase(path);
    mdb_set_bind_size(mdb.get(), kBindSize);
    std::string name = table;
    TTableHandle def(mdb_read_table_by_name(mdb.get(), name.data(), MDB_TABLE));
    if (!def) throw EInOutError("Table '" + table + "' not found in Access database " + path);
    if (!mdb_read_columns(def.get()))
        throw EInOutError("Cannot read table '" + table + "' of Access database " + path);
    mdb_rewind_table(def.get());

    const int fieldCount = static_cast<int>(def->num_cols);
    std::vector<TBoundColumn> bound(fieldCount);
    std::vector<std::string> header(fieldCount);
    for (int f = 0; f < fieldCount; ++f) {
        bound[f].column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, f));
        bound[f].buffer.assign(kBindSize + 1, '\0');
        mdb_bind_column(def.get(), f + 1, bound[f].buffer.data(), &bound[f].length);
        header[f] = bound[f].column->name;
    }

    sheet.Reset(1 + fieldCount, 2);
    PutImportedRow(sheet, 0, 1, header);
    int row = 1;
    while (mdb_fetch_row(def.get())) {
        if (row >= TDatasheet::kMaxRows) break;
        if (row % 4096 == 0) {
            // The progress display is not the library: whatever it prints is not taken for damage.
            diagnostics.Pause();
            ReportProgress(progress, row, static_cast<int64_t>(def->num_rows));
            diagnostics.Resume();
        }
        if (row >= sheet.RowCount())
            sheet.SetRowCount(
                static_cast<int>(std::min<int64_t>(2 * static_cast<int64_t>(row), TDatasheet::kMaxRows)));
        std::vector<std::string> fields(fieldCount);
        for (int f = 0; f < fieldCount; ++f) fields[f] = FieldText(mdb.get(), bound[f]);
        PutImportedRow(sheet, row, 1, std::move(fields));
        ++row;
    }
    ThrowIfComplained(diagnostics, path);
    sheet.SetRowCount(row);
}

} // namespace qbm
