// Coreference: defining and bound labels across the graph being read, the enclosing graphs and
// the nested graphs already handed on.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Bindings : public ReaderTest {
protected:
    NodeRecord defining;
    NodeRecord graph;
};

TEST_F(Bindings, ExternalLookupsFindTheLatestDefinitionUnchanged) {
    ReadWhole(Q("~[ (On [A: *x] [M]) ] ~[ (On [B: *x] [M]) ] [Dog: ?x]"));
    reader.FindExternalCoreference(Q("x"), defining, graph);
    EXPECT_EQ(defining.Type, Q("B"));
    EXPECT_EQ(defining.Kind, NodeKind::Concept); // the kept copy keeps its kind
    // G2 and its empty graph node G3 (after A's referent) came first.
    EXPECT_EQ(graph.Name, Q("G4"));
    EXPECT_EQ(sink.built.back().Node(Q("Dog"))->Kind, NodeKind::CoreferentConcept);
}

TEST_F(Bindings, CurrentLookupsReturnTheNearestMatchAndItsGraph) {
    ReadWhole(Q("[A *x] [B: 'b'] [C *x]")); // nodes: G1, A, B, G2 (B's referent), C
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
    ReadWhole(Q("[Cat] [Dog]"));
    int index = -7;
    EXPECT_TRUE(reader.FindNodeById(Nodes()[2].Id, defining, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(defining.Type, Q("Dog"));
    defining = NodeRecord{};
    index = -7;
    EXPECT_FALSE(reader.FindNodeById(Q("NOSUCHID"), defining, index));
    EXPECT_EQ(Errors(), QStringList{Q("Link node not in bound array")});
    EXPECT_EQ(index, -7);
    EXPECT_EQ(defining.Type, QString());
}

TEST_F(Bindings, TheEditorResolvesATypedLabelAgainstTheNodeTable) {
    ReadWhole(Q("[Cat *x]"));
    // The editor reads a typed concept as the next element of one graph holding every node.
    auto& tables = reader.Tables();
    tables.Contexts.assign(1, ContextRecord{static_cast<int>(tables.BoundArray.size()), NodeKind::Graph,
                                            UpperBound(tables.Links), UpperBound(tables.PendingArgs), {}, {}});
    ASSERT_TRUE(ParseConcept(Q("[Dog: ?x]")));
    EXPECT_EQ(Nodes()[1].Kind, NodeKind::CoreferentConcept);
    EXPECT_EQ(Nodes()[2].Type, Q("Dog"));
    EXPECT_EQ(Nodes()[2].Name, Q("x"));
}

TEST_F(Bindings, CoreferenceErrorsCarryTheirTextRaw) {
    ASSERT_TRUE(Read(Q("[Cat *x]")));
    const auto raised = [](const auto& lookup) {
        try {
            lookup();
        } catch (const ParseError& error) {
            return QString::number(error.number()) + u' ' + error.message();
        }
        return QString();
    };
    EXPECT_EQ(raised([&] { reader.FindCurrentCoreference(Q("y"), 1, defining, graph); }),
              Q("2001 Current coreference not found for: y"));
    EXPECT_EQ(raised([&] { reader.FindExternalCoreference(Q("x"), defining, graph); }),
              Q("2002 Graph not found for: x"));
}

} // namespace
} // namespace zov::cgif::test
