#include "data/DatasheetFind.h"

#include "data/TDatasheet.h"

#include <QString>

#include <algorithm>
#include <vector>

namespace qbm {
namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `cell` contains `needle` ignoring case: ASCII text byte by byte (a million rows in a
// blink), text in other scripts through Unicode case folding.
class TMatcher {
public:
    explicit TMatcher(std::string_view needle) : m_ascii(IsAscii(needle)) {
        if (m_ascii) {
            for (char c : needle) m_lower += Lower(c);
        } else {
            m_folded = QString::fromUtf8(needle.data(), static_cast<qsizetype>(needle.size())).toCaseFolded();
        }
    }
    bool operator()(std::string_view cell) const {
        if (!m_ascii)
            return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()))
                .toCaseFolded()
                .contains(m_folded);
        return std::search(cell.begin(), cell.end(), m_lower.begin(), m_lower.end(),
                           [](char a, char b) { return Lower(a) == b; }) != cell.end();
    }

private:
    bool m_ascii;
    std::string m_lower;
    QString m_folded;
};

} // namespace

std::optional<TCellPosition> FindInDatasheet(const TDatasheet& sheet, std::string_view text, int column,
                                             int row, bool backwards) {
    if (text.empty()) return std::nullopt;
    const TMatcher matches(text);
    const int columns = sheet.ColumnCount();
    // Only rows holding text are visited; their matching cells in reading order.
    std::vector<TCellPosition> found;
    const auto matchesIn = [&](int r) {
        found.clear();
        const auto cells = sheet.RowCells(r);
        for (int c = 1; c < columns && static_cast<size_t>(c) < cells.size(); ++c)
            if (matches(cells[c])) found.push_back({c, r});
    };
    const auto after = [&](const TCellPosition& p) {
        return p.row > row || (p.row == row && p.column > column);
    };
    const auto before = [&](const TCellPosition& p) {
        return p.row < row || (p.row == row && p.column < column);
    };

    std::optional<TCellPosition> first, last, next, previous;
    for (int r = sheet.NextRowWithText(1); r > 0 && r < sheet.RowCount(); r = sheet.NextRowWithText(r + 1)) {
        matchesIn(r);
        for (const TCellPosition& p : found) {
            if (!first) first = p;
            last = p;
            if (!next && after(p)) next = p;
            if (before(p)) previous = p;
        }
        // Forwards, the first match after the start ends the search.
        if (!backwards && next) return next;
    }
    if (backwards) return previous ? previous : last;
    return first;
}

} // namespace qbm
