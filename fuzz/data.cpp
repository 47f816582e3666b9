// Any bytes as a datasheet stream, as hexadecimal text, as a project file, or as text pasted into the
// datasheet (what was pasted copies back as the same cells, and undo gives the table back). Errors are the
// conversion error and, for a project, its refused damaged datasheet; whatever was read, writing it and
// reading it back settles after one more round, and the sheet keeps its shape (at least one data column and
// row, widths for every column).

#include "data/DatasheetStream.h"
#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "data/TabSeparatedText.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "util/Errors.h"

#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace qbm;

using qbm::fuzz::Check;

void CheckShape(const TDatasheet& sheet) {
    Check(sheet.ColumnCount() >= 2 && sheet.RowCount() >= 2);
    Check(sheet.CurrentColumn() >= 1 && sheet.CurrentColumn() < sheet.ColumnCount());
    Check(sheet.CurrentRow() >= 1 && sheet.CurrentRow() < sheet.RowCount());
}

// Writing a stream with thousands of width lines is slow, not wrong; the round trip is checked on
// sheets of a size a fuzzing run can afford.
constexpr int kRoundTripColumns = 4096;

void FuzzDatasheetStream(const std::string& input) {
    TDatasheet sheet;
    try {
        DatasheetFromStream(sheet, input);
    } catch (const EConvertError&) {
        CheckShape(sheet);
        return;
    }
    CheckShape(sheet);
    if (sheet.ColumnCount() > kRoundTripColumns) return;
    TDatasheet again;
    DatasheetFromStream(again, DatasheetToStream(sheet));
    const std::string second = DatasheetToStream(again);
    TDatasheet third;
    DatasheetFromStream(third, second);
    Check(DatasheetToStream(third) == second);
}

void FuzzHexStream(const std::string& input) {
    const std::string bytes = HexToStream(input);
    Check(bytes.size() == (input.size() + 1) / 2);
    Check(HexToStream(StreamToHex(bytes)) == bytes);
    Check(HexToStream(StreamToHex(input)) == input);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Leaves nothing behind in the shared memory directory, however a run ends.
struct TempFiles {
    std::string base;
    ~TempFiles() {
        for (const char* ext : {".in", ".a", ".b", ".c"}) std::filesystem::remove(base + ext);
    }
};

void FuzzLoadProject(const std::string& input) {
    static const std::string base = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") +
                                    std::string("/qbm-fuzz-project-") + std::to_string(::getpid());
    const TempFiles cleanup{base};
    std::ofstream(base + ".in", std::ios::binary) << input;
    TLabelProject project;
    try {
        LoadProject(base + ".in", project, {std::vector<std::string>{"EAN13"}, nullptr});
    } catch (const EConvertError&) {
        CheckShape(project.Datasheet());
        return;
    } catch (const EInOutError&) { // a damaged datasheet is refused before it is read
        CheckShape(project.Datasheet());
        return;
    }
    CheckShape(project.Datasheet());
    if (project.Datasheet().ColumnCount() > kRoundTripColumns) return;
    SaveProject(base + ".a", project, nullptr);
    TLabelProject second;
    LoadProject(base + ".a", second);
    SaveProject(base + ".b", second, nullptr);
    TLabelProject third;
    LoadProject(base + ".b", third);
    SaveProject(base + ".c", third, nullptr);
    Check(ReadAll(base + ".b") == ReadAll(base + ".c"));
    Check(third.CodeList2D() == second.CodeList2D());
}

void FuzzPastedText(const std::string& input) {
    TDatasheet sheet;
    sheet.Reset(3, 4);
    sheet.SetCell(1, 0, "Data1");
    sheet.SetCell(1, 2, "kept");
    sheet.SetCurrentCell(1, 2);
    sheet.SetSelection({1, 2, 1, 2});
    const std::string before = DatasheetToStream(sheet);
    TDatasheetHistory history;
    TGridRect written;
    if (!PasteTabSeparated(sheet, input, &history, &written)) {
        Check(DatasheetToStream(sheet) == before);
        return;
    }
    CheckShape(sheet);
    const TTextTable pasted = ParseTabSeparated(input);
    const TTextTable copied = ParseTabSeparated(CopyAsTabSeparated(sheet, written));
    Check(copied.size() == pasted.size());
    for (size_t r = 0; r < pasted.size() && r < copied.size(); ++r)
        for (size_t c = 0; c < copied[r].size(); ++c)
            Check(copied[r][c] == (c < pasted[r].size() ? pasted[r][c] : std::string()));
    Check(history.Undo(sheet));
    Check(DatasheetToStream(sheet) == before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
#if defined(QBM_FUZZ_DATASHEET_STREAM)
    FuzzDatasheetStream(input);
#elif defined(QBM_FUZZ_HEX_STREAM)
    FuzzHexStream(input);
#elif defined(QBM_FUZZ_PASTED_TEXT)
    FuzzPastedText(input);
#else
    FuzzLoadProject(input);
#endif
    return 0;
}
