#include "ini/TIniFile.h"

#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/IntConversion.h"
#include "util/Text.h"

#include <vector>

namespace qbm {
namespace {

// The platform profile functions read into a 2048-byte buffer; longer values come back cut.
constexpr size_t kMaxValueLength = 2047;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Strip(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

struct Line {
    enum Kind { Other, Header, Key };
    size_t begin = 0; // first character of the line
    size_t next = 0;  // first character after its line end
    Kind kind = Other;
    std::string_view name; // section name or key
    std::string_view value;
};

// Splits the text into lines and tells headers ("[name]" with anything after the "]") and key lines
// ("key = value") from the rest. Comment lines starting with ";" are neither.
std::vector<Line> Parse(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        const size_t end = nl == std::string_view::npos ? text.size() : nl;
        Line line;
        line.begin = pos;
        line.next = nl == std::string_view::npos ? text.size() : nl + 1;
        const std::string_view body = Strip(text.substr(pos, end - pos));
        if (!body.empty() && body.front() == '[') {
            const size_t close = body.find(']');
            if (close != std::string_view::npos) {
                line.kind = Line::Header;
                line.name = Strip(body.substr(1, close - 1));
            }
        } else if (!body.empty() && body.front() != ';') {
            const size_t eq = body.find('=');
            if (eq != std::string_view::npos && eq > 0) {
                line.kind = Line::Key;
                line.name = Strip(body.substr(0, eq));
                line.value = Strip(body.substr(eq + 1));
            }
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// Index of the first header of the section, or lines.size().
size_t FindSection(const std::vector<Line>& lines, std::string_view section, size_t from = 0) {
    for (size_t i = from; i < lines.size(); ++i)
        if (lines[i].kind == Line::Header && SameText(lines[i].name, section)) return i;
    return lines.size();
}

// Index of the header after the section starting at `header` (or lines.size()).
size_t SectionEnd(const std::vector<Line>& lines, size_t header) {
    size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != Line::Header) ++i;
    return i;
}

size_t FindKey(const std::vector<Line>& lines, size_t header, std::string_view key) {
    const size_t end = SectionEnd(lines, header);
    for (size_t i = header + 1; i < end; ++i)
        if (lines[i].kind == Line::Key && SameText(lines[i].name, key)) return i;
    return lines.size();
}

} // namespace

std::string TIniFile::ReadContent() const {
    std::string content;
    try {
        ReadFileIfExists(m_fileName, content);
    } catch (const EInOutError&) {
        content.clear(); // an unreadable library reads like a missing one
    }
    return content;
}

std::string TIniFile::ReadContentForWrite() const {
    std::string content;
    try {
        ReadFileIfExists(m_fileName, content);
    } catch (const EInOutError&) {
        // Replacing a file we could not read would lose everything in it.
        throw EInOutError("Unable to write to " + m_fileName);
    }
    return content;
}

void TIniFile::Store(const std::string& content) const {
    try {
        WriteFileAtomically(m_fileName, content);
    } catch (const EInOutError&) {
        throw EInOutError("Unable to write to " + m_fileName);
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const std::string content = ReadContent();
    const std::vector<Line> lines = Parse(content);
    const size_t header = FindSection(lines, section);
    if (header == lines.size()) return std::string(def);
    const size_t index = FindKey(lines, header, key);
    if (index == lines.size()) return std::string(def);
    return std::string(lines[index].value.substr(0, kMaxValueLength));
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
    return TryStrToInt(text).value_or(def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::ReadSections(TStrings& strings) const {
    strings.clear();
    const std::string content = ReadContent();
    for (const Line& line : Parse(content)) {
        if (line.kind != Line::Header) continue;
        bool seen = false;
        for (const std::string& name : strings) seen = seen || SameText(name, line.name);
        if (!seen) strings.emplace_back(line.name);
    }
}

void TIniFile::ReadSection(std::string_view section, TStrings& strings) const {
    strings.clear();
    const std::string content = ReadContent();
    const std::vector<Line> lines = Parse(content);
    const size_t header = FindSection(lines, section);
    if (header == lines.size()) return;
    const size_t end = SectionEnd(lines, header);
    for (size_t i = header + 1; i < end; ++i)
        if (lines[i].kind == Line::Key) strings.emplace_back(lines[i].name);
}

bool TIniFile::SectionExists(std::string_view section) const {
    TStrings keys;
    ReadSection(section, keys);
    return !keys.empty();
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string content = ReadContentForWrite();
    const std::vector<Line> lines = Parse(content);
    std::string keyLine;
    keyLine.append(key).append("=").append(value);
    const size_t header = FindSection(lines, section);
    if (header == lines.size()) {
        if (!content.empty() && content.back() != '\n') content += "\r\n";
        content.append("[").append(section).append("]\r\n").append(keyLine).append("\r\n");
    } else if (const size_t index = FindKey(lines, header, key); index != lines.size()) {
        // Replace the line's text and keep its own line end.
        const Line& line = lines[index];
        size_t end = line.next;
        if (end > line.begin && content[end - 1] == '\n') --end;
        if (end > line.begin && content[end - 1] == '\r') --end;
        content.replace(line.begin, end - line.begin, keyLine);
    } else {
        // After the section's last non-blank line, so that the blank line before the next header stays.
        size_t last = header;
        const size_t end = SectionEnd(lines, header);
        for (size_t i = header + 1; i < end; ++i)
            if (!Strip(std::string_view(content).substr(lines[i].begin, lines[i].next - lines[i].begin))
                     .empty())
                last = i;
        size_t at = lines[last].next;
        std::string insert = keyLine + "\r\n";
        if (at == content.size() && !content.empty() && content.back() != '\n') insert = "\r\n" + insert;
        content.insert(at, insert);
    }
    Store(content);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
    std::string content = ReadContentForWrite();
    const std::vector<Line> lines = Parse(content);
    std::string kept;
    kept.reserve(content.size());
    bool changed = false;
    size_t i = 0;
    while (i < lines.size()) {
        if (lines[i].kind == Line::Header && SameText(lines[i].name, section)) {
            i = SectionEnd(lines, i);
            changed = true;
            continue;
        }
        kept.append(content, lines[i].begin, lines[i].next - lines[i].begin);
        ++i;
    }
    if (changed) Store(kept);
}

} // namespace qbm
