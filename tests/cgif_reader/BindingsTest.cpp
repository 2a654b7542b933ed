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

// Bound labels re-mark the concept they bind to as coreferent ("/p"; see ReaderTest::Graphs).
TEST_F(Bindings, BoundLabelsMarkTheConceptsTheyBindTo) {
    const std::pair<const char*, QStringList> cases[] = {
        // At the top level a bound label in a concept stays unbound, without a message.
        {"[Cat *x] [Dog: ?x]", {"G1:Graph Cat*x/c Dog/c Graph*G2/g |"}},
        // Inside a nested graph a label of the enclosing graph marks its defining concept.
        {"[Cat: *x] ~[ (On [Dog: ?x] [Mat]) ]",
         {"G3:Graph On/r Dog*x/c Graph*G4/g Mat/c | On->Mat Dog->On",
          "G1:Graph Cat*x/p Graph*G2/g Neg*G3/r Graph*G3/g | Neg->graph G3"}},
        // A label of a nested graph already handed on marks the referring concept.
        {"~[ (On [Cat: *x] [Mat]) ] [Dog: ?x]",
         {"G2:Graph On/r Cat*x/c Graph*G3/g Mat/c | On->Mat Cat->On",
          "G1:Graph Neg*G2/r Graph*G2/g Dog*x/p Graph*G4/g | Neg->graph G2"}},
        // Only the last of a run of bound labels is bound; before a designator a bound label
        // binds the concept, after it the graph node of the descriptor.
        {"[A *x] [B *y] ~[ (R [Cat: ?x ?y] [D]) ]",
         {"G2:Graph R/r Cat*y/c Graph*G3/g D/c | R->D Cat->R", "G1:Graph A*x/c B*y/p Neg*G2/r Graph*G2/g | Neg->graph G2"}},
        {"[A *x] ~[ (R [Cat: ?x 'Tom'] [D]) ]",
         {"G2:Graph R/r Cat*x/c Graph*G3/g D/c | R->D Cat->R", "G1:Graph A*x/p Neg*G2/r Graph*G2/g | Neg->graph G2"}},
        {"[A *x] ~[ (R [Cat: 'Tom' ?x] [D]) ]",
         {"G2:Graph R/r Cat/c Graph*x/g D/c | R->D Cat->R", "G1:Graph A*x/p Neg*G2/r Graph*G2/g | Neg->graph G2"}},
        // A label of an earlier top-level graph marks the referring concept.
        {"~[ (On [Cat: *x] [Mat]) ]\n.\n[Dog: ?x]",
         {"G2:Graph On/r Cat*x/c Graph*G3/g Mat/c | On->Mat Cat->On", "G1:Graph Neg*G2/r Graph*G2/g | Neg->graph G2",
          "G4:Graph Dog*x/p Graph*G5/g |"}},
        // A bound label naming the top-level graph keeps that graph from being drawn.
        {"~[ (On [Cat: ?G1] [Mat]) ]", {"G2:Graph On/r Cat*G1/c Graph*G3/g Mat/c | On->Mat Cat->On"}},
    };
    for (const auto& [text, graphs] : cases) {
        reader.SetGraphCounter(1);
        ReadWhole(Q(text));
        EXPECT_EQ(Graphs(), graphs) << text;
    }
    EXPECT_EQ(Nodes().at(0).Kind, NodeKind::CoreferentConcept); // G1's graph node
}

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

} // namespace
} // namespace zov::cgif::test
