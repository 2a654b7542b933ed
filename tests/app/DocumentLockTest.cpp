// The lock beside a document: a second holder waits, is told once that it waits, and gives up
// with a message naming the file; a free lock is taken at once without that notice.
#include "app/document/DocumentLock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::app {
namespace {

TEST(DocumentLock, ASecondHolderIsToldItWaitsThenGivesUpWithTheFileNamed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("deck.pptx"));
    int toldFirst = 0;
    QString problem;
    DocumentLock first(document);
    ASSERT_TRUE(first.acquire(std::chrono::milliseconds(100), problem, [&] { ++toldFirst; }));
    EXPECT_EQ(toldFirst, 0); // free: taken at once, nobody waited

    int toldSecond = 0;
    DocumentLock second(document);
    EXPECT_FALSE(second.acquire(std::chrono::milliseconds(150), problem, [&] { ++toldSecond; }));
    EXPECT_EQ(toldSecond, 1);
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Cannot change \"") + document + QStringLiteral("\": another program")))
        << problem.toStdString();
}

// Taking the lock clears away the temporary files that saves of the document killed midway left
// beside it, once they are old enough not to be a write under way; nothing else goes.
TEST(DocumentLock, TakingItClearsWhatKilledSavesLeftBeside) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("my [deck].pptx"));
    const auto make = [&](const QString& name, bool old) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("partial");
        file.flush();
        if (old)
            EXPECT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-DocumentLock::AbandonedAfter.count() - 60),
                                         QFileDevice::FileModificationTime));
    };
    make(QStringLiteral("my [deck].pptx"), true);
    make(QStringLiteral(".my [deck].pptx~zovedit-a1B2c3"), true);  // abandoned
    make(QStringLiteral(".my [deck].pptx~zovedit-Zz9Yy8"), false); // a save under way
    make(QStringLiteral(".my [deck].pptx~zovedit-a1B2c3d"), true); // not a name a save makes
    make(QStringLiteral(".my [deck].pptx~backup"), true);          // the user's own
    make(QStringLiteral(".other.pptx~zovedit-a1B2c3"), true);      // another document's
    make(QStringLiteral(".my d.pptx~zovedit-a1B2c3"), true);       // the name as a pattern would match it
    QString problem;
    DocumentLock lock(document);
    ASSERT_TRUE(lock.acquire(std::chrono::milliseconds(100), problem));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral(".my [deck].pptx~zovedit-a1B2c3"))));
    for (const char* kept : {"my [deck].pptx", ".my [deck].pptx~zovedit-Zz9Yy8", ".my [deck].pptx~zovedit-a1B2c3d",
                             ".my [deck].pptx~backup", ".other.pptx~zovedit-a1B2c3", ".my d.pptx~zovedit-a1B2c3"})
        EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(kept)))) << kept;
}

// A document whose folder went away (moved, renamed, deleted), or never was, says so, not that
// the folder takes no new files.
TEST(DocumentLock, AFolderThatWentAwayIsNamed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString gone = dir.filePath(QStringLiteral("moved"));
    const QString document = gone + QStringLiteral("/deck.pptx");
    QString problem;
    DocumentLock lock(document);
    EXPECT_FALSE(lock.acquire(std::chrono::milliseconds(50), problem, {}));
    EXPECT_EQ(problem, QStringLiteral("Cannot save \"%1\": its folder \"%2\" does not exist; save it in another folder")
                           .arg(document, gone));
}

// The lock guards the file, not the name it was reached by: a holder coming through a link
// waits as one coming by the file's own name; and a file whose name is as long as the file
// system allows has a lock too, no longer than that.
TEST(DocumentLock, OneFileOneLockWhateverItsNameOrLink) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("deck.pptx"));
    const QString link = dir.filePath(QStringLiteral("link.pptx"));
    {
        QFile file(document);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(document, link));
    EXPECT_EQ(DocumentLock::lockPathOf(link), DocumentLock::lockPathOf(document));
    QString problem;
    DocumentLock first(document);
    ASSERT_TRUE(first.acquire(std::chrono::milliseconds(0), problem));
    DocumentLock throughLink(link);
    EXPECT_FALSE(throughLink.acquire(std::chrono::milliseconds(60), problem));

    // 81 three-byte characters and ".pptx": 248 bytes, a name the file system takes.
    const QString longName = dir.filePath(QString(81, QChar(0x65E5)) + QStringLiteral(".pptx"));
    const QString longLock = DocumentLock::lockPathOf(longName);
    EXPECT_LE(QFile::encodeName(QFileInfo(longLock).fileName()).size(), 255);
    EXPECT_TRUE(longLock.endsWith(QStringLiteral(".lock")));
    DocumentLock longHeld(longName);
    EXPECT_TRUE(longHeld.acquire(std::chrono::milliseconds(0), problem)) << problem.toStdString();
    EXPECT_TRUE(QFileInfo::exists(longLock));
}

} // namespace
} // namespace zov::app
