#include "platform/RemovedOnInterrupt.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace zov::platform {

namespace {

// A slot is free, being filled or withdrawn (the handler passes it over), or ready.
enum SlotState : int { Free = 0, Busy = 1, Ready = 2 };

struct Slot {
    std::atomic<int> state{Free};
    bool folder = false;
    char path[PATH_MAX + 1];
};

Slot slots[RemovedOnInterrupt::MaxFiles];
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Only what a signal handler may call: unlink, rmdir, sigaction, raise.
void RemoveAndEnd(int signal) {
    for (Slot& slot : slots)
        if (slot.state.load(std::memory_order_acquire) == Ready)
            slot.folder ? ::rmdir(slot.path) : ::unlink(slot.path);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

// Looked at on every registration, so that a signal set back to its default since is covered
// again. An ignored signal and someone else's handler are left as they are.
void InstallHandlers() {
    for (const int signal : Signals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL)
            continue;
        struct sigaction handler {};
        handler.sa_handler = RemoveAndEnd;
        sigemptyset(&handler.sa_mask);
        for (const int other : Signals)
            sigaddset(&handler.sa_mask, other);
        ::sigaction(signal, &handler, nullptr);
    }
}

} // namespace

RemovedOnInterrupt::RemovedOnInterrupt(const QByteArray& path, Kind kind) {
    if (path.isEmpty() || path.size() > PATH_MAX)
        return;
    InstallHandlers();
    for (int i = 0; i < MaxFiles; ++i) {
        int expected = Free;
        if (!slots[i].state.compare_exchange_strong(expected, Busy, std::memory_order_acquire))
            continue;
        slots[i].folder = kind == Kind::EmptyFolder;
        std::memcpy(slots[i].path, path.constData(), static_cast<std::size_t>(path.size()));
        slots[i].path[path.size()] = '\0';
        slots[i].state.store(Ready, std::memory_order_release);
        slot_ = i;
        return;
    }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
    if (slot_ >= 0)
        slots[slot_].state.store(Free, std::memory_order_release);
}

InterruptsHeld::InterruptsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : Signals)
        sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

InterruptsHeld::~InterruptsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

} // namespace zov::platform
