#include "data/DelimitedTextReader.h"

#include "data/ImportRows.h"
#include "data/TDatasheet.h"
#include "util/Errors.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

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

std::string UnescapeQuotes(std::string field) {
    ReplaceAll(field, "\"\"", "\"");
    return field;
}

// A vertical tab is how spreadsheet programs write a line break inside a cell.
std::string WithLineBreaks(std::string field) {
    ReplaceAll(field, std::string_view(&kVerticalTab, 1), "\r\n");
    return field;
}

std::string Unescape(std::string field) {
    return WithLineBreaks(UnescapeQuotes(std::move(field)));
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

std::vector<std::string> SplitDelimitedLine(std::string_view line, char delimiter) {
    std::vector<std::string> fields;
    if (delimiter == '\0') {
        if (!line.empty()) fields.push_back(Unescape(std::string(line)));
        return fields;
    }
    size_t pos = 0;
    while (pos < line.size()) {
        std::string field;
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
                field = Unescape(std::string(line.substr(pos)));
                pos = line.size();
            } else {
                const size_t end = std::min(line.find(delimiter, i), line.size());
                field += UnescapeQuotes(std::string(line.substr(i, end - i)));
                pos = end;
                field = WithLineBreaks(std::move(field));
            }
        } else {
            const size_t end = std::min(line.find(delimiter, pos), line.size());
            field = Unescape(std::string(line.substr(pos, end - pos)));
            pos = end;
        }
        fields.push_back(std::move(field));
        if (pos < line.size()) {
            ++pos; // the delimiter
            // An empty field between two delimiters counts; nothing after the last one does not.
            if (pos < line.size() && line[pos] == delimiter) {
                while (pos < line.size() && line[pos] == delimiter) {
                    fields.emplace_back();
                    ++pos;
                }
            }
        }
    }
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

void LoadDelimitedText(TDatasheet& sheet, std::string_view text) {
    const auto lines = SplitTextLines(text);
    const char delimiter = DetectDelimiter(lines.size() > 0 ? lines[0] : std::string_view(),
                                           lines.size() > 1 ? lines[1] : std::string_view());
    const int lineCount = static_cast<int>(std::min<size_t>(lines.size(), TDatasheet::kMaxRows));
    sheet.SetRowCount(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        auto fields = SplitDelimitedLine(lines[i], delimiter);
        if (static_cast<int>(std::min<size_t>(fields.size(), TDatasheet::kMaxColumns)) > sheet.ColumnCount())
            sheet.SetColumnCount(static_cast<int>(std::min<size_t>(fields.size(), TDatasheet::kMaxColumns)));
        PutImportedRow(sheet, i, 0, std::move(fields));
    }
}

void ReadDelimitedTextFile(TDatasheet& sheet, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EInOutError("Cannot open file " + path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadDelimitedText(sheet, text);
}

} // namespace qbm
