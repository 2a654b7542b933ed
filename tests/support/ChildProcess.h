#pragma once
// Runs a piece of a test in a forked process, for what ends a program (a signal) or changes its
// whole state (signal handlers): the test's own process goes on untouched.
#include <sys/wait.h>
#include <unistd.h>

namespace zov::test {

// Runs `child` in a forked process, which ends with status 0 when `child` returns; returns the
// process's wait status.
template <typename Child>
int RunInChild(Child child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        child();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace zov::test
