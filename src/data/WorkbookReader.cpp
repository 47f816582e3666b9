#include "data/WorkbookReader.h"

#include "data/SheetBlock.h"
#include "data/TDatasheet.h"
#include "data/XlsWorkbook.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/TProgress.h"

namespace qbm {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw EInOutError("Cannot read Excel workbook " + path + ": " + reason);
}

std::string WorkbookStream(const std::string& path) {
    std::string bytes;
    if (!ReadFileIfExists(path, bytes)) Fail(path, "the file does not exist or cannot be opened");
    std::optional<std::string> stream = XlsWorkbookStream(bytes);
    if (!stream) {
        if (bytes.rfind("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 0) != 0)
            Fail(path, "not an Excel 97-2003 workbook");
        Fail(path, "the workbook is damaged: its compound file holds no whole workbook stream");
    }
    return std::move(*stream);
}

} // namespace

TWorkbookSheetList ListWorkbookSheets(const std::string& path) {
    return ListXlsSheets(WorkbookStream(path), path);
}

int ReadWorkbookFile(TDatasheet& sheet, const std::string& path, TProgress* progress,
                     std::vector<TXlsCell>* errorCells, const TWorkbookChoices& choices) {
    std::optional<std::string> stream = WorkbookStream(path);
    const TXlsSheetCells read = ReadXlsSheet(*stream, choices, path);
    stream.reset();

    // The block is the used part of the sheet: blank rows and columns around it are left out, and a
    // blank in the first column or the header row does not cut data off.
    TSheetBlock block;
    for (const TXlsSheetCells::TCell& cell : read.cells) block.Note(cell.row, cell.column);
    for (const TXlsCell& cell : read.errors) block.Note(cell.row, cell.column);
    TSheetBlockWriter writer(sheet, block, [&](const std::string& reason) { Fail(path, reason); });
    const size_t total = read.cells.size();
    for (size_t i = 0; i < total; ++i) {
        const TXlsSheetCells::TCell& cell = read.cells[i];
        if (i % 65536 == 65535)
            ReportProgress(progress, static_cast<int64_t>(i), static_cast<int64_t>(total));
        writer.Put(cell.column, read.Text(cell));
        if (i + 1 == total || read.cells[i + 1].row != cell.row) writer.EndRow(cell.row);
    }
    if (errorCells) {
        errorCells->clear();
        for (const TXlsCell& cell : read.errors)
            if (const int row = writer.WrittenRow(cell.row); row >= 0)
                errorCells->push_back(
                    {static_cast<unsigned>(row), static_cast<unsigned>(cell.column - block.left)});
    }
    return writer.Finish();
}

} // namespace qbm
