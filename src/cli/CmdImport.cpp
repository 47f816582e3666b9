#include "cli/CliCommand.h"
#include "cli/CliPrompts.h"
#include "data/DatabaseReader.h"
#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "util/Text.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Imports FILE (.txt or .csv delimited text, .xls, .xlsx or .ods workbook, .mdb database) into a new\n"
    "datasheet, as the datasheet's \"Import Data ...\" does, and prints the datasheet's data columns as\n"
    "tab-separated UTF-8 lines, the header row first; a line on stderr sums up what was read. Tabs, line\n"
    "breaks and backslashes inside cells are shown as \\t, \\r, \\n and \\\\. Workbook cells come as the\n"
    "office suite shows them (number formats applied), text files in the encoding they were written in\n"
    "(a byte-order mark, else UTF-8 when valid, else Windows-1252).";

bool IsWorkbook(const std::string& path) {
    const std::string extension = UpperCase(std::filesystem::path(path).extension().string());
    return extension == ".XLS" || extension == ".XLSX" || extension == ".ODS";
}

TTextEncoding EncodingNamed(const std::string& name) {
    const std::string n = UpperCase(name);
    if (n == "UTF-8" || n == "UTF8") return TTextEncoding::teUtf8;
    if (n == "UTF-16LE" || n == "UTF-16 LE") return TTextEncoding::teUtf16LE;
    if (n == "UTF-16BE" || n == "UTF-16 BE") return TTextEncoding::teUtf16BE;
    if (n == "WINDOWS-1252" || n == "CP1252") return TTextEncoding::teWindows1252;
    throw UsageError("unknown encoding '" + name + "' (UTF-8, UTF-16LE, UTF-16BE or Windows-1252)");
}

char DelimiterNamed(const std::string& name) {
    if (name == "tab" || name == "\\t") return '\t';
    if (name == "none") return '\0';
    if (name.size() == 1) return name[0];
    throw UsageError("a delimiter is one character, 'tab' or 'none'");
}

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
    TImportOptions options;
    if (const auto sheetName = args.Value("--sheet")) options.workbook.sheet = *sheetName;
    options.workbook.storedValues = args.Has("--raw");
    if (const auto encoding = args.Value("--encoding")) options.text.encoding = EncodingNamed(*encoding);
    if (const auto delimiter = args.Value("--delimiter")) options.text.delimiter = DelimiterNamed(*delimiter);
    options.text.firstRowHoldsNames = !args.Has("--no-header");
    // An option the file's kind has no use for would be passed over silently.
    if (wanted && UpperCase(std::filesystem::path(path).extension().string()) != ".MDB")
        throw UsageError("--table chooses a table of an .mdb database; for a workbook's sheet use --sheet");
    if (args.Has("--sheet") && !IsWorkbook(path))
        throw UsageError("--sheet chooses a sheet of an .xls, .xlsx or .ods workbook");
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
    const TImportResult result = ImportData(sheet, path, prompts, pick, options);
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
    std::cerr << result.Summary() << "\n";
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
                {"--list-tables", "", "only list the database's user tables"},
                {"--sheet", "NAME",
                 "the workbook sheet to import (default: the one last shown, never a hidden one)"},
                {"--raw", "", "workbook numbers and dates as stored, without their cells' formats"},
                {"--encoding", "NAME", "a text file's encoding: UTF-8, UTF-16LE, UTF-16BE or Windows-1252"},
                {"--delimiter", "CHAR", "a text file's delimiter: one character, 'tab' or 'none'"},
                {"--no-header", "", "a text file's first row is data; columns are named \"Column 1\", ..."}},
    .run = RunImport});

} // namespace qbm::cli
