// Coreference: defining and bound labels across the graph being read, the enclosing graphs and
// the nested graphs already handed on.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Bindings : public ReaderTest {
protected:
    const NodeRecord* Find(const std::vector<NodeRecord>& nodes, const QString& type) {
        for (const NodeRecord& node : nodes)
            if (node.Type == type)
                return &node;
        return nullptr;
    }
};

TEST_F(Bindings, AtTheTopLevelABoundLabelInAConceptStaysUnboundWithoutMessage) {
    ASSERT_TRUE(Read(Q("[Cat *x] [Dog: ?x]")));
    EXPECT_EQ(Errors(), QStringList());
    const NodeRecord* dog = Find(Nodes(), Q("Dog"));
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->Name, QString());
    EXPECT_EQ(dog->Kind, NodeKind::Concept);
    EXPECT_EQ(Find(Nodes(), Q("Cat"))->Kind, NodeKind::Concept);
}

TEST_F(Bindings, InsideANestedGraphALabelOfTheEnclosingGraphMarksItsDefiningConcept) {
    ASSERT_TRUE(Read(Q("[Cat: *x] ~[ (On [Dog: ?x] [Mat]) ]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 2u);
    const NodeRecord* dog = sink.built[0].Node(Q("Dog"));
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->Name, Q("x"));
    EXPECT_EQ(dog->Kind, NodeKind::Concept);
    const NodeRecord* cat = sink.built[1].Node(Q("Cat"));
    EXPECT_EQ(cat->Name, Q("x"));
    EXPECT_EQ(cat->Kind, NodeKind::CoreferentConcept);
}

TEST_F(Bindings, ALabelOfANestedGraphAlreadyHandedOnMarksTheReferringConcept) {
    ASSERT_TRUE(Read(Q("~[ (On [Cat: *x] [Mat]) ] [Dog: ?x]")));
    EXPECT_EQ(Errors(), QStringList());
    const NodeRecord* dog = sink.built.back().Node(Q("Dog"));
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->Name, Q("x"));
    EXPECT_EQ(dog->Kind, NodeKind::CoreferentConcept);
    // The defining concept keeps its kind in the copy kept for later lookups.
    NodeRecord defining;
    NodeRecord graph;
    reader.FindExternalCoreference(Q("x"), defining, graph);
    EXPECT_EQ(defining.Type, Q("Cat"));
    EXPECT_EQ(defining.Kind, NodeKind::Concept);
    EXPECT_EQ(graph.Name, Q("G2"));
}

TEST_F(Bindings, ExternalLookupsFindTheLatestDefinition) {
    ASSERT_TRUE(Read(Q("~[ (On [A: *x] [M]) ] ~[ (On [B: *x] [M]) ] [Dog: ?x]")));
    NodeRecord defining;
    NodeRecord graph;
    reader.FindExternalCoreference(Q("x"), defining, graph);
    EXPECT_EQ(defining.Type, Q("B"));
    // G2 and its empty graph node G3 (after A's referent) came first.
    EXPECT_EQ(graph.Name, Q("G4"));
    EXPECT_EQ(sink.built.back().Node(Q("Dog"))->Kind, NodeKind::CoreferentConcept);
}

TEST_F(Bindings, BindingsAreKeptPerTopLevelGraph) {
    ASSERT_TRUE(Read(Q("~[ (On [Cat: *x] [Mat]) ]\n.\n[Dog: ?x]")));
    EXPECT_EQ(sink.built.back().Node(Q("Dog"))->Kind, NodeKind::Concept);
    EXPECT_TRUE(reader.Tables().AllBindings.empty());
}

TEST_F(Bindings, ABoundLabelNamingTheTopLevelGraphKeepsThatGraphFromBeingDrawn) {
    ASSERT_TRUE(Read(Q("~[ (On [Cat: ?G1] [Mat]) ]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G2"));
    EXPECT_EQ(Nodes().at(0).Kind, NodeKind::CoreferentConcept);
}

TEST_F(Bindings, LookupsReturnTheNearestMatchAndItsGraph) {
    ASSERT_TRUE(Read(Q("[A *x] [B: 'b'] [C *x]")));
    // Nodes: G1, A, B, G2 (B's referent), C.
    NodeRecord defining;
    NodeRecord graph;
    reader.FindCurrentCoreference(Q("x"), UpperBound(Nodes()), defining, graph);
    EXPECT_EQ(defining.Type, Q("C"));
    EXPECT_EQ(graph.Name, Q("G2"));
    reader.FindCurrentCoreference(Q("x"), 3, defining, graph);
    EXPECT_EQ(defining.Type, Q("A"));
    EXPECT_EQ(graph.Name, Q("G1"));
    // A graph node named like the label is its own graph.
    reader.FindCurrentCoreference(Q("G2"), UpperBound(Nodes()), defining, graph);
    EXPECT_EQ(defining.Id, graph.Id);
    EXPECT_THROW(reader.FindCurrentCoreference(Q("x"), -1, defining, graph), ParseError);
}

TEST_F(Bindings, WithoutAGraphNodeBeforeTheMatch) {
    reader.ClearReaderTables();
    NodeRecord lone;
    lone.Name = Q("x");
    lone.Kind = NodeKind::Concept;
    lone.Id = Q("LONELONE");
    reader.AddNode(lone);
    reader.Tables().AllBindings.push_back(lone);
    NodeRecord defining;
    NodeRecord graph;
    graph.Type = Q("untouched");
    reader.FindCurrentCoreference(Q("x"), 0, defining, graph);
    EXPECT_EQ(defining.Id, Q("LONELONE"));
    EXPECT_EQ(graph.Type, Q("untouched"));
    // In AllBindings the missing graph node is an error, after the defining node was copied.
    defining = NodeRecord{};
    EXPECT_THROW(reader.FindExternalCoreference(Q("x"), defining, graph), ParseError);
    EXPECT_EQ(defining.Id, Q("LONELONE"));
}

TEST_F(Bindings, FindNodeByIdReportsAMissingId) {
    ASSERT_TRUE(Read(Q("[Cat] [Dog]")));
    NodeRecord node;
    int index = -7;
    EXPECT_TRUE(reader.FindNodeById(Nodes()[2].Id, node, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(node.Type, Q("Dog"));
    messages.clear();
    node = NodeRecord{};
    index = -7;
    EXPECT_FALSE(reader.FindNodeById(Q("NOSUCHID"), node, index));
    EXPECT_EQ(Errors(), QStringList{Q("Link node not in bound array")});
    EXPECT_EQ(index, -7);
    EXPECT_EQ(node.Type, QString());
}

TEST_F(Bindings, TheEditorResolvesATypedLabelAgainstTheNodeTable) {
    ASSERT_TRUE(Read(Q("[Cat *x]")));
    // The editor reads a typed concept as the next element of one graph holding every node.
    auto& tables = reader.Tables();
    tables.Contexts.assign(1, ContextRecord{static_cast<int>(tables.BoundArray.size()), NodeKind::Graph,
                                            UpperBound(tables.Links), UpperBound(tables.PendingArgs), {}, {}});
    ASSERT_TRUE(ParseConcept(Q("[Dog: ?x]")));
    EXPECT_EQ(Nodes()[1].Kind, NodeKind::CoreferentConcept);
    EXPECT_EQ(Nodes()[2].Type, Q("Dog"));
    EXPECT_EQ(Nodes()[2].Name, Q("x"));
}

} // namespace
} // namespace zov::cgif::test
