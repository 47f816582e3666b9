#pragma once
// The open and save dialogs of the project and code-list commands, as Qt file dialogs.

#include "app/TFileDialogs.h"

#include <QString>

#include <string_view>

class QWidget;

namespace qbm {

class QtFileDialogs : public TFileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    std::optional<std::string> AskOpenPath(TFileKind kind) override;
    std::optional<std::string> AskSavePath(TFileKind kind, const std::string& proposed) override;

private:
    QWidget* m_parent;
};

// "Name|*.x|All Files (*.*)|*.*" as Qt writes file filters: "Name (*.x);;All Files (*.*)".
QString QtFilter(std::string_view filter);

} // namespace qbm
