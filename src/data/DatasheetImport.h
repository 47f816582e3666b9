#pragma once
// "Import Data ...": fills the datasheet from a delimited text file, a workbook (.xls, .xlsx, .ods) or
// a table of an Access database, chosen by the file's extension. The file dialog is the caller's.
// An import replaces the whole table: the file's data never mixes with what the table held before.

#include "data/DelimitedTextReader.h"
#include "data/WorkbookSheets.h"

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
    int rows = 0;        // data rows imported
    int emptyRowsSkipped = 0;
    std::optional<TTextImportInfo> text; // how a text file was read
    // One line for the user: what came in and what was left out ("120 rows imported; 3 empty rows
    // skipped (UTF-8, delimiter ';')").
    std::string Summary() const;
};

struct TImportOptions {
    TProgress* progress = nullptr;        // long reads report here and may be stopped
    TDatasheetHistory* history = nullptr; // the import becomes one undo step
    TTextImportChoices text;              // encoding, delimiter and header row of a text file
    TWorkbookChoices workbook;            // the sheet of a workbook, values as shown or as stored
};

// What a file's kind lets the user choose before it is read.
enum class TImportKind { ikText, ikWorkbook, ikDatabase, ikOther };
TImportKind ImportKindOf(const std::string& path);

// The sheets of a workbook (.xls, .xlsx, .ods) for the import's sheet list; throws EInOutError as
// the readers do.
TWorkbookSheetList ListImportSheets(const std::string& path);

// The table changes only when the outcome is ioImported; then it holds the file alone. Errors are
// shown through `prompts` as the application's error display does.
TImportResult ImportData(TDatasheet& sheet, const std::string& path, TUserPrompts& prompts,
                         const TTablePicker& pickTable, const TImportOptions& options = {});

} // namespace qbm
