#pragma once
// Runs the built `zovedit` in a temporary working folder: arguments, standard input, exit code,
// standard output and the lines of standard error.
#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <ostream>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) { *out << '{' << list.join(", ").toStdString() << '}'; }

namespace zov::test {

struct ProgramRun {
    int exitCode = -1; // -1: did not finish or crashed
    QByteArray out;
    QByteArray err;
    QStringList errLines() const {
        QStringList lines = QString::fromUtf8(err).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid() && runtimeDir.isValid());
        ASSERT_TRUE(QFile::exists(programPath())) << programPath().toStdString();
    }

    QString path(const QString& name) const { return QDir::isAbsolutePath(name) ? name : dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    // Runs the program offscreen with a runtime folder of its own (which keeps Qt from warning)
    // unless `environment` is given; `inChild` runs in the new process before the program (to
    // set limits).
    ProgramRun zovedit(const QStringList& args, const QByteArray& input = {},
                       std::optional<QProcessEnvironment> environment = std::nullopt,
                       const std::function<void()>& inChild = {}) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        QProcess process;
        process.setProcessEnvironment(environment.value_or(env));
        process.setWorkingDirectory(dir.path());
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(programPath(), args);
        ProgramRun run;
        if (!process.waitForStarted(30000))
            return run;
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(240000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return run;
    }

    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
};

} // namespace zov::test
