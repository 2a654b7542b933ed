// `zovedit arrange` and `zovedit render` run as a program: files written, messages on standard
// error, exit codes.
#include "ArrangeSupport.h"

#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::arrange_test {
namespace {

struct ProgramRun {
    int exitCode = -1; // -1: did not finish
    QString err;
    QByteArray out;
};

ProgramRun runProgram(const QStringList& args, const QByteArray& input = {}) {
    QTemporaryDir runtimeDir;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path()); // keeps Qt from warning
    process.setProcessEnvironment(env);
    process.start(test::programPath(), args);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.err = QString::fromUtf8(process.readAllStandardError());
    run.out = process.readAllStandardOutput();
    return run;
}

// A presentation with a small graph piled at the corner and, optionally, one far too large.
QString writeDeck(const QString& path, bool withHugeGraph) {
    Host host;
    RandomGraphShape small;
    small.concepts = 5;
    small.relations = 4;
    drawRandomGraph(host, QStringLiteral("Small"), small, 1);
    if (withHugeGraph) {
        RandomGraphShape huge;
        huge.concepts = 100;
        huge.relations = 90;
        drawRandomGraph(host, QStringLiteral("Huge"), huge, 2);
    }
    host::savePresentation(host.presentation(), path);
    return path;
}

host::Presentation readDeck(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return host::readPresentation(file.readAll(), path);
}

// The top of the second shape of the first slide (the first node; drawn at 0).
float firstNodeTop(const QString& path) {
    const host::Presentation deck = readDeck(path);
    return deck.IsNothing() ? -1 : deck.Slides().Item(1).Shapes().Item(2).Top();
}

TEST(ArrangeCommandLine, ArrangesInPlaceOrIntoAnotherFile) {
    QTemporaryDir dir;
    const QString in = writeDeck(dir.filePath(QStringLiteral("in.pptx")), false);
    const QString out = dir.filePath(QStringLiteral("out.pptx"));

    ProgramRun run = runProgram({QStringLiteral("arrange"), in, QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_FLOAT_EQ(firstNodeTop(in), 0) << "the input changed";
    EXPECT_GT(firstNodeTop(out), 0);

    // From standard input to standard output.
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    run = runProgram({QStringLiteral("arrange"), QStringLiteral("-")}, file.readAll());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_FLOAT_EQ(host::readPresentation(run.out, QStringLiteral("stdout")).Slides().Item(1).Shapes().Item(2).Top(),
                    firstNodeTop(out));

    run = runProgram({QStringLiteral("arrange"), in});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FLOAT_EQ(firstNodeTop(in), firstNodeTop(out));
}

TEST(ArrangeCommandLine, ReportsAGraphTooLargeAndStillSaves) {
    QTemporaryDir dir;
    const QString in = writeDeck(dir.filePath(QStringLiteral("big.pptx")), true);
    const ProgramRun run = runProgram({QStringLiteral("arrange"), in});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QStringLiteral("ZOVEdit: The graph on slide 2 \"Huge\" is too large for the slide: its shapes "
                                      "cover more than the room below the title, so some lie past the slide's edge\n"));
    EXPECT_GT(firstNodeTop(in), 0);
}

TEST(ArrangeCommandLine, UsageAndFileErrors) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.pptx"));
    const std::pair<QStringList, QString> cases[] = {
        {{QStringLiteral("arrange")}, QStringLiteral("zovedit arrange: no input file")},
        {{QStringLiteral("arrange"), QStringLiteral("a.pptx"), QStringLiteral("--fast")},
         QStringLiteral("zovedit arrange: unknown option --fast")},
        {{QStringLiteral("arrange"), missing}, QStringLiteral("Error: Cannot open \"") + missing},
    };
    for (const auto& [args, start] : cases) {
        const ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(start)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(ArrangeCommandLine, ImportArrangesOnlyTheSlidesItDraws) {
    QTemporaryDir dir;
    const QString cgif = dir.filePath(QStringLiteral("cat.cgf"));
    QFile text(cgif);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("[Cat: *x] (On ?x [Mat])\n");
    text.close();
    const QString doc = writeDeck(dir.filePath(QStringLiteral("doc.pptx")), false);

    const ProgramRun run = runProgram({QStringLiteral("import"), cgif, QStringLiteral("--into"), doc, QStringLiteral("--arrange")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("ZOVEdit: File read\n"));
    const host::Presentation deck = readDeck(doc);
    ASSERT_EQ(deck.Slides().Count(), 2);
    EXPECT_FLOAT_EQ(deck.Slides().Item(1).Shapes().Item(2).Top(), 0) << "a slide of DOC was arranged";
    const host::Shapes drawn = deck.Slides().Item(2).Shapes();
    for (int i = 2; i <= drawn.Count(); ++i) {
        if (!drawn.Item(i).Connector()) {
            EXPECT_GT(drawn.Item(i).Top(), drawn.Item(1).Height()) << "shape " << i << " was not arranged";
        }
    }
}

TEST(RenderCommandLine, WritesOneFilePerSlideOrTheChosenOne) {
    QTemporaryDir dir;
    const QString in = writeDeck(dir.filePath(QStringLiteral("deck.pptx")), true);

    ProgramRun run = runProgram({QStringLiteral("render"), in, QStringLiteral("-o"), dir.filePath(QStringLiteral("deck.png"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("deck-1.png"))).size(), QSize(1440, 1080));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("deck-2.png"))));

    run = runProgram({QStringLiteral("render"), in, QStringLiteral("--slide"), QStringLiteral("2"), QStringLiteral("-o"),
                      dir.filePath(QStringLiteral("two.png")), QStringLiteral("--dpi"), QStringLiteral("72")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("two.png"))).size(), QSize(720, 540));

    // The format follows the output's extension.
    run = runProgram({QStringLiteral("render"), in, QStringLiteral("-o"), dir.filePath(QStringLiteral("deck.pdf"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile pdf(dir.filePath(QStringLiteral("deck.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

TEST(RenderCommandLine, UsageAndFileErrors) {
    QTemporaryDir dir;
    const QString in = writeDeck(dir.filePath(QStringLiteral("deck.pptx")), false);
    const struct {
        QStringList args;
        const char* start;
    } cases[] = {
        {{QStringLiteral("render"), in}, "zovedit render: no output file"},
        {{QStringLiteral("render"), in, QStringLiteral("-o"), QStringLiteral("x.jpg")}, "zovedit render: the output x.jpg names no known format"},
        {{QStringLiteral("render"), in, QStringLiteral("-o"), QStringLiteral("x.png"), QStringLiteral("--slide"), QStringLiteral("0")},
         "zovedit render: --slide needs a slide number from 1, not 0"},
        {{QStringLiteral("render"), in, QStringLiteral("-o"), QStringLiteral("x.pdf"), QStringLiteral("--dpi"), QStringLiteral("300")},
         "zovedit render: --dpi is for PNG output only"},
        {{QStringLiteral("render"), in, QStringLiteral("-o"), QStringLiteral("-")}, "zovedit render: render writes files"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = runProgram(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.start;
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.start))) << run.err.toStdString();
    }

    const QString out = dir.filePath(QStringLiteral("x.png"));
    const ProgramRun run = runProgram({QStringLiteral("render"), in, QStringLiteral("-o"), out, QStringLiteral("--slide"), QStringLiteral("9")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QStringLiteral("Error: Cannot render slide 9 of \"") + in +
                           QStringLiteral("\": the presentation has 1 slide\n"));
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
} // namespace zov::arrange_test
