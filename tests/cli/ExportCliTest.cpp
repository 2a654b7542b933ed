// `zovedit export` run as a program: files, standard output, messages on standard error and
// exit codes; and a presentation saved again by LibreOffice Impress exporting to the same text.
#include "cgif_export/GraphSlides.h"
#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zov::test {
namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray WorkedExample = ";%Graph*G1%;\r\n"
                                 "[Cat*x1;100@50;\r\n"
                                 "][Mat*x2;300@50;\r\n"
                                 "](On?x1?x2;200@150;\r\n"
                                 ")\r\n";

class ExportCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::exists(programPath())) << programPath().toStdString();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    ProgramRun zovedit(const QStringList& args, const QByteArray& input = {}) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path()); // keeps Qt from warning
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(programPath(), QStringList{QStringLiteral("export")} + args);
        ProgramRun run;
        if (!process.waitForStarted(30000))
            return run;
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    // The worked example graph, and optionally a second slide whose relation has no out-arc.
    QString saveWorkedExample(const QString& name, bool withBrokenSlide = false) {
        GraphSlides g;
        g.addSlide(QStringLiteral("G1"));
        const host::Shape cat = g.conceptNode(QStringLiteral("x1/QKXBAMEW"), QStringLiteral("Cat"), 100, 50);
        const host::Shape mat = g.conceptNode(QStringLiteral("x2/PLMOKNIJ"), QStringLiteral("Mat"), 300, 50);
        const host::Shape on = g.relation(QStringLiteral("RONRONRO"), QStringLiteral("On"), 200, 150);
        g.arc(cat, on);
        g.arc(on, mat);
        if (withBrokenSlide) {
            g.addSlide(QStringLiteral("G2"));
            const host::Shape r = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("Owns"), 10, 10);
            g.arc(g.conceptNode(QStringLiteral("/AAAAAAAA"), QStringLiteral("A")), r);
        }
        const QString file = path(name);
        host::savePresentation(g.presentation(), file);
        return file;
    }

    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
};

TEST_F(ExportCliTest, WritesBesideTheInputOrWhereToldAndConfirmsOnStandardError) {
    saveWorkedExample(QStringLiteral("graphs.pptx"));
    const ProgramRun beside = zovedit({QStringLiteral("graphs.pptx")});
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("graphs.cgf")), WorkedExample);
    EXPECT_EQ(beside.err, QByteArray("ZOVEdit: File written\n"));
    EXPECT_TRUE(beside.out.isEmpty());

    const ProgramRun named = zovedit({QStringLiteral("graphs.pptx"), QStringLiteral("-o"), QStringLiteral("other.txt")});
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_EQ(readFile(QStringLiteral("other.txt")), WorkedExample);
}

TEST_F(ExportCliTest, DashWritesStandardOutputAndReadsStandardInput) {
    const QString file = saveWorkedExample(QStringLiteral("graphs.pptx"));
    const ProgramRun toStdout = zovedit({QStringLiteral("graphs.pptx"), QStringLiteral("-o"), QStringLiteral("-")});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(toStdout.out, WorkedExample);
    EXPECT_EQ(toStdout.err, QByteArray("ZOVEdit: File written\n"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("graphs.cgf"))));

    QFile pptx(file);
    ASSERT_TRUE(pptx.open(QIODevice::ReadOnly));
    const ProgramRun fromStdin = zovedit({QStringLiteral("-")}, pptx.readAll());
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err.toStdString();
    EXPECT_EQ(fromStdin.out, WorkedExample);
}

TEST_F(ExportCliTest, MissingOutArcIsReportedAndTheOtherGraphsAreStillWritten) {
    saveWorkedExample(QStringLiteral("graphs.pptx"), true);
    const ProgramRun run = zovedit({QStringLiteral("graphs.pptx"), QStringLiteral("-o"), QStringLiteral("-")});
    EXPECT_EQ(run.exitCode, 0);
    // A has no coreference label, so its second mention makes one up.
    EXPECT_EQ(run.out.toStdString(),
              (WorkedExample + " \r\n. \r\n;%Graph*G2%;\r\n[A*c1;0@0;\r\n](Owns?c1").toStdString());
    EXPECT_EQ(run.err, QByteArray("Error: No out arcs for Owns!\nZOVEdit: File written\n"));
}

TEST_F(ExportCliTest, NoGraphLeavesAnEmptyFileAndExitsOne) {
    GraphSlides g;
    g.addSlide(QStringLiteral("G1"));
    g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("lonely"));
    host::savePresentation(g.presentation(), path(QStringLiteral("empty.pptx")));
    {
        QFile old(path(QStringLiteral("empty.cgf")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older export");
    }
    const ProgramRun run = zovedit({QStringLiteral("empty.pptx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("empty.cgf"))));
    EXPECT_EQ(readFile(QStringLiteral("empty.cgf")), QByteArray());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(ExportCliTest, FileErrorsExitTwoNamingTheFile) {
    {
        QFile bad(path(QStringLiteral("bad.pptx")));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("[Cat] is not a presentation");
    }
    const ProgramRun notZip = zovedit({QStringLiteral("bad.pptx")});
    EXPECT_EQ(notZip.exitCode, 2);
    EXPECT_TRUE(notZip.err.startsWith("Error: ")) << notZip.err.toStdString();
    EXPECT_TRUE(notZip.err.contains("bad.pptx")) << notZip.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("bad.cgf"))));

    const ProgramRun missing = zovedit({QStringLiteral("nowhere.pptx")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("nowhere.pptx")) << missing.err.toStdString();

    saveWorkedExample(QStringLiteral("graphs.pptx"));
    const ProgramRun cannotCreate =
        zovedit({QStringLiteral("graphs.pptx"), QStringLiteral("-o"), QStringLiteral("no/such/folder/out.cgf")});
    EXPECT_EQ(cannotCreate.exitCode, 2);
    EXPECT_TRUE(cannotCreate.err.startsWith("Error: ")) << cannotCreate.err.toStdString();
    EXPECT_TRUE(cannotCreate.err.contains("no/such/folder/out.cgf")) << cannotCreate.err.toStdString();
}

TEST_F(ExportCliTest, UsageErrorsExitTwo) {
    saveWorkedExample(QStringLiteral("graphs.pptx"));
    const QList<QStringList> wrong = {
        {},
        {QStringLiteral("graphs.pptx"), QStringLiteral("-o")},
        {QStringLiteral("graphs.pptx"), QStringLiteral("--into"), QStringLiteral("x.pptx")},
        {QStringLiteral("graphs.pptx"), QStringLiteral("second.pptx")},
        {QStringLiteral("graphs.pptx"), QStringLiteral("-o"), QStringLiteral("graphs.pptx")},
    };
    for (const QStringList& args : wrong) {
        const ProgramRun run = zovedit(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("zovedit export: ")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("graphs.cgf"))));
    EXPECT_TRUE(host::readPresentation(readFile(QStringLiteral("graphs.pptx")), QStringLiteral("graphs.pptx"))
                    .Slides()
                    .Count() == 1);
}

} // namespace
} // namespace zov::test
