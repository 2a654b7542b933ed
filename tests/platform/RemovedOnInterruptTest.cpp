// An interrupted run takes away the files it registered and still ends by its signal; a file
// withdrawn before the signal stays, and a signal the program was started to ignore changes
// nothing. Each case runs in a child process, which the signal ends.
#include "platform/RemovedOnInterrupt.h"
#include "support/ChildProcess.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace zov::platform {
namespace {

bool MakeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

using test::RunInChild;

TEST(RemovedOnInterrupt, EachInterruptingSignalRemovesTheRegisteredFilesAndStillEndsTheRun) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        const QString temporary = dir.filePath(QStringLiteral(".out.pptx~abc"));
        const QString lock = dir.filePath(QStringLiteral(".out.pptx.lock"));
        const QString withdrawn = dir.filePath(QStringLiteral("withdrawn"));
        const QString runtime = dir.filePath(QStringLiteral("zovedit-runtime-abc"));
        ASSERT_TRUE(MakeFile(temporary) && MakeFile(lock) && MakeFile(withdrawn) && QDir().mkdir(runtime));
        const int status = RunInChild([&] {
            std::signal(signal, SIG_DFL);
            { RemovedOnInterrupt done(QFile::encodeName(withdrawn)); }
            RemovedOnInterrupt first(QFile::encodeName(temporary));
            RemovedOnInterrupt second(QFile::encodeName(lock));
            RemovedOnInterrupt folder(QFile::encodeName(runtime), RemovedOnInterrupt::Kind::EmptyFolder);
            ::raise(signal);
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal;
        EXPECT_FALSE(QFile::exists(temporary)) << "signal " << signal;
        EXPECT_FALSE(QFile::exists(lock)) << "signal " << signal;
        EXPECT_FALSE(QFileInfo::exists(runtime)) << "signal " << signal;
        EXPECT_TRUE(QFile::exists(withdrawn)) << "signal " << signal;
        QFile::remove(withdrawn);
    }
}

TEST(RemovedOnInterrupt, AnIgnoredSignalStaysIgnoredAndTheFilesStay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString temporary = dir.filePath(QStringLiteral(".out.pptx~def"));
    ASSERT_TRUE(MakeFile(temporary));
    const int status = RunInChild([&] {
        std::signal(SIGHUP, SIG_IGN); // as nohup starts a program
        RemovedOnInterrupt file(QFile::encodeName(temporary));
        ::raise(SIGHUP);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(QFile::exists(temporary));
}

} // namespace
} // namespace zov::platform
