#include "data/DatasheetSort.h"

#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace qbm {
namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// A cell that is a plain decimal number ("12", "-3.5", "0012"), as a spreadsheet sorts it.
std::optional<double> NumberIn(std::string_view cell) {
    cell = Trimmed(cell);
    if (cell.empty()) return std::nullopt;
    if (cell.front() == '+') cell.remove_prefix(1);
    double value = 0;
    const auto [end, error] =
        std::from_chars(cell.data(), cell.data() + cell.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != cell.data() + cell.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Inline: a million-row sort compares some twenty million pairs.
inline int AsciiLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        // Letter case of the ASCII letters aside; other characters in the order of their UTF-8 bytes,
        // which is the order of their code points.
        const int x = AsciiLower(static_cast<unsigned char>(a[i]));
        const int y = AsciiLower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    // Texts that differ only in letter case are equal: they keep their order.
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return 0;
}

struct TSortKey {
    int row;
    std::string_view text;
    std::optional<double> number;
};

} // namespace

int CompareCellValues(std::string_view a, std::string_view b) {
    const auto x = NumberIn(a), y = NumberIn(b);
    if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
    if (x || y) return x ? -1 : 1;
    return CompareText(a, b);
}

bool SortByColumn(TDatasheet& sheet, int column, bool ascending, TDatasheetHistory* history) {
    if (column < 1 || column >= sheet.ColumnCount()) return false;
    const int rowCount = sheet.RowCount();
    // Only rows holding text have a place to find; the empty ones follow them.
    std::vector<TSortKey> keys;
    for (int row = sheet.NextRowWithText(1); row > 0 && row < rowCount;
         row = sheet.NextRowWithText(row + 1)) {
        const std::string_view text = sheet.Cell(column, row);
        keys.push_back({row, text, NumberIn(text)});
    }
    std::stable_sort(keys.begin(), keys.end(), [ascending](const TSortKey& a, const TSortKey& b) {
        if (a.text.empty() || b.text.empty()) return !a.text.empty() && b.text.empty();
        int order = 0;
        if (a.number && b.number)
            order = *a.number < *b.number ? -1 : (*a.number > *b.number ? 1 : 0);
        else if (a.number || b.number)
            order = a.number ? -1 : 1;
        else
            order = CompareText(a.text, b.text);
        return ascending ? order < 0 : order > 0;
    });

    std::vector<int> order(keys.size());
    std::transform(keys.begin(), keys.end(), order.begin(), [](const TSortKey& k) { return k.row; });
    RecordReplacement(sheet, history, "Sort by " + std::string(sheet.ColumnName(column)),
                      sheet.Reordered(order));
    return true;
}

} // namespace qbm
