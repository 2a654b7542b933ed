// `zovedit import` and `zovedit check` run as a program: inputs from files and standard input,
// the saved presentation, messages on standard error, exit codes, and every corpus file.
#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

// Readable failure output for Qt strings (internal to this file).
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
static void PrintTo(const QStringList& list, std::ostream* out) { *out << '{' << list.join(QStringLiteral(", ")).toStdString() << '}'; }

namespace zov::test {
namespace {

struct ProgramRun {
    int exitCode = -1; // -1: did not finish
    QByteArray out;
    QByteArray err;
    QStringList errLines() const {
        QStringList lines = QString::fromUtf8(err).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

const QByteArray CatOnMat = "[Cat: *x]\n(On ?x [Mat ;300@50;])\n";
const QByteArray StopsInSecondGraph = ";%Graph*first%; [A]\n.\n(On)\n.\n[B]\n";

class ImportCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::exists(programPath())) << programPath().toStdString();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    // Runs the program with a runtime folder of its own unless `environment` is given.
    ProgramRun zovedit(const QStringList& args, const QByteArray& input = {},
                       std::optional<QProcessEnvironment> environment = std::nullopt) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        process.setProcessEnvironment(environment.value_or(env));
        process.setWorkingDirectory(dir.path());
        process.start(programPath(), args);
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
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return run;
    }

    // Slide names, and the texts of every slide's shapes joined by "|".
    static QStringList slidesOf(const QByteArray& bytes) {
        QStringList described;
        const host::Presentation presentation = host::readPresentation(bytes, QStringLiteral("saved"));
        for (int i = 1; i <= presentation.Slides().Count(); ++i) {
            const host::Slide slide = presentation.Slides().Item(i);
            QStringList texts;
            for (int j = 1; j <= slide.Shapes().Count(); ++j) {
                const host::Shape shape = slide.Shapes().Item(j);
                texts << (shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : QStringLiteral("->"));
            }
            described << slide.Name() + u'=' + texts.join(u'|');
        }
        return described;
    }
    QStringList slidesIn(const QString& name) const {
        QFile file(path(name));
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("(no file)")};
        return slidesOf(file.readAll());
    }

    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
};

// --- import -----------------------------------------------------------------------------------

TEST_F(ImportCliTest, ImportWritesTheInputsNameWithPptxAndConfirms) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    const ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("cat.cgf")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), QStringList{QStringLiteral("ZOVEdit: File read")});
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(slidesIn(QStringLiteral("cat.pptx")),
              QStringList{QStringLiteral("G1=G1 is Graph|On|Mat|->|Cat|->")});
}

TEST_F(ImportCliTest, ImportWritesWhereOutputSaysAndKeepsPositions) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    const ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("-o"), QStringLiteral("mine.pptx"),
                             QStringLiteral("cat.cgf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(files(), (QStringList{QStringLiteral("cat.cgf"), QStringLiteral("mine.pptx")}));
    QFile saved(path(QStringLiteral("mine.pptx")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const host::Presentation presentation = host::readPresentation(saved.readAll(), QStringLiteral("mine"));
    EXPECT_FLOAT_EQ(presentation.PageSetup().SlideWidth(), 720.0f);
    EXPECT_FLOAT_EQ(presentation.PageSetup().SlideHeight(), 540.0f);
    const host::Shape mat = presentation.Slides().Item(1).Shapes().Item(3);
    ASSERT_EQ(mat.TextFrame().TextRange().Text(), QStringLiteral("Mat"));
    EXPECT_NEAR(mat.Left(), 300.0, 0.01);
    EXPECT_NEAR(mat.Top(), 50.0, 0.01);
}

TEST_F(ImportCliTest, ImportReadsStandardInputAndCanWriteStandardOutput) {
    ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("-"), QStringLiteral("-o"), QStringLiteral("in.pptx")},
                      CatOnMat);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn(QStringLiteral("in.pptx")).size(), 1);

    run = zovedit({QStringLiteral("import"), QStringLiteral("-"), QStringLiteral("-o"), QStringLiteral("-")}, CatOnMat);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.errLines(), QStringList{QStringLiteral("ZOVEdit: File read")});
    EXPECT_TRUE(run.out.startsWith("PK")) << "a zip archive on standard output";
    EXPECT_EQ(slidesOf(run.out), slidesIn(QStringLiteral("in.pptx")));
}

TEST_F(ImportCliTest, ReaderErrorIsOneLineExitOneAndEarlierGraphsAreSaved) {
    write(QStringLiteral("bad.cgf"), StopsInSecondGraph);
    const ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("bad.cgf")});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.errLines()[0].startsWith(QStringLiteral("Error: Relation with no concepts (at "))) << run.err.toStdString();
    EXPECT_EQ(slidesIn(QStringLiteral("bad.pptx")), QStringList{QStringLiteral("first=first is Graph|A")});
}

TEST_F(ImportCliTest, TitleCommentFailureIsOneLineAndExitOne) {
    write(QStringLiteral("title.cgf"), "[A]\n.\n;%Proposition*p1% never closed\n");
    const ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("title.cgf")});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.errLines()[0].startsWith(QStringLiteral("Error: "))) << run.err.toStdString();
    EXPECT_EQ(slidesIn(QStringLiteral("title.pptx")), QStringList{QStringLiteral("G1=G1 is Graph|A")});
}

TEST_F(ImportCliTest, IntoAppendsToAPresentationAndSavesItInPlaceOrElsewhere) {
    write(QStringLiteral("one.cgf"), ";%Proposition*one%; [Cat]\n");
    write(QStringLiteral("two.cgf"), ";%Situation*two%; (On [Dog] [Hat])\n");
    ASSERT_EQ(zovedit({QStringLiteral("import"), QStringLiteral("one.cgf"), QStringLiteral("-o"),
                       QStringLiteral("doc.pptx")}).exitCode, 0);
    const QStringList before = slidesIn(QStringLiteral("doc.pptx"));

    ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("two.cgf"), QStringLiteral("--into"),
                       QStringLiteral("doc.pptx"), QStringLiteral("-o"), QStringLiteral("both.pptx")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn(QStringLiteral("doc.pptx")), before) << "with -o the document itself is not changed";
    EXPECT_EQ(slidesIn(QStringLiteral("both.pptx")),
              (QStringList{QStringLiteral("one=one is Proposition|Cat"),
                           QStringLiteral("two=two is Situation|On|Hat|->|Dog|->")}));

    run = zovedit({QStringLiteral("import"), QStringLiteral("--into"), QStringLiteral("doc.pptx"),
                   QStringLiteral("two.cgf")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(slidesIn(QStringLiteral("doc.pptx")), slidesIn(QStringLiteral("both.pptx")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("two.pptx"))));
}

TEST_F(ImportCliTest, UntitledGraphsImportedIntoADocumentTakeFreeNames) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    write(QStringLiteral("dog.cgf"), "[Dog]\n.\n[Hat]\n");
    ASSERT_EQ(zovedit({QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("-o"),
                       QStringLiteral("doc.pptx")}).exitCode, 0);
    const ProgramRun run = zovedit({QStringLiteral("import"), QStringLiteral("dog.cgf"), QStringLiteral("--into"),
                                    QStringLiteral("doc.pptx")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), QStringList{QStringLiteral("ZOVEdit: File read")});
    const QStringList slides = slidesIn(QStringLiteral("doc.pptx"));
    ASSERT_EQ(slides.size(), 3);
    EXPECT_TRUE(slides[1].startsWith(QStringLiteral("G2=G2 is Graph|Dog")));
    EXPECT_TRUE(slides[2].startsWith(QStringLiteral("G3=G3 is Graph|Hat")));
}

TEST_F(ImportCliTest, FileErrorsNameTheFileAndExitTwoWritingNothing) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    write(QStringLiteral("broken.pptx"), "not a zip archive");
    struct Case {
        QStringList args;
        QString named;
    };
    const Case cases[] = {
        {{QStringLiteral("import"), QStringLiteral("missing.cgf")}, QStringLiteral("missing.cgf")},
        {{QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("--into"), QStringLiteral("nodoc.pptx")},
         QStringLiteral("nodoc.pptx")},
        {{QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("--into"), QStringLiteral("broken.pptx"),
          QStringLiteral("-o"), QStringLiteral("out.pptx")},
         QStringLiteral("broken.pptx")},
        {{QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("-o"), QStringLiteral("no/such/dir/x.pptx")},
         QStringLiteral("x.pptx")},
        {{QStringLiteral("check"), QStringLiteral("missing.cgf")}, QStringLiteral("missing.cgf")},
    };
    for (const Case& c : cases) {
        const ProgramRun run = zovedit(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        const QStringList lines = run.errLines();
        ASSERT_FALSE(lines.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(lines.last().startsWith(QStringLiteral("Error: "))) << run.err.toStdString();
        EXPECT_TRUE(lines.last().contains(c.named)) << run.err.toStdString();
    }
    EXPECT_EQ(files(), (QStringList{QStringLiteral("broken.pptx"), QStringLiteral("cat.cgf")}));
}

TEST_F(ImportCliTest, UsageErrorsExitTwoAndWriteNothing) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    const QStringList usage[] = {
        {QStringLiteral("import")},
        {QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("other.cgf")},
        {QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("-o")},
        {QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("-o"), QStringLiteral("a.pptx"),
         QStringLiteral("-o"), QStringLiteral("b.pptx")},
        {QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("--output=x.pptx")},
        {QStringLiteral("import"), QStringLiteral("-")},
        {QStringLiteral("import"), QStringLiteral("cat.cgf"), QStringLiteral("-o"), QStringLiteral("cat.cgf")},
        {QStringLiteral("check")},
        {QStringLiteral("check"), QStringLiteral("cat.cgf"), QStringLiteral("-o"), QStringLiteral("x.pptx")},
    };
    for (const QStringList& args : usage) {
        const ProgramRun run = zovedit(args, CatOnMat);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage")) << args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_EQ(files(), QStringList{QStringLiteral("cat.cgf")});
}

// --- check ------------------------------------------------------------------------------------

TEST_F(ImportCliTest, CheckReportsLikeImportAndWritesNothing) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    write(QStringLiteral("bad.cgf"), StopsInSecondGraph);
    write(QStringLiteral("twice.cgf"), ";%Graph*same%; [A] . ;%Graph*same%; [B]\n");

    ProgramRun run = zovedit({QStringLiteral("check"), QStringLiteral("cat.cgf")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), QStringList{QStringLiteral("ZOVEdit: File read")});
    EXPECT_TRUE(run.out.isEmpty());

    run = zovedit({QStringLiteral("check"), QStringLiteral("-")}, StopsInSecondGraph);
    EXPECT_EQ(run.exitCode, 1);
    const QStringList fromStandardInput = run.errLines();

    for (const char* name : {"bad.cgf", "twice.cgf"}) {
        const ProgramRun checked = zovedit({QStringLiteral("check"), QString::fromLatin1(name)});
        const ProgramRun imported = zovedit({QStringLiteral("import"), QString::fromLatin1(name), QStringLiteral("-o"),
                                      QStringLiteral("imported.pptx")});
        EXPECT_EQ(checked.exitCode, imported.exitCode) << name;
        EXPECT_EQ(checked.errLines(), imported.errLines()) << name;
        QFile::remove(path(QStringLiteral("imported.pptx")));
    }
    EXPECT_EQ(zovedit({QStringLiteral("check"), QStringLiteral("bad.cgf")}).errLines(), fromStandardInput);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("bad.cgf"), QStringLiteral("cat.cgf"), QStringLiteral("twice.cgf")}));
}

// Cron jobs and some CI run without XDG_RUNTIME_DIR: standard error still holds only the
// message lines, and the private runtime folder made for the run is gone afterwards.
TEST_F(ImportCliTest, WithoutARuntimeFolderStandardErrorHoldsOnlyTheMessages) {
    write(QStringLiteral("cat.cgf"), CatOnMat);
    write(QStringLiteral("bad.cgf"), StopsInSecondGraph);
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("TMPDIR"), temp.path());

    ProgramRun run = zovedit({QStringLiteral("check"), QStringLiteral("cat.cgf")}, {}, env);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray("ZOVEdit: File read\n"));
    run = zovedit({QStringLiteral("import"), QStringLiteral("cat.cgf")}, {}, env);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray("ZOVEdit: File read\n"));
    run = zovedit({QStringLiteral("import"), QStringLiteral("bad.cgf")}, {}, env);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QByteArray("Error: Relation with no concepts (at )\n"));
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(ImportCliTest, EveryCorpusFileChecksWithoutCrashAndAsItImports) {
    const QDir corpus(cgifCorpusDir());
    const QStringList names = corpus.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        GTEST_SKIP() << "no CGIF corpus at " << corpus.path().toStdString();
    const QRegularExpression messageLine(QStringLiteral("^(Error|ZOVEdit): \\S.*$"));
    int readWhole = 0;
    for (const QString& name : names) {
        const QString input = corpus.filePath(name);
        const ProgramRun checked = zovedit({QStringLiteral("check"), input});
        ASSERT_TRUE(checked.exitCode == 0 || checked.exitCode == 1)
            << name.toStdString() << " exit " << checked.exitCode << ": " << checked.err.toStdString();
        EXPECT_TRUE(checked.out.isEmpty()) << name.toStdString();
        ASSERT_FALSE(checked.errLines().isEmpty()) << name.toStdString();
        for (const QString& line : checked.errLines())
            EXPECT_TRUE(messageLine.match(line).hasMatch()) << name.toStdString() << ": " << line.toStdString();
        EXPECT_EQ(checked.errLines().last() == QStringLiteral("ZOVEdit: File read"), checked.exitCode == 0)
            << name.toStdString();
        readWhole += checked.exitCode == 0 ? 1 : 0;

        const ProgramRun imported = zovedit({QStringLiteral("import"), input, QStringLiteral("-o"), QStringLiteral("corpus.pptx")});
        EXPECT_EQ(imported.exitCode, checked.exitCode) << name.toStdString();
        EXPECT_EQ(imported.errLines(), checked.errLines()) << name.toStdString();
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("corpus.pptx")))) << name.toStdString();
        QFile::remove(path(QStringLiteral("corpus.pptx")));
    }
    EXPECT_GT(readWhole, 0) << "some corpus files read whole";
    EXPECT_LT(readWhole, names.size()) << "some corpus files stop at an error";
}

} // namespace
} // namespace zov::test
