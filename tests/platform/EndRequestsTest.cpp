// A request to end the program from outside is heard in the event loop, where the program can
// still do its last work (the editor copies unsaved work), and the program then ends by that
// signal; a signal it was started to ignore changes nothing. Each case runs in a child process.
#include "platform/EndRequests.h"
#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/wait.h>

namespace zov::platform {
namespace {

// Runs an event loop in a forked process that raises `signal` once it runs; what the program
// heard goes into `heardFile`. Returns the child's wait status.
int RunAndSignal(int signal, const QString& heardFile, bool ignoredAtStart) {
    return test::RunInChild([&] {
        int argc = 1;
        char name[] = "end-requests";
        char* argv[] = {name, nullptr};
        QCoreApplication application(argc, argv);
        if (ignoredAtStart)
            std::signal(signal, SIG_IGN);
        EndRequests requests([&](int heard) {
            QFile file(heardFile);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(heard));
            file.close();
            EndRequests::EndAsSignalled(heard);
        });
        QTimer::singleShot(0, [signal] { ::raise(signal); });
        QTimer::singleShot(2000, [] { QCoreApplication::exit(7); }); // nothing heard: ends itself
        ::_exit(application.exec());
    });
}

TEST(EndRequests, TheSignalIsHeardInTheEventLoopAndThenEndsTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        const QString heard = dir.filePath(QStringLiteral("heard-%1").arg(signal));
        const int status = RunAndSignal(signal, heard, false);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal << ", status " << status;
        QFile file(heard);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "signal " << signal << " was not heard";
        EXPECT_EQ(file.readAll().toInt(), signal);
    }
    // Started under nohup: the hang-up is neither heard nor ends the program.
    const QString heard = dir.filePath(QStringLiteral("heard-ignored"));
    const int status = RunAndSignal(SIGHUP, heard, true);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << status;
    EXPECT_FALSE(QFile::exists(heard));
}

} // namespace
} // namespace zov::platform
