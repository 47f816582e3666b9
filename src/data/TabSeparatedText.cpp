#include "data/TabSeparatedText.h"

#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"

#include <algorithm>
#include <cstdint>

namespace qbm {
namespace {

bool NeedsQuotes(std::string_view cell) {
    return cell.find_first_of("\t\r\n\"") != std::string_view::npos;
}

void AppendCell(std::string& out, std::string_view cell) {
    if (!NeedsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (char ch : cell) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

// A name for a column the paste adds that no column has yet.
std::string NewColumnName(const TDatasheet& sheet, int column) {
    for (int n = column;; ++n) {
        std::string name = "Data" + std::to_string(n);
        if (!sheet.ColumnExists(name)) return name;
    }
}

} // namespace

std::string CopyAsTabSeparated(const TDatasheet& sheet, const TGridRect& range) {
    const int left = std::max(range.left, 0), right = std::min(range.right, sheet.ColumnCount() - 1);
    const int top = std::max(range.top, 0), bottom = std::min(range.bottom, sheet.RowCount() - 1);
    std::string out;
    for (int row = top; row <= bottom; ++row) {
        const auto cells = sheet.RowCells(row);
        for (int c = left; c <= right; ++c) {
            if (c > left) out += '\t';
            if (static_cast<size_t>(c) < cells.size()) AppendCell(out, cells[c]);
        }
        out += '\n';
    }
    return out;
}

TTextTable ParseTabSeparated(std::string_view text) {
    TTextTable rows;
    std::vector<std::string> row;
    std::string cell;
    size_t i = 0;
    const auto endRow = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        rows.push_back(std::move(row));
        row.clear();
    };
    while (i < text.size()) {
        // A cell that starts with a quote runs to its closing quote; "" inside is one quote.
        if (cell.empty() && text[i] == '"') {
            const size_t start = i;
            std::string quoted;
            bool closed = false;
            for (++i; i < text.size(); ++i) {
                if (text[i] != '"') {
                    quoted += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    quoted += '"';
                    ++i;
                } else {
                    closed = true;
                    ++i;
                    break;
                }
            }
            // Only a quote that closes right before a separator makes a quoted cell; otherwise the
            // quote is part of plain text ("12" screen, 5" nails).
            if (closed && (i == text.size() || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) {
                cell = std::move(quoted);
            } else {
                i = start;
                cell += text[i++];
                continue;
            }
        }
        if (i >= text.size()) break;
        const char ch = text[i++];
        if (ch == '\t') {
            row.push_back(std::move(cell));
            cell.clear();
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i < text.size() && text[i] == '\n') ++i;
            endRow();
        } else {
            cell += ch;
        }
    }
    if (!cell.empty() || !row.empty()) endRow();
    return rows;
}

bool PasteTabSeparated(TDatasheet& sheet, std::string_view text, TDatasheetHistory* history,
                       TGridRect* written) {
    const TTextTable rows = ParseTabSeparated(text);
    if (rows.empty()) return false;
    size_t width = 0;
    for (const auto& r : rows) width = std::max(width, r.size());
    const TGridRect& selection = sheet.Selection();
    const int left = std::max(1, std::min(selection.left, selection.right));
    const int top = std::max(1, std::min(selection.top, selection.bottom));
    if (static_cast<int64_t>(left) + static_cast<int64_t>(width) > TDatasheet::kMaxColumns)
        throw EDatasheetError("The pasted text has more columns than a datasheet can hold (" +
                              std::to_string(TDatasheet::kMaxColumns - 1) + ").");
    if (static_cast<int64_t>(top) + static_cast<int64_t>(rows.size()) > TDatasheet::kMaxRows)
        throw EDatasheetError("The pasted text has more rows than a datasheet can hold.");

    // One cell onto a range fills the range, as in a spreadsheet.
    const bool fill = rows.size() == 1 && width == 1 &&
                      (selection.right != selection.left || selection.bottom != selection.top);
    TGridRect target{left, top, left + static_cast<int>(width) - 1, top + static_cast<int>(rows.size()) - 1};
    if (fill)
        target = {left, top, std::max(selection.left, selection.right),
                  std::max(selection.top, selection.bottom)};
    const int columnsBefore = sheet.ColumnCount();
    // Added columns get header names, so the step keeps the header row of the range.
    const TGridRect recorded{target.left, target.right >= columnsBefore ? 0 : target.top, target.right,
                             target.bottom};
    RecordCellEdit(sheet, history, "Paste", recorded, [&](TDatasheet& s) {
        if (target.right >= s.ColumnCount()) {
            s.SetColumnCount(target.right + 1);
            for (int c = columnsBefore; c <= target.right; ++c) s.SetCell(c, 0, NewColumnName(s, c));
        }
        if (target.bottom >= s.RowCount()) s.SetRowCount(target.bottom + 1);
        // Row by row, each row stored once however many of its cells the text fills.
        std::vector<std::string> cells;
        for (int r = target.top; r <= target.bottom; ++r) {
            const auto present = s.RowCells(r);
            cells.assign(present.begin(), present.end());
            if (cells.size() <= static_cast<size_t>(target.right)) cells.resize(target.right + 1);
            const auto& source = fill ? rows[0] : rows[r - target.top];
            for (int c = target.left; c <= target.right; ++c) {
                const size_t at = fill ? 0 : static_cast<size_t>(c - target.left);
                cells[c] = at < source.size() ? source[at] : std::string();
            }
            s.SetRow(r, cells);
        }
        s.SetCurrentCell(target.left, target.top);
        s.SetSelection(target);
    });
    if (written) *written = target;
    return true;
}

} // namespace qbm
