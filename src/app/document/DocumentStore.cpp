#include "app/document/DocumentStore.h"

#include "app/document/DocumentLock.h"
#include "host/pptx/PptxFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <chrono>
#include <utility>

namespace zov::app {

namespace {

// How long a save waits for a command that is changing the same file.
constexpr std::chrono::seconds LockWait{10};

} // namespace

void PptxDocumentStore::remember(const QString& absolutePath, const platform::FileStamp& stamp)
{
    const QMutexLocker locker(&mutex_);
    versions_.insert(absolutePath, stamp);
}

std::optional<platform::FileStamp> PptxDocumentStore::remembered(const QString& absolutePath) const
{
    const QMutexLocker locker(&mutex_);
    const auto found = versions_.constFind(absolutePath);
    if (found == versions_.constEnd())
        return std::nullopt;
    return *found;
}

host::Presentation PptxDocumentStore::read(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // The stamp is taken before the bytes: a change while reading makes a later save refuse
    // rather than overwrite it.
    const platform::FileStamp stamp = platform::StampOf(absolute);
    QFile file(absolute);
    if (!file.open(QIODevice::ReadOnly))
        throw host::PptxError(QStringLiteral("Cannot open \"%1\": %2").arg(absolute, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw host::PptxError(QStringLiteral("Cannot open \"%1\": %2").arg(absolute, file.errorString()));
    host::Presentation presentation = host::readPresentation(std::move(bytes), absolute); // they go once unpacked
    presentation.SetSaved(true);
    remember(absolute, stamp);
    return presentation;
}

void PptxDocumentStore::write(const host::Presentation& presentation, const QString& path,
                              const std::function<void()>& waiting)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DocumentLock lock(absolute);
    QString held;
    if (!lock.acquire(LockWait, held, waiting))
        throw host::PptxError(held);
    const std::optional<platform::FileStamp> known = remembered(absolute);
    // A file this store never saw is new or chosen in Save As: replacing it is what was asked.
    try {
        host::savePresentation(presentation, path, known);
    } catch (const host::PptxError& error) {
        if (known && platform::StampOf(absolute) != *known)
            throw host::PptxError(error.message() + QStringLiteral(". Save under another name to keep your changes."),
                                  absolute, error.reason());
        throw;
    }
    remember(absolute, platform::StampOf(absolute));
}

} // namespace zov::app
