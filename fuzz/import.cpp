// Any bytes as a delimited text file for the datasheet import. The table gets one row per line (at
// least two), is wide enough for the widest line, and every line's fields are where the reader put
// them.

#include "data/DelimitedTextReader.h"
#include "data/TDatasheet.h"

#include "FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>

using qbm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qbm::TDatasheet sheet;
    qbm::LoadDelimitedText(sheet, text);

    const auto lines = qbm::SplitTextLines(text);
    Check(sheet.RowCount() == std::max<int>(2, static_cast<int>(lines.size())));
    const char delimiter = qbm::DetectDelimiter(lines.size() > 0 ? lines[0] : std::string_view(),
                                                lines.size() > 1 ? lines[1] : std::string_view());
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto fields = qbm::SplitDelimitedLine(lines[i], delimiter);
        // A field is never longer than its line, except where a vertical tab became CR LF.
        Check(fields.size() <= lines[i].size() + 1);
        Check(static_cast<int>(fields.size()) <= sheet.ColumnCount());
        for (size_t f = 0; f < fields.size(); ++f)
            Check(sheet.Cell(static_cast<int>(f), static_cast<int>(i)) == fields[f]);
    }
    return 0;
}
