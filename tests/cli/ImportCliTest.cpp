// `zovedit import` and `zovedit check` without a runtime folder, and on every corpus file (their
// other command lines are cases in tests/cases/cli).
#include "ProgramTest.h"

#include <QRegularExpression>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zov::test {
namespace {

const QByteArray CatOnMat = "[Cat: *x]\n(On ?x [Mat ;300@50;])\n";
const QByteArray StopsInSecondGraph = ";%Graph*first%; [A]\n.\n(On)\n.\n[B]\n";

using ImportCliTest = ProgramTest;

// Cron jobs and some CI run without XDG_RUNTIME_DIR: standard error still holds only the
// message lines, and the private runtime folder made for the run is gone afterwards.
TEST_F(ImportCliTest, WithoutARuntimeFolderStandardErrorHoldsOnlyTheMessages) {
    write("cat.cgf", CatOnMat);
    write("bad.cgf", StopsInSecondGraph);
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.remove("QT_QPA_PLATFORM");
    env.insert("TMPDIR", temp.path());
    const std::tuple<QStringList, int, QByteArray> cases[] = {
        {{"check", "cat.cgf"}, 0, "ZOVEdit: File read\n"},
        {{"import", "cat.cgf"}, 0, "ZOVEdit: File read\n"},
        {{"import", "bad.cgf"}, 1,
         "Error: Relation with no concepts (at )\nZOVEdit: \"bad.pptx\" was written with the 1 graph drawn before the reading stopped\n"},
    };
    for (const auto& [args, exitCode, err] : cases) {
        const ProgramRun run = zovedit(args, {}, env);
        EXPECT_EQ(run.exitCode, exitCode) << args.join(' ').toStdString();
        EXPECT_EQ(run.err, err);
    }
    const QDir tempDir(temp.path());
    EXPECT_TRUE(tempDir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));

    // A run ended by a signal (a script's timeout, Ctrl-C) takes its runtime folder away too:
    // the import waits for standard input once the folder is made, and is ended there.
    QProcess waiting;
    waiting.setProcessEnvironment(env);
    waiting.setWorkingDirectory(dir.path());
    waiting.start(programPath(), {QStringLiteral("import"), QStringLiteral("-"), QStringLiteral("-o"), QStringLiteral("in.pptx")});
    ASSERT_TRUE(waiting.waitForStarted(30000));
    for (int tries = 0; tries < 1000 && tempDir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(tempDir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    waiting.terminate(); // SIGTERM
    ASSERT_TRUE(waiting.waitForFinished(30000));
    EXPECT_EQ(waiting.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(tempDir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << tempDir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(u' ').toStdString();
}

// The editor started where there is no screen (an ssh session, a cron job) says so, instead of
// letting the windowing library end the program; after "--" a file named like an option is one
// to open.
TEST_F(ImportCliTest, TheEditorWithoutADisplaySaysSo) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("deck.pptx")},
                                    QStringList{QStringLiteral("--"), QStringLiteral("-deck.pptx")}}) {
        const ProgramRun run = zovedit(args, {}, env);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(run.err, QByteArray("zovedit: no display to open the editor on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                                      "import, check, export, arrange and render need none\n"));
    }
}

// A presentation sent to standard output: never onto a terminal, and a device that takes
// nothing is named for what it is.
TEST_F(ImportCliTest, APresentationOnStandardOutputNeedsSomewhereToGo) {
    write("cat.cgf", CatOnMat);
    const auto onTerminal = [] {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) {
            const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
            if (terminal >= 0)
                ::dup2(terminal, STDOUT_FILENO);
        }
    };
    const ProgramRun shown = zovedit({"import", "cat.cgf", "-o", "-"}, {}, std::nullopt, onTerminal);
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_EQ(shown.err, QByteArray("Error: Cannot write a presentation to the terminal: send standard output to a file "
                                    "or a program, or name the file with -o\n"));
    const auto onFullDevice = [] {
        const int full = ::open("/dev/full", O_WRONLY);
        if (full >= 0)
            ::dup2(full, STDOUT_FILENO);
    };
    const ProgramRun full = zovedit({"import", "cat.cgf", "-o", "-"}, {}, std::nullopt, onFullDevice);
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_TRUE(full.err.endsWith("Error: Cannot save to standard output: No space left on device\n")) << full.err.constData();
}

// A drive with no room left: the lock that guards a change of the deck cannot be made, and the
// message says why and what to do, instead of blaming the folder. Needs the right to mount a
// small memory drive (the superuser's); left out elsewhere.
TEST_F(ImportCliTest, ADriveWithNoRoomKeepsTheDeckAndSaysWhy) {
    write("cat.cgf", CatOnMat);
    ASSERT_EQ(zovedit({"import", "cat.cgf", "-o", "deck.pptx"}).exitCode, 0);
    const QString drive = path(QStringLiteral("drive"));
    ASSERT_TRUE(QDir().mkpath(drive));
    if (::mount("tmpfs", QFile::encodeName(drive).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a memory drive here";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(drive)};
    const QByteArray before = readFile(QStringLiteral("deck.pptx"));
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("deck.pptx")), drive + QStringLiteral("/deck.pptx")));
    {
        QFile filler(drive + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const ProgramRun run = zovedit({"import", "cat.cgf", "--into", drive + QStringLiteral("/deck.pptx")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("(no space is left on its drive); make room on the drive or save it in another folder"))
        << run.err.constData();
    QFile deck(drive + QStringLiteral("/deck.pptx"));
    ASSERT_TRUE(deck.open(QIODevice::ReadOnly));
    EXPECT_EQ(deck.readAll(), before);
}

// A named pipe (a script's process substitution, mkfifo) is read once, by whichever program
// answers: the launcher must not open it to look and so take what its writer sends.
TEST_F(ImportCliTest, ANamedPipeIsReadWhole) {
    for (const char* command : {"check", "import"}) {
        const QString fifo = path(QStringLiteral("pipe.cgf"));
        QFile::remove(fifo);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // The writer waits (at most 20 s) for a reader, sends the graph and closes.
        std::thread writer([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            int fd = -1;
            while (fd < 0 && std::chrono::steady_clock::now() < deadline) {
                fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd < 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            if (fd >= 0) {
                ::fcntl(fd, F_SETFL, 0);
                EXPECT_EQ(::write(fd, CatOnMat.constData(), static_cast<size_t>(CatOnMat.size())), CatOnMat.size());
                ::close(fd);
            }
        });
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        QStringList args{QString::fromLatin1(command), fifo};
        if (std::string_view(command) == "import")
            args << QStringLiteral("-o") << path(QStringLiteral("piped.pptx"));
        process.start(programPath(), args);
        const bool finished = process.waitForFinished(30000);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        writer.join();
        EXPECT_TRUE(finished) << command << ": still waiting for the pipe";
        EXPECT_EQ(process.exitCode(), 0) << command;
        EXPECT_EQ(process.readAllStandardError(), QByteArray("ZOVEdit: File read\n")) << command;
    }
    EXPECT_TRUE(readFile(QStringLiteral("piped.pptx")).startsWith("PK"));
}

// A signed deck keeps its signature part, which no longer matches once the deck changes: an
// import into it says so; an arrange that changes nothing writes the same parts, and says nothing.
TEST_F(ImportCliTest, AChangedSignedDeckIsSaidToNoLongerMatchItsSignature) {
    QFile signedDeck(QDir(pptxCorpusDir()).filePath(QStringLiteral("apache-tika__testPPT_signed.pptx")));
    if (!signedDeck.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no signed deck in the corpus at " << pptxCorpusDir().toStdString();
    write(QStringLiteral("signed.pptx"), signedDeck.readAll());
    write(QStringLiteral("cat.cgf"), CatOnMat);
    const ProgramRun arranged = zovedit({"arrange", path(QStringLiteral("signed.pptx")), "-o", path(QStringLiteral("same.pptx"))});
    EXPECT_EQ(arranged.exitCode, 0) << arranged.err.toStdString();
    EXPECT_FALSE(arranged.err.contains("signed")) << arranged.err.toStdString();
    const ProgramRun imported = zovedit({"import", path(QStringLiteral("cat.cgf")), "--into", path(QStringLiteral("signed.pptx"))});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.errLines().contains(QStringLiteral("ZOVEdit: \"%1\" was digitally signed: its signature was kept, but it "
                                                            "no longer matches the changed presentation, which presentation "
                                                            "programs will say")
                                                 .arg(path(QStringLiteral("signed.pptx")))))
        << imported.err.toStdString();
}

TEST_F(ImportCliTest, EveryCorpusFileChecksWithoutCrashAndAsItImports) {
    const QDir corpus(cgifCorpusDir());
    const QStringList names = corpus.entryList({"*.cgf"}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        GTEST_SKIP() << "no CGIF corpus at " << corpus.path().toStdString();
    // Each file whole, and its first half, which mostly stops at an error.
    QStringList inputs;
    for (const QString& name : names) {
        inputs << corpus.filePath(name);
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        write(QStringLiteral("half-") + name, text.left(text.size() / 2));
        inputs << path(QStringLiteral("half-") + name);
    }
    const QRegularExpression messageLine("^(Error|ZOVEdit): \\S.*$");
    int readWhole = 0;
    for (const QString& input : inputs) {
        const QString name = QFileInfo(input).fileName();
        const ProgramRun checked = zovedit({"check", input});
        ASSERT_TRUE(checked.exitCode == 0 || checked.exitCode == 1)
            << name.toStdString() << " exit " << checked.exitCode << ": " << checked.err.toStdString();
        EXPECT_TRUE(checked.out.isEmpty()) << name.toStdString();
        ASSERT_FALSE(checked.errLines().isEmpty()) << name.toStdString();
        for (const QString& line : checked.errLines())
            EXPECT_TRUE(messageLine.match(line).hasMatch()) << name.toStdString() << ": " << line.toStdString();
        EXPECT_EQ(checked.errLines().last() == "ZOVEdit: File read", checked.exitCode == 0) << name.toStdString();
        readWhole += checked.exitCode == 0 ? 1 : 0;

        // The import says what the check says; one that stops at an error also says that it
        // wrote nothing (and leaves no file), or how many graphs it wrote before the error.
        const ProgramRun imported = zovedit({"import", input, "-o", "corpus.pptx"});
        EXPECT_EQ(imported.exitCode, checked.exitCode) << name.toStdString();
        QStringList expected = checked.errLines();
        const QString nothingWritten = QStringLiteral("ZOVEdit: No graph drawn, so \"corpus.pptx\" was not written");
        const QString last = imported.errLines().isEmpty() ? QString() : imported.errLines().last();
        const bool drewNothing = last == nothingWritten;
        const bool wrotePart = checked.exitCode == 1 &&
                               QRegularExpression(QStringLiteral("^ZOVEdit: \"corpus\\.pptx\" was written with the (1 graph|\\d+ "
                                                                 "graphs) drawn before the reading stopped$"))
                                   .match(last)
                                   .hasMatch();
        if (drewNothing || wrotePart)
            expected << last;
        EXPECT_TRUE(!drewNothing || imported.exitCode == 1) << name.toStdString();
        // Besides, the import tells how arranging the graphs without positions went, which a
        // check, drawing nothing, cannot know.
        QStringList said = imported.errLines();
        said.removeIf([](const QString& line) {
            return line.startsWith(QLatin1String("ZOVEdit: The graph on slide ")) ||
                   line.startsWith(QLatin1String("Error: Cannot arrange slide "));
        });
        EXPECT_EQ(said, expected) << name.toStdString();
        EXPECT_EQ(QFile::remove(path("corpus.pptx")), !drewNothing) << name.toStdString();
    }
    EXPECT_GT(readWhole, 0) << "some corpus files read whole";
    EXPECT_LT(readWhole, inputs.size()) << "some files stop at an error";
}

} // namespace
} // namespace zov::test
