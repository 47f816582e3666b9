#pragma once
// The open and save dialogs of the project and code-list commands, as Qt file dialogs.

#include "app/TFileDialogs.h"

#include <QString>

#include <functional>
#include <string_view>

class QWidget;

namespace qbm {

class QtFileDialogs : public TFileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    // The open project's file, whose folder the dialogs start in until the user has chosen another.
    void SetProjectPathSource(std::function<std::string()> source) { m_projectPath = std::move(source); }

    std::optional<std::string> AskOpenPath(TFileKind kind) override;
    std::optional<std::string> AskSavePath(TFileKind kind, const std::string& proposed) override;

private:
    QString StartFolder() const;
    void Remember(const QString& chosen);

    QWidget* m_parent;
    std::function<std::string()> m_projectPath;
    QString m_lastFolder;
};

// "Name|*.x|All Files (*.*)|*.*" as Qt writes file filters: "Name (*.x);;All Files (*.*)".
QString QtFilter(std::string_view filter);

} // namespace qbm
