#pragma once
// One undo step: the project's settings before and after a change made through the document.

#include "app/TProjectSettings.h"

#include <QUndoCommand>

namespace qbm {

class TLabelDocument;

class TSettingsCommand : public QUndoCommand {
public:
    // `mergeId` names the field a run of keystrokes edits (-1: never merged).
    TSettingsCommand(TLabelDocument& document, int mergeId, const QString& text, TProjectSettings before,
                     TProjectSettings after);

    void undo() override;
    // The first redo is the change itself, already made by the document.
    void redo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TLabelDocument& m_document;
    int m_mergeId;
    TProjectSettings m_before;
    TProjectSettings m_after;
    bool m_done = true;
};

} // namespace qbm
