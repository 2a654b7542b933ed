// The file loop: graphs separated by ".", title comments, the end of the input, line ends, and
// what a failure of the sink or the stream does.
#include "ReaderFixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace zov::cgif::test {
namespace {

class FileReader : public ReaderTest {
protected:
    // "name:type:nodes:links" of each graph built.
    QStringList BuiltNames() const {
        QStringList names;
        for (const BuiltGraph& graph : sink.built)
            names << QStringLiteral("%1:%2:%3:%4").arg(graph.GraphName(), graph.GraphType).arg(graph.Nodes.size()).arg(graph.Links.size());
        return names;
    }
};

TEST_F(FileReader, GraphsTitlesAndTheEndOfTheInput) {
    struct Case {
        const char* text;
        QStringList built;
        QStringList errors = {};
    };
    const Case cases[] = {
        {"[Cat]", {"G1:Graph:1:0"}},
        // The writer's separator: a line with one blank, then a line ". ".
        {";%Graph*A%;\r\n[Cat]\r\n \r\n. \r\n;%Proposition*B%;\r\n[Dog]\r\n", {"A:Graph:1:0", "B:Proposition:1:0"}},
        // A full stop at the end reads one more empty graph; an empty file is one empty graph.
        {"[Cat]\n.\n", {"G1:Graph:1:0", "G2:Graph:0:0"}},
        {"[A].\n.[B]", {"G1:Graph:1:0", "G2:Graph:0:0", "G3:Graph:1:0"}},
        {"", {"G1:Graph:0:0"}},
        // Titles: blanks around the parts are trimmed, tabs are not; no name: "G" + number.
        {";%Proposition*Situation1%;[Cat]", {"Situation1:Proposition:1:0"}},
        {";%  Situation *  s 2 %;", {"s 2:Situation:0:0"}},
        {";%Situation\t*\tp%;", {"\tp:Situation\t:0:0"}},
        {";%Situation *%;", {"G1:Situation:0:0"}},
        // A first comment without title, or text after a title, is a stand-alone comment.
        {";note; [Cat]", {"G1:Graph:2:0"}},
        {";%Graph*A%  more text;[Cat]", {"A:Graph:2:0"}},
        // An error keeps the graphs before it and reads no further.
        {"[Cat]\n.\n(On)\n.\n[Dog]", {"G1:Graph:1:0"}, {"Relation with no concepts (at )"}},
        // A truncated relation or actor at the end ends its graph silently.
        {"[Cat *x]\n(On ?x [Mat]", {"G1:Graph:3:0"}},
        {"<Plus [A] [B]", {"G1:Graph:3:0"}},
        // Text that is no element, comments in other notations among it, ends the file.
        {"[Cat] junk [Dog]\n.\n[Eel]", {"G1:Graph:1:0"}},
        {"/* a comment */ [Cat]", {"G1:Graph:0:0"}},
    };
    for (const Case& c : cases) {
        reader.SetGraphCounter(1);
        EXPECT_EQ(Read(Q(c.text)), c.errors.isEmpty()) << c.text;
        EXPECT_EQ(BuiltNames(), c.built) << c.text;
        EXPECT_EQ(Errors(), c.errors) << c.text;
    }
    EXPECT_EQ(sink.graphNode.at(0).GraphNumber, 1);
}

TEST_F(FileReader, ATitleWithoutStarTakesItsNameFromThePaletteText) {
    reader.SetPaletteTextSource([] { return Q("  typed name "); });
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("typed name:Graph:1:0")});
    reader.SetPaletteTextSource([] { return QString(); });
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G2:Graph:1:0")});
}

TEST_F(FileReader, AnUnterminatedTitleCommentFailsOutsideTheGraphsHandler) {
    try {
        Read(Q("[Cat]\n.\n;note\n\n"));
        ADD_FAILURE() << "nothing raised";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.number(), 1012);
        EXPECT_EQ(error.message(), Q("No comment string with ; at end (at )"));
    }
    EXPECT_EQ(BuiltNames(), QStringList{Q("G1:Graph:1:0")});
    EXPECT_EQ(Errors(), QStringList());
    // Without a closing ";" on a last line that is not empty the read runs past the end.
    EXPECT_THROW(Read(Q(";%Graph*T%")), ParseError);
    // The reader is usable again afterwards.
    EXPECT_EQ(ReadWhole(Q("[Cat]")).size(), 1u);
}

TEST_F(FileReader, LineEndsOfEveryKindReadTheSame) {
    const QString lf = Q(";%Graph*A%;\n[Cat *x\n  :\n 'Tom'] (On ?x\n [Mat: \"two\n   lines\"])\n.\n[Dog]\n");
    std::vector<QStringList> results;
    for (const QString& end : {Q("\n"), Q("\r\n"), Q("\r")}) {
        reader.SetGraphCounter(1);
        EXPECT_TRUE(Read(QString(lf).replace(u'\n', end)));
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

TEST_F(FileReader, GraphNumbersContinueAcrossFilesAndSkipNamesTaken) {
    EXPECT_TRUE(Read(Q("[A]\n.\n[B: 'b']")));
    EXPECT_TRUE(Read(Q("[C]")));
    // G1, G2 (with the empty graph node G3 of B's referent), then G4.
    EXPECT_EQ(BuiltNames(), QStringList{Q("G4:Graph:1:0")});
    EXPECT_EQ(sink.built[0].GraphCounterAtBuild, 5);
    EXPECT_EQ(reader.Tables().Contexts.size(), 1u);

    reader.SetGraphCounter(1);
    sink.graphNode.clear();
    reader.SetGraphNameTaken([](const QString& name) { return name == Q("G1") || name == Q("G2"); });
    EXPECT_TRUE(Read(Q("[A]\n.\n;%Graph*G4%;[B]\n.\n[C]")));
    EXPECT_EQ(BuiltNames(), (QStringList{Q("G3:Graph:1:0"), Q("G4:Graph:1:0"), Q("G5:Graph:1:0")}));
    EXPECT_EQ(sink.graphNode.front().GraphNumber, 3);
}

TEST_F(FileReader, TheTablesKeepTheLastGraphAfterTheRead) {
    EXPECT_TRUE(Read(Q("[A]\n.\n(On [Cat] [Mat])")));
    ASSERT_EQ(Nodes().size(), 4u);
    EXPECT_EQ(Nodes()[1].Type, Q("On"));
    EXPECT_EQ(Links().size(), 2u);
    EXPECT_TRUE(reader.AtEnd());
}

TEST_F(FileReader, AFailingSinkOrStream) {
    sink.failWith = "slide name taken";
    EXPECT_TRUE(Read(Q("[Cat]\n.\n[Dog]")));
    EXPECT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(Errors(), (QStringList{Q("Graph G1 could not be drawn: slide name taken"),
                                     Q("Graph G2 could not be drawn: slide name taken")}));
    // A nested graph that cannot be drawn stops the reading as any failure inside a graph does.
    EXPECT_FALSE(Read(Q("~[ (On [Cat] [Mat]) ]\n.\n[Dog]")));
    EXPECT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(Errors(), QStringList{Q("slide name taken")});
    // A stream that fails ends the input.
    sink.failWith = nullptr;
    sink.built.clear();
    MemoryTextStream broken(Q("(On [Cat]\n [Mat])"), true);
    EXPECT_TRUE(reader.ReadCgifStream(broken));
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].Links.size(), 2u);
}

TEST_F(FileReader, ReadsAWindows1252FileWithCrLfFromDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(Q("graph.cgf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
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
