#include "data/DatasheetStream.h"

#include "data/TDatasheet.h"
#include "util/IntConversion.h"
#include "util/TProgress.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace qbm {
namespace {

// A stream has a line per cell: progress is reported from about a hundred thousand cells on.
constexpr int64_t kReportFromLine = 100'000;

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Value of a hexadecimal digit, -1 for any other byte.
constexpr std::array<int8_t, 256> kHexValues = [] {
    std::array<int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) values['A' + i] = values['a' + i] = static_cast<int8_t>(10 + i);
    return values;
}();

int HexValue(char c) {
    return kHexValues[static_cast<unsigned char>(c)];
}

// A CR would end the line, so a multi-line text trades its CRs and LFs for tabs and backspaces.
std::string EncodeCell(std::string_view text) {
    std::string out(text);
    if (out.find('\r') == std::string::npos) return out;
    for (char& c : out) {
        if (c == '\r')
            c = '\t';
        else if (c == '\n')
            c = '\b';
    }
    return out;
}

// The sheet holds single-line cells: a text read with line breaks keeps its first line only.
std::string DecodeCell(std::string_view text) {
    std::string out(text);
    if (out.find('\b') != std::string::npos) {
        for (char& c : out) {
            if (c == '\t')
                c = '\r';
            else if (c == '\b')
                c = '\n';
        }
    }
    const size_t cr = out.find('\r');
    if (cr != std::string::npos) out.resize(cr);
    return out;
}

class LineReader {
public:
    explicit LineReader(std::string_view stream) : m_stream(stream) {}
    bool AtEnd() const { return m_pos >= m_stream.size(); }
    size_t Position() const { return m_pos; }
    // A line runs up to a CR; the byte after the CR (the LF) is skipped.
    std::string_view Next() {
        const size_t cr = m_stream.find('\r', m_pos);
        const size_t end = cr == std::string_view::npos ? m_stream.size() : cr;
        const std::string_view line = m_stream.substr(m_pos, end - m_pos);
        m_pos = cr == std::string_view::npos ? m_stream.size() : std::min(m_stream.size(), cr + 2);
        return line;
    }

private:
    std::string_view m_stream;
    size_t m_pos = 0;
};

// Collects the cells of one row before storing it: streams name cells row by row, and storing a row
// once is far cheaper than rewriting it for every cell.
class RowBuilder {
public:
    explicit RowBuilder(TDatasheet& sheet) : m_sheet(sheet) {}
    ~RowBuilder() = default;

    void Set(int column, int row, std::string text) {
        if (row != m_row) {
            Flush();
            m_row = row;
            // Rows come in rising order in every stream the product writes; a row named again out of
            // order keeps what it was given earlier.
            m_cells.clear();
            if (row <= m_lastFlushed)
                for (std::string_view cell : m_sheet.RowCells(row)) m_cells.emplace_back(cell);
        }
        if (m_cells.size() <= static_cast<size_t>(column)) m_cells.resize(static_cast<size_t>(column) + 1);
        m_cells[column] = std::move(text);
    }

    void Flush() {
        if (m_row < 0) return;
        m_sheet.SetRow(m_row, m_cells);
        m_lastFlushed = std::max(m_lastFlushed, m_row);
        m_row = -1;
    }

private:
    TDatasheet& m_sheet;
    std::vector<std::string> m_cells;
    int m_row = -1;
    int m_lastFlushed = -1;
};

} // namespace

std::string DatasheetToStream(const TDatasheet& sheet) {
    std::string out;
    out += IntToStr(sheet.ColumnCount()) + "," + IntToStr(sheet.RowCount()) + "\r\n";
    for (int c = 0; c < sheet.ColumnCount(); ++c)
        out += "cw " + IntToStr(c) + "," + IntToStr(sheet.ColumnWidth(c)) + "\r\n";
    // Empty rows have no lines; only rows holding text are visited.
    sheet.ForEachRowWithText([&out](int r, const std::vector<std::string_view>& cells) {
        const std::string row = "," + IntToStr(r) + ",";
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].empty()) continue;
            out += IntToStr(static_cast<int64_t>(c));
            out += row;
            out += EncodeCell(cells[c]);
            out += "\r\n";
        }
    });
    return out;
}

void DatasheetFromStream(TDatasheet& sheet, std::string_view stream, TProgress* progress) {
    LineReader lines(stream);
    int columns = sheet.ColumnCount();
    int rows = sheet.RowCount();
    if (!lines.AtEnd()) {
        const std::string_view first = lines.Next();
        if (!first.empty()) {
            const size_t comma = first.find(',');
            const std::string_view columnText =
                comma == std::string_view::npos ? std::string_view() : first.substr(0, comma);
            const std::string_view rowText =
                comma == std::string_view::npos ? first : first.substr(comma + 1);
            columns = StrToInt(columnText);
            rows = StrToInt(rowText);
        }
    }
    sheet.Reset(columns, rows);

    RowBuilder builder(sheet);
    const auto total = static_cast<int64_t>(stream.size());
    for (int64_t count = 1; !lines.AtEnd(); ++count) {
        // A table of fewer cells loads in a blink; from there on the reading reports a few times a second.
        if (count >= kReportFromLine && (count - kReportFromLine) % 65536 == 0)
            ReportProgress(progress, static_cast<int64_t>(lines.Position()), total);
        std::string_view line = lines.Next();
        if (line.substr(0, 2) == "cw") {
            line.remove_prefix(std::min<size_t>(3, line.size()));
            const size_t comma = line.find(',');
            if (comma == std::string_view::npos || comma == 0) break;
            const int column = StrToInt(line.substr(0, comma));
            const int width = StrToInt(line.substr(comma + 1));
            sheet.SetColumnWidth(column, width);
            continue;
        }
        const size_t first = line.find(',');
        if (first == std::string_view::npos || first == 0) break;
        const size_t second = line.find(',', first + 1);
        if (second == std::string_view::npos || second == first + 1) break;
        const int column = StrToInt(line.substr(0, first));
        const int row = StrToInt(line.substr(first + 1, second - first - 1));
        if (column < 0 || column >= sheet.ColumnCount() || row < 0 || row >= sheet.RowCount()) continue;
        builder.Set(column, row, DecodeCell(line.substr(second + 1)));
    }
    builder.Flush();
}

std::string DatasheetStreamDamage(std::string_view stream) {
    if (stream.empty()) return {};
    if (stream.size() < 2 || stream.substr(stream.size() - 2) != "\r\n") return "it ends inside a line";
    LineReader lines(stream);
    const std::string_view header = lines.Next();
    const size_t comma = header.find(',');
    if (header.empty() || comma == std::string_view::npos) return {};
    // Counts that are not numbers are the reader's conversion error, reported in its own words.
    const auto columns = TryStrToInt(header.substr(0, comma));
    const auto rows = TryStrToInt(header.substr(comma + 1));
    if (!columns || !rows) return {};
    const int columnCount = std::clamp(*columns, 2, TDatasheet::kMaxColumns);
    const int rowCount = std::clamp(*rows, 2, TDatasheet::kMaxRows);
    long long widths = 0;
    int lastRow = 0;
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        if (line.substr(0, 2) == "cw") {
            ++widths;
            continue;
        }
        const size_t first = line.find(',');
        const size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
        if (first == 0 || second == std::string_view::npos) break; // reading stops here, as it does
        // Only cells inside the table are kept, so only they show how far it is filled.
        const auto column = TryStrToInt(line.substr(0, first));
        const auto row = TryStrToInt(line.substr(first + 1, second - first - 1));
        if (column && row && *column >= 0 && *column < columnCount && *row >= 0 && *row < rowCount)
            lastRow = std::max(lastRow, *row);
    }
    if (widths < columnCount)
        return "it ends after the widths of " + IntToStr(widths) + " of its " + IntToStr(columnCount) +
               " columns";
    if (static_cast<long long>(rowCount) - 1 - lastRow > kMaxTrailingEmptyRows)
        return "it declares " + IntToStr(rowCount) + " rows but holds text only up to row " +
               IntToStr(lastRow);
    return {};
}

std::string CellAfterStream(std::string_view text) {
    return DecodeCell(EncodeCell(text));
}

std::string StreamToHex(std::string_view bytes) {
    std::string out;
    out.resize(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = kHexDigits[b >> 4];
        out[2 * i + 1] = kHexDigits[b & 0x0F];
    }
    return out;
}

std::string HexToStream(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2 + 1);
    for (size_t p = 0; p < text.size(); p += 2) {
        const int high = HexValue(text[p]);
        if (p + 1 == text.size()) {
            out.push_back(static_cast<char>(high < 0 ? 0 : high));
            break;
        }
        const int low = HexValue(text[p + 1]);
        out.push_back(static_cast<char>(high < 0 || low < 0 ? 0 : high * 16 + low));
    }
    return out;
}

} // namespace qbm
