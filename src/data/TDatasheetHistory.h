#pragma once
// Undo and redo of the datasheet window's commands, one step per command. A step keeps only what its
// command changed (the cells of a range, a deleted row or column) or, for commands that replace the
// whole table, the table it replaced, moved rather than copied, so that a million-row sheet is not
// duplicated for every command.

#include "data/TDatasheet.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace qbm {

struct TDatasheetChange {
    std::string name; // the command, as "Undo <name>" shows it
    std::function<void(TDatasheet&)> undo;
    std::function<void(TDatasheet&)> redo;
    size_t bytes = 0; // memory the step holds
};

class TDatasheetHistory {
public:
    // Steps older than this much memory are forgotten (the newest is always kept).
    static constexpr size_t kMemoryBudget = size_t(512) << 20;
    static constexpr size_t kMaxSteps = 100;

    void Push(TDatasheetChange change);
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    std::string UndoName() const { return CanUndo() ? m_undo.back().name : std::string(); }
    std::string RedoName() const { return CanRedo() ? m_redo.back().name : std::string(); }
    bool Undo(TDatasheet& sheet);
    bool Redo(TDatasheet& sheet);
    void Clear();
    size_t BytesHeld() const;

private:
    void Trim();
    std::deque<TDatasheetChange> m_undo;
    std::deque<TDatasheetChange> m_redo;
};

// Runs `edit` on the sheet as one step named `name`, keeping the cells of `range` from before and
// after it and the row and column counts (commands that change cells and may add rows below or
// columns to the right; the range holds the header cells of added columns). An edit that throws
// leaves the range and the counts as they were, and no step.
void RecordCellEdit(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                    const TGridRect& range, const std::function<void(TDatasheet&)>& edit);

// Runs `edit` on the table's outline (TDatasheet::Outline) and puts the result in the sheet's place;
// the step keeps the replaced table. For commands that leave only the header row and the last row.
void RecordOutlineEdit(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                       const std::function<void(TDatasheet&)>& edit);

// Puts `replacement` in the sheet's place (imports, project loads); the step keeps the old table.
void RecordReplacement(TDatasheet& sheet, TDatasheetHistory* history, const std::string& name,
                       TDatasheet replacement);

} // namespace qbm
