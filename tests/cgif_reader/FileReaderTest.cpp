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

TEST_F(FileReader, ATitleWithoutStarTakesItsNameFromThePaletteText) {
    reader.SetPaletteTextSource([] { return Q("  typed name "); });
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("typed name:Graph:1:0")});
    reader.SetPaletteTextSource([] { return QString(); });
    EXPECT_TRUE(Read(Q(";%Situation1%;[Cat]")));
    EXPECT_EQ(BuiltNames(), QStringList{Q("G2:Graph:1:0")});
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
