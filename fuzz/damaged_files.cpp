// A sound workbook or database damaged as the fuzzer says (cut at a length, bytes overwritten at
// offsets), or the fuzzer's bytes as a whole workbook. The readers end in a filled table or their
// error; the workbook's own error-cell scan never looks outside the file.

#include "data/DatabaseReader.h"
#include "data/TDatasheet.h"
#include "data/WorkbookReader.h"
#include "data/XlsErrorCells.h"
#include "util/Errors.h"

#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using qbm::fuzz::Check;

std::string ReadFixture(const char* name) {
    std::ifstream in(std::string(QBM_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    Check(!out.str().empty());
    return out.str();
}

// Cut length first (0: keep the whole file), then patches of an offset, a length and that many bytes.
std::string Damage(std::string file, qbm::fuzz::TFuzzReader& reader) {
    const uint32_t cut = static_cast<uint32_t>(reader.Short() & 0xFFFF) << 8 | reader.Byte();
    if (cut > 0 && cut < file.size()) file.resize(cut);
    for (int patches = 0; patches < 64; ++patches) {
        const uint32_t at = static_cast<uint32_t>(reader.Short() & 0xFFFF) << 8 | reader.Byte();
        const std::string bytes = reader.Rest(reader.Byte() % 16);
        if (bytes.empty()) break;
        if (file.empty()) break;
        for (size_t i = 0; i < bytes.size(); ++i) file[(at + i) % file.size()] = bytes[i];
    }
    return file;
}

void CheckShape(const qbm::TDatasheet& sheet) {
    Check(sheet.ColumnCount() >= 2 && sheet.RowCount() >= 2);
    Check(sheet.NextRowWithText(sheet.RowCount()) == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string workbook = ReadFixture("import/errors.xls");
    static const std::string database = ReadFixture("samples/DateTestDatabase.mdb");
    qbm::fuzz::TFuzzReader reader(data, size);
    const int which = reader.Byte() % 3;
    const bool isDatabase = which == 2;
    const std::string file =
        which == 0 ? reader.Rest(size) : Damage(isDatabase ? database : workbook, reader);
    const std::string path =
        "/tmp/qbm-fuzz-damaged-" + std::to_string(getpid()) + (isDatabase ? ".mdb" : ".xls");
    std::ofstream(path, std::ios::binary) << file;

    qbm::TDatasheet sheet;
    try {
        if (isDatabase) {
            const auto names = qbm::DatabaseTableNames(path);
            if (!names.empty()) qbm::ReadDatabaseTable(sheet, path, names.front());
        } else {
            for (const qbm::TXlsCell& cell : qbm::XlsErrorCells(file, 0))
                Check(cell.row < 65536 && cell.column < 65536);
            qbm::ReadWorkbookFile(sheet, path);
        }
        CheckShape(sheet);
    } catch (const qbm::EInOutError&) {
    }
    unlink(path.c_str());
    return 0;
}
