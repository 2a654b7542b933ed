// Faults around one document: two imports into it at once, a save over a file another program
// changed, and a reading that runs out of memory.
#include "ProgramTest.h"

#include <QDateTime>
#include <QFile>

#include "app/document/DocumentStore.h"

#include <sys/resource.h>
#include <sys/wait.h>

namespace zov::test {
namespace {

class SharedDocumentTest : public ProgramTest {
protected:
    int slideCount(const QString& name) const {
        return host::readPresentation(readFile(name), name).Slides().Count();
    }
};

TEST_F(SharedDocumentTest, ConcurrentImportsIntoOneDocumentKeepEverySlide) {
    write("a.cgf", ";%Graph*A1%; [A]\n.\n;%Graph*A2%; [B]\n");
    ASSERT_EQ(zovedit({"import", "a.cgf", "-o", "doc.pptx"}).exitCode, 0);
    for (int round = 0; round < 3; ++round) {
        QProcess first, second;
        for (QProcess* p : {&first, &second}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_QPA_PLATFORM", "offscreen");
            env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
            p->setProcessEnvironment(env);
            p->setWorkingDirectory(dir.path());
        }
        // Each import waits for the other's lock: every round adds the slides of both.
        write("r1.cgf", QStringLiteral(";%Graph*X%1%; [E]\n").arg(round).toUtf8());
        write("r2.cgf", QStringLiteral(";%Graph*Y%1%; [F]\n").arg(round).toUtf8());
        first.start(programPath(), {"import", "r1.cgf", "--into", "doc.pptx"});
        second.start(programPath(), {"import", "r2.cgf", "--into", "doc.pptx"});
        ASSERT_TRUE(first.waitForFinished(120000) && second.waitForFinished(120000));
        EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
        EXPECT_EQ(slideCount("doc.pptx"), 2 + 2 * (round + 1)) << "round " << round;
    }
}

TEST_F(SharedDocumentTest, TheEditorDoesNotSaveOverAFileChangedSinceItWasRead) {
    write("a.cgf", "[A]\n");
    write("b.cgf", "[B]\n.\n[C]\n");
    ASSERT_EQ(zovedit({"import", "a.cgf", "-o", "doc.pptx"}).exitCode, 0);
    app::PptxDocumentStore store;
    const host::Presentation presentation = store.read(path("doc.pptx"));
    store.write(presentation, path("doc.pptx")); // unchanged since read: saved

    ASSERT_EQ(zovedit({"import", "b.cgf", "--into", "doc.pptx"}).exitCode, 0);
    const QByteArray changed = readFile("doc.pptx");
    try {
        store.write(presentation, path("doc.pptx"));
        ADD_FAILURE() << "the save replaced a file another program had changed";
    } catch (const host::PptxError& error) {
        EXPECT_TRUE(error.message().contains("another program changed the file")) << error.message().toStdString();
    }
    EXPECT_EQ(readFile("doc.pptx"), changed);
    // Replacing it whatever became of it (Save As, the user confirming the replace) is asked for.
    store.write(presentation, path("doc.pptx"), {}, app::DocumentStore::Replace::AnyVersion);
    EXPECT_EQ(slideCount("doc.pptx"), 1);
    // A file only touched (a new time, the same bytes: a sync tool, `touch`) is still the
    // version saved, and the next save replaces it; a change of the bytes is refused again.
    QFile touched(path("doc.pptx"));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    touched.close();
    store.write(presentation, path("doc.pptx"));
    ASSERT_EQ(zovedit({"import", "b.cgf", "--into", "doc.pptx"}).exitCode, 0);
    EXPECT_THROW(store.write(presentation, path("doc.pptx")), host::PptxError);
    EXPECT_EQ(slideCount("doc.pptx"), 3);
    store.write(presentation, path("copy.pptx")); // another name is no problem
    EXPECT_EQ(slideCount("copy.pptx"), 1);

    // A file deleted since it was read has nothing to lose: the save makes it again, and later
    // saves go on as usual.
    const host::Presentation fromCopy = store.read(path("copy.pptx"));
    ASSERT_TRUE(QFile::remove(path("copy.pptx")));
    store.write(fromCopy, path("copy.pptx"));
    store.write(fromCopy, path("copy.pptx"));
    EXPECT_EQ(slideCount("copy.pptx"), 1);
}

TEST_F(SharedDocumentTest, RunningOutOfMemoryIsAMessageAndKeepsTheGraphsBefore) {
    // Two small graphs, then one far too large for the memory the run may use.
    QByteArray text = ";%Graph*Small1%; [A]\n.\n;%Graph*Small2%; [B]\n.\n;%Graph*Huge%;\n";
    for (int i = 0; i < 400000; ++i)
        text += "[Concept" + QByteArray::number(i) + ": *c" + QByteArray::number(i) + "]\n";
    write("huge.cgf", text);
    const ProgramRun run = zovedit({"import", "huge.cgf", "-o", "out.pptx"}, {}, std::nullopt, [] {
        const rlim_t bytes = rlim_t(360) << 20;
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    EXPECT_NE(run.exitCode, -1) << "the program crashed: " << run.err.toStdString();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.toLower().contains("not enough memory")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("terminate")) << run.err.toStdString();
    if (run.exitCode == 1) {
        EXPECT_GE(slideCount("out.pptx"), 2);
    }
}

} // namespace
} // namespace zov::test
