#pragma once
// One undo step of the design editor: the project's label design before and after an edit.

#include "design/TLabelDesign.h"

#include <QUndoCommand>

#include <optional>
#include <string>

namespace qbm {

class TLabelDocument;

class TDesignCommand : public QUndoCommand {
public:
    // `mergeKey` names what a run of edits changes (one property of one object while it is typed);
    // consecutive steps with the same non-empty key become one.
    TDesignCommand(TLabelDocument& document, const QString& text, std::optional<TLabelDesign> before,
                   std::optional<TLabelDesign> after, std::string mergeKey = {});

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeKey.empty() ? -1 : kMergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    // Apart from the settings commands' ids, which count from 0.
    static constexpr int kMergeId = 0x4445;
    TLabelDocument& m_document;
    std::optional<TLabelDesign> m_before;
    std::optional<TLabelDesign> m_after;
    std::string m_mergeKey;
};

} // namespace qbm
