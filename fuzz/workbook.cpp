// Any bytes as one XML part of an .xlsx or .ods workbook, the other parts well formed. Reading must
// end in a filled sheet or in the reader's error, never in a crash, and the sheet stays within the
// size the document can describe.

#include "data/OdsReader.h"
#include "data/TDatasheet.h"
#include "data/XlsxReader.h"
#include "util/Errors.h"

#include "FuzzSupport.h"

#include <zip.h>

#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using qbm::fuzz::Check;

namespace {

const std::string kWorkbook =
    R"(<workbook xmlns:r="r"><sheets><sheet name="A" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const std::string kRels =
    R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="x/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rId3" Type="x/styles" Target="styles.xml"/></Relationships>)";
const std::string kSheet =
    R"(<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>45356</v></c></row></sheetData></worksheet>)";
const std::string kStrings = R"(<sst><si><t>Code</t></si></sst>)";
const std::string kStyles =
    R"(<styleSheet><numFmts><numFmt numFmtId="164" formatCode="0.00%"/></numFmts><cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs></styleSheet>)";

std::string WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    Check(archive != nullptr);
    for (const auto& [name, bytes] : parts)
        zip_file_add(archive, name.c_str(), zip_source_buffer(archive, bytes.data(), bytes.size(), 0),
                     ZIP_FL_OVERWRITE);
    Check(zip_close(archive) == 0);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader reader(data, size);
    const int which = reader.Byte() % 6;
    const std::string xml = reader.Rest(1 << 20);
    std::vector<std::pair<std::string, std::string>> parts;
    std::string path = "/tmp/qbm-fuzz-workbook-" + std::to_string(getpid());
    if (which == 5) {
        path += ".ods";
        parts = {{"content.xml", xml}};
    } else {
        path += ".xlsx";
        parts = {{"xl/workbook.xml", which == 0 ? xml : kWorkbook},
                 {"xl/_rels/workbook.xml.rels", which == 1 ? xml : kRels},
                 {"xl/worksheets/sheet1.xml", which == 2 ? xml : kSheet},
                 {"xl/sharedStrings.xml", which == 3 ? xml : kStrings},
                 {"xl/styles.xml", which == 4 ? xml : kStyles}};
    }
    WriteZip(path, parts);
    qbm::TDatasheet sheet;
    try {
        if (which == 5)
            qbm::ReadOdsFile(sheet, path);
        else
            qbm::ReadXlsxFile(sheet, path);
        // A row or column per cell at most, and every row of text inside the table.
        Check(sheet.ColumnCount() >= 2 && sheet.RowCount() >= 2);
        const int last = sheet.RowCount() - 1;
        Check(sheet.NextRowWithText(last + 1) == -1);
    } catch (const qbm::EInOutError&) {
    }
    unlink(path.c_str());
    return 0;
}
