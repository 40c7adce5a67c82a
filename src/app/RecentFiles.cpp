#include "app/RecentFiles.h"

namespace sonvex::RecentFiles {

QStringList normalised(const QStringList& entries)
{
    QStringList list = entries.mid(0, kCount);
    while (list.size() < kCount)
        list << QString();
    return list;
}

QStringList add(const QStringList& current, const QString& name)
{
    QStringList list{name};
    for (const QString& entry : normalised(current)) {
        if (entry != name)
            list << entry;
    }
    return normalised(list);
}

} // namespace sonvex::RecentFiles
