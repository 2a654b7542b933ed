#include "app/document/DocumentLock.h"

#include <QFile>
#include <QFileInfo>

namespace zov::app {

QString DocumentLock::lockPathOf(const QString& documentPath)
{
    const QFileInfo info(documentPath);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

DocumentLock::DocumentLock(const QString& documentPath)
    : document_(QFileInfo(documentPath).absoluteFilePath()),
      lock_(std::make_unique<QLockFile>(lockPathOf(documentPath)))
{
    // Only a lock whose process has ended is stale, however long the other one works.
    lock_->setStaleLockTime(0);
}

bool DocumentLock::acquire(std::chrono::milliseconds wait, QString& problem, const std::function<void()>& waiting)
{
    bool locked = lock_->tryLock(0);
    if (!locked && lock_->error() == QLockFile::LockFailedError && wait.count() > 0) {
        if (waiting)
            waiting();
        locked = lock_->tryLock(wait);
    }
    if (locked) {
        interruptCleanup_.emplace(QFile::encodeName(lockPathOf(document_)));
        return true;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, application;
        lock_->getLockInfo(&pid, &host, &application);
        problem = QStringLiteral("Cannot change \"%1\": another program (process %2) is changing it; try again when it is done")
                      .arg(document_)
                      .arg(pid);
    } else {
        // The user can do nothing about the lock itself, only save elsewhere.
        const QString reason = lock_->error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                                            : QStringLiteral("the folder takes no new files");
        problem = QStringLiteral("Cannot change \"%1\": its lock file \"%2\" cannot be made in that folder (%3); "
                                 "save it in another folder")
                      .arg(document_, lockPathOf(document_), reason);
    }
    return false;
}

} // namespace zov::app
