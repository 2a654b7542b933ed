// The file loop: graphs separated by ".", title comments, the end of the input, line ends, and
// what a failure of the sink or the stream does.
#include "ReaderFixture.h"

#include <QTemporaryDir>

namespace zov::cgif::test {
namespace {

class FileReader : public ReaderTest {
protected:
    QStringList BuiltNames() const {
        QStringList names;
        for (const BuiltGraph& graph : sink.built)
            names << graph.GraphName() + u':' + graph.GraphType + u':' + QString::number(graph.Nodes.size());
        return names;
    }
};

TEST_F(FileReader, GraphsAreSeparatedByFullStops) {
    EXPECT_TRUE(Read(Q("[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:1")});
    EXPECT_EQ(sink.built[0].FirstLinkIndex, 0);
    EXPECT_EQ(sink.built[0].FirstNodeIndex, 1);

    // The writer's separator: a line with one blank, then a line ". ".
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%Graph*A%;\r\n[Cat]\r\n \r\n. \r\n;%Proposition*B%;\r\n[Dog]\r\n")));
    EXPECT_EQ(BuiltNames(), (QStringList{Q("A:Graph:1"), Q("B:Proposition:1")}));
    EXPECT_EQ(Errors(), QStringList());
}

TEST_F(FileReader, AFullStopAtTheEndReadsOneMoreEmptyGraph) {
    EXPECT_TRUE(Read(Q("[Cat]\n.\n")));
    EXPECT_EQ(BuiltNames(), (QStringList{Q("G1:Graph:1"), Q("G2:Graph:0")}));
    sink.built.clear();
    EXPECT_TRUE(Read(Q("[A].\n.[B]")));
    EXPECT_EQ(BuiltNames(), (QStringList{Q("G3:Graph:1"), Q("G4:Graph:0"), Q("G5:Graph:1")}));
}

TEST_F(FileReader, AnEmptyFileGivesOneEmptyGraph) {
    EXPECT_TRUE(Read(QString()));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:0")});
    EXPECT_EQ(Nodes().size(), 1u);
    EXPECT_EQ(Nodes()[0].GraphNumber, 1);
    EXPECT_EQ(reader.GraphCounter(), 2);
}

TEST_F(FileReader, TitleCommentsNameAndTypeTheGraph) {
    EXPECT_TRUE(Read(Q(";%Proposition*Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("Situation1:Proposition:1")});
    EXPECT_EQ(Nodes()[0].GraphNumber, 1);

    // Blanks around the parts are trimmed; tabs are not.
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%  Situation *  s 2 %;")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("s 2:Situation:0")});
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%Situation\t*\tp%;")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("\tp:Situation\t:0")});

    // An empty name part falls back to "G" + the graph number.
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%Situation *%;")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G4:Situation:0")});
}

TEST_F(FileReader, ATitleWithoutStarTakesItsNameFromThePaletteText) {
    reader.SetPaletteTextSource([] { return Q("  typed name "); });
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("typed name:Graph:1")});
    reader.SetPaletteTextSource([] { return QString(); });
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G2:Graph:1")});
}

TEST_F(FileReader, AFirstCommentWithoutTitleIsAStandAloneComment) {
    EXPECT_TRUE(Read(Q(";note; [Cat]")));
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G1"));
    const NodeRecord* note = sink.built[0].Node(Q("note"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Kind, NodeKind::Comment);
    EXPECT_EQ(note->X, 200.0f);
    EXPECT_EQ(note->Y, 100.0f);
    // The text after a title is a comment too.
    sink.built.clear();
    EXPECT_TRUE(Read(Q(";%Graph*A%  more text;[Cat]")));
    EXPECT_EQ(sink.built[0].GraphName(), Q("A"));
    EXPECT_NE(sink.built[0].Node(Q("more text")), nullptr);
}

TEST_F(FileReader, AnErrorInTheSecondGraphKeepsTheFirstAndReadsNoFurther) {
    EXPECT_FALSE(Read(Q("[Cat]\n.\n(On)\n.\n[Dog]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:1")});
    EXPECT_EQ(Errors(), QStringList{Q("Relation with no concepts (at )")});
}

TEST_F(FileReader, AnUnterminatedTitleCommentFailsOutsideTheGraphsHandler) {
    try {
        Read(Q("[Cat]\n.\n;note\n\n"));
        ADD_FAILURE() << "nothing raised";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.number(), 1012);
        EXPECT_EQ(error.message(), Q("No comment string with ; at end (at )"));
    }
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:1")});
    EXPECT_EQ(Errors(), QStringList());
    // Without a closing ";" on a last line that is not empty the read runs past the end.
    EXPECT_THROW(Read(Q(";%Graph*T%")), ParseError);
    // The reader is usable again afterwards.
    sink.built.clear();
    EXPECT_TRUE(Read(Q("[Cat]")));
    EXPECT_EQ(sink.built.size(), 1u);
}

TEST_F(FileReader, ATruncatedRelationAtTheEndEndsItsGraphSilently) {
    EXPECT_TRUE(Read(Q("[Cat *x]\n(On ?x [Mat]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].Nodes.size(), 3u);
    EXPECT_TRUE(sink.built[0].Links.empty());
    // Same for an actor cut off before its bar.
    sink.built.clear();
    EXPECT_TRUE(Read(Q("<Plus [A] [B]")));
    EXPECT_EQ(Errors(), QStringList());
    EXPECT_EQ(sink.built.size(), 1u);
}

TEST_F(FileReader, TextThatIsNoElementEndsTheFileWithoutMessage) {
    EXPECT_TRUE(Read(Q("[Cat] junk [Dog]\n.\n[Eel]")));
    EXPECT_EQ(Errors(), QStringList());
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:1")});
    // Comments in other notations are such text.
    sink.built.clear();
    EXPECT_TRUE(Read(Q("/* a comment */ [Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G2:Graph:0")});
}

TEST_F(FileReader, LineEndsOfEveryKindReadTheSame) {
    const QString lf = Q(";%Graph*A%;\n[Cat *x\n  :\n 'Tom'] (On ?x\n [Mat: \"two\n   lines\"])\n.\n[Dog]\n");
    QString crlf = lf;
    crlf.replace(u'\n', Q("\r\n"));
    QString cr = lf;
    cr.replace(u'\n', u'\r');
    std::vector<QStringList> results;
    for (const QString& text : {lf, crlf, cr}) {
        sink.built.clear();
        reader.SetGraphCounter(1);
        EXPECT_TRUE(Read(text));
        QStringList summary;
        for (const BuiltGraph& graph : sink.built) {
            summary << graph.GraphName() << graph.LinkTypes();
            for (const NodeRecord& node : graph.Nodes)
                summary << node.Type + u'|' + node.Name + u'|' + node.Referent;
        }
        results.push_back(summary);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
    EXPECT_TRUE(results[0].contains(Q("Mat||\"two\r\nlines\"")));
    EXPECT_TRUE(results[0].contains(Q("Cat|x|'Tom'")));
}

TEST_F(FileReader, GraphNumbersContinueAcrossGraphsAndFiles) {
    EXPECT_TRUE(Read(Q("[A]\n.\n[B: 'b']")));
    EXPECT_TRUE(Read(Q("[C]")));
    // G1, G2 (with the empty graph node G3 of B's referent), then G4.
    EXPECT_EQ(BuiltNames(), (QStringList{Q("G1:Graph:1"), Q("G2:Graph:2"), Q("G4:Graph:1")}));
    EXPECT_EQ(sink.built[2].GraphCounterAtBuild, 5);
    EXPECT_EQ(reader.Tables().Contexts.size(), 1u);
}

TEST_F(FileReader, GeneratedNamesSkipNamesAlreadyTaken) {
    reader.SetGraphNameTaken([](const QString& name) { return name == Q("G1") || name == Q("G2"); });
    EXPECT_TRUE(Read(Q("[A]\n.\n;%Graph*G4%;[B]\n.\n[C]")));
    EXPECT_EQ(BuiltNames(), (QStringList{Q("G3:Graph:1"), Q("G4:Graph:1"), Q("G5:Graph:1")}));
    EXPECT_EQ(sink.graphNode.front().GraphNumber, 3);
}

TEST_F(FileReader, TheTablesKeepTheLastGraphAfterTheRead) {
    EXPECT_TRUE(Read(Q("[A]\n.\n(On [Cat] [Mat])")));
    ASSERT_EQ(Nodes().size(), 4u);
    EXPECT_EQ(Nodes()[1].Type, Q("On"));
    EXPECT_EQ(Links().size(), 2u);
    EXPECT_TRUE(reader.AtEnd());
}

TEST_F(FileReader, AFailingSinkIsReportedAndTheReadingGoesOn) {
    sink.failWith = "slide name taken";
    EXPECT_TRUE(Read(Q("[Cat]\n.\n[Dog]")));
    EXPECT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(Errors(), (QStringList{Q("Graph G1 could not be drawn: slide name taken"),
                                     Q("Graph G2 could not be drawn: slide name taken")}));
    // A nested graph that cannot be drawn stops the reading as any failure inside a graph does.
    messages.clear();
    sink.built.clear();
    EXPECT_FALSE(Read(Q("~[ (On [Cat] [Mat]) ]\n.\n[Dog]")));
    EXPECT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(Errors(), QStringList{Q("slide name taken")});
}

TEST_F(FileReader, AStreamThatFailsEndsTheInput) {
    FailingTextStream broken(Q("(On [Cat]\n [Mat])"));
    EXPECT_TRUE(reader.ReadCgifStream(broken));
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].Links.size(), 2u);
}

TEST_F(FileReader, ReadsAFileWrittenToDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(Q("graph.cgf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Windows-1252 bytes: "Café" with e-acute as one byte, line ends CR LF.
    file.write("[Name: 'Caf\xe9'] ;\xe9t\xe9;\r\n.\r\n[B]\r\n");
    file.close();
    const std::unique_ptr<platform::TextStream> stream = platform::OpenTextFile(path);
    EXPECT_TRUE(reader.ReadCgifStream(*stream));
    ASSERT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(sink.built[0].Node(Q("Name"))->Referent, Q("'Caf\xC3\xA9'"));
    EXPECT_NE(sink.built[0].Node(Q("\xC3\xA9t\xC3\xA9")), nullptr);
}

} // namespace
} // namespace zov::cgif::test
