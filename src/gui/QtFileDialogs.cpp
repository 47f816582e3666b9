#include "gui/QtFileDialogs.h"

#include "gui/GuiText.h"
#include "project/CodeListFile.h"
#include "project/ProjectFile.h"

#include <QFileDialog>
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

std::optional<std::string> QtFileDialogs::AskOpenPath(TFileKind kind) {
    const QString caption = kind == TFileKind::fkProject ? "Open Project" : "Import Code List";
    const QString path = QFileDialog::getOpenFileName(m_parent, caption, {}, FilterOf(kind));
    if (path.isEmpty()) return std::nullopt;
    return PathFromQ(path);
}

std::optional<std::string> QtFileDialogs::AskSavePath(TFileKind kind, const std::string& proposed) {
    QFileDialog dialog(m_parent, kind == TFileKind::fkProject ? "Save Project" : "Save Code List", {},
                       FilterOf(kind));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (kind == TFileKind::fkProject) dialog.setDefaultSuffix(ToQ(kProjectExtension));
    dialog.selectFile(PathToQ(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathFromQ(dialog.selectedFiles().first());
}

} // namespace qbm
