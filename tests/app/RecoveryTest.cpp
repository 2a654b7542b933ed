// Unsaved work kept while the editor runs and offered back after an editor that did not end
// properly: the folder of copies, and the window that keeps them and offers them.
#include "DesktopFixture.h"
#include "app/document/RecoveryFolder.h"
#include "host/pptx/PptxFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStatusBar>
#include <QTextEdit>
#include <QThread>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace zov::test {
namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Copies left as an editor of process `pid` would have left them.
void leaveCopy(const QString& folder, qint64 pid, const QByteArray& pptx, const QString& source) {
    QDir().mkpath(folder);
    writeFile(QDir(folder).filePath(QStringLiteral("%1.pptx").arg(pid)), pptx);
    writeFile(QDir(folder).filePath(QStringLiteral("%1.txt").arg(pid)), source.toUtf8());
}

TEST(RecoveryFolder, CopiesOfGoneProcessesAreFoundRestoredBesideTheirFileAndThrownAway) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("recovery"));
    app::RecoveryFolder recovery(folder);
    const auto none = [](qint64) { return false; };

    // This process's own copy is never "left behind"; Drop takes it away.
    ASSERT_TRUE(recovery.Keep("mine", QStringLiteral("/x/talk.pptx")));
    EXPECT_TRUE(recovery.LeftBehind(none).empty());
    recovery.Drop();
    EXPECT_TRUE(QDir(folder).isEmpty());

    const QString talk = QDir(dir.path()).filePath(QStringLiteral("talk.pptx"));
    writeFile(talk, "saved");
    leaveCopy(folder, 900001, "unsaved talk", talk);
    leaveCopy(folder, 900002, "never saved", QString());
    writeFile(QDir(folder).filePath(QStringLiteral("notes.pptx")), "not a copy"); // no process id: passed over
    EXPECT_TRUE(recovery.LeftBehind([](qint64) { return true; }).empty()) << "their editors still run";
    std::vector<app::RecoveryFolder::Left> left = recovery.LeftBehind(none);
    ASSERT_EQ(left.size(), 2u);
    std::sort(left.begin(), left.end(), [](const auto& a, const auto& b) { return a.copy < b.copy; });
    EXPECT_EQ(left[0].source, talk);
    EXPECT_TRUE(left[1].source.isEmpty());

    // Beside its file, under a name no file has; the work never saved goes to the fallback.
    writeFile(QDir(dir.path()).filePath(QStringLiteral("talk (recovered).pptx")), "an earlier one");
    QString problem;
    const QString restored = app::RecoveryFolder::Restore(left[0], dir.path(), problem);
    EXPECT_EQ(restored, QDir(dir.path()).filePath(QStringLiteral("talk (recovered 2).pptx"))) << problem.toStdString();
    EXPECT_EQ(contentOf(restored), QByteArray("unsaved talk"));
    EXPECT_EQ(contentOf(talk), QByteArray("saved"));
    const QString fallback = QDir(dir.path()).filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(fallback);
    EXPECT_EQ(app::RecoveryFolder::Restore(left[1], fallback, problem),
              QDir(fallback).filePath(QStringLiteral("Presentation (recovered).pptx")));
    // The work of a deck with macros (or a slide show, a template) keeps its kind's extension.
    EXPECT_EQ(app::RecoveryFolder::SaveRecovered("macros", QDir(dir.path()).filePath(QStringLiteral("lecture.pptm")),
                                                 fallback, problem),
              QDir(dir.path()).filePath(QStringLiteral("lecture (recovered).pptm")));
    EXPECT_EQ(recovery.LeftBehind(none).size(), 2u) << "a copy stays until it is thrown away";
    for (const auto& copy : recovery.LeftBehind(none))
        app::RecoveryFolder::Discard(copy);
    EXPECT_TRUE(recovery.LeftBehind(none).empty());
    EXPECT_TRUE(app::RecoveryFolder::ProcessAlive(QCoreApplication::applicationPid()));
}

// An editor counts as running only while a process of its id runs this program: not one that
// has ended and waits to be reaped (just after a crash), nor another program that took the id.
// Writes cut short by an editor that is gone leave a temporary copy or a source name without
// its copy: those go at the next start; a running editor's, and whole copies, stay.
TEST(RecoveryFolder, WritesCutShortByAGoneEditorAreTakenAway) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("recovery"));
    app::RecoveryFolder recovery(folder);
    QDir().mkpath(folder);
    const QDir at(folder);
    for (const char* name : {".900001.pptx~zovedit-AbCdEf", "900001.txt", ".900002.pptx~zovedit-XyZ123", "900002.txt", "900003.txt",
                             "900004.pptx", "900004.txt", "notes.txt", ".other~zovedit-123456"})
        writeFile(at.filePath(QLatin1String(name)), "x");
    recovery.RemoveLeftovers([](qint64 pid) { return pid == 900002; });
    QStringList left = at.entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left.join(u' ').toStdString(), ".900002.pptx~zovedit-XyZ123 .other~zovedit-123456 900002.txt 900004.pptx 900004.txt notes.txt");
    EXPECT_EQ(recovery.LeftBehind([](qint64) { return false; }).size(), 1u) << "the whole copy is still offered";
}

TEST(RecoveryFolder, OnlyARunningEditorKeepsItsCopyFromBeingOffered) {
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    EXPECT_FALSE(app::RecoveryFolder::ProcessAlive(other.processId())) << "another program with the id";
    other.kill();
    other.waitForFinished();

    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_GT(ended, 0);
    for (int i = 0; i < 100; ++i) { // until it has ended, not reaped
        QFile stat(QStringLiteral("/proc/%1/stat").arg(ended));
        if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z"))
            break;
        QThread::msleep(10);
    }
    EXPECT_FALSE(app::RecoveryFolder::ProcessAlive(ended)) << "ended, waiting to be reaped";
    ::waitpid(ended, nullptr, 0);
}

class RecoveryWindowTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        folder_ = QDir(folder.path()).filePath(QStringLiteral("recovery"));
        recovery_ = std::make_unique<app::RecoveryFolder>(folder_);
        window.reset();
        window = std::make_unique<app::MainWindow>(
            app::MainWindowServices{&application, &messages, &dialogs, &settings, store.get(), {}, recovery_.get()});
        window->show();
    }
    QString ownCopy() const { return QDir(folder_).filePath(QStringLiteral("%1.pptx").arg(QCoreApplication::applicationPid())); }

    QString folder_;
    std::unique_ptr<app::RecoveryFolder> recovery_;
};

// Unsaved work is kept (again only once it changed), and the copy goes once it is saved.
TEST_F(RecoveryWindowTest, UnsavedWorkIsKeptUntilItIsSaved) {
    window->keepUnsavedWork();
    EXPECT_FALSE(QFile::exists(ownCopy())) << "nothing unsaved yet";
    makeGraph();
    window->keepUnsavedWork();
    ASSERT_TRUE(QFile::exists(ownCopy()));
    const host::Presentation copy = host::readPresentation(contentOf(ownCopy()), ownCopy());
    EXPECT_EQ(copy.Slides().Item(1).Shapes().Count(), 3) << "the copy holds the graph drawn";

    // Back at the saved state there is nothing to keep; changed again, it is kept again.
    while (window->isWindowModified() && window->history()->canUndo())
        window->undo();
    ASSERT_FALSE(window->isWindowModified());
    window->keepUnsavedWork();
    EXPECT_FALSE(QFile::exists(ownCopy()));
    window->redo();
    settle();
    window->keepUnsavedWork();
    EXPECT_TRUE(QFile::exists(ownCopy()));

    ASSERT_TRUE(window->saveTo(folder.filePath(QStringLiteral("graph.pptx"))));
    EXPECT_FALSE(QFile::exists(ownCopy()));
}

// Ended from outside, the editor keeps all its work: a label being typed, and a change its
// window has not caught up with yet (a command's message box still open). Work the folder
// cannot take is saved beside its file instead; the minute's copy that fails says so.
TEST_F(RecoveryWindowTest, WorkIsKeptWhateverStateTheEditorIsEndedIn) {
    SampleGraph g = makeGraph();
    const QString talk = folder.filePath(QStringLiteral("talk.pptx"));
    ASSERT_TRUE(window->saveTo(talk));
    canvas().editText(g.cat);
    canvas().textEditor()->setPlainText(QStringLiteral("Dog"));
    window->keepUnsavedWork(true);
    ASSERT_TRUE(QFile::exists(ownCopy())) << "the label being typed is unsaved work";
    EXPECT_EQ(host::readPresentation(contentOf(ownCopy()), ownCopy()).Slides().Item(1).Shapes().Item(1).TextFrame().TextRange().Text(),
              QStringLiteral("Dog"));

    ASSERT_TRUE(window->saveTo(talk));
    ASSERT_FALSE(QFile::exists(ownCopy()));
    // A change made while a message box holds the window: no idle turn has synchronised it.
    window->presentation().Slides().Item(1).Shapes().AddShape(host::ShapeRectangle, 10, 10, 50, 50);
    window->keepUnsavedWork(true);
    ASSERT_TRUE(QFile::exists(ownCopy())) << "a change the window has not seen yet is unsaved work";
    EXPECT_EQ(host::readPresentation(contentOf(ownCopy()), ownCopy()).Slides().Item(1).Shapes().Count(), 4);

    // The recovery folder cannot be written (here a file stands in its place).
    window->syncWithDocument();
    ASSERT_TRUE(window->saveTo(talk));
    ASSERT_TRUE(QDir(folder_).removeRecursively());
    QFile blocker(folder_);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window->presentation().Slides().Item(1).Shapes().AddShape(host::ShapeOval, 60, 60, 50, 50);
    window->syncWithDocument();
    window->keepUnsavedWork();
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("Unsaved work could not be copied for recovery")))
        << window->statusBar()->currentMessage().toStdString();
    window->keepUnsavedWork(true);
    const QString beside = folder.filePath(QStringLiteral("talk (recovered).pptx"));
    ASSERT_TRUE(QFile::exists(beside)) << "the work is saved beside its file";
    EXPECT_EQ(host::readPresentation(contentOf(beside), beside).Slides().Item(1).Shapes().Count(), 5);
    EXPECT_EQ(host::readPresentation(contentOf(talk), talk).Slides().Item(1).Shapes().Count(), 4) << "the file stays as saved";
}

// At start, each copy a gone editor left is offered: Yes opens it as a file of its own beside
// the original, No throws it away, Cancel keeps it for the next start.
TEST_F(RecoveryWindowTest, WorkLeftByAGoneEditorIsOfferedBack) {
    makeGraph();
    const QString talk = folder.filePath(QStringLiteral("talk.pptx"));
    ASSERT_TRUE(window->saveTo(talk));
    const QByteArray work = contentOf(talk);
    leaveCopy(folder_, 999991, work, talk);

    messages.script(platform::MessageAnswer::Cancel);
    window->offerRecoveredWork();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("ZOVEdit did not end properly. Unsaved work from ")))
        << messages.shown()[0].text.toStdString();
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral(" on \"%1\" was kept.").arg(talk))) << messages.shown()[0].text.toStdString();
    EXPECT_EQ(recovery_->LeftBehind().size(), 1u) << "kept for the next start";

    messages.clear();
    messages.script(platform::MessageAnswer::Yes);
    window->offerRecoveredWork();
    const QString restored = folder.filePath(QStringLiteral("talk (recovered).pptx"));
    EXPECT_EQ(contentOf(restored), work);
    EXPECT_EQ(window->presentation().FullName(), QFileInfo(restored).absoluteFilePath());
    EXPECT_TRUE(recovery_->LeftBehind().empty());

    leaveCopy(folder_, 999992, work, QString());
    messages.clear();
    messages.script(platform::MessageAnswer::No);
    window->offerRecoveredWork();
    EXPECT_TRUE(recovery_->LeftBehind().empty());

    // A file named on the command line is the one to open: recovered work is saved beside its
    // original, and a message says where.
    leaveCopy(folder_, 999993, work, talk);
    messages.clear();
    messages.script(platform::MessageAnswer::Yes);
    window->offerRecoveredWork(false);
    const QString second = folder.filePath(QStringLiteral("talk (recovered 2).pptx"));
    EXPECT_EQ(contentOf(second), work);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("The kept work was saved as:\n%1\n\nOpen it with File > Open.").arg(second));
    EXPECT_EQ(window->presentation().FullName(), QFileInfo(restored).absoluteFilePath()) << "nothing else opened";
    EXPECT_TRUE(recovery_->LeftBehind().empty());

    // A damaged copy cannot be opened: it leaves no broken file beside the original, and stays
    // to be thrown away.
    leaveCopy(folder_, 999994, work.left(300), talk);
    messages.clear();
    messages.script(platform::MessageAnswer::Yes);
    window->offerRecoveredWork();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("talk (recovered 3).pptx"))));
    EXPECT_EQ(recovery_->LeftBehind().size(), 1u);
    EXPECT_EQ(window->presentation().FullName(), QFileInfo(restored).absoluteFilePath()) << "nothing else opened";
}

} // namespace
} // namespace zov::test
