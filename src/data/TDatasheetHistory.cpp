#include "data/TDatasheetHistory.h"

#include <algorithm>
#include <utility>

namespace qbm {

void TDatasheetHistory::Push(TDatasheetChange change) {
    m_redo.clear();
    m_undo.push_back(std::move(change));
    Trim();
}

void TDatasheetHistory::Trim() {
    size_t bytes = BytesHeld();
    while (m_undo.size() > 1 && (m_undo.size() > kMaxSteps || bytes > kMemoryBudget)) {
        bytes -= m_undo.front().bytes;
        m_undo.pop_front();
    }
}

bool TDatasheetHistory::Undo(TDatasheet& sheet) {
    if (m_undo.empty()) return false;
    TDatasheetChange change = std::move(m_undo.back());
    m_undo.pop_back();
    change.undo(sheet);
    m_redo.push_back(std::move(change));
    return true;
}

bool TDatasheetHistory::Redo(TDatasheet& sheet) {
    if (m_redo.empty()) return false;
    TDatasheetChange change = std::move(m_redo.back());
    m_redo.pop_back();
    change.redo(sheet);
    m_undo.push_back(std::move(change));
    return true;
}

void TDatasheetHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
}

size_t TDatasheetHistory::BytesHeld() const {
    size_t bytes = 0;
    for (const auto& c : m_undo) bytes += c.bytes;
    for (const auto& c : m_redo) bytes += c.bytes;
    return bytes;
}

namespace {

// Where the cursor was, so that undo and redo leave it where the user had it.
struct TCursor {
    int column, row;
    TGridRect selection;
    explicit TCursor(const TDatasheet& sheet)
        : column(sheet.CurrentColumn()), row(sheet.CurrentRow()), selection(sheet.Selection()) {}
    void Restore(TDatasheet& sheet) const {
        sheet.SetCurrentCell(column, row);
        sheet.SetSelection(selection);
    }
};

} // namespace

void RecordCellEdit(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                    const TGridRect& range, const std::function<void(TDatasheet&)>& edit) {
    if (!history) {
        edit(sheet);
        return;
    }
    const TCursor cursorBefore(sheet);
    auto before = std::make_shared<TCellBlock>(sheet.CopyCells(range));
    const int rowsBefore = sheet.RowCount(), columnsBefore = sheet.ColumnCount();
    const auto putBack = [=](TDatasheet& s) {
        if (s.ColumnCount() != columnsBefore) s.SetColumnCount(columnsBefore);
        s.PutCells(*before);
        s.SetRowCount(rowsBefore);
        cursorBefore.Restore(s);
    };
    try {
        edit(sheet);
    } catch (...) {
        // An edit refused half-way leaves the table as it found it, so that the next undo is the
        // step before it and not a half-made change that no step records.
        putBack(sheet);
        throw;
    }
    auto after = std::make_shared<TCellBlock>(sheet.CopyCells(range));
    const int rowsAfter = sheet.RowCount(), columnsAfter = sheet.ColumnCount();
    const TCursor cursorAfter(sheet);
    TDatasheetChange change;
    change.name = name;
    change.bytes = before->MemoryUsed() + after->MemoryUsed() + 2 * sizeof(TCellBlock);
    change.undo = putBack;
    change.redo = [=](TDatasheet& s) {
        if (s.ColumnCount() != columnsAfter) s.SetColumnCount(columnsAfter);
        s.SetRowCount(rowsAfter);
        s.PutCells(*after);
        cursorAfter.Restore(s);
    };
    history->Push(std::move(change));
}

void RecordOutlineEdit(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                       const std::function<void(TDatasheet&)>& edit) {
    TDatasheet outline = sheet.Outline();
    edit(outline);
    RecordReplacement(sheet, history, name, std::move(outline));
}

void RecordReplacement(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                       TDatasheet replacement) {
    std::swap(sheet, replacement);
    if (!history) return;
    // The step and the sheet trade tables on every undo and redo.
    auto other = std::make_shared<TDatasheet>(std::move(replacement));
    TDatasheetChange change;
    change.name = name;
    change.bytes = other->MemoryUsed();
    change.undo = [other](TDatasheet& s) { std::swap(s, *other); };
    change.redo = [other](TDatasheet& s) { std::swap(s, *other); };
    history->Push(std::move(change));
}

} // namespace qbm
