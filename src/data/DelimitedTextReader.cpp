#include "data/DelimitedTextReader.h"

#include "data/ImportRows.h"
#include "data/TDatasheet.h"
#include "util/Errors.h"
#include "util/TProgress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <span>

namespace qbm {
namespace {

constexpr std::array<char, 10> kCandidates = {',', ';', '#', '\t', '|', '@', '*', '-', '+', '&'};
constexpr char kVerticalTab = '\v';

int PlainCount(std::string_view line, char c) {
    return static_cast<int>(std::count(line.begin(), line.end(), c));
}

// A run of adjacent delimiters of even length is most likely an escaped character or decoration
// ("--", "**"), not separators; an odd run still separates once.
int OddRunCount(std::string_view line, char c) {
    int count = 0;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] != c) {
            ++i;
            continue;
        }
        size_t run = 0;
        while (i < line.size() && line[i] == c) {
            ++run;
            ++i;
        }
        if (run % 2 == 1) ++count;
    }
    return count;
}

// The candidate found equally often, and at all, in both lines, the most frequent first.
template <typename Counter>
char AgreeingCandidate(std::string_view first, std::string_view second, Counter count) {
    char best = '\0';
    int bestCount = 0;
    for (const char c : kCandidates) {
        const int a = count(first, c);
        if (a == 0 || a != count(second, c)) continue;
        if (a > bestCount) {
            best = c;
            bestCount = a;
        }
    }
    return best;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::string::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
}

} // namespace

char DetectDelimiter(std::string_view firstLine, std::string_view secondLine) {
    if (const char c = AgreeingCandidate(firstLine, secondLine, OddRunCount)) return c;
    if (const char c = AgreeingCandidate(firstLine, secondLine, PlainCount)) return c;
    char best = '\0';
    int bestCount = 0;
    for (const char c : kCandidates) {
        const int n = std::max(PlainCount(firstLine, c), PlainCount(secondLine, c));
        if (n > bestCount) {
            best = c;
            bestCount = n;
        }
    }
    return best;
}

namespace {

// The next field of `fields` to fill, reusing the strings of earlier lines.
std::string& NextField(std::vector<std::string>& fields, size_t& count) {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
}

void UnescapeInPlace(std::string& field) {
    if (field.find('"') != std::string::npos) ReplaceAll(field, "\"\"", "\"");
    if (field.find(kVerticalTab) != std::string::npos)
        ReplaceAll(field, std::string_view(&kVerticalTab, 1), "\r\n");
}

} // namespace

size_t SplitDelimitedLineInto(std::string_view line, char delimiter, std::vector<std::string>& fields) {
    size_t count = 0;
    if (delimiter == '\0') {
        if (!line.empty()) {
            std::string& field = NextField(fields, count);
            field.assign(line);
            UnescapeInPlace(field);
        }
        return count;
    }
    size_t pos = 0;
    while (pos < line.size()) {
        std::string& field = NextField(fields, count);
        if (line[pos] == '"') {
            // A quoted field may hold the delimiter; "" inside it is one quote.
            size_t i = pos + 1;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (!closed) {
                // No closing quote: the rest of the line is the field as it stands.
                field.assign(line.substr(pos));
                UnescapeInPlace(field);
                pos = line.size();
            } else {
                const size_t end = std::min(line.find(delimiter, i), line.size());
                std::string rest(line.substr(i, end - i));
                if (rest.find('"') != std::string::npos) ReplaceAll(rest, "\"\"", "\"");
                field += rest;
                pos = end;
                if (field.find(kVerticalTab) != std::string::npos)
                    ReplaceAll(field, std::string_view(&kVerticalTab, 1), "\r\n");
            }
        } else {
            const size_t end = std::min(line.find(delimiter, pos), line.size());
            field.assign(line.substr(pos, end - pos));
            UnescapeInPlace(field);
            pos = end;
        }
        if (pos < line.size()) {
            ++pos; // the delimiter
            // An empty field between two delimiters counts; nothing after the last one does not.
            while (pos < line.size() && line[pos] == delimiter) {
                NextField(fields, count);
                ++pos;
            }
        }
    }
    return count;
}

std::vector<std::string> SplitDelimitedLine(std::string_view line, char delimiter) {
    std::vector<std::string> fields;
    fields.resize(SplitDelimitedLineInto(line, delimiter, fields));
    return fields;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

namespace {

// Lines of a file read in pieces, so that a large file is never held whole: line ends are CR LF, LF
// or a lone CR, and a final line end adds no line.
class TFileLines {
public:
    explicit TFileLines(std::istream& in) : m_in(in) {}

    // The next line, valid until the next call; nullopt at the end.
    std::optional<std::string_view> Next() {
        for (;;) {
            size_t i = NextLineEnd(m_pos + m_scanned);
            if (i < m_buffer.size()) {
                if (m_buffer[i] == '\r' && i + 1 == m_buffer.size() && !m_eof) {
                    m_scanned = i - m_pos;
                    Fill();
                    continue;
                }
                const std::string_view line(m_buffer.data() + m_pos, i - m_pos);
                const size_t skip =
                    m_buffer[i] == '\r' && i + 1 < m_buffer.size() && m_buffer[i + 1] == '\n' ? 2 : 1;
                m_pos = i + skip;
                m_scanned = 0;
                return line;
            }
            m_scanned = i - m_pos;
            if (!m_eof) {
                Fill();
                continue;
            }
            if (m_pos < m_buffer.size()) {
                // The last line has no line end. Nothing is left to scan after it: the next call
                // must find the end rather than search on from past the buffer.
                const std::string_view line(m_buffer.data() + m_pos, m_buffer.size() - m_pos);
                m_pos = m_buffer.size();
                m_scanned = 0;
                return line;
            }
            return std::nullopt;
        }
    }

    int64_t BytesRead() const { return m_read; }

private:
    // The first CR or LF at or after `from`, or the end of the buffer.
    size_t NextLineEnd(size_t from) const {
        const char* begin = m_buffer.data() + from;
        const size_t size = m_buffer.size() - from;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', size));
        const size_t until = lf ? static_cast<size_t>(lf - begin) : size;
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', until));
        return from + (cr ? static_cast<size_t>(cr - begin) : until);
    }

    void Fill() {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
        const size_t old = m_buffer.size();
        m_buffer.resize(old + kChunk);
        m_in.read(m_buffer.data() + old, kChunk);
        const auto got = static_cast<size_t>(m_in.gcount());
        m_buffer.resize(old + got);
        m_read += static_cast<int64_t>(got);
        if (got == 0) m_eof = true;
    }

    static constexpr size_t kChunk = 1 << 20;
    std::istream& m_in;
    std::string m_buffer;
    size_t m_pos = 0;
    size_t m_scanned = 0; // bytes after m_pos known to hold no line end
    bool m_eof = false;
    int64_t m_read = 0;
};

// Most lines hold no quote and no vertical tab: their fields are pieces of the line as it stands, cut
// without copying, in one pass over the line. Split gives false for a line that needs the full rules.
class TPlainLineSplitter {
public:
    explicit TPlainLineSplitter(char delimiter)
        : m_delimiter(delimiter == '\0' ? '"' : delimiter),
          m_delimiterWord(kOnes * static_cast<unsigned char>(m_delimiter)) {}

    bool Split(std::string_view line, std::vector<std::string_view>& views) const {
        const char* field = line.data();
        const char* const end = line.data() + line.size();
        const char* p = field;
        // Eight bytes at a time: fields run to a dozen bytes, so a word holds a delimiter or two and
        // is dealt with without looking at its bytes one by one.
        for (; end - p >= 8; p += 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (ZeroBytes(word ^ kQuoteWord) | ZeroBytes(word ^ kVerticalTabWord)) return false;
            for (uint64_t found = ZeroBytes(word ^ m_delimiterWord); found != 0; found &= found - 1) {
                const char* at = p + std::countr_zero(found) / 8;
                views.emplace_back(field, static_cast<size_t>(at - field));
                field = at + 1;
            }
        }
        for (; p != end; ++p) {
            if (*p == '"' || *p == kVerticalTab) return false;
            if (*p == m_delimiter) {
                views.emplace_back(field, static_cast<size_t>(p - field));
                field = p + 1;
            }
        }
        // Nothing after the last delimiter is no field; an empty one between two delimiters is. With
        // no delimiter the whole line is the one field.
        if (field != end) views.emplace_back(field, static_cast<size_t>(end - field));
        return true;
    }

private:
    // The first byte of a word is its lowest, as countr_zero expects.
    static_assert(std::endian::native == std::endian::little);
    static constexpr uint64_t kOnes = 0x0101010101010101ULL;
    static constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    static constexpr uint64_t kQuoteWord = kOnes * '"';
    static constexpr uint64_t kVerticalTabWord = kOnes * static_cast<unsigned char>(kVerticalTab);
    // The high bit of every zero byte of `word`, and no other bit.
    static uint64_t ZeroBytes(uint64_t word) { return ~(((word & kLow7) + kLow7) | word | kLow7); }

    char m_delimiter;
    // With no delimiter, a byte that never is one: the quote, which ends the plain reading anyway.
    uint64_t m_delimiterWord;
};

// Whether any byte of the line is outside ASCII, eight bytes at a time.
bool HasHighBytes(std::string_view line) {
    size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, line.data() + i, 8);
        if (word & 0x8080808080808080ULL) return true;
    }
    for (; i < line.size(); ++i)
        if (static_cast<unsigned char>(line[i]) >= 0x80) return true;
    return false;
}

// Decodes lines that are not plain ASCII into UTF-8; ASCII lines pass through untouched.
class TLineDecoder {
public:
    explicit TLineDecoder(TTextEncoding encoding) : m_encoding(encoding) {}
    std::string_view operator()(std::string_view line) {
        // UTF-16 text is decoded whole before it is split into lines.
        if (m_encoding == TTextEncoding::teUtf16LE || m_encoding == TTextEncoding::teUtf16BE ||
            !HasHighBytes(line) || (m_encoding == TTextEncoding::teUtf8 && IsValidUtf8(line)))
            return line;
        m_decoded = DecodeToUtf8(line, m_encoding);
        return m_decoded;
    }

private:
    TTextEncoding m_encoding;
    std::string m_decoded;
};

// Fills an emptied sheet from the lines that `next` gives, the first two already read and decoded,
// each record's first field going to column `firstColumn` (the cells before it stay empty).
template <typename NextLine>
TTextImportInfo FillFromLines(TDatasheet& sheet, const std::vector<std::string>& firstLines, NextLine next,
                              int firstColumn, TProgress* progress, const std::function<int64_t()>& done,
                              int64_t total, const TTextImportChoices& choices, TTextEncoding encoding,
                              int maxRows = TDatasheet::kMaxRows) {
    TTextImportInfo info;
    info.encoding = encoding;
    const char delimiter = choices.delimiter
                               ? *choices.delimiter
                               : DetectDelimiter(firstLines.size() > 0 ? firstLines[0] : std::string_view(),
                                                 firstLines.size() > 1 ? firstLines[1] : std::string_view());
    info.delimiter = delimiter;
    sheet.Reset(2, 2);
    // The row list and the text are sized from the file, so that neither is copied as it grows: the
    // packed text is about the file's (a length byte in place of each delimiter and line end). The
    // first data line stands for the rest; a short header line would overstate the row count.
    const size_t sampled = firstLines.size() > 1 ? firstLines[1].size() + 1 : 0;
    if (total > 0 && sampled > 0) {
        const int64_t rows =
            std::min<int64_t>(total / static_cast<int64_t>(sampled) * 11 / 10 + 16, TDatasheet::kMaxRows);
        sheet.ReserveRows(static_cast<size_t>(rows));
        sheet.ReserveText(static_cast<size_t>(total + total / 32 + rows * firstColumn + 64));
    }
    const TPlainLineSplitter plain(delimiter);
    std::vector<std::string> fields;
    std::vector<std::string_view> views;
    const size_t maxFields = static_cast<size_t>(TDatasheet::kMaxColumns - firstColumn);
    // Without names in the file, row 0 is left for the "Column n" names written at the end.
    int row = choices.firstRowHoldsNames ? 0 : 1;
    int lines = 0;
    std::string record; // a record whose quoted field runs on over more lines
    bool pending = false;
    const auto putRecord = [&](std::string_view line) {
        if (row >= maxRows) return;
        if (row >= sheet.RowCount())
            sheet.SetRowCount(
                static_cast<int>(std::min<int64_t>(2 * static_cast<int64_t>(row) + 2, TDatasheet::kMaxRows)));
        views.clear();
        if (firstColumn > 0) views.emplace_back();
        const bool cut = plain.Split(line, views);
        if (!cut) {
            const size_t count = SplitDelimitedLineInto(line, delimiter, fields);
            views.resize(static_cast<size_t>(firstColumn));
            views.insert(views.end(), fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(count));
        }
        const size_t count = std::min(views.size(), maxFields + firstColumn);
        // A record with no text (an empty line, or delimiters only) would be a label with nothing on it.
        if (std::all_of(views.begin(), views.begin() + static_cast<std::ptrdiff_t>(count),
                        [](std::string_view v) { return v.empty(); })) {
            ++info.emptyRowsSkipped;
            return;
        }
        if (static_cast<int>(count) > sheet.ColumnCount()) sheet.SetColumnCount(static_cast<int>(count));
        const std::span<const std::string_view> cells(views.data(), count);
        if (cut)
            sheet.SetCutRow(row, cells);
        else
            sheet.SetRow(row, cells);
        ++row;
    };
    const auto put = [&](std::string_view line) {
        if (++lines % 16384 == 0) ReportProgress(progress, done(), total);
        if (pending) {
            record += '\n';
            record += line;
        } else if (line.find('"') != std::string_view::npos && delimiter != '\0' &&
                   EndsInsideQuotes(line, delimiter)) {
            record.assign(line);
        } else {
            putRecord(line);
            return;
        }
        pending = EndsInsideQuotes(record, delimiter);
        if (!pending) putRecord(record);
    };
    for (const std::string& line : firstLines) put(line);
    while (row < maxRows) {
        const auto line = next();
        if (!line) break;
        put(*line);
    }
    if (pending) putRecord(record); // a quote never closed: the rest of the file is that field
    if (!choices.firstRowHoldsNames) {
        std::vector<std::string> names(static_cast<size_t>(sheet.ColumnCount()));
        for (size_t c = static_cast<size_t>(firstColumn); c < names.size(); ++c)
            names[c] = "Column " + std::to_string(c + 1 - static_cast<size_t>(firstColumn));
        sheet.SetRow(0, names);
    }
    sheet.SetRowCount(std::max(row, 1));
    return info;
}

// The first line or two of a text for the delimiter guess.
template <typename NextLine> std::vector<std::string> FirstLines(NextLine next, TLineDecoder& decode) {
    std::vector<std::string> first;
    for (int i = 0; i < 2; ++i)
        if (const auto line = next()) first.emplace_back(decode(*line));
    return first;
}

constexpr size_t kSampleBytes = 64 * 1024;

struct TOpenedText {
    std::ifstream in;
    int64_t size = 0;
    TDetectedEncoding detected;
};

TOpenedText OpenText(const std::string& path, const TTextImportChoices& choices) {
    TOpenedText text;
    text.in.open(path, std::ios::binary);
    if (!text.in) throw EInOutError("Cannot open file " + path);
    text.in.seekg(0, std::ios::end);
    text.size = static_cast<int64_t>(text.in.tellg());
    text.in.seekg(0);
    std::string sample(kSampleBytes, '\0');
    text.in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
    sample.resize(static_cast<size_t>(text.in.gcount()));
    text.in.clear();
    text.detected = DetectTextEncoding(sample);
    if (choices.encoding && *choices.encoding != text.detected.encoding) {
        const bool markedUtf8 =
            text.detected.encoding == TTextEncoding::teUtf8 && text.detected.bomLength > 0;
        // A chosen encoding reads the bytes after a byte-order mark of its own kind, all of them otherwise.
        text.detected = {*choices.encoding,
                         markedUtf8 && *choices.encoding == TTextEncoding::teUtf8 ? 3u : 0u};
    }
    text.in.seekg(static_cast<std::streamoff>(text.detected.bomLength));
    return text;
}

TTextImportInfo ReadText(TDatasheet& sheet, const std::string& path, TProgress* progress, int firstColumn,
                         const TTextImportChoices& choices, int maxRows) {
    TOpenedText text = OpenText(path, choices);
    const TTextEncoding encoding = text.detected.encoding;
    firstColumn = std::clamp(firstColumn, 0, 1);
    TLineDecoder decode(encoding);
    if (encoding == TTextEncoding::teUtf16LE || encoding == TTextEncoding::teUtf16BE) {
        // Lines of UTF-16 cannot be found byte by byte: the text is decoded whole first.
        std::string bytes((std::istreambuf_iterator<char>(text.in)), std::istreambuf_iterator<char>());
        const std::string utf8 = DecodeToUtf8(bytes, encoding);
        bytes = std::string();
        const auto lines = SplitTextLines(utf8);
        size_t index = 0;
        const auto next = [&]() -> std::optional<std::string_view> {
            if (index < lines.size()) return lines[index++];
            return std::nullopt;
        };
        const auto first = FirstLines(next, decode);
        return FillFromLines(
            sheet, first, next, firstColumn, progress,
            [&] { return static_cast<int64_t>(index) * text.size / std::max<int64_t>(1, lines.size()); },
            text.size, choices, encoding, maxRows);
    }
    TFileLines lines(text.in);
    const auto next = [&]() -> std::optional<std::string_view> {
        const auto line = lines.Next();
        if (!line) return std::nullopt;
        return decode(*line);
    };
    const auto first = FirstLines([&] { return lines.Next(); }, decode);
    return FillFromLines(
        sheet, first, next, firstColumn, progress, [&] { return lines.BytesRead(); }, text.size, choices,
        encoding, maxRows);
}

} // namespace

bool EndsInsideQuotes(std::string_view line, char delimiter) {
    if (delimiter == '\0') return false; // a line without delimiters is one field as it stands
    size_t pos = 0;
    for (;;) {
        if (pos < line.size() && line[pos] == '"') {
            size_t i = pos + 1;
            for (;;) {
                i = line.find('"', i);
                if (i == std::string_view::npos) return true;
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    i += 2;
                    continue;
                }
                break;
            }
            pos = i + 1;
        }
        const size_t next = line.find(delimiter, pos);
        if (next == std::string_view::npos) return false;
        pos = next + 1;
    }
}

TTextImportInfo LoadDelimitedText(TDatasheet& sheet, std::string_view text,
                                  const TTextImportChoices& choices) {
    const auto lines = SplitTextLines(text);
    size_t index = 0;
    const auto next = [&]() -> std::optional<std::string_view> {
        if (index < lines.size()) return lines[index++];
        return std::nullopt;
    };
    TLineDecoder decode(TTextEncoding::teUtf8);
    const auto first = FirstLines(next, decode);
    return FillFromLines(
        sheet, first, next, 0, nullptr, [] { return int64_t(0); }, 0, choices, TTextEncoding::teUtf8);
}

TTextImportInfo ReadDelimitedTextFile(TDatasheet& sheet, const std::string& path, TProgress* progress,
                                      int firstColumn, const TTextImportChoices& choices) {
    return ReadText(sheet, path, progress, firstColumn, choices, TDatasheet::kMaxRows);
}

TTextImportInfo PreviewDelimitedTextFile(TDatasheet& sheet, const std::string& path, int maxRows,
                                         const TTextImportChoices& choices) {
    return ReadText(sheet, path, nullptr, 1, choices, std::max(maxRows, 1));
}

} // namespace qbm
