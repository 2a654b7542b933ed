#pragma once
// What `zovedit-app check` decides for some bytes: the full reader with the checking builder,
// run in memory. The quick checker may answer Clean only where this reads everything and shows
// nothing.
#include <QByteArray>
#include <QStringList>
#include <string>

namespace zov::test {

struct FullCheck {
    bool read = false;   // the reader took the whole input
    QStringList shown;   // every box, "TITLE: TEXT"; an escaped failure as "escaped: ..."
    bool silentRead() const { return read && shown.isEmpty(); }
};

FullCheck RunFullCheck(const QByteArray& bytes);
bool QuickClean(const QByteArray& bytes);

} // namespace zov::test
