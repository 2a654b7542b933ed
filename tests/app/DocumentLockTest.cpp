// The lock beside a document: a second holder waits, is told once that it waits, and gives up
// with a message naming the file; a free lock is taken at once without that notice.
#include "app/document/DocumentLock.h"

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

} // namespace
} // namespace zov::app
