// Graph elements read through the reader's own calls, as the editor and the slide builder use
// them; what whole texts read to is in tests/cases/cgif_reader.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

using Elements = ReaderTest;

TEST_F(Elements, TheEditorReadsAConceptFromTheCurrentLine) {
    ASSERT_TRUE(ParseConcept(Q("[Cat: 'Tom' *x]")));
    ASSERT_GE(Nodes().size(), 2u);
    const NodeRecord& concept_ = Nodes()[Nodes().size() - 2];
    EXPECT_EQ(concept_.Id, reader.CurrentConceptId());
    EXPECT_EQ(concept_.Referent, Q("'Tom'"));
    EXPECT_EQ(concept_.Name, Q("x"));
    EXPECT_FALSE(ParseConcept(Q("Cat")));
    EXPECT_THROW(ParseConcept(Q("[Cat")), ParseError);
    EXPECT_EQ(ReadGraph(Q("(On [Cat] [Mat])")).Nodes.at(0).Id, reader.CurrentRelationId());
    EXPECT_EQ(ReadGraph(Q("<Plus [A] | [C]>")).Nodes.at(0).Id, reader.CurrentActorId());
}

TEST_F(Elements, ANestedGraphsTablesAndCurrentConcept) {
    ASSERT_EQ(ReadWhole(Q("~[ (On [Cat] [Mat]) ]")).size(), 2u);
    EXPECT_EQ(sink.built[0].FirstLinkIndex, 0);
    EXPECT_EQ(sink.built[0].FirstNodeIndex, 3);
    EXPECT_EQ(sink.graphNode[0].Id, sink.built[0].SlideName.section(u'/', 1));
    // The inner nodes moved to AllBindings, graph node first.
    const auto& kept = reader.Tables().AllBindings;
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[0].Name, Q("G2"));
    EXPECT_EQ(kept[1].Type, Q("On"));
    EXPECT_EQ(reader.Tables().Contexts.size(), 1u);
    // The concept read last before a nested graph is the current concept again.
    EXPECT_EQ(reader.CurrentConceptId(), ReadGraph(Q("[Proposition: (On [Cat] [Mat])] [Dog]")).Node(Q("Dog"))->Id);
}

TEST_F(Elements, DeepNestingStopsWithAnErrorInsteadOfExhaustingTheStack) {
    const int depth = CgifReader::MaxNestingDepth - 1;
    const QString deepest = QString(Q("~[")).repeated(depth) + Q("(On [Cat] [Mat])") + QString(Q("]")).repeated(depth);
    EXPECT_EQ(ReadWhole(deepest).size(), static_cast<std::size_t>(CgifReader::MaxNestingDepth));
    for (const QString& tooDeep : {QString(Q("~[")).repeated(100000) + Q("(On [Cat] [Mat])"), QString(Q("[A: ")).repeated(100000),
                                   QString(Q("~[")).repeated(CgifReader::MaxNestingDepth + 1)})
        EXPECT_TRUE(ErrorOf(tooDeep).startsWith(Q("Graphs nested too deeply (at "))) << tooDeep.left(20).toStdString();
}

} // namespace
} // namespace zov::cgif::test
