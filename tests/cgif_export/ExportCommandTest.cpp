#include "cgif/export/ExportCommand.h"
#include "cgif_export/GraphSlides.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;
using test::MemoryStream;

// A stream whose disk fills up: every write, or the final close, fails like a full disk.
class FailingStream : public MemoryStream {
public:
    explicit FailingStream(bool failOnWrite) : failOnWrite_(failOnWrite) {}
    void Write(const QString& text) override {
        if (failOnWrite_)
            throw platform::FileError(QStringLiteral("Cannot write to \"out.cgf\": No space left on device"));
        MemoryStream::Write(text);
    }
    void Close() override {
        MemoryStream::Close();
        if (!failOnWrite_)
            throw platform::FileError(QStringLiteral("Cannot write to \"out.cgf\": No space left on device"));
    }
private:
    bool failOnWrite_;
};

class ExportCommandTest : public ::testing::Test {
protected:
    // The boxes shown, as "TITLE: TEXT".
    QStringList boxes() const {
        QStringList lines;
        for (const platform::Message& message : messages.shown())
            lines << message.title + QStringLiteral(": ") + message.text;
        return lines;
    }
    GraphSlides g;
    platform::FakeMessageBoxes messages;
};

// Each export starts with no concept written: the second writes the defining label again.
TEST_F(ExportCommandTest, WrittenGraphsAreConfirmedAfterTheStreamIsClosedEachTimeAfresh) {
    g.addSlide("G1");
    g.draw({"c|x/AAAAAAAA|A"});
    for (int run = 1; run <= 2; ++run) {
        messages.clear();
        MemoryStream out;
        EXPECT_EQ(ExportGraphs(g.presentation(), out, messages), ExportOutcome::Written);
        EXPECT_EQ(out.text(), QStringLiteral(";%Graph*G1%;\r\n[A*x;0@0;\r\n]")) << run;
        EXPECT_EQ(out.closeCount(), 1);
        EXPECT_EQ(boxes(), QStringList{"ZOVEdit: File written"});
        EXPECT_EQ(messages.shown().at(0).icon, platform::MessageIcon::Information);
    }
}

TEST_F(ExportCommandTest, NoGraphOrAHostErrorBeforeAnyGraphSaysNothingWasExported) {
    GraphSlides none; // no slide at all
    MemoryStream nothing;
    EXPECT_EQ(ExportGraphs(none.presentation(), nothing, messages), ExportOutcome::NothingWritten);
    // Slides with only a title, or with a relation without arcs, have no nodes to write.
    g.addSlide("G1");
    g.addSlide("G2");
    g.draw({"r|RRRRRRRR|lonely"});
    MemoryStream empty;
    EXPECT_EQ(ExportGraphs(g.presentation(), empty, messages), ExportOutcome::NothingWritten);
    EXPECT_EQ(empty.closeCount(), 1);
    EXPECT_TRUE(empty.text().isEmpty());

    g.draw({"c|AAAAAAAA|A"});
    g.shownSlide().Shapes().Item(1).data().hasTextFrame = false;
    MemoryStream stopped;
    EXPECT_EQ(ExportGraphs(g.presentation(), stopped, messages), ExportOutcome::NothingWritten);
    EXPECT_EQ(stopped.closeCount(), 1);
    // Where it stopped, then that nothing was written (and no "File written").
    const QStringList shown = boxes();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown.mid(0, 2), QStringList(2, QStringLiteral("ZOVEdit: No graph to export")));
    EXPECT_EQ(shown[2], QStringLiteral("Error: The export stopped at slide G2: its first shape, \"G2/TITLEIDX\", has no text, where a graph slide has its title label. Every slide that holds a rectangle, an oval or a text box is read as a graph: export a copy of the presentation that holds only the graph slides"));
    EXPECT_EQ(shown[3], QStringLiteral("ZOVEdit: No graph to export"));
}

TEST_F(ExportCommandTest, WriteAndCloseFailuresAreReportedInsteadOfSuccess) {
    g.addSlide("G1");
    g.draw({"c|AAAAAAAA|A"});
    for (const bool onWrite : {true, false}) {
        messages.clear();
        FailingStream out(onWrite);
        EXPECT_EQ(ExportGraphs(g.presentation(), out, messages), ExportOutcome::FileNotWritten);
        EXPECT_GE(out.closeCount(), 1);
        ASSERT_EQ(boxes().size(), 1) << onWrite;
        EXPECT_TRUE(boxes()[0].startsWith("Error: ") && boxes()[0].contains("out.cgf")) << boxes()[0].toStdString();
        EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Critical);
    }
}

// A label the 2001 dialect has no syntax for (a name without quotes, a decimal number, as graphs
// read from ISO CGIF hold) is written as it stands, and the export says the file will not read
// back, why, and where (in which graph, at what) the 2001 reading stops; the ISO dialect writes
// such graphs without a word.
TEST_F(ExportCommandTest, TextThatWillNotReadBackIsWrittenAndSaidSo) {
    // A 2001 export of other slides, with the boxes of the exports before it forgotten.
    const auto exportAfresh = [&](GraphSlides& slides, MemoryStream& out) {
        messages.clear();
        return ExportGraphs(slides.presentation(), out, messages);
    };
    g.addSlide("Trip");
    g.draw({"c|AAAAAAAA|City:Boston"});
    MemoryStream out;
    EXPECT_EQ(ExportGraphs(g.presentation(), out, messages), ExportOutcome::WrittenNotReadBack);
    EXPECT_EQ(out.text(), QStringLiteral(";%Graph*Trip%;\r\n[City:Boston;0@0;\r\n]"));
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_EQ(boxes()[0], QStringLiteral("ZOVEdit: File written"));
    EXPECT_EQ(boxes()[1], QStringLiteral("ZOVEdit: The file will not read back as the same graphs: it holds what only "
                                         "ISO CGIF has (such as a name without quotes, a signed number, or a letter "
                                         "beyond ASCII in a type), so an "
                                         "import reads it as ISO CGIF, and reading it as 2001 CGIF stops in graph "
                                         "Trip at \"Cannot "
                                         "find ] terminator for concept (at Boston;0@0;)\". Export them as ISO 24707 "
                                         "CGIF to keep them."));
    EXPECT_EQ(messages.shown().at(1).icon, platform::MessageIcon::Exclamation);

    messages.clear();
    MemoryStream iso;
    EXPECT_EQ(ExportGraphs(g.presentation(), iso, messages, ExportDialect::Iso), ExportOutcome::Written);
    EXPECT_EQ(boxes(), QStringList{"ZOVEdit: File written"});

    // Taken for the 2001 dialect, but its reader stops: the reason is its message.
    GraphSlides decimal;
    decimal.addSlide("Pi");
    decimal.draw({"c|BBBBBBBB|Number:3.14"});
    MemoryStream stops;
    EXPECT_EQ(exportAfresh(decimal, stops), ExportOutcome::WrittenNotReadBack);
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_TRUE(boxes()[1].contains(
        QStringLiteral("reading it stops in graph Pi at \"Cannot find ] terminator for concept (at .14;0@0;)\"")))
        << boxes()[1].toStdString();

    // A relation without its out arc, which the export stops at with an error, is written
    // unfinished: that, not the dialect, is why the file does not read back.
    GraphSlides unfinished;
    unfinished.addSlide("G1");
    unfinished.draw({"c|/AAAAAAAA|Dog", "r|RRRRRRRR|Near", "Dog>Near"});
    unfinished.addSlide("G2");
    unfinished.draw({"c|/BBBBBBBB|Cat"});
    MemoryStream half;
    EXPECT_EQ(exportAfresh(unfinished, half), ExportOutcome::WrittenNotReadBack);
    ASSERT_EQ(boxes().size(), 3);
    EXPECT_EQ(boxes()[0], QStringLiteral("Error: No out arcs for Near!"));
    EXPECT_TRUE(boxes()[2].startsWith(QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the graph "
                                                     "that the error above stopped is written unfinished, and reading it "
                                                     "stops at \"Expected ) at end of relation")))
        << boxes()[2].toStdString();
    EXPECT_FALSE(boxes()[2].contains(QStringLiteral("ISO")));

    // A slide name the 2001 title comment cannot hold: the box names the character at fault, and
    // a long name is cut between whole characters.
    const QString cat = QStringLiteral("\U0001F408");
    GraphSlides titled;
    titled.addSlide(QString(39, u'x') + cat + cat + QStringLiteral("; y"));
    titled.draw({"c|/AAAAAAAA|Cat"});
    MemoryStream titledOut;
    EXPECT_EQ(exportAfresh(titled, titledOut), ExportOutcome::WrittenNotReadBack);
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_EQ(boxes()[1], QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the title of slide \"") +
                              QString(39, u'x') + QStringLiteral("...\" (graph type \"Graph\") cannot be held by a 2001 "
                                                                 "title comment, as it holds \";\", so it reads back as "
                                                                 "another graph. Export them as ISO 24707 CGIF to keep them."));
    // With an error that stopped a graph, the box gives both, each in its own words.
    unfinished.presentation().Slides().Item(2).SetName(QStringLiteral("50% off"));
    EXPECT_EQ(exportAfresh(unfinished, half), ExportOutcome::WrittenNotReadBack);
    ASSERT_EQ(boxes().size(), 3);
    EXPECT_EQ(boxes()[2], QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the graph that the "
                                         "error above stopped is written unfinished, and the title of slide \"50% off\" "
                                         "(graph type \"Graph\") cannot be held by a 2001 title comment, as it holds "
                                         "\"%\", so it reads back as another graph."));

    // The warning an export of these slides ends with; empty when it reads back without a word.
    const auto readBackWarning = [&](GraphSlides& slides) {
        MemoryStream out;
        const ExportOutcome outcome = exportAfresh(slides, out);
        EXPECT_EQ(outcome == ExportOutcome::WrittenNotReadBack, boxes().size() == 2) << out.text().toStdString();
        return outcome == ExportOutcome::WrittenNotReadBack && boxes().size() == 2 ? boxes()[1] : QString();
    };
    // A slide that refers to a concept of a slide moved after it: the label is written before
    // its definition, and reading leaves it unbound; the export says so and what to do.
    GraphSlides moved;
    moved.addSlide("G3");
    moved.draw({"p|x3/DDDDDDDD|Dog(Dog in G1)", "r|RRRRRRRR|Near", "c|/EEEEEEEE|Cat", "Dog(Dog in G1)>Near", "Near>Cat"});
    moved.addSlide("G1");
    moved.draw({"c|x3/DDDDDDDD|Dog"});
    EXPECT_EQ(readBackWarning(moved),
              QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the coreference label ?x3 is "
                             "used where no slide before it defines *x3, so reading it leaves that concept without its "
                             "coreference. A later slide defines it: put that slide before the slides that refer to it, "
                             "and export again."));
    // In their right order the same slides read back without a word.
    GraphSlides ordered;
    ordered.addSlide("G1");
    ordered.draw({"c|x3/DDDDDDDD|Dog"});
    ordered.addSlide("G3");
    ordered.draw({"p|x3/DDDDDDDD|Dog(Dog in G1)", "r|RRRRRRRR|Near", "c|/EEEEEEEE|Cat", "Dog(Dog in G1)>Near", "Near>Cat"});
    EXPECT_EQ(readBackWarning(ordered), QString());
    // Labels typed into two concepts of one slide make pentagons, both written as references:
    // no slide defines the label, and moving slides would not help.
    GraphSlides typed;
    typed.addSlide("G1");
    typed.draw({"p|x/AAAAAAAA|John", "r|RRRRRRRR|Loves", "p|x/BBBBBBBB|Mary", "John>Loves", "Loves>Mary"});
    EXPECT_EQ(readBackWarning(typed),
              QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the coreference label ?x is used "
                             "where no slide before it defines *x, so reading it leaves that concept without its "
                             "coreference. No slide defines it: a label typed into a concept is written as a reference "
                             "to it. To make two concepts coreferent, link them from two graph slides."));

    // The ISO export reads its text back with the ISO reader, and says the same.
    const auto isoWarning = [&](GraphSlides& slides) {
        MemoryStream out;
        messages.clear();
        const ExportOutcome outcome = ExportGraphs(slides.presentation(), out, messages, ExportDialect::Iso);
        return outcome == ExportOutcome::WrittenNotReadBack && boxes().size() == 2 ? boxes()[1] : QString();
    };
    EXPECT_TRUE(isoWarning(typed).endsWith(QStringLiteral("No slide defines it: a label typed into a concept is written "
                                                          "as a reference to it. To make two concepts coreferent, link "
                                                          "them from two graph slides.")))
        << isoWarning(typed).toStdString();
    EXPECT_EQ(isoWarning(ordered), QString());
    // A pentagon that names a graph slide moved after it: the ISO text defines that graph by
    // its note, not by a "*" label.
    GraphSlides heldLater;
    heldLater.addSlide("G1");
    heldLater.draw({"p|G2/PPPPPPPP|Proposition(G2)", "r|RRRRRRRR|Attr", "c|/EEEEEEEE|Mat", "Proposition(G2)>Attr", "Attr>Mat"});
    heldLater.addSlide("G2", "Proposition");
    heldLater.draw({"c|/FFFFFFFF|Dog"});
    EXPECT_TRUE(isoWarning(heldLater).endsWith(QStringLiteral("A later slide defines it: put that slide before the "
                                                              "slides that refer to it, and export again.")))
        << isoWarning(heldLater).toStdString();

    // A pentagon that refers to a concept of its own slide: ISO CGIF keeps the reference when
    // the definition comes first; 2001 CGIF has no way to say it, and moving slides would not help.
    GraphSlides ownSlide;
    ownSlide.addSlide("G1");
    ownSlide.draw({"c|x/AAAAAAAA|Cat", "p|x/BBBBBBBB|Animal(Cat in G1)"});
    EXPECT_EQ(isoWarning(ownSlide), QString());
    EXPECT_EQ(readBackWarning(ownSlide),
              QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the coreference label ?x refers "
                             "to a concept of its own slide, which 2001 CGIF has no way to say, so reading it leaves "
                             "that concept without its coreference. Export them as ISO 24707 CGIF to keep them."));
    // Where an arc puts the pentagon before the concept, the concept is written first all the same.
    GraphSlides ownSlideFirst;
    ownSlideFirst.addSlide("G1");
    ownSlideFirst.draw({"p|x/BBBBBBBB|Animal(Cat in G1)", "r|RRRRRRRR|On", "c|x/AAAAAAAA|Cat", "Animal(Cat in G1)>On",
                        "On>Cat"});
    EXPECT_EQ(isoWarning(ownSlideFirst), QString());
}

// Two graphs imported from one file each define *x; a pentagon linked from the second to the
// first's Cat joins the label x, which the second's own Cat has too: the text reads back whole,
// but with the pentagon bound to the Cat of its own slide. Said so, in both dialects; a pentagon
// whose slide has no concept of its label is written without a word.
TEST_F(ExportCommandTest, APentagonWhoseLabelItsOwnSlideAlsoDefinesIsSaidNotToReadBack) {
    g.addSlide("S1");
    g.draw({"c|x/AAAAAAAA|Cat|100|50", "r|RRRRRRRR|On|200|50", "c|y/BBBBBBBB|Mat|300|50", "Cat>On", "On>Mat"});
    g.addSlide("S2");
    g.draw({"c|x/CCCCCCCC|Cat|100|50", "r|SSSSSSSS|On|200|50", "c|y/DDDDDDDD|Mat|300|50", "Cat>On", "On>Mat",
            "p|x/EEEEEEEE|Bird(Cat in S1)|100|200", "r|TTTTTTTT|Attr|200|200", "c|FFFFFFFF|Blue|300|200", "Bird(Cat in S1)>Attr",
            "Attr>Blue"});
    const QString told = QStringLiteral("ZOVEdit: The file will not read back as the same graphs: the pentagon \"Bird(Cat in "
                                        "S1)\" on slide S2 refers to another slide's concept by the label ?x, which a "
                                        "concept of S2 has too, and reading it refers to that one instead.");
    for (const ExportDialect dialect : {ExportDialect::Cgif2001, ExportDialect::Iso}) {
        messages.clear();
        MemoryStream out;
        EXPECT_EQ(ExportGraphs(g.presentation(), out, messages, dialect), ExportOutcome::WrittenNotReadBack);
        EXPECT_EQ(boxes(), (QStringList{QStringLiteral("ZOVEdit: File written"), told})) << boxes().join(u'|').toStdString();
    }

    GraphSlides apart;
    apart.addSlide("S1");
    apart.draw({"c|x/AAAAAAAA|Cat|100|50", "r|RRRRRRRR|On|200|50", "c|y/BBBBBBBB|Mat|300|50", "Cat>On", "On>Mat"});
    apart.addSlide("S2");
    apart.draw({"p|x/EEEEEEEE|Bird(Cat in S1)|100|200", "r|TTTTTTTT|Attr|200|200", "c|FFFFFFFF|Blue|300|200",
                "Bird(Cat in S1)>Attr", "Attr>Blue"});
    messages.clear();
    MemoryStream out;
    EXPECT_EQ(ExportGraphs(apart.presentation(), out, messages), ExportOutcome::Written);
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("ZOVEdit: File written")});
}

TEST_F(ExportCommandTest, AFileIsReplacedAsUtf8WithCrLfOrNamedWhenItCannotBeCreated) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.cgf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    g.addSlide("Graphe");
    g.draw({"c|AAAAAAAA|Chat:'Noël'|1.5|2"});
    EXPECT_EQ(ExportGraphsToFile(g.presentation(), path, messages), ExportOutcome::Written);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(";%Graph*Graphe%;\r\n[Chat:'No\xC3\xABl';1.5@2;\r\n]"));

    const QString missing = dir.filePath(QStringLiteral("missing/folder/out.cgf"));
    EXPECT_EQ(ExportGraphsToFile(g.presentation(), missing, messages), ExportOutcome::FileNotCreated);
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_TRUE(boxes()[1].startsWith("Error: ") && boxes()[1].contains(missing)) << boxes()[1].toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

} // namespace
} // namespace zov::cgif::exporter
