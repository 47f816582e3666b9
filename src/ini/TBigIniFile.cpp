#include "ini/TBigIniFile.h"

#include "util/AtomicFile.h"
#include "util/IntConversion.h"
#include "util/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qbm {
namespace {

constexpr char kEndOfFileMark = 26; // Ctrl-Z ends a text file, as it did for the editors that wrote them

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool LessText(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// A line matches a key when the text before its first "=" equals the key, ignoring case.
bool IsKeyLine(const std::string& line, std::string_view key) {
    if (line.size() <= key.size() || line[key.size()] != '=') return false;
    const std::string_view name(line.data(), key.size());
    return name.find('=') == std::string_view::npos && SameText(name, key);
}

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Dates and times are written and read in one fixed form, independent of the user's locale:
// yyyy-mm-dd, hh:nn:ss and both joined by a blank.
constexpr int64_t kUnixEpochDays = 25569; // 1970-01-01 as a day number since 1899-12-30

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool IsLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Splits a date-time into whole days and seconds of the day; times before 1899-12-30 keep their
// time of day positive, as the fraction is read as a distance from midnight.
void SplitDateTime(TDateTime value, int64_t& days, int& seconds) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9) value = 0;
    days = static_cast<int64_t>(std::trunc(value));
    const double fraction = std::fabs(value - static_cast<double>(days));
    seconds = static_cast<int>(std::llround(fraction * 86400.0));
    if (seconds >= 86400) seconds = 86399;
}

std::string DateText(TDateTime value) {
    int64_t days;
    int seconds;
    SplitDateTime(value, days, seconds);
    int64_t y;
    unsigned m, d;
    CivilFromDays(days - kUnixEpochDays, y, m, d);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    return buffer;
}

std::string TimeText(TDateTime value) {
    int64_t days;
    int seconds;
    SplitDateTime(value, days, seconds);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

bool ParseNumber(std::string_view& s, int digitsMin, int digitsMax, int& value) {
    int n = 0;
    value = 0;
    while (n < digitsMax && n < static_cast<int>(s.size()) && s[n] >= '0' && s[n] <= '9')
        value = value * 10 + (s[n++] - '0');
    if (n < digitsMin) return false;
    s.remove_prefix(static_cast<size_t>(n));
    return true;
}

bool Expect(std::string_view& s, char c) {
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

bool ParseDate(std::string_view& s, TDateTime& result) {
    int y, m, d;
    if (!ParseNumber(s, 1, 4, y) || !Expect(s, '-') || !ParseNumber(s, 1, 2, m) || !Expect(s, '-') ||
        !ParseNumber(s, 1, 2, d))
        return false;
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1) return false;
    if (d > kMonthDays[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0)) return false;
    result = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) +
                                 kUnixEpochDays);
    return true;
}

bool ParseTime(std::string_view& s, TDateTime& result) {
    int h, n, sec = 0;
    if (!ParseNumber(s, 1, 2, h) || !Expect(s, ':') || !ParseNumber(s, 1, 2, n)) return false;
    if (!s.empty() && s.front() == ':' && (s.remove_prefix(1), !ParseNumber(s, 1, 2, sec))) return false;
    if (h > 23 || n > 59 || sec > 59) return false;
    result = (h * 3600 + n * 60 + sec) / 86400.0;
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

} // namespace

TBigIniFile::TBigIniFile(const std::string& fileName) {
    SetFileName(fileName);
}

TBigIniFile::~TBigIniFile() {
    try {
        FlushFile();
    } catch (...) {
        // Destroying the engine must not throw; a caller that saves calls UpdateFile and sees the error.
    }
}

void TBigIniFile::SetFileName(const std::string& fileName) {
    FlushFile();
    Clear();
    m_fileName = fileName;
    if (!m_fileName.empty()) LoadFromFile(m_fileName);
    m_dirty = false;
}

void TBigIniFile::LoadFromFile(const std::string& fileName) {
    std::string content;
    if (!ReadFileIfExists(fileName, content)) return;
    m_sectionIndex = 0;
    const size_t end = content.find(kEndOfFileMark);
    if (end != std::string::npos) content.resize(end);
    // A CR is either half of a CR LF line end or a stray one that is dropped, so none survives.
    content.erase(std::remove(content.begin(), content.end(), '\r'), content.end());
    std::vector<std::string_view> lines;
    const std::string_view text(content);
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    ParseLines(lines, true);
    if (MergeDuplicateSections()) m_dirty = true;
}

bool TBigIniFile::ParseLines(const std::vector<std::string_view>& lines, bool fromFile) {
    bool added = false;
    int current = -1;
    for (const std::string_view raw : lines) {
        if (fromFile && raw.size() == 1 && raw[0] == kEndOfFileMark) continue;
        if (m_skipComments && !raw.empty() && raw[0] == ';') continue;
        if (raw.empty()) continue;
        if (raw.size() >= 2 && raw.front() == '[' && raw.back() == ']') {
            current = m_sections.Add(std::string(raw.substr(1, raw.size() - 2)));
            added = true;
            continue;
        }
        std::string line(raw);
        if (m_trimAroundEquals) {
            size_t eq = line.find('=');
            while (eq != std::string::npos && eq >= 1 && IsBlankOrTab(line[eq - 1])) {
                line.erase(eq - 1, 1);
                eq = line.find('=');
            }
            if (eq != std::string::npos && eq >= 1) {
                size_t after = eq + 1;
                while (after < line.size() && IsBlankOrTab(line[after])) ++after;
                line.erase(eq + 1, after - eq - 1);
            }
        }
        if (m_stripQuotes) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos && eq >= 1 && eq + 2 < line.size()) {
                const char q = line.back();
                if ((q == '"' || q == '\'') && line[eq + 1] == q) {
                    line.pop_back();
                    line.erase(eq + 1, 1);
                }
            }
        }
        if (m_trimTrailing)
            while (!line.empty() && static_cast<unsigned char>(line.back()) < 33) line.pop_back();
        if (m_keyLinesOnly && line.find('=') == std::string::npos) continue;
        if (line.empty() || current < 0) continue; // text before the first header has no home
        m_sections.Lines(current).push_back(std::move(line));
        added = true;
    }
    return added;
}

bool TBigIniFile::MergeDuplicateSections() {
    const int count = m_sections.Count();
    if (count < 2) return false;
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return LessText(m_sections.Name(a), m_sections.Name(b)); });
    std::vector<bool> dropped(static_cast<size_t>(count), false);
    bool any = false;
    int kept = order[0];
    for (size_t k = 1; k < order.size(); ++k) {
        int other = order[k];
        if (!SameText(m_sections.Name(kept), m_sections.Name(other))) {
            kept = other;
            continue;
        }
        if (other < kept) std::swap(kept, other);
        if (m_onDuplicateSection &&
            !m_onDuplicateSection(m_sections.Name(kept), m_sections.Lines(kept), m_sections.Lines(other)))
            std::swap(kept, other);
        m_sections.Lines(other).clear();
        dropped[static_cast<size_t>(other)] = true;
        any = true;
    }
    if (any) m_sections.DeleteMarked(dropped);
    return any;
}

void TBigIniFile::Clear() {
    m_sections.Clear();
}

int TBigIniFile::FindKey(std::string_view section, std::string_view key, bool create, TStrings*& lines) {
    lines = nullptr;
    const int count = m_sections.Count();
    if (count > 0) {
        const int start = m_sectionIndex >= 0 && m_sectionIndex < count ? m_sectionIndex : 0;
        for (int n = 0; n < count; ++n) {
            const int i = (start + n) % count;
            if (SameText(m_sections.Name(i), section)) {
                m_sectionIndex = i;
                lines = &m_sections.Lines(i);
                break;
            }
        }
    }
    if (lines) {
        for (size_t j = 0; j < lines->size(); ++j)
            if (IsKeyLine((*lines)[j], key)) return static_cast<int>(j);
        return -1;
    }
    if (create) {
        m_sectionIndex = m_sections.Add(std::string(section));
        lines = &m_sections.Lines(m_sectionIndex);
    }
    return -1;
}

void TBigIniFile::DeleteKey(std::string_view section, std::string_view key) {
    TStrings* lines;
    const int index = FindKey(section, key, true, lines);
    if (index >= 0) {
        lines->erase(lines->begin() + index);
        m_dirty = true;
    }
}

void TBigIniFile::EraseSection(std::string_view section) {
    const int index = m_sections.IndexOf(section);
    if (index < 0) return;
    m_sections.Delete(index);
    m_sections.ResetLastFound();
    m_dirty = true;
    if (m_sectionIndex >= m_sections.Count()) m_sectionIndex = 0;
}

void TBigIniFile::GetStrings(TStrings& strings) const {
    for (int i = 0; i < m_sections.Count(); ++i) {
        const TStrings& lines = m_sections.Lines(i);
        if (lines.empty()) continue;
        strings.push_back("[" + m_sections.Name(i) + "]");
        strings.insert(strings.end(), lines.begin(), lines.end());
        strings.emplace_back();
    }
}

void TBigIniFile::SetStrings(const TStrings& strings) {
    m_sectionIndex = 0;
    std::vector<std::string_view> lines(strings.begin(), strings.end());
    const bool added = ParseLines(lines, false);
    const bool merged = MergeDuplicateSections();
    // New content must reach the file on the next flush, not only content dropped by the merge.
    if (added || merged) m_dirty = true;
}

std::string TBigIniFile::LayoutText() const {
    size_t size = 0;
    for (int i = 0; i < m_sections.Count(); ++i) {
        const TStrings& lines = m_sections.Lines(i);
        if (lines.empty()) continue;
        size += m_sections.Name(i).size() + 6;
        for (const std::string& line : lines) size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (int i = 0; i < m_sections.Count(); ++i) {
        const TStrings& lines = m_sections.Lines(i);
        if (lines.empty()) continue;
        text += '[';
        text += m_sections.Name(i);
        text += "]\r\n";
        for (const std::string& line : lines) {
            text += line;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

void TBigIniFile::FlushFile() {
    if (!m_dirty) return;
    if (!m_fileName.empty()) WriteFileAtomically(m_fileName, LayoutText());
    m_dirty = false;
}

void TBigIniFile::UpdateFile() {
    FlushFile();
}

std::string TBigIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) {
    TStrings* lines;
    const int index = FindKey(section, key, false, lines);
    if (index < 0) return std::string(def);
    return (*lines)[static_cast<size_t>(index)].substr(key.size() + 1);
}

std::string TBigIniFile::ReadStringValue(std::string_view section, std::string_view key,
                                         std::string_view def) {
    return ReadString(section, key, def);
}

int TBigIniFile::ReadBinaryData(std::string_view section, std::string_view key, std::ostream& stream) {
    const std::string text = ReadString(section, key, "");
    const size_t count = text.size() / 2;
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        bytes[i] = hi < 0 || lo < 0 ? '\0' : static_cast<char>(hi * 16 + lo);
    }
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<int>(count);
}

int32_t TBigIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) {
    std::string text = ReadString(section, key, "");
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
    return TryStrToInt(text).value_or(def);
}

bool TBigIniFile::ReadBool(std::string_view section, std::string_view key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

TDateTime TBigIniFile::ReadDate(std::string_view section, std::string_view key, TDateTime def) {
    std::string_view text;
    const std::string value = ReadString(section, key, "");
    text = TrimBlanks(value);
    TDateTime result;
    if (!ParseDate(text, result) || !text.empty()) return def;
    return result;
}

TDateTime TBigIniFile::ReadDateTime(std::string_view section, std::string_view key, TDateTime def) {
    const std::string value = ReadString(section, key, "");
    std::string_view text = TrimBlanks(value);
    TDateTime date = 0, time = 0;
    if (!ParseDate(text, date)) return def;
    if (!text.empty()) {
        if (!Expect(text, ' ')) return def;
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        if (!ParseTime(text, time) || !text.empty()) return def;
    }
    // The time of day counts away from midnight of the date, also before 1899-12-30.
    return date < 0 ? date - time : date + time;
}

TDateTime TBigIniFile::ReadTime(std::string_view section, std::string_view key, TDateTime def) {
    const std::string value = ReadString(section, key, "");
    std::string_view text = TrimBlanks(value);
    TDateTime result;
    if (!ParseTime(text, result) || !text.empty()) return def;
    return result;
}

double TBigIniFile::ReadFloat(std::string_view section, std::string_view key, double def) {
    const std::string value = ReadString(section, key, "");
    std::string_view text = TrimBlanks(value);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return def;
    double result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error != std::errc() || end != text.data() + text.size()) return def;
    return result;
}

void TBigIniFile::ReadSection(std::string_view section, TStrings& strings) {
    const int index = m_sections.IndexOf(section);
    if (index < 0) return;
    for (const std::string& line : m_sections.Lines(index)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && eq > 0) strings.push_back(line.substr(0, eq));
    }
}

void TBigIniFile::ReadSections(TStrings& strings) const {
    strings.clear();
    for (int i = 0; i < m_sections.Count(); ++i) strings.push_back(m_sections.Name(i));
}

void TBigIniFile::ReadSectionValues(std::string_view section, TStrings& strings) {
    const int index = m_sections.IndexOf(section);
    if (index < 0) return;
    if (m_clearValuesTarget) strings.clear();
    const TStrings& lines = m_sections.Lines(index);
    strings.insert(strings.end(), lines.begin(), lines.end());
}

bool TBigIniFile::SectionExists(std::string_view section) {
    return m_sections.IndexOf(section) >= 0;
}

bool TBigIniFile::ValueExists(std::string_view section, std::string_view key) {
    const int index = m_sections.IndexOf(section);
    if (index < 0) return false;
    for (const std::string& line : m_sections.Lines(index)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && eq > 0 && SameText(std::string_view(line).substr(0, eq), key))
            return true;
    }
    return false;
}

void TBigIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (key.empty()) {
        if (!section.empty() || !value.empty())
            EraseSection(section);
        else
            FlushFile();
        return;
    }
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    TStrings* lines;
    const int index = FindKey(section, key, true, lines);
    if (index < 0) {
        lines->push_back(std::move(line));
        m_dirty = true;
    } else if ((*lines)[static_cast<size_t>(index)] != line) {
        (*lines)[static_cast<size_t>(index)] = std::move(line);
        m_dirty = true;
    }
}

void TBigIniFile::WriteStringValue(std::string_view section, std::string_view key, std::string_view value) {
    WriteString(section, key, value);
}

void TBigIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TBigIniFile::WriteBinaryData(std::string_view section, std::string_view key, std::istream& stream) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    std::vector<char> chunk(512);
    for (;;) {
        stream.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<size_t>(stream.gcount());
        if (got == 0) break;
        for (size_t i = 0; i < got; ++i) {
            const auto b = static_cast<unsigned char>(chunk[i]);
            text += kHex[b >> 4];
            text += kHex[b & 15];
        }
        chunk.resize(got); // the next request asks for as much as this one delivered
    }
    WriteStringValue(section, key, text);
}

void TBigIniFile::WriteDate(std::string_view section, std::string_view key, TDateTime value) {
    WriteString(section, key, DateText(value));
}

void TBigIniFile::WriteDateTime(std::string_view section, std::string_view key, TDateTime value) {
    WriteString(section, key, DateText(value) + " " + TimeText(value));
}

void TBigIniFile::WriteTime(std::string_view section, std::string_view key, TDateTime value) {
    WriteString(section, key, TimeText(value));
}

void TBigIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    WriteString(section, key, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

void TBigIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, IntToStr(value));
}

} // namespace qbm
