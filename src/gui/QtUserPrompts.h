#pragma once
// Messages and input boxes as modal Qt dialogs, parented to the window that asks.

#include "util/TUserPrompts.h"

class QWidget;

namespace qbm {

class QtUserPrompts : public TUserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    TMsgResult Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;

private:
    QWidget* m_parent;
};

} // namespace qbm
