#pragma once
// "Import Data ...": fills the datasheet from a delimited text file, a workbook (.xls, .xlsx, .ods) or
// a table of an Access database, chosen by the file's extension. The file dialog is the caller's.
// An import replaces the whole table: the file's data never mixes with what the table held before.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;
class TProgress;
class TUserPrompts;

// Shows the database's table names with the first one selected; nullopt when the user cancels.
using TTablePicker = std::function<std::optional<std::string>(const std::vector<std::string>& names)>;

// What the import dialog offers: the classic kinds, then the workbooks of today.
inline constexpr const char* kImportFilter =
    "ASCII Data Files ( *.txt; *.csv )|*.txt;*.csv|Microsoft Excel Files ( *.xls )|*.xls|"
    "Microsoft Access Database ( *.mdb )|*.mdb|Spreadsheets (*.xls *.xlsx *.ods)|*.xls;*.xlsx;*.ods|"
    "All Files ( *.* )|*.*";

enum class TImportOutcome {
    ioImported,    // the file was read; data column 1 holds its first column
    ioCancelled,   // the table picker or the progress was cancelled
    ioNoTables,    // the database holds no user table
    ioUnsupported, // not a kind of file the import reads; the supported kinds were named
    ioFailed,      // a reader failed; its message was shown
};

struct TImportResult {
    TImportOutcome outcome = TImportOutcome::ioUnsupported;
    std::string message; // the error shown when the import failed or the kind is not supported
};

struct TImportOptions {
    TProgress* progress = nullptr;        // long reads report here and may be stopped
    TDatasheetHistory* history = nullptr; // the import becomes one undo step
};

// The table changes only when the outcome is ioImported; then it holds the file alone. Errors are
// shown through `prompts` as the application's error display does.
TImportResult ImportData(TDatasheet& sheet, const std::string& path, TUserPrompts& prompts,
                         const TTablePicker& pickTable, const TImportOptions& options = {});

} // namespace qbm
