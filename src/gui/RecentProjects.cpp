#include "gui/RecentProjects.h"

#include <QFileInfo>
#include <QSettings>

namespace qbm {

namespace {
constexpr const char* kKey = "RecentProjects";
}

QStringList RecentProjects::List() {
    return QSettings().value(kKey).toStringList();
}

void RecentProjects::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = List();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMax) list.removeLast();
    QSettings().setValue(kKey, list);
}

void RecentProjects::Remove(const QString& path) {
    QStringList list = List();
    list.removeAll(path);
    QSettings().setValue(kKey, list);
}

} // namespace qbm
