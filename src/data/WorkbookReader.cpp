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
    TXlsSheetReader reader(*stream, choices, path);

    // The block is the used part of the sheet: blank rows and columns around it are left out, and a
    // blank in the first column or the header row does not cut data off. A first pass over the records
    // finds it, and whether they come in sheet order, as they do as a rule.
    TSheetBlock block;
    std::vector<TXlsCell> errors;
    bool inOrder = true;
    int64_t lastRow = -1, lastColumn = -1, total = 0, rows = 0, textBytes = 0;
    reader.ForEachCell(
        [&](uint16_t row, uint16_t column, std::string_view text) {
            block.Note(row, column);
            inOrder = inOrder && (row > lastRow || (row == lastRow && column >= lastColumn));
            rows += row != lastRow;
            lastRow = row, lastColumn = column;
            ++total;
            textBytes += static_cast<int64_t>(text.size());
        },
        [&](uint16_t row, uint16_t column) {
            block.Note(row, column);
            errors.push_back({row, column});
        });
    TSheetBlockWriter writer(sheet, block, [&](const std::string& reason) { Fail(path, reason); });
    writer.Reserve(rows, total, textBytes);
    int64_t done = 0;
    lastRow = -1;
    const auto put = [&](int64_t row, int64_t column, std::string_view text) {
        if (done++ % 65536 == 65535) ReportProgress(progress, done, total);
        if (row != lastRow && lastRow >= 0) writer.EndRow(lastRow);
        writer.Put(column, text);
        lastRow = row;
    };
    if (inOrder) {
        // A second pass writes the cells as they come: they are never all held at once.
        reader.ForEachCell(put, [](uint16_t, uint16_t) {});
    } else {
        // Cells out of order are gathered (packed) and sorted first; the stream goes before writing.
        const TXlsSheetCells cells = reader.Cells();
        stream.reset();
        for (const TXlsSheetCells::TCell& cell : cells.cells) put(cell.row, cell.column, cells.Text(cell));
    }
    if (lastRow >= 0) writer.EndRow(lastRow);
    if (errorCells) {
        errorCells->clear();
        for (const TXlsCell& cell : errors)
            if (const int row = writer.WrittenRow(cell.row); row >= 0)
                errorCells->push_back(
                    {static_cast<unsigned>(row), static_cast<unsigned>(cell.column - block.left)});
    }
    return writer.Finish();
}

} // namespace qbm
