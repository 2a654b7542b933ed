#include "platform/HiddenFileName.h"

#include <QCryptographicHash>

namespace zov::platform {

QByteArray HiddenNameBeside(const QByteArray& name, const QByteArray& suffix)
{
    QByteArray hidden = '.' + name + suffix;
    if (hidden.size() <= MaxFileNameBytes)
        return hidden;
    const QByteArray hash = '~' + QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(12);
    qsizetype kept = MaxFileNameBytes - 1 - hash.size() - suffix.size();
    // Not inside a character of UTF-8: its continuation bytes are 10xxxxxx.
    while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    return '.' + name.left(kept) + hash + suffix;
}

} // namespace zov::platform
