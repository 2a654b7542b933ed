// The watch of the document's file tells of a change once the stirs settle, also while the folder
// never rests (another program making and removing files beside the document), and again after
// the file was replaced by a rename.
#include "app/desktop/DocumentFileWatch.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zov::app {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(DocumentFileWatch, TellsAChangeWhileTheFolderNeverRestsAndAfterARename) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString document = dir.filePath(QStringLiteral("talk.pptx"));
    writeFile(document, "first");
    DocumentFileWatch watch;
    EXPECT_TRUE(watch.watch(document));
    EXPECT_FALSE(watch.watch(document)) << "the same file";
    QSignalSpy stirred(&watch, &DocumentFileWatch::stirred);

    // Another program makes and removes a file beside the document every 100 ms until stopped.
    int made = 0;
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [&] {
        const QString scratch = dir.filePath(QStringLiteral("scratch%1.tmp").arg(made++));
        writeFile(scratch, "x");
        QFile::remove(scratch);
    });
    busy.start(100);
    QTest::qWait(300);
    stirred.clear();
    writeFile(document, "second");
    EXPECT_TRUE(stirred.wait(4000)) << "told while the folder still stirred";
    busy.stop();

    // Replaced by a rename, as many programs save: told, and watched again for the next change.
    QTest::qWait(400);
    stirred.clear();
    writeFile(document + QStringLiteral(".new"), "third");
    ASSERT_TRUE(QFile::remove(document));
    ASSERT_TRUE(QFile::rename(document + QStringLiteral(".new"), document));
    EXPECT_TRUE(stirred.wait(3000));
    QTest::qWait(400);
    stirred.clear();
    writeFile(document, "fourth");
    EXPECT_TRUE(stirred.wait(3000));
}

} // namespace
} // namespace zov::app
