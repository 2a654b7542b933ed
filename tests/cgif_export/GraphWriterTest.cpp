#include "cgif/export/GraphWriter.h"
#include "cgif_export/GraphSlides.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;
using test::MemoryStream;

// Shows CR LF as "|" so that a failing comparison is readable; the tests compare the raw text.
QString visible(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("|\n")); }

class GraphWriterTest : public ::testing::Test {
protected:
    // Runs one export as the Export command does: empty WrittenConcepts, then WriteGraphs.
    QString exportAll(bool expectedResult = true) {
        GraphWriter writer(g.presentation(), messages);
        writer.ClearWrittenConcepts();
        MemoryStream out;
        EXPECT_EQ(writer.WriteGraphs(out), expectedResult);
        return out.text();
    }

    GraphSlides g;
    platform::FakeMessageBoxes messages;
};

#define EXPECT_TEXT(actual, expected) EXPECT_EQ(visible(actual), visible(QStringLiteral(expected)))

TEST_F(GraphWriterTest, WorkedExampleComesOutByteForByte) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape cat = g.conceptNode(QStringLiteral("x1/QKXBAMEW"), QStringLiteral("Cat"), 100, 50);
    const host::Shape mat = g.conceptNode(QStringLiteral("x2/PLMOKNIJ"), QStringLiteral("Mat"), 300, 50);
    const host::Shape on = g.relation(QStringLiteral("RONRONRO"), QStringLiteral("On"), 200, 150);
    g.arc(cat, on);
    g.arc(on, mat);

    GraphWriter writer(g.presentation(), messages);
    writer.ClearWrittenConcepts();
    MemoryStream out;
    ASSERT_TRUE(writer.WriteGraphs(out));
    EXPECT_EQ(out.text(), QStringLiteral(";%Graph*G1%;\r\n"
                                         "[Cat*x1;100@50;\r\n"
                                         "][Mat*x2;300@50;\r\n"
                                         "](On?x1?x2;200@150;\r\n"
                                         ")\r\n"));
    ASSERT_EQ(writer.WrittenConcepts().size(), 2u);
    EXPECT_EQ(writer.WrittenConcepts()[0].Name(), QStringLiteral("x1/QKXBAMEW"));
    EXPECT_EQ(writer.WrittenConcepts()[1].Name(), QStringLiteral("x2/PLMOKNIJ"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(GraphWriterTest, NoSlideWithNodesWritesNothing) {
    g.addSlide(QStringLiteral("G1"));
    g.addSlide(QStringLiteral("G2"));
    g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("lonely"));
    EXPECT_TRUE(exportAll(false).isEmpty());
    GraphSlides empty;
    GraphWriter writer(empty.presentation(), messages);
    MemoryStream out;
    EXPECT_FALSE(writer.WriteGraphs(out));
    EXPECT_TRUE(out.text().isEmpty());
}

TEST_F(GraphWriterTest, GraphsAreSeparatedAndTheFileEndsWithTheLastGraph) {
    g.addSlide(QStringLiteral("empty"));
    g.addSlide(QStringLiteral("G1"));
    g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"), 1, 2);
    g.addSlide(QStringLiteral("titles only"));
    g.addSlide(QStringLiteral("p1"), "Proposition");
    g.comment(QStringLiteral("CCCCCCCC"), QStringLiteral("note"), 5, 5);
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[A;1@2;\r\n]"
                             " \r\n"
                             ". \r\n"
                             ";%Proposition*p1%;\r\n"
                             ";note;\r\n");
}

TEST_F(GraphWriterTest, TitleTypeIsTheTextAfterTheFirstIs) {
    EXPECT_EQ(GraphWriter::TitleType(QStringLiteral("G1 is Graph")), QStringLiteral("Graph"));
    EXPECT_EQ(GraphWriter::TitleType(QStringLiteral("a is b is c")), QStringLiteral("b is c"));
    EXPECT_EQ(GraphWriter::TitleType(QStringLiteral("G1 is ")), QString());
    EXPECT_EQ(GraphWriter::TitleType(QStringLiteral("G1 IS Graph")), QStringLiteral("Graph")); // no " is "
    EXPECT_EQ(GraphWriter::TitleType(QString()), QStringLiteral("Graph"));

    // The name comes from the slide, the type from its first shape, whatever that is.
    g.addSlide(QStringLiteral("Named"), nullptr);
    g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("x is Thing"), 0, 0);
    EXPECT_TEXT(exportAll(), ";%Thing*Named%;\r\n[x is Thing;0@0;\r\n]");
}

TEST_F(GraphWriterTest, ConceptFormsAndLaterReferences) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape cat = g.conceptNode(QStringLiteral("x/CATCATCA"), QStringLiteral("Cat:Tom"), 10, 20);
    const host::Shape attr = g.relation(QStringLiteral("R1R1R1R1"), QStringLiteral("Attr"), 30, 40);
    g.arc(cat, attr);
    const host::Shape big = g.conceptNode(QStringLiteral("y/BIGBIGBI"), QStringLiteral("Big"), 70, 80);
    g.arc(attr, big);
    const host::Shape poss = g.relation(QStringLiteral("R2R2R2R2"), QStringLiteral("Poss"), 50, 60);
    g.arc(cat, poss);
    g.arc(poss, big);
    g.conceptNode(QStringLiteral("/TWOLINES"), QStringLiteral("two\r\nlines"), 1, 1);
    g.conceptNode(QStringLiteral("DOGDOGDO"), QStringLiteral("Dog"), 2, 3);
    // Big is written in full as Attr's argument, so its own record (after Attr) adds nothing.
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[Cat:Tom*x;10@20;\r\n]"
                             "(Attr?x[Big*y;70@80;\r\n];30@40;\r\n)\r\n"
                             "(Poss?x?y;50@60;\r\n)\r\n"
                             "[two\r\nlines;1@1;\r\n]"
                             "[Dog;2@3;\r\n]");
}

TEST_F(GraphWriterTest, ConceptWrittenOnAnEarlierSlideIsItsBoundLabelLater) {
    g.addSlide(QStringLiteral("G1"));
    g.conceptNode(QStringLiteral("x/SAMESAME"), QStringLiteral("Cat"), 0, 0);
    g.addSlide(QStringLiteral("G2"));
    const host::Shape copy = g.conceptNode(QStringLiteral("x/SAMESAME"), QStringLiteral("Cat copy"), 5, 5);
    const host::Shape r = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"), 6, 6);
    g.arc(copy, r);
    g.arc(r, copy);
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[Cat*x;0@0;\r\n]"
                             " \r\n. \r\n"
                             ";%Graph*G2%;\r\n?x(R?x?x;6@6;\r\n)\r\n");
}

TEST_F(GraphWriterTest, CoreferentConceptsAreWrittenWithTheirLabelEveryTime) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape p1 = g.pentagon(QStringLiteral("x/PPPPPPP1"), QStringLiteral("Cat(Person in G1)"), 1, 2);
    const host::Shape p2 = g.pentagon(QStringLiteral("G2/PPPPPPP2"), QStringLiteral("G2"), 3, 4);
    const host::Shape p3 = g.pentagon(QStringLiteral("y/PPPPPPP3"), QStringLiteral("Dog"), 5, 6);
    const host::Shape r = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"), 7, 8);
    g.arc(p1, r);
    g.arc(p2, r);
    g.arc(p3, r);
    g.arc(r, p1);
    g.addSlide(QStringLiteral("G3"));
    const host::Shape neg = g.relation(QStringLiteral("NEGNEGNE"), QStringLiteral("Neg"), 10, 10);
    const host::Shape prop = g.pentagon(QStringLiteral("G2/PROPPROP"), QStringLiteral("Proposition (G2)"), 0, 0);
    g.arc(neg, prop);
    // A label without "(" that differs from its coreference label is kept whole as the type.
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "(R[Cat?x;1@2;\r\n][?G2;3@4;\r\n][Dog?y;5@6;\r\n][Cat?x;1@2;\r\n];7@8;\r\n)\r\n"
                             " \r\n. \r\n"
                             ";%Graph*G3%;\r\n"
                             "(Neg[Proposition ?G2;0@0;\r\n];10@10;\r\n)\r\n");
}

TEST_F(GraphWriterTest, ActorsWriteInArcsBarOutArcs) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("a/AAAAAAAA"), QStringLiteral("A"));
    const host::Shape b = g.conceptNode(QStringLiteral("b/BBBBBBBB"), QStringLiteral("B"));
    const host::Shape plus = g.actor(QStringLiteral("PLUSPLUS"), QStringLiteral("Plus"), 40, 50);
    g.arc(a, plus);
    g.arc(b, plus);
    g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("between"), 99, 99);
    const host::Shape sum = g.conceptNode(QStringLiteral("/SUMSUMSU"), QStringLiteral("Sum"), 60, 70);
    g.arc(plus, sum);
    const host::Shape source = g.actor(QStringLiteral("SRCSRCSR"), QStringLiteral("Source"), 1, 1);
    g.arc(source, a);
    g.arc(source, b);
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[A*a;0@0;\r\n][B*b;0@0;\r\n]"
                             "<Plus?a?b|[Sum;60@70;\r\n];40@50;\r\n>\r\n"
                             ";between;\r\n"
                             "<Source|?a?b;1@1;\r\n>\r\n");
}

TEST_F(GraphWriterTest, MissingOutArcEndsTheSlideAfterAMessage) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("a/AAAAAAAA"), QStringLiteral("A"));
    const host::Shape rel = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("Rel"), 5, 5);
    g.arc(a, rel);
    g.conceptNode(QStringLiteral("/BBBBBBBB"), QStringLiteral("B"));
    g.addSlide(QStringLiteral("G2"));
    const host::Shape c = g.conceptNode(QStringLiteral("c/CCCCCCCC"), QStringLiteral("C"));
    const host::Shape t = g.actor(QStringLiteral("TTTTTTTT"), QStringLiteral("T"));
    g.arc(c, t);
    g.comment(QStringLiteral("NNNNNNNN"), QStringLiteral("skipped"));
    g.addSlide(QStringLiteral("G3"));
    g.conceptNode(QStringLiteral("DDDDDDDD"), QStringLiteral("D"));

    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A*a;0@0;\r\n](Rel?a"
                             " \r\n. \r\n"
                             ";%Graph*G2%;\r\n[C*c;0@0;\r\n]<T?c|"
                             " \r\n. \r\n"
                             ";%Graph*G3%;\r\n[D;0@0;\r\n]");
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("No out arcs for Rel!"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("No out arcs for T!"));
}

TEST_F(GraphWriterTest, HostErrorsStopTheExportKeepingWhatWasWritten) {
    g.addSlide(QStringLiteral("G1"));
    g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    g.addSlide(QStringLiteral("G2"));
    const host::Shape b = g.conceptNode(QStringLiteral("BBBBBBBB"), QStringLiteral("B"));
    host::Shape loose = g.arc(b, host::Shape());
    g.addSlide(QStringLiteral("G3"));
    g.conceptNode(QStringLiteral("CCCCCCCC"), QStringLiteral("C"));
    const QString firstGraph = QStringLiteral(";%Graph*G1%;\r\n[A;0@0;\r\n]");
    EXPECT_EQ(exportAll(false), firstGraph);

    // A first shape without text gives no type: the same stop, before any separator.
    loose.Delete();
    const host::Shape title = g.presentation().Slides().Item(2).Shapes().Item(1);
    title.data().hasTextFrame = false;
    EXPECT_EQ(exportAll(false), firstGraph);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(GraphWriterTest, UnlabelledConceptsReferredToAgainGetFreshLabelsInTheTextOnly) {
    g.addSlide(QStringLiteral("G1"));
    // Drawn in the order the import draws: each arc right after the shapes it joins.
    const host::Shape cat = g.conceptNode(QStringLiteral("/CATCATCA"), QStringLiteral("Cat"));
    const host::Shape on = g.relation(QStringLiteral("ONONONON"), QStringLiteral("On"));
    g.arc(cat, on);
    const host::Shape mat = g.conceptNode(QStringLiteral("MATMATMA"), QStringLiteral("Mat"));
    g.arc(on, mat);
    const host::Shape near = g.relation(QStringLiteral("NEARNEAR"), QStringLiteral("Near"));
    g.arc(cat, near);
    g.arc(near, mat);
    g.conceptNode(QStringLiteral("/ONCEONCE"), QStringLiteral("Once"));
    // Labels in use anywhere are skipped: a shape name's label, a slide name, a label in a text.
    g.addSlide(QStringLiteral("c2"));
    g.conceptNode(QStringLiteral("c1/XXXXXXXX"), QStringLiteral("Dog:*c3"));

    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[Cat*c4;0@0;\r\n]"
                             "(On?c4[Mat*c5;0@0;\r\n];0@0;\r\n)\r\n"
                             "(Near?c4?c5;0@0;\r\n)\r\n"
                             "[Once;0@0;\r\n]"
                             " \r\n. \r\n"
                             ";%Graph*c2%;\r\n[Dog:*c3*c1;0@0;\r\n]");
    EXPECT_EQ(cat.Name(), QStringLiteral("/CATCATCA"));
    EXPECT_EQ(mat.Name(), QStringLiteral("MATMATMA"));
}

TEST_F(GraphWriterTest, ConceptRecordTwiceOnTheSlideIsWrittenAgainAsItsLabel) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("a/AAAAAAAA"), QStringLiteral("A"));
    const host::Shape b = g.conceptNode(QStringLiteral("b/BBBBBBBB"), QStringLiteral("B"));
    g.arc(a, b);
    GraphSlides::bringToFront(b); // records: A, B (made by the arc), B (its own)
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A*a;0@0;\r\n][B*b;0@0;\r\n]?b");
}

TEST_F(GraphWriterTest, TitleLabelAsArgumentIsAnEmptyConcept) {
    const host::Slide slide = g.addSlide(QStringLiteral("G1"));
    const host::Shape title = slide.Shapes().Item(1);
    const host::Shape r = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"), 3, 4);
    const host::Shape a = g.conceptNode(QStringLiteral("a/AAAAAAAA"), QStringLiteral("A"), 1, 2);
    g.arc(a, r);
    g.arc(r, title);
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A*a;1@2;\r\n](R?a[;0@0;\r\n];3@4;\r\n)\r\n");
}

} // namespace
} // namespace zov::cgif::exporter
