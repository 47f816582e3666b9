#include "data/DatasheetImport.h"

#include "data/DatabaseReader.h"
#include "data/DelimitedTextReader.h"
#include "data/OdsReader.h"
#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "data/WorkbookReader.h"
#include "data/XlsxReader.h"
#include "util/Errors.h"
#include "util/TProgress.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <filesystem>
#include <set>
#include <stdexcept>

namespace qbm {
namespace {

// Most readers fill the table from column 0; a new column 0 becomes the row-number column, so the
// file's first column lands in data column 1. The text reader leaves column 0 free itself
// (`columnZeroFree`), which spares a pass over every row of a long file.
void InsertRowNumberColumn(TDatasheet& sheet, bool columnZeroFree) {
    if (!columnZeroFree) {
        if (sheet.ColumnCount() == TDatasheet::kMaxColumns) {
            // A table at its widest loses its last column to the new one.
            sheet.SetColumnCount(TDatasheet::kMaxColumns - 1);
        }
        sheet.InsertColumn(0);
    }
    // A one-column file leaves the table's second column (it never has fewer than two) empty behind
    // it; that column is no part of the file.
    const int last = sheet.ColumnCount() - 1;
    if (last >= 2 && sheet.ColumnIsEmpty(last)) sheet.SetColumnCount(last);
    sheet.SetColumnWidth(0, TDatasheet::kRowNumberColumnWidth);
    sheet.SetColumnWidth(1, TDatasheet::kFirstColumnWidth);
    sheet.SetCurrentCell(1, 1);
}

// Every column must be one a data field list can choose: an empty name becomes "Column n", and a name
// met before (without regard to letter case, as the datasheet compares names) gets " (2)", " (3)", ...
// whichever is not a name of the file.
void MakeColumnNamesUnique(TDatasheet& sheet) {
    std::vector<std::string> names = sheet.Row(0);
    names.resize(static_cast<size_t>(sheet.ColumnCount()));
    std::set<std::string> taken;
    for (size_t c = 1; c < names.size(); ++c) taken.insert(UpperCase(Trim(names[c])));
    std::set<std::string> seen;
    bool changed = false;
    for (size_t c = 1; c < names.size(); ++c) {
        std::string name = Trim(names[c]);
        const auto used = [&](const std::string& n) {
            return taken.contains(UpperCase(n)) || seen.contains(UpperCase(n));
        };
        if (name.empty() || seen.contains(UpperCase(name))) {
            const std::string base = name.empty() ? "Column " + std::to_string(c) : name;
            name = base;
            for (int n = 2; used(name); ++n) name = base + " (" + std::to_string(n) + ")";
        }
        seen.insert(UpperCase(name));
        taken.insert(UpperCase(name));
        if (name != names[c]) {
            names[c] = name;
            changed = true;
        }
    }
    if (changed) sheet.SetRow(0, names);
}

TImportResult Outcome(TImportOutcome outcome, std::string message) {
    TImportResult result;
    result.outcome = outcome;
    result.message = std::move(message);
    return result;
}

std::string UnsupportedMessage(const std::string& extension) {
    return "Files of the kind '" + (extension.empty() ? std::string("(none)") : extension) +
           "' cannot be imported. Choose a text file (.txt, .csv), a workbook (.xls, .xlsx, .ods) or an "
           "Access database (.mdb).";
}

} // namespace

TImportResult ImportData(TDatasheet& sheet, const std::string& path, TUserPrompts& prompts,
                         const TTablePicker& pickTable, const TImportOptions& options) {
    const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
    // The file is read into a table of its own that takes the sheet's place only when complete: a
    // failed or cancelled import leaves the sheet exactly as it was.
    TDatasheet imported;
    std::vector<TXlsCell> errorCells;
    std::optional<TTextImportInfo> text;
    int skipped = 0;
    bool columnZeroFree = false;
    try {
        // A device or a pipe under a file name (/dev/zero) would be read until memory runs out.
        std::error_code error;
        if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error))
            throw EInOutError("Cannot open file " + path + ": not a regular file");
        if (extension == ".XLS") {
            skipped = ReadWorkbookFile(imported, path, options.progress, &errorCells, options.workbook);
        } else if (extension == ".XLSX") {
            skipped = ReadXlsxFile(imported, path, options.progress, options.workbook);
        } else if (extension == ".ODS") {
            skipped = ReadOdsFile(imported, path, options.progress, options.workbook);
        } else if (extension == ".TXT" || extension == ".CSV") {
            text = ReadDelimitedTextFile(imported, path, options.progress, 1, options.text);
            columnZeroFree = true;
        } else if (extension == ".MDB") {
            const auto names = DatabaseTableNames(path);
            if (names.empty()) return Outcome(TImportOutcome::ioNoTables, {});
            const auto chosen = pickTable ? pickTable(names) : std::optional<std::string>(names.front());
            if (!chosen) return Outcome(TImportOutcome::ioCancelled, {});
            ReadDatabaseTable(imported, path, *chosen, options.progress);
        } else {
            const std::string message = UnsupportedMessage(std::filesystem::path(path).extension().string());
            prompts.Message(TMsgKind::mkInformation, TMsgButtons::mbOK, message);
            return Outcome(TImportOutcome::ioUnsupported, message);
        }
        InsertRowNumberColumn(imported, columnZeroFree);
        // A database's blank first column is the former row-number column, no field of the table.
        if (extension != ".MDB") MakeColumnNamesUnique(imported);
        // A workbook cell holding an error value is not written: the datasheet keeps what it held.
        for (const TXlsCell& cell : errorCells) {
            const int column = static_cast<int>(cell.column) + 1, row = static_cast<int>(cell.row);
            if (column < imported.ColumnCount() && row < imported.RowCount())
                imported.SetCell(column, row, std::string(sheet.Cell(column, row)));
        }
    } catch (const EOperationCancelled&) {
        return Outcome(TImportOutcome::ioCancelled, {});
    } catch (const std::exception& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return Outcome(TImportOutcome::ioFailed, e.what());
    }
    TImportResult result = Outcome(TImportOutcome::ioImported, {});
    result.rows = imported.RowCount() - 1;
    result.text = text;
    result.emptyRowsSkipped = text ? text->emptyRowsSkipped : skipped;
    RecordReplacement(sheet, options.history, "Import Data", std::move(imported));
    return result;
}

TImportKind ImportKindOf(const std::string& path) {
    const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
    if (extension == ".TXT" || extension == ".CSV") return TImportKind::ikText;
    if (extension == ".XLS" || extension == ".XLSX" || extension == ".ODS") return TImportKind::ikWorkbook;
    if (extension == ".MDB") return TImportKind::ikDatabase;
    return TImportKind::ikOther;
}

TWorkbookSheetList ListImportSheets(const std::string& path) {
    const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
    if (extension == ".XLS") return ListWorkbookSheets(path);
    if (extension == ".XLSX") return ListXlsxSheets(path);
    if (extension == ".ODS") return ListOdsSheets(path);
    return {};
}

std::string TImportResult::Summary() const {
    std::string summary = std::to_string(rows) + (rows == 1 ? " row" : " rows") + " imported";
    if (emptyRowsSkipped > 0)
        summary += "; " + std::to_string(emptyRowsSkipped) +
                   (emptyRowsSkipped == 1 ? " empty row" : " empty rows") + " skipped";
    if (text) {
        summary += " (" + std::string(EncodingName(text->encoding)) + ", ";
        summary += text->delimiter == '\0'   ? std::string("one field a line")
                   : text->delimiter == '\t' ? std::string("delimiter tab")
                                             : "delimiter '" + std::string(1, text->delimiter) + "'";
        summary += ")";
    }
    return summary;
}

} // namespace qbm
