#include "app/document/DocumentStore.h"

#include "app/document/DocumentLock.h"
#include "host/pptx/PptxFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <chrono>
#include <utility>

namespace zov::app {

namespace {

// How long a save waits for a command that is changing the same file.
constexpr std::chrono::seconds LockWait{10};

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

// The digest of a file's bytes, read a piece at a time; empty when it cannot be read.
QByteArray digestOfFile(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

} // namespace

void PptxDocumentStore::remember(const QString& absolutePath, const Version& version)
{
    const QMutexLocker locker(&mutex_);
    versions_.insert(absolutePath, version);
}

std::optional<PptxDocumentStore::Version> PptxDocumentStore::remembered(const QString& absolutePath) const
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
    const QByteArray digest = digestOf(bytes);
    host::Presentation presentation = host::readPresentation(std::move(bytes), absolute); // they go once unpacked
    presentation.SetSaved(true);
    remember(absolute, {stamp, digest});
    return presentation;
}

void PptxDocumentStore::write(const host::Presentation& presentation, const QString& path,
                              const std::function<void()>& waiting, Replace replace)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DocumentLock lock(absolute);
    QString held;
    if (!lock.acquire(LockWait, held, waiting))
        throw host::PptxError(held);
    // A file this store never saw is new or chosen in Save As: replacing it is what was asked.
    std::optional<platform::FileStamp> known;
    if (const std::optional<Version> version = remembered(absolute); version && replace == Replace::SameVersionOnly) {
        known = version->stamp;
        // Only touched (the same bytes under a new stamp): still the version read. Checked
        // under the lock, and the save checks the new stamp again before it replaces the file.
        const platform::FileStamp now = platform::StampOf(absolute);
        if (now != *known && now.exists && digestOfFile(absolute) == version->digest)
            known = now;
    }
    QByteArray written;
    try {
        written = host::savePresentation(presentation, path, known);
    } catch (const host::PptxError& error) {
        if (known && platform::StampOf(absolute) != *known)
            throw host::PptxError(error.message() + QStringLiteral(". Save under another name to keep your changes."),
                                  absolute, error.reason());
        throw;
    }
    remember(absolute, {platform::StampOf(absolute), digestOf(written)});
}

std::optional<platform::FileStamp> PptxDocumentStore::changedElsewhere(const QString& path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const std::optional<Version> version = remembered(absolute);
    if (!version)
        return std::nullopt;
    const platform::FileStamp now = platform::StampOf(absolute);
    // Touched, or copied back by a sync tool, with the same bytes: still the version known.
    if (!now.exists || now == version->stamp || digestOfFile(absolute) == version->digest)
        return std::nullopt;
    return now;
}

} // namespace zov::app
