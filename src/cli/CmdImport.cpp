#include "cli/CliCommand.h"
#include "cli/CliPrompts.h"
#include "data/DatabaseReader.h"
#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "util/Text.h"

#include <algorithm>
#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Imports FILE (.txt or .csv delimited text, .xls workbook, .mdb database) into a new datasheet, as\n"
    "the datasheet's \"Import Data ...\" does, and prints the datasheet's data columns as tab-separated\n"
    "lines, the header row first. Tabs, line breaks and backslashes inside cells are shown as \\t, \\r,\n"
    "\\n and \\\\.";

std::string Shown(std::string_view cell) {
    std::string out;
    for (const char c : cell) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out; // the datasheet holds UTF-8
}

int RunImport(const Args& args) {
    const std::string path = args.Positional(0, "FILE");
    if (args.Positional().size() > 1) throw UsageError("one FILE expected");
    if (args.Has("--list-tables")) {
        for (const std::string& name : DatabaseTableNames(path)) std::cout << name << "\n";
        return 0;
    }

    const auto wanted = args.Value("--table");
    bool missingTable = false;
    const TTablePicker pick = [&](const std::vector<std::string>& names) -> std::optional<std::string> {
        if (!wanted) return names.front();
        const std::string& name = *wanted;
        if (std::find(names.begin(), names.end(), name) != names.end()) return name;
        missingTable = true;
        return std::nullopt;
    };

    TDatasheet sheet;
    TConsolePrompts prompts;
    const TImportResult result = ImportData(sheet, path, prompts, pick);
    switch (result.outcome) {
    case TImportOutcome::ioImported:
        break;
    case TImportOutcome::ioFailed:
        return 1; // the message is on stderr already
    case TImportOutcome::ioCancelled:
        std::cerr << (missingTable ? "no table '" + *wanted + "' in " + path : "cancelled") << "\n";
        return 1;
    case TImportOutcome::ioNoTables:
        std::cerr << path << " holds no user tables\n";
        return 1;
    case TImportOutcome::ioUnsupported:
        return 1; // the supported kinds are named on stderr already
    }
    for (int row = 0; row < sheet.RowCount(); ++row) {
        const auto cells = sheet.RowCells(row);
        std::string line;
        for (int column = 1; column < sheet.ColumnCount(); ++column) {
            if (column > 1) line += '\t';
            if (static_cast<size_t>(column) < cells.size()) line += Shown(cells[column]);
        }
        std::cout << line << "\n";
    }
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "import",
    .summary = "import a text, workbook or database file into a datasheet and print it",
    .synopsis = "FILE [OPTIONS]",
    .description = kDescription,
    .options = {{"--table", "NAME", "the database table to import (default: the first one)"},
                {"--list-tables", "", "only list the database's user tables"}},
    .run = RunImport});

} // namespace qbm::cli
