#pragma once
// An advisory lock beside a presentation, held while a command or the editor reads, changes
// and writes it back, so that two of them at once cannot each write over the other's changes.
// The lock is a small file ".NAME.lock" in the folder of the presentation itself, whatever link
// it was reached by (QLockFile): it names the process that holds it, and one left behind by a
// process that has ended is taken over.
#include "platform/RemovedOnInterrupt.h"

#include <QLockFile>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace zov::app {

class DocumentLock {
public:
    // A temporary file a save left beside the document is taken for abandoned after this long.
    static constexpr std::chrono::seconds AbandonedAfter{600};

    explicit DocumentLock(const QString& documentPath);
    // Waits up to `wait` for the lock. False when another process still holds it (or the lock
    // cannot be made), with `problem` set to a message naming the file and the reason.
    // `waiting`, when given, is told once before the wait starts, when another process holds
    // the lock at first, so that the caller can say why nothing happens meanwhile.
    bool acquire(std::chrono::milliseconds wait, QString& problem, const std::function<void()>& waiting = {});
    // The lock file that guards `documentPath`.
    static QString lockPathOf(const QString& documentPath);
    // What a status line says while the lock another program holds on `documentPath` is waited for.
    static QString waitStatus(const QString& documentPath);

private:
    // One try, with the lock file covered against Ctrl-C from the moment it is made.
    bool tryOnce();

    QString document_;
    std::unique_ptr<QLockFile> lock_;
    // Declared after the lock: withdrawn before the lock file is removed on unlocking.
    std::optional<platform::RemovedOnInterrupt> interruptCleanup_; // the lock goes on Ctrl-C too
};

} // namespace zov::app
