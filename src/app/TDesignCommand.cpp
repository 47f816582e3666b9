#include "app/TDesignCommand.h"

#include "app/TLabelDocument.h"

namespace qbm {

TDesignCommand::TDesignCommand(TLabelDocument& document, const QString& text,
                               std::optional<TLabelDesign> before, std::optional<TLabelDesign> after,
                               std::string mergeKey)
    : QUndoCommand(text), m_document(document), m_before(std::move(before)), m_after(std::move(after)),
      m_mergeKey(std::move(mergeKey)) {}

void TDesignCommand::undo() {
    m_document.RestoreDesign(m_before);
}

void TDesignCommand::redo() {
    m_document.RestoreDesign(m_after);
}

bool TDesignCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TDesignCommand*>(other);
    if (!next || next->m_mergeKey != m_mergeKey) return false;
    m_after = next->m_after;
    // Typing a value back to what it was leaves no step behind.
    setObsolete(m_after == m_before);
    return true;
}

} // namespace qbm
