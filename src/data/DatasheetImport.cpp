#include "data/DatasheetImport.h"

#include "data/DatabaseReader.h"
#include "data/DelimitedTextReader.h"
#include "data/TDatasheet.h"
#include "data/WorkbookReader.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include <filesystem>
#include <stdexcept>

namespace qbm {
namespace {

// The readers fill the table from column 0; a new column 0 becomes the row-number column, so the
// file's first column lands in data column 1.
void InsertRowNumberColumn(TDatasheet& sheet) {
    const int last = sheet.ColumnCount();
    if (last < TDatasheet::kMaxColumns) {
        sheet.SetColumnCount(last + 1);
    } else {
        // A table at its widest loses its last column to the new one.
        for (int row = 0; row < sheet.RowCount(); row = sheet.NextRowWithText(row + 1)) {
            if (row < 0) break;
            sheet.SetCell(last - 1, row, {});
        }
    }
    sheet.MoveColumn(sheet.ColumnCount() - 1, 0);
    sheet.SetColumnWidth(0, TDatasheet::kRowNumberColumnWidth);
    sheet.SetColumnWidth(1, TDatasheet::kFirstColumnWidth);
}

} // namespace

TImportResult ImportData(TDatasheet& sheet, const std::string& path, TUserPrompts& prompts,
                         const TTablePicker& pickTable) {
    const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
    try {
        if (extension == ".XLS") {
            ReadWorkbookFile(sheet, path);
        } else if (extension == ".TXT" || extension == ".CSV") {
            ReadDelimitedTextFile(sheet, path);
        } else if (extension == ".MDB") {
            const auto names = DatabaseTableNames(path);
            if (names.empty()) return {TImportOutcome::ioNoTables, {}};
            const auto chosen = pickTable ? pickTable(names) : std::optional<std::string>(names.front());
            if (!chosen) return {TImportOutcome::ioCancelled, {}};
            ReadDatabaseTable(sheet, path, *chosen);
        } else {
            return {TImportOutcome::ioUnsupported, {}};
        }
    } catch (const std::exception& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return {TImportOutcome::ioFailed, e.what()};
    }
    InsertRowNumberColumn(sheet);
    return {TImportOutcome::ioImported, {}};
}

} // namespace qbm
