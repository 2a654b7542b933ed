// `zovedit import` and `zovedit check` run as a program: inputs from files and standard input,
// the saved presentation, messages on standard error, exit codes, and every corpus file.
#include "ProgramTest.h"

#include <QRegularExpression>

namespace zov::test {
namespace {

const QByteArray CatOnMat = "[Cat: *x]\n(On ?x [Mat ;300@50;])\n";
const QByteArray StopsInSecondGraph = ";%Graph*first%; [A]\n.\n(On)\n.\n[B]\n";

class ImportCliTest : public ProgramTest {
protected:
    // Slide names, and the texts of every slide's shapes joined by "|" ("->" for an arc).
    static QStringList slidesOf(const QByteArray& bytes) {
        QStringList described;
        const host::Presentation presentation = host::readPresentation(bytes, "saved");
        for (int i = 1; i <= presentation.Slides().Count(); ++i) {
            const host::Slide slide = presentation.Slides().Item(i);
            QStringList texts;
            for (int j = 1; j <= slide.Shapes().Count(); ++j) {
                const host::Shape shape = slide.Shapes().Item(j);
                texts << (shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : "->");
            }
            described << slide.Name() + u'=' + texts.join(u'|');
        }
        return described;
    }
    QStringList slidesIn(const QString& name) const {
        return QFile::exists(path(name)) ? slidesOf(readFile(name)) : QStringList{"(no file)"};
    }
};

// --- import -----------------------------------------------------------------------------------

TEST_F(ImportCliTest, ImportWritesTheInputsNameWithPptxOrWhereToldAndKeepsPositions) {
    write("cat.cgf", CatOnMat);
    ProgramRun run = zovedit({"import", "cat.cgf"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), QStringList{"ZOVEdit: File read"});
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(slidesIn("cat.pptx"), QStringList{"G1=G1 is Graph|On|Mat|->|Cat|->"});

    run = zovedit({"import", "-o", "mine.pptx", "cat.cgf"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(files(), (QStringList{"cat.cgf", "cat.pptx", "mine.pptx"}));
    const host::Presentation presentation = host::readPresentation(readFile("mine.pptx"), "mine");
    EXPECT_FLOAT_EQ(presentation.PageSetup().SlideWidth(), 720.0f);
    EXPECT_FLOAT_EQ(presentation.PageSetup().SlideHeight(), 540.0f);
    const host::Shape mat = presentation.Slides().Item(1).Shapes().Item(3);
    ASSERT_EQ(mat.TextFrame().TextRange().Text(), "Mat");
    EXPECT_NEAR(mat.Left(), 300.0, 0.01);
    EXPECT_NEAR(mat.Top(), 50.0, 0.01);
}

TEST_F(ImportCliTest, ImportReadsStandardInputAndCanWriteStandardOutput) {
    ProgramRun run = zovedit({"import", "-", "-o", "in.pptx"}, CatOnMat);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn("in.pptx").size(), 1);
    run = zovedit({"import", "-", "-o", "-"}, CatOnMat);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.errLines(), QStringList{"ZOVEdit: File read"});
    EXPECT_TRUE(run.out.startsWith("PK")) << "a zip archive on standard output";
    EXPECT_EQ(slidesOf(run.out), slidesIn("in.pptx"));
}

TEST_F(ImportCliTest, ReaderErrorsAreOneLineExitOneAndEarlierGraphsAreSaved) {
    write("bad.cgf", StopsInSecondGraph);
    write("title.cgf", "[A]\n.\n;%Proposition*p1% never closed\n"); // escapes the reader
    const std::tuple<const char*, const char*, QStringList> cases[] = {
        {"bad", "Error: Relation with no concepts (at ", {"first=first is Graph|A"}},
        {"title", "Error: ", {"G1=G1 is Graph|A"}},
    };
    for (const auto& [name, message, slides] : cases) {
        const ProgramRun run = zovedit({"import", QString(name) + ".cgf"});
        EXPECT_EQ(run.exitCode, 1) << name;
        ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.errLines()[0].startsWith(message)) << run.err.toStdString();
        EXPECT_EQ(slidesIn(QString(name) + ".pptx"), slides);
    }
}

TEST_F(ImportCliTest, IntoAppendsToAPresentationAndSavesItInPlaceOrElsewhere) {
    write("one.cgf", ";%Proposition*G1%; [Cat]\n");
    write("two.cgf", ";%Situation*two%; (On [Dog] [Hat])\n");
    write("dog.cgf", "[Dog]\n.\n[Hat]\n");
    ASSERT_EQ(zovedit({"import", "one.cgf", "-o", "doc.pptx"}).exitCode, 0);
    const QStringList before = slidesIn("doc.pptx");

    ProgramRun run = zovedit({"import", "two.cgf", "--into", "doc.pptx", "-o", "both.pptx"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn("doc.pptx"), before) << "with -o the document itself is not changed";
    EXPECT_EQ(slidesIn("both.pptx"), (QStringList{"G1=G1 is Proposition|Cat", "two=two is Situation|On|Hat|->|Dog|->"}));

    run = zovedit({"import", "--into", "doc.pptx", "two.cgf"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn("doc.pptx"), slidesIn("both.pptx"));
    EXPECT_FALSE(QFile::exists(path("two.pptx")));
    // Untitled graphs take names no slide of the document has (G1 is taken).
    run = zovedit({"import", "dog.cgf", "--into", "doc.pptx"});
    EXPECT_EQ(run.errLines(), QStringList{"ZOVEdit: File read"});
    EXPECT_EQ(slidesIn("doc.pptx").mid(2), (QStringList{"G2=G2 is Graph|Dog", "G3=G3 is Graph|Hat"}));
}

// --- check ------------------------------------------------------------------------------------

// Check says what import says, input by input, and writes nothing (its usage and file errors, and
// a clean input, are cases in tests/cases/cli).
TEST_F(ImportCliTest, CheckReportsLikeImportAndWritesNothing) {
    write("bad.cgf", StopsInSecondGraph);
    write("twice.cgf", ";%Graph*same%; [A] . ;%Graph*same%; [B]\n");
    EXPECT_EQ(zovedit({"check", "-"}, StopsInSecondGraph).errLines(), zovedit({"check", "bad.cgf"}).errLines());
    for (const char* name : {"bad.cgf", "twice.cgf"}) {
        const ProgramRun checked = zovedit({"check", name});
        const ProgramRun imported = zovedit({"import", name, "-o", "imported.pptx"});
        EXPECT_EQ(checked.exitCode, 1) << name;
        EXPECT_EQ(checked.exitCode, imported.exitCode) << name;
        EXPECT_EQ(checked.errLines(), imported.errLines()) << name;
        QFile::remove(path("imported.pptx"));
    }
    EXPECT_EQ(files(), (QStringList{"bad.cgf", "twice.cgf"}));
}

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
        {{"import", "bad.cgf"}, 1, "Error: Relation with no concepts (at )\n"},
    };
    for (const auto& [args, exitCode, err] : cases) {
        const ProgramRun run = zovedit(args, {}, env);
        EXPECT_EQ(run.exitCode, exitCode) << args.join(' ').toStdString();
        EXPECT_EQ(run.err, err);
    }
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(ImportCliTest, EveryCorpusFileChecksWithoutCrashAndAsItImports) {
    const QDir corpus(cgifCorpusDir());
    const QStringList names = corpus.entryList({"*.cgf"}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        GTEST_SKIP() << "no CGIF corpus at " << corpus.path().toStdString();
    const QRegularExpression messageLine("^(Error|ZOVEdit): \\S.*$");
    int readWhole = 0;
    for (const QString& name : names) {
        const QString input = corpus.filePath(name);
        const ProgramRun checked = zovedit({"check", input});
        ASSERT_TRUE(checked.exitCode == 0 || checked.exitCode == 1)
            << name.toStdString() << " exit " << checked.exitCode << ": " << checked.err.toStdString();
        EXPECT_TRUE(checked.out.isEmpty()) << name.toStdString();
        ASSERT_FALSE(checked.errLines().isEmpty()) << name.toStdString();
        for (const QString& line : checked.errLines())
            EXPECT_TRUE(messageLine.match(line).hasMatch()) << name.toStdString() << ": " << line.toStdString();
        EXPECT_EQ(checked.errLines().last() == "ZOVEdit: File read", checked.exitCode == 0) << name.toStdString();
        readWhole += checked.exitCode == 0 ? 1 : 0;

        const ProgramRun imported = zovedit({"import", input, "-o", "corpus.pptx"});
        EXPECT_EQ(imported.exitCode, checked.exitCode) << name.toStdString();
        EXPECT_EQ(imported.errLines(), checked.errLines()) << name.toStdString();
        EXPECT_TRUE(QFile::remove(path("corpus.pptx"))) << name.toStdString();
    }
    EXPECT_GT(readWhole, 0) << "some corpus files read whole";
    EXPECT_LT(readWhole, names.size()) << "some corpus files stop at an error";
}

} // namespace
} // namespace zov::test
