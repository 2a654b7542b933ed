// Another program changing the open document's file is told at once: with nothing unsaved the
// changed version is offered, with unsaved changes the user is told that only Save As keeps them.
// The editor's own saves, and a file touched without a change, tell nothing.
#include "DesktopFixture.h"
#include "app/desktop/DocumentFileWatch.h"
#include "host/pptx/PptxFile.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QSignalSpy>
#include <QFile>
#include <QStatusBar>
#include <QTest>

namespace zov::test {
namespace {

using platform::MessageAnswer;

class ExternalChangeTest : public DesktopFixture {
protected:
    // Waits (processing events) until a message box has been shown, or a second has passed.
    bool messageShown(std::size_t count) {
        QDeadlineTimer deadline(1500);
        while (messages.shown().size() < count && !deadline.hasExpired())
            QTest::qWait(20);
        return messages.shown().size() >= count;
    }
    // Another program writes `slides` blank slides over `path`.
    static void writeElsewhere(const QString& path, int slides) {
        host::Application other;
        host::Presentation deck = other.Presentations().Add();
        for (int i = 1; i <= slides; ++i)
            deck.Slides().Add(i, host::LayoutBlank);
        host::savePresentation(deck, path + QStringLiteral(".other"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::rename(path + QStringLiteral(".other"), path)); // as many programs save
    }
};

TEST_F(ExternalChangeTest, AnotherProgramsVersionIsOfferedOrToldOnce) {
    makeGraph();
    const QString path = folder.filePath(QStringLiteral("talk.pptx"));
    ASSERT_TRUE(window->saveTo(path));
    settle();
    // The editor's own save, and a file touched with the same bytes, are no news.
    ASSERT_TRUE(window->saveTo(path));
    QFile touched(path);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    touched.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    touched.close();
    EXPECT_FALSE(messageShown(1)) << messages.shown().front().text.toStdString();

    // Nothing unsaved: the changed version is offered; No keeps the window as it is, once.
    writeElsewhere(path, 3);
    messages.script(MessageAnswer::No);
    ASSERT_TRUE(messageShown(1));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("\"talk.pptx\" was changed by another program. Open the changed version?"));
    EXPECT_EQ(window->presentation().Slides().Count(), 1);
    QTest::qWait(500);
    EXPECT_EQ(messages.shown().size(), 1u) << "the same version is told once";

    // Yes opens it.
    writeElsewhere(path, 4);
    messages.script(MessageAnswer::Yes);
    ASSERT_TRUE(messageShown(2));
    EXPECT_EQ(window->presentation().Slides().Count(), 4);

    // Unsaved changes here: the user is told, and the window keeps them.
    window->presentation().Slides().Add(1, host::LayoutBlank);
    window->syncWithDocument();
    writeElsewhere(path, 2);
    ASSERT_TRUE(messageShown(3));
    EXPECT_TRUE(messages.shown()[2].text.startsWith(
        QStringLiteral("\"talk.pptx\" was changed by another program. Your changes here are not saved")))
        << messages.shown()[2].text.toStdString();
    EXPECT_EQ(window->presentation().Slides().Count(), 5);

    // Moved away: the status line says that Save writes it again where it was.
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".moved")));
    QDeadlineTimer deadline(3000);
    while (!window->statusBar()->currentMessage().contains(QStringLiteral("moved or deleted")) && !deadline.hasExpired())
        QTest::qWait(20);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("\"talk.pptx\" was moved or deleted by another program: Save writes it again where it was, "
                             "Save As elsewhere"));
    EXPECT_EQ(messages.shown().size(), 3u) << "no box for it";
}

// A change while another box is open is told once the box closes; meanwhile the watch waits
// without turning over (it used to fire a timer of no delay until the box closed, a core's
// whole time, once a second change came more than 1.5 s after the first).
TEST_F(ExternalChangeTest, AChangeWhileABoxIsOpenIsToldWhenItClosesWithoutPolling) {
    makeGraph();
    const QString path = folder.filePath(QStringLiteral("talk.pptx"));
    ASSERT_TRUE(window->saveTo(path));
    settle();
    auto* watch = window->findChild<app::DocumentFileWatch*>();
    ASSERT_NE(watch, nullptr);
    QDialog box(window.get());
    box.setModal(true);
    box.show();
    QApplication::processEvents();
    ASSERT_NE(QApplication::activeModalWidget(), nullptr);

    writeElsewhere(path, 3);
    QTest::qWait(1800);
    QSignalSpy stirred(watch, &app::DocumentFileWatch::stirred);
    QFile beside(folder.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.write("x");
    beside.close();
    QTest::qWait(1000);
    EXPECT_LE(stirred.size(), 2) << "the watch turned over while the box was open";
    EXPECT_TRUE(messages.shown().empty()) << "nothing is told over another box";

    messages.script(MessageAnswer::No);
    box.close();
    ASSERT_TRUE(messageShown(1)) << "told once the box closed";
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("\"talk.pptx\" was changed by another program. Open the changed version?"));
}

} // namespace
} // namespace zov::test
