#pragma once
// Files a run must not leave behind when it is interrupted: the temporary file a save is
// writing, the lock beside a document, the empty runtime folder a batch command makes for Qt.
// While a RemovedOnInterrupt lives, its file (or empty folder) is removed when the program gets
// SIGINT (Ctrl-C), SIGTERM (kill), SIGHUP (the terminal closed) or SIGPIPE (the reader of its
// output went away); the signal then ends the program as it would have. A signal the program
// was started to ignore (nohup) stays ignored. Nothing can be done for SIGKILL: a lock left that
// way is taken over later.
//
// At most MaxFiles at once (a run writes one file, holds one lock and one runtime folder); past
// that one is simply not covered.
#include <QByteArray>

#include <csignal>

namespace zov::platform {

class RemovedOnInterrupt {
public:
    static constexpr int MaxFiles = 8;
    enum class Kind { File, EmptyFolder };
    // `path` in the file system's encoding (QFile::encodeName).
    explicit RemovedOnInterrupt(const QByteArray& path, Kind kind = Kind::File);
    ~RemovedOnInterrupt();
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

    bool Covered() const { return slot_ >= 0; }

private:
    int slot_ = -1;
};

// Holds back those signals in the calling thread while it lives, so that a file
// made and then given its RemovedOnInterrupt within that time cannot be left behind by a
// signal that arrives in between: the signal is handled when this ends, with the file covered.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t previous_;
};

} // namespace zov::platform
