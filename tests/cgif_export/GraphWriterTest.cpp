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
    g.addSlide("G1");
    g.draw({"c|x1/QKXBAMEW|Cat|100|50", "c|x2/PLMOKNIJ|Mat|300|50", "r|RONRONRO|On|200|150", "Cat>On", "On>Mat"});
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

TEST_F(GraphWriterTest, GraphsAreSeparatedAndTheFileEndsWithTheLastGraph) {
    g.addSlide("empty");
    g.addSlide("G1");
    g.draw({"c|AAAAAAAA|A|1|2"});
    g.addSlide("titles only");
    g.addSlide("p1", "Proposition");
    g.draw({"n|CCCCCCCC|note|5|5"});
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A;1@2;\r\n] \r\n. \r\n;%Proposition*p1%;\r\n;note;\r\n");
}

TEST_F(GraphWriterTest, TitleTypeIsTheTextAfterTheFirstIs) {
    const std::pair<const char*, const char*> cases[] = {
        {"G1 is Graph", "Graph"}, {"a is b is c", "b is c"}, {"G1 is ", ""}, {"G1 IS Graph", "Graph"}, {"", "Graph"}};
    for (const auto& [title, type] : cases)
        EXPECT_EQ(GraphWriter::TitleType(QString::fromUtf8(title)), QString::fromUtf8(type)) << title;
    // The name comes from the slide, the type from its first shape, whatever that is.
    g.addSlide("Named", nullptr);
    g.draw({"c|AAAAAAAA|x is Thing"});
    EXPECT_TEXT(exportAll(), ";%Thing*Named%;\r\n[x is Thing;0@0;\r\n]");
}

TEST_F(GraphWriterTest, ConceptFormsAndLaterReferences) {
    g.addSlide("G1");
    g.draw({"c|x/CATCATCA|Cat:Tom|10|20", "r|R1R1R1R1|Attr|30|40", "Cat:Tom>Attr", "c|y/BIGBIGBI|Big|70|80", "Attr>Big",
            "r|R2R2R2R2|Poss|50|60", "Cat:Tom>Poss", "Poss>Big", "c|/TWOLINES|two\r\nlines|1|1", "c|DOGDOGDO|Dog|2|3"});
    // Big is written in full as Attr's argument, so its own record (after Attr) adds nothing.
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[Cat:Tom*x;10@20;\r\n]"
                             "(Attr?x[Big*y;70@80;\r\n];30@40;\r\n)\r\n"
                             "(Poss?x?y;50@60;\r\n)\r\n"
                             "[two\r\nlines;1@1;\r\n]"
                             "[Dog;2@3;\r\n]");
}

TEST_F(GraphWriterTest, ConceptWrittenOnAnEarlierSlideIsWrittenInFullAgainWithItsLabel) {
    g.addSlide("G1");
    g.draw({"c|x/SAMESAME|Cat"});
    g.addSlide("G2");
    g.draw({"c|x/SAMESAME|Cat copy|5|5", "r|RRRRRRRR|R|6|6", "Cat copy>R", "R>Cat copy"});
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[Cat*x;0@0;\r\n] \r\n. \r\n;%Graph*G2%;\r\n[Cat copy*x;5@5;\r\n](R?x?x;6@6;\r\n)\r\n");
}

TEST_F(GraphWriterTest, CoreferentConceptsAreWrittenWithTheirLabelEveryTime) {
    g.addSlide("G1");
    g.draw({"p|x/PPPPPPP1|Cat(Person in G1)|1|2", "p|G2/PPPPPPP2|G2|3|4", "p|y/PPPPPPP3|Dog|5|6", "r|RRRRRRRR|R|7|8",
            "Cat(Person in G1)>R", "G2>R", "Dog>R", "R>Cat(Person in G1)"});
    g.addSlide("G3");
    g.draw({"r|NEGNEGNE|Neg|10|10", "p|G2/PROPPROP|Proposition (G2)", "Neg>Proposition (G2)"});
    // A label without "(" that differs from its coreference label is kept whole as the type.
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "(R[Cat?x;1@2;\r\n][?G2;3@4;\r\n][Dog?y;5@6;\r\n][Cat?x;1@2;\r\n];7@8;\r\n)\r\n"
                             " \r\n. \r\n"
                             ";%Graph*G3%;\r\n"
                             "(Neg[Proposition ?G2;0@0;\r\n];10@10;\r\n)\r\n");
}

TEST_F(GraphWriterTest, ActorsWriteInArcsBarOutArcs) {
    g.addSlide("G1");
    g.draw({"c|a/AAAAAAAA|A", "c|b/BBBBBBBB|B", "a|PLUSPLUS|Plus|40|50", "A>Plus", "B>Plus", "n|NOTENOTE|between|99|99",
            "c|/SUMSUMSU|Sum|60|70", "Plus>Sum", "a|SRCSRCSR|Source|1|1", "Source>A", "Source>B"});
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[A*a;0@0;\r\n][B*b;0@0;\r\n]"
                             "<Plus?a?b|[Sum;60@70;\r\n];40@50;\r\n>\r\n"
                             ";between;\r\n"
                             "<Source|?a?b;1@1;\r\n>\r\n");
}

TEST_F(GraphWriterTest, MissingOutArcEndsTheSlideAfterAMessage) {
    g.addSlide("G1");
    g.draw({"c|a/AAAAAAAA|A", "r|RRRRRRRR|Rel|5|5", "A>Rel", "c|/BBBBBBBB|B"});
    g.addSlide("G2");
    g.draw({"c|c/CCCCCCCC|C", "a|TTTTTTTT|T", "C>T", "n|NNNNNNNN|skipped"});
    g.addSlide("G3");
    g.draw({"c|DDDDDDDD|D"});
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
    g.addSlide("G1");
    g.draw({"c|AAAAAAAA|A"});
    g.addSlide("G2");
    g.draw({"c|BBBBBBBB|B", "B>-"}); // an arc into nothing is ignored
    g.addSlide("G3");
    g.draw({"c|CCCCCCCC|C"});
    exportAll(true);
    EXPECT_TRUE(messages.shown().empty());
    // A first shape without text gives no type: the export stops before any separator, and
    // says where.
    const QString firstGraph = QStringLiteral(";%Graph*G1%;\r\n[A;0@0;\r\n]");
    const host::Shapes second = g.presentation().Slides().Item(2).Shapes();
    second.Item(1).data().hasTextFrame = false;
    EXPECT_EQ(exportAll(false), firstGraph);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("The export stopped at slide G2: the shape \"G2/TITLEIDX\" has no text"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
}

TEST_F(GraphWriterTest, UnlabelledConceptsReferredToAgainGetFreshLabelsInTheTextOnly) {
    g.addSlide("G1");
    // Drawn in the order the import draws: each arc right after the shapes it joins.
    const auto drawn = g.draw({"c|/CATCATCA|Cat", "r|ONONONON|On", "Cat>On", "c|MATMATMA|Mat", "On>Mat", "r|NEARNEAR|Near",
                               "Cat>Near", "Near>Mat", "c|/ONCEONCE|Once"});
    // Labels in use anywhere are skipped: a shape name's label, a slide name, a label in a text.
    g.addSlide("c2");
    g.draw({"c|c1/XXXXXXXX|Dog:*c3"});
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n"
                             "[Cat*c4;0@0;\r\n]"
                             "(On?c4[Mat*c5;0@0;\r\n];0@0;\r\n)\r\n"
                             "(Near?c4?c5;0@0;\r\n)\r\n"
                             "[Once;0@0;\r\n]"
                             " \r\n. \r\n"
                             ";%Graph*c2%;\r\n[Dog:*c3*c1;0@0;\r\n]");
    EXPECT_EQ(drawn.at("Cat").Name(), QStringLiteral("/CATCATCA"));
    EXPECT_EQ(drawn.at("Mat").Name(), QStringLiteral("MATMATMA"));
}

TEST_F(GraphWriterTest, ConceptRecordTwiceOnTheSlideIsWrittenAgainAsItsLabel) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|a/AAAAAAAA|A", "c|b/BBBBBBBB|B", "A>B"});
    GraphSlides::bringToFront(drawn.at("B")); // records: A, B (made by the arc), B (its own)
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A*a;0@0;\r\n][B*b;0@0;\r\n]?b");
}

TEST_F(GraphWriterTest, TitleLabelAsArgumentIsAnEmptyConcept) {
    const host::Shape title = g.addSlide("G1").Shapes().Item(1);
    const auto drawn = g.draw({"r|RRRRRRRR|R|3|4", "c|a/AAAAAAAA|A|1|2", "A>R"});
    g.arc(drawn.at("R"), title);
    EXPECT_TEXT(exportAll(), ";%Graph*G1%;\r\n[A*a;1@2;\r\n](R?a[;0@0;\r\n];3@4;\r\n)\r\n");
}

} // namespace
} // namespace zov::cgif::exporter
