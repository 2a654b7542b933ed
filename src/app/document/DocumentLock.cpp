#include "app/document/DocumentLock.h"

#include "platform/HiddenFileName.h"
#include "platform/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <thread>

namespace zov::app {

QString DocumentLock::lockPathOf(const QString& documentPath)
{
    // The file itself, not the link that leads to it: two programs that reach one presentation
    // by different names take the same lock.
    const QFileInfo given(documentPath);
    const QString canonical = given.canonicalFilePath();
    const QFileInfo file(canonical.isEmpty() ? given.absoluteFilePath() : canonical);
    return file.absolutePath() + u'/' +
           QFile::decodeName(platform::HiddenNameBeside(QFile::encodeName(file.fileName()), QByteArrayLiteral(".lock")));
}

QString DocumentLock::waitStatus(const QString& documentPath)
{
    return QStringLiteral("Waiting for another program to finish with ") + QFileInfo(documentPath).fileName();
}

DocumentLock::DocumentLock(const QString& documentPath)
    : document_(QFileInfo(documentPath).absoluteFilePath()),
      lock_(std::make_unique<QLockFile>(lockPathOf(documentPath)))
{
    // Only a lock whose process has ended is stale, however long the other one works.
    lock_->setStaleLockTime(0);
}

bool DocumentLock::tryOnce()
{
    const platform::InterruptsHeld held;
    if (!lock_->tryLock(0))
        return false;
    interruptCleanup_.emplace(QFile::encodeName(lock_->fileName()));
    return true;
}

bool DocumentLock::acquire(std::chrono::milliseconds wait, QString& problem, const std::function<void()>& waiting)
{
    bool locked = tryOnce();
    if (!locked && lock_->error() == QLockFile::LockFailedError && wait.count() > 0) {
        if (waiting)
            waiting();
        // Tried again now and then rather than in one long wait, so that each try is covered.
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (!locked && lock_->error() == QLockFile::LockFailedError && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            locked = tryOnce();
        }
    }
    if (locked) {
        // Held now, so no save of this file by this program is under way: what a save killed
        // midway (SIGKILL, a power cut) left beside it goes, once it is old enough not to be
        // another program's write of the same name.
        platform::RemoveAbandonedTemporaries(document_, AbandonedAfter);
        return true;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, application;
        lock_->getLockInfo(&pid, &host, &application);
        problem = QStringLiteral("Cannot change \"%1\": another program (process %2) is changing it; try again when it is done")
                      .arg(document_)
                      .arg(pid);
    } else if (const QFileInfo folder(QFileInfo(document_).absolutePath()); !folder.isDir()) {
        // Moved, renamed or deleted since the file was opened (or a drive taken away), or a
        // folder that never was, typed into the Save As dialog.
        problem = QStringLiteral("Cannot save \"%1\": its folder \"%2\" does not exist; save it in another folder")
                      .arg(document_, folder.filePath());
    } else {
        // The user can do nothing about the lock itself, only save elsewhere (or make room).
        const QStorageInfo drive(folder.filePath());
        const bool full = lock_->error() != QLockFile::PermissionError && drive.bytesAvailable() == 0;
        // A drive mounted read-only refuses the lock as if permission were denied: the drive is named.
        const QString reason = drive.isValid() && drive.isReadOnly() ? QStringLiteral("its drive is read-only")
                               : lock_->error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                               : full ? QStringLiteral("no space is left on its drive")
                                      : QStringLiteral("the folder takes no new files");
        problem = QStringLiteral("Cannot change \"%1\": its lock file \"%2\" cannot be made in that folder (%3); %4")
                      .arg(document_, lock_->fileName(), reason,
                           full ? QStringLiteral("make room on the drive or save it in another folder")
                                : QStringLiteral("save it in another folder"));
    }
    return false;
}

} // namespace zov::app
