// Any bytes as a delimited text file for the datasheet import, in any of the encodings it reads. The
// table gets at most one row per line (records may span lines, rows without text are skipped), every
// record's fields are where the reader put them, and decoding always gives valid UTF-8.

#include "data/DelimitedTextReader.h"
#include "data/TDatasheet.h"
#include "data/TextEncoding.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>

using qbm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const auto encoding : {qbm::TTextEncoding::teUtf8, qbm::TTextEncoding::teUtf16LE,
                                qbm::TTextEncoding::teUtf16BE, qbm::TTextEncoding::teWindows1252})
        Check(qbm::IsValidUtf8(qbm::DecodeToUtf8(bytes, encoding)));
    const qbm::TDetectedEncoding detected = qbm::DetectTextEncoding(bytes);
    Check(detected.bomLength <= bytes.size());
    const std::string text =
        qbm::DecodeToUtf8(std::string_view(bytes).substr(detected.bomLength), detected.encoding);

    qbm::TDatasheet sheet;
    const qbm::TTextImportInfo info = qbm::LoadDelimitedText(sheet, text);
    const auto lines = qbm::SplitTextLines(text);
    Check(sheet.RowCount() <= std::max<int>(2, static_cast<int>(lines.size())));
    Check(info.emptyRowsSkipped <= static_cast<int>(lines.size()));
    // A file without quotes has one record a line: each line with text is the next row.
    if (text.find('"') == std::string::npos) {
        int row = 0;
        for (const std::string_view line : lines) {
            const auto fields = qbm::SplitDelimitedLine(line, info.delimiter);
            if (std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); }))
                continue;
            Check(static_cast<int>(fields.size()) <= sheet.ColumnCount());
            for (size_t f = 0; f < fields.size(); ++f)
                Check(sheet.Cell(static_cast<int>(f), row) == fields[f]);
            ++row;
        }
    }
    return 0;
}
