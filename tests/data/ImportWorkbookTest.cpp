#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "data/WorkbookReader.h"
#include "util/Errors.h"
#include "util/IsolatedRun.h"
#include "util/TUserPrompts.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <stdexcept>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;

TEST(ImportWorkbook, NumbersShowAsInTheSheet) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, test::TestDataPath("import/labels.xls"), prompts, nullptr);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Name", "Qty", "Price"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"4006381333931", "B\u00FCrste", "12", "1.5"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"123", "Box", "", "0.25"}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"9", "Tape", "-3", "2"}));
}

TEST(ImportWorkbook, ErrorValuesAreNotWrittenOverWhatTheTableHeld) {
    const std::string path = test::TestDataPath("import/errors.xls");
    // #DIV/0! in A3, #N/A in B5, a formula giving #DIV/0! in B6.
    EXPECT_EQ(XlsErrorCells(test::ReadWholeFile(path), 0), (std::vector<TXlsCell>{{2, 0}, {4, 1}, {5, 1}}));
    TDatasheet sheet;
    sheet.Reset(3, 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 1; c < 3; ++c) sheet.SetCell(c, r, "held" + std::to_string(c) + std::to_string(r));
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, path, prompts, nullptr);
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(sheet.RowCount(), 301);
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"Code", "Note"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1001", "1"}));
    EXPECT_EQ(DataRow(sheet, 2), (Cells{"held12", "2"}));
    EXPECT_EQ(DataRow(sheet, 4), (Cells{"1004", "held24"}));
    EXPECT_EQ(DataRow(sheet, 5), (Cells{"1005", "held25"}));
    EXPECT_EQ(DataRow(sheet, 300), (Cells{"1300", "300"}));
    // Read by itself the sheet leaves those cells empty.
    TDatasheet alone;
    std::vector<TXlsCell> errors;
    ReadWorkbookFile(alone, path, nullptr, &errors);
    EXPECT_EQ(alone.Row(2), (Cells{"", "2"}));
    EXPECT_EQ(errors.size(), 3u);
}

TEST(ImportWorkbook, BlockIsTheUsedPartOfTheSheet) {
    // Data from B2 to C5 with a blank first column, blank cells inside and a record whose first cell
    // is blank.
    TDatasheet sheet;
    sheet.Reset(8, 9);
    sheet.SetCell(6, 7, "old");
    ReadWorkbookFile(sheet, test::TestDataPath("import/offset.xls"));
    EXPECT_EQ(sheet.ColumnCount(), 2);
    // The blank record is skipped: it would be a label with nothing on it.
    EXPECT_EQ(sheet.RowCount(), 3);
    EXPECT_EQ(sheet.Row(0), (Cells{"Code", "Name"}));
    EXPECT_EQ(sheet.Row(1), (Cells{"1", "x"}));
    EXPECT_EQ(sheet.Row(2), (Cells{"2", ""}));
}

namespace {

void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v & 0xFFFF)), Put16(s, static_cast<uint16_t>(v >> 16));
}
std::string Record(uint16_t type, const std::string& data) {
    std::string r;
    Put16(r, type), Put16(r, static_cast<uint16_t>(data.size()));
    return r + data;
}
// A cell with a text of its own (LABEL, 8-bit characters).
std::string Label(uint16_t row, uint16_t column, const std::string& text) {
    std::string d;
    Put16(d, row), Put16(d, column), Put16(d, 0), Put16(d, static_cast<uint16_t>(text.size()));
    return Record(0x0204, d + '\0' + text);
}

// An Excel 97-2003 file of one sheet holding the given cell records, in a compound file of 512-byte
// sectors (the workbook stream padded to the 4096 bytes below which it would go to the small-stream store).
std::string XlsFile(const std::vector<std::string>& cells) {
    std::string bof;
    Put16(bof, 0x0600), Put16(bof, 0x0005), Put16(bof, 0x0DBB), Put16(bof, 0x07CC), Put32(bof, 0),
        Put32(bof, 6);
    std::string sheetEntry;
    Put32(sheetEntry, 0), sheetEntry += std::string("\0\0\x01\0S", 5);
    std::string stream = Record(0x0809, bof) + Record(0x0085, sheetEntry) + Record(0x000A, "");
    const auto offset = static_cast<uint32_t>(stream.size());
    for (int i = 0; i < 4; ++i) stream[bof.size() + 8 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
    std::string sheetBof = bof;
    sheetBof[2] = 0x10, sheetBof[3] = 0;
    stream += Record(0x0809, sheetBof);
    for (const std::string& cell : cells) stream += cell;
    stream += Record(0x000A, "");
    const auto streamSize = static_cast<uint32_t>(std::max<size_t>(stream.size(), 4096));
    stream.resize((streamSize + 511) / 512 * 512, '\0');
    const auto sectors = static_cast<uint32_t>(stream.size() / 512);
    // Sectors: the stream, the directory, the FAT.
    std::string header(512, '\0');
    header.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    const auto set = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) header[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    set(0x18, 0x3E, 2), set(0x1A, 3, 2), set(0x1C, 0xFFFE, 2), set(0x1E, 9, 2), set(0x20, 6, 2);
    set(0x2C, 1, 4), set(0x30, sectors, 4), set(0x38, 4096, 4), set(0x3C, 0xFFFFFFFE, 4),
        set(0x44, 0xFFFFFFFE, 4);
    for (size_t i = 0; i < 109; ++i) set(0x4C + 4 * i, i == 0 ? sectors + 1 : 0xFFFFFFFF, 4);
    std::string directory(512, '\0');
    const auto entry = [&](size_t index, const char* name, char kind, uint32_t child, uint32_t start,
                           uint32_t size) {
        std::string e;
        for (const char* c = name; *c; ++c) e += *c, e += '\0';
        e.resize(64, '\0');
        Put16(e, static_cast<uint16_t>(2 * (std::strlen(name) + 1)));
        e += kind, e += '\x01';
        Put32(e, 0xFFFFFFFF), Put32(e, 0xFFFFFFFF), Put32(e, child);
        e.resize(116, '\0');
        Put32(e, start), Put32(e, size);
        e.resize(128, '\0');
        directory.replace(128 * index, 128, e);
    };
    entry(0, "Root Entry", 5, 1, 0xFFFFFFFE, 0);
    entry(1, "Workbook", 2, 0xFFFFFFFF, 0, streamSize);
    std::string fat;
    for (uint32_t s = 0; s < sectors; ++s) Put32(fat, s + 1 == sectors ? 0xFFFFFFFE : s + 1);
    Put32(fat, 0xFFFFFFFE), Put32(fat, 0xFFFFFFFD);
    fat.resize(512, '\xFF');
    return header + stream + directory + fat;
}

} // namespace

// Cells come row by row as a rule, but a file may list them in any order and name a cell twice (the
// last one counts): either way the sheet reads the same.
TEST(ImportWorkbook, CellsInAnyOrderReadAsTheSheetShowsThem) {
    const std::string dir = test::MakeTempDir();
    const std::vector<std::vector<std::string>> orders = {
        /* 0 */ {Label(0, 0, "Code"), Label(0, 1, "Name"), Label(1, 0, "1"), Label(1, 1, "x"),
                 Label(2, 0, "old"), Label(2, 0, "2"), Label(2, 1, "y")},
        /* 1 */
        {Label(1, 1, "x"), Label(2, 0, "old"), Label(1, 0, "1"), Label(0, 0, "Code"), Label(2, 1, "y"),
         Label(0, 1, "Name"), Label(2, 0, "2")},
    };
    for (size_t i = 0; i < orders.size(); ++i) {
        TDatasheet sheet;
        ReadWorkbookFile(sheet,
                         test::WriteFile(dir, "order" + std::to_string(i) + ".xls", XlsFile(orders[i])));
        EXPECT_EQ(sheet.RowCount(), 3) << i;
        EXPECT_EQ(sheet.Row(0), (Cells{"Code", "Name"})) << i;
        EXPECT_EQ(sheet.Row(1), (Cells{"1", "x"})) << i;
        EXPECT_EQ(sheet.Row(2), (Cells{"2", "y"})) << i;
    }
}

TEST(ImportWorkbook, UnreadableFilesNameTheFile) {
    const std::string dir = test::MakeTempDir();
    const std::string text = test::WriteFile(dir, "codes.xls", "Code;Name\n1;x\n");
    TDatasheet sheet;
    TScriptedPrompts prompts;
    const TImportResult result = ImportData(sheet, text, prompts, nullptr);
    EXPECT_EQ(result.outcome, TImportOutcome::ioFailed);
    EXPECT_NE(result.message.find("Cannot read Excel workbook " + text + ": "), std::string::npos)
        << result.message;
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");
    EXPECT_THROW_MSG(ReadWorkbookFile(sheet, dir + "/none.xls"), EInOutError,
                     "Cannot read Excel workbook " + dir +
                         "/none.xls: the file does not exist or cannot be opened");
    // A directory sector pointing into the workbook's records, and a file cut inside its records.
    std::string sound = test::ReadWholeFile(test::TestDataPath("import/errors.xls"));
    std::string pointer = sound;
    pointer[0x30] = 0x10;
    for (const std::string& damaged : {pointer, sound.substr(0, 6000)}) {
        const std::string path = test::WriteFile(dir, "damaged.xls", damaged);
        EXPECT_THROW_MSG(ReadWorkbookFile(sheet, path), EInOutError,
                         "Cannot read Excel workbook " + path +
                             ": the workbook is damaged: its compound file holds no whole workbook stream");
    }
    // A file on which the former workbook library copied past the end of its own buffer: read with
    // every bound checked, it gives the same result every time.
    const std::string heap = test::TestDataPath("import/damaged-heap.xls");
    for (int run = 0; run < 3; ++run)
        EXPECT_THROW_MSG(ReadWorkbookFile(sheet, heap), EInOutError,
                         "Cannot read Excel workbook " + heap + ": the shared texts are cut short");
}

TEST(ImportWorkbook, AReaderProcessThatFailsIsNotTakenForItsOutput) {
    struct Case {
        const char* what;
        std::function<void(const std::function<void(const void*, size_t)>&)> work;
        size_t bytes;
        bool finished;
    };
    const std::string big(3 << 20, 'x'); // more than a pipe holds: read while the child writes
    const Case cases[] = {
        {"writes and ends", [&](const auto& write) { write(big.data(), big.size()); }, big.size(), true},
        {"throws",
         [&](const auto& write) {
             write("ab", 2);
             throw std::runtime_error("x");
         },
         2, false},
        {"crashes",
         [&](const auto& write) {
             write("abc", 3);
             std::raise(SIGSEGV);
         },
         3, false},
    };
    for (const Case& c : cases) {
        const TIsolatedResult r = RunIsolated(c.work);
        EXPECT_EQ(r.output.size(), c.bytes) << c.what;
        EXPECT_EQ(r.finished, c.finished) << c.what;
    }
}
