#pragma once
// "Import Data ...": fills the datasheet from a delimited text file, an Excel workbook or a table of an
// Access database, chosen by the file's extension. The file dialog is the caller's.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
class TUserPrompts;

// Shows the database's table names with the first one selected; nullopt when the user cancels.
using TTablePicker = std::function<std::optional<std::string>(const std::vector<std::string>& names)>;

enum class TImportOutcome {
    ioImported,    // the file was read; data column 1 holds its first column
    ioCancelled,   // the table picker was cancelled
    ioNoTables,    // the database holds no user table
    ioUnsupported, // not a .txt, .csv, .xls or .mdb file
    ioFailed,      // a reader failed; its message was shown, cells it wrote stay
};

struct TImportResult {
    TImportOutcome outcome = TImportOutcome::ioUnsupported;
    std::string message; // the error shown when the import failed
};

// Only ioImported changes the table's shape by the row-number column insert; ioFailed may have
// written cells. Errors are shown through `prompts` as the application's error display does.
TImportResult ImportData(TDatasheet& sheet, const std::string& path, TUserPrompts& prompts,
                         const TTablePicker& pickTable);

} // namespace qbm
