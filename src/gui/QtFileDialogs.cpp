#include "gui/QtFileDialogs.h"

#include "gui/GuiText.h"
#include "project/CodeListFile.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace qbm {

QString QtFilter(std::string_view filter) {
    const QStringList parts = ToQ(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        // Qt reads the last parenthesis of a name as its patterns, so they always go at the end.
        filters << (name.endsWith("(" + patterns + ")") ? name : name + " (" + patterns + ")");
    }
    return filters.join(";;");
}

namespace {

QString FilterOf(TFileKind kind) {
    return QtFilter(kind == TFileKind::fkProject ? kProjectFilter : kCodeListFilter);
}

} // namespace

QString QtFileDialogs::StartFolder() const {
    if (!m_lastFolder.isEmpty()) return m_lastFolder;
    const std::string project = m_projectPath ? m_projectPath() : std::string();
    if (!project.empty()) return QFileInfo(PathToQ(project)).absolutePath();
    return QDir::homePath();
}

void QtFileDialogs::Remember(const QString& chosen) {
    m_lastFolder = QFileInfo(chosen).absolutePath();
}

std::optional<std::string> QtFileDialogs::AskOpenPath(TFileKind kind) {
    const QString caption = kind == TFileKind::fkProject ? "Open Project" : "Import Code List";
    const QString path = QFileDialog::getOpenFileName(m_parent, caption, StartFolder(), FilterOf(kind));
    if (path.isEmpty()) return std::nullopt;
    Remember(path);
    return PathFromQ(path);
}

std::optional<std::string> QtFileDialogs::AskSavePath(TFileKind kind, const std::string& proposed) {
    QFileDialog dialog(m_parent, kind == TFileKind::fkProject ? "Save Project" : "Save Code List",
                       StartFolder(), FilterOf(kind));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (kind == TFileKind::fkProject) dialog.setDefaultSuffix(ToQ(kProjectExtension));
    // A bare name is proposed in the folder the dialog starts in.
    const QFileInfo name(PathToQ(proposed));
    dialog.selectFile(name.isAbsolute() ? name.filePath() : QDir(StartFolder()).filePath(name.filePath()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    Remember(dialog.selectedFiles().first());
    return PathFromQ(dialog.selectedFiles().first());
}

} // namespace qbm
