#pragma once
// The last eight projects opened or saved, newest first, kept in the user's settings.

#include <QStringList>

namespace qbm {

class RecentProjects {
public:
    static constexpr int kMax = 8;

    static QStringList List();
    // Moves the path to the front; the oldest falls off.
    static void Add(const QString& path);
    static void Remove(const QString& path);
};

} // namespace qbm
