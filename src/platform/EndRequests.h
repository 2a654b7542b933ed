#pragma once
// A request to end the program from outside it (SIGTERM from a logout, a shutdown or kill;
// SIGHUP when its terminal closes; SIGINT, Ctrl-C there), taken in the event loop instead of
// ending the program at once: the desktop editor copies unsaved work first. The handler only
// notes the signal; `heard` then runs in the thread of the event loop, and EndAsSignalled ends
// the program as the signal would have.
//
// A signal the program was started to ignore (nohup) stays ignored. One EndRequests at a time.
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace zov::platform {

class EndRequests {
public:
    explicit EndRequests(std::function<void(int signal)> heard);
    ~EndRequests(); // the signals' defaults come back
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

    // Ends the program by `signal`, with its default action.
    [[noreturn]] static void EndAsSignalled(int signal);

private:
    std::function<void(int)> heard_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace zov::platform
