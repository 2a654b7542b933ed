// `zovedit arrange` and `zovedit render` run as a program: files written, messages on standard
// error, exit codes. Their usage and file errors are cases in tests/cases/cli.
#include "ArrangeSupport.h"
#include "cli/ProgramTest.h"

#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <vector>

namespace zov::arrange_test {
namespace {

class CommandLine : public test::ProgramTest {
protected:
    // A presentation with a small graph piled at the corner and, optionally, one far too large.
    void writeDeck(const QString& name, bool withHugeGraph) const {
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
        host::savePresentation(host.presentation(), path(name));
    }
    // The top of the second shape of the first slide (the first node; drawn at 0).
    static float firstNodeTopOf(const QByteArray& bytes) {
        return host::readPresentation(bytes, QStringLiteral("deck")).Slides().Item(1).Shapes().Item(2).Top();
    }
    float firstNodeTop(const QString& name) const { return firstNodeTopOf(readFile(name)); }
};

TEST_F(CommandLine, ArrangesInPlaceOrIntoAnotherFileOrStandardOutput) {
    writeDeck("in.pptx", false);
    test::ProgramRun run = zovedit({"arrange", "in.pptx", "-o", "out.pptx"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_FLOAT_EQ(firstNodeTop("in.pptx"), 0) << "the input changed";
    EXPECT_GT(firstNodeTop("out.pptx"), 0);

    run = zovedit({"arrange", "-"}, readFile("in.pptx"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_FLOAT_EQ(firstNodeTopOf(run.out), firstNodeTop("out.pptx"));

    run = zovedit({"arrange", "in.pptx"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FLOAT_EQ(firstNodeTop("in.pptx"), firstNodeTop("out.pptx"));
}

TEST_F(CommandLine, ImportArrangesOnlyTheSlidesItDraws) {
    write("cat.cgf", "[Cat: *x] (On ?x [Mat])\n");
    writeDeck("doc.pptx", false);
    const test::ProgramRun run = zovedit({"import", "cat.cgf", "--into", "doc.pptx", "--arrange"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QByteArray("ZOVEdit: File read\n"));
    const host::Presentation deck = host::readPresentation(readFile("doc.pptx"), QStringLiteral("doc"));
    ASSERT_EQ(deck.Slides().Count(), 2);
    EXPECT_FLOAT_EQ(deck.Slides().Item(1).Shapes().Item(2).Top(), 0) << "a slide of DOC was arranged";
    const host::Shapes drawn = deck.Slides().Item(2).Shapes();
    for (int i = 2; i <= drawn.Count(); ++i) {
        if (!drawn.Item(i).Connector()) {
            EXPECT_GT(drawn.Item(i).Top(), drawn.Item(1).Height()) << "shape " << i << " was not arranged";
        }
    }
}

// Without --arrange, a graph whose text gives its nodes no position is laid out as the palette's
// Import lays it out with its default settings; a graph the text placed keeps its places, and
// --no-arrange leaves the unplaced one piled in the corner.
TEST_F(CommandLine, ImportArrangesTheGraphsReadWithoutPositionsUnlessTold) {
    write("two.cgf", ";%Graph*Bare%; [Cat: *x] (On ?x [Mat])\n.\n"
                     ";%Graph*Placed%; [Dog*d;100@50;] (On?d[Rug;300@50;];200@150;)\n");
    const auto nodeTops = [](const host::Slide& slide) {
        std::vector<float> tops;
        const host::Shapes shapes = slide.Shapes();
        for (int i = 2; i <= shapes.Count(); ++i)
            if (!shapes.Item(i).Connector())
                tops.push_back(shapes.Item(i).Top());
        std::sort(tops.begin(), tops.end());
        return tops;
    };
    test::ProgramRun run = zovedit({"import", "two.cgf", "-o", "default.pptx"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QByteArray("ZOVEdit: File read\n"));
    host::Presentation deck = host::readPresentation(readFile("default.pptx"), QStringLiteral("default"));
    ASSERT_EQ(deck.Slides().Count(), 2);
    const float titleHeight = deck.Slides().Item(1).Shapes().Item(1).Height();
    for (const float top : nodeTops(deck.Slides().Item(1)))
        EXPECT_GT(top, titleHeight) << "the graph without positions was not arranged";
    EXPECT_EQ(nodeTops(deck.Slides().Item(2)), (std::vector<float>{50, 50, 150})) << "a placed graph was moved";

    run = zovedit({"import", "two.cgf", "-o", "kept.pptx", "--no-arrange"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    deck = host::readPresentation(readFile("kept.pptx"), QStringLiteral("kept"));
    for (const float top : nodeTops(deck.Slides().Item(1)))
        EXPECT_FLOAT_EQ(top, 0) << "--no-arrange moved a node";

    // A graph too large for Arrange is told, but the import, which drew all of it, succeeds.
    QByteArray huge;
    for (int i = 0; i < 3400; ++i)
        huge += QStringLiteral("[C%1 *c%1] (On ?c%1 [M%1]) ").arg(i).toUtf8();
    write("huge.cgf", huge + "\n");
    run = zovedit({"import", "huge.cgf", "-o", "huge.pptx"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QByteArray("Error: Cannot arrange slide 1 \"G1\": the graph has 10200 nodes; at most 10000 can be "
                                  "arranged, so its shapes stay where they are\nZOVEdit: File read\n"));
    EXPECT_TRUE(QFile::exists(path("huge.pptx")));
}

TEST_F(CommandLine, RenderWritesOneFilePerSlideOrTheChosenOneInTheFormatOfItsExtension) {
    writeDeck("deck.pptx", true);
    test::ProgramRun run = zovedit({"render", "deck.pptx", "-o", "deck.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(QImage(path("deck-1.png")).size(), QSize(1440, 1080));
    EXPECT_TRUE(QFile::exists(path("deck-2.png")));

    run = zovedit({"render", "deck.pptx", "--slide", "2", "-o", "two.png", "--dpi", "72"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(path("two.png")).size(), QSize(720, 540));

    run = zovedit({"render", "deck.pptx", "--slide", "1", "-o", "one.svg"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(readFile("one.svg").contains("<title>Small</title>"));
    EXPECT_FALSE(QFile::exists(path("one-2.svg")));
    // A slide name holding what XML escapes is escaped in the title: the file stays XML.
    {
        const host::Presentation deck = host::readPresentation(readFile("deck.pptx"), QStringLiteral("deck"));
        deck.Slides().Item(1).SetName(QStringLiteral("Q&A <1> ]]>"));
        host::savePresentation(deck, path("named.pptx"));
    }
    run = zovedit({"render", "named.pptx", "--slide", "1", "-o", "named.svg"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QXmlStreamReader svg(readFile("named.svg"));
    QString title;
    while (!svg.atEnd())
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == QLatin1String("title") && title.isEmpty())
            title = svg.readElementText();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(title, QStringLiteral("Q&A <1> ]]>"));

    // The only slide of a presentation goes to OUT itself, as a chosen one does.
    writeDeck("single.pptx", false);
    run = zovedit({"render", "single.pptx", "-o", "single.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(path("single.png")).size(), QSize(1440, 1080));
    EXPECT_FALSE(QFile::exists(path("single-1.png")));

    // A PDF has a page per slide.
    run = zovedit({"render", "deck.pptx", "-o", "deck.pdf"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray pdf = readFile("deck.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2);
}

} // namespace
} // namespace zov::arrange_test
