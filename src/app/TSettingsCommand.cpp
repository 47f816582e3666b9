#include "app/TSettingsCommand.h"

#include "app/TLabelDocument.h"

namespace qbm {

TSettingsCommand::TSettingsCommand(TLabelDocument& document, int mergeId, const QString& text,
                                   TProjectSettings before, TProjectSettings after)
    : QUndoCommand(text), m_document(document), m_mergeId(mergeId), m_before(std::move(before)),
      m_after(std::move(after)) {}

void TSettingsCommand::undo() {
    m_document.RestoreSettings(m_before);
    m_done = false;
}

void TSettingsCommand::redo() {
    if (m_done) return;
    m_document.RestoreSettings(m_after);
    m_done = true;
}

bool TSettingsCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const TSettingsCommand*>(other);
    m_after = next->m_after;
    // Typing a value back to what it was leaves no step behind.
    setObsolete(m_after == m_before);
    return true;
}

} // namespace qbm
