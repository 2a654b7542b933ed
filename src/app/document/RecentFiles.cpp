#include "app/document/RecentFiles.h"

#include <QFileInfo>

namespace zov::app {

namespace {
const QString kApplication = QStringLiteral("ZOVEdit");
const QString kSection = QStringLiteral("RecentFiles");
QString key(int i) { return QStringLiteral("File%1").arg(i + 1); }
} // namespace

QStringList RecentFiles::files() const
{
    QStringList result;
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = store_.value(kApplication, kSection, key(i), QString());
        if (!path.isEmpty() && !result.contains(path))
            result.append(path);
    }
    return result;
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list);
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    list.removeAll(path);
    store(list);
}

// Only the entries that change are written: each write rewrites and flushes the settings file,
// and a save of the file already first in the list (the usual Save) changes none.
void RecentFiles::store(const QStringList& list)
{
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString now = store_.value(kApplication, kSection, key(i), QString());
        if (i < list.size() && now != list[i])
            store_.setValue(kApplication, kSection, key(i), list[i]);
        else if (i >= list.size() && !now.isEmpty())
            store_.remove(kApplication, kSection, key(i));
    }
}

} // namespace zov::app
