// Coreference: defining and bound labels across the graph being read, the enclosing graphs and
// the nested graphs already handed on.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Bindings : public ReaderTest {
protected:
    // "Type:Name:kind" of the first node of each type named, looked up in each graph built.
    QString Marks(std::initializer_list<const char*> types) const {
        QStringList out;
        for (const char* type : types)
            for (const BuiltGraph& graph : sink.built)
                if (const NodeRecord* node = graph.Node(Q(type)))
                    out << Q(type) + u':' + node->Name + u':' + QString::number(node->Kind);
        return out.join(u' ');
    }
    NodeRecord defining;
    NodeRecord graph;
};

// Kinds: 1 concept, 4 coreferent concept (re-marked by a binding).
TEST_F(Bindings, BoundLabelsMarkTheConceptsTheyBindTo) {
    struct Case {
        const char* text;
        std::initializer_list<const char*> types;
        const char* marks;
    };
    const Case cases[] = {
        // At the top level a bound label in a concept stays unbound, without a message.
        {"[Cat *x] [Dog: ?x]", {"Cat", "Dog"}, "Cat:x:1 Dog::1"},
        // Inside a nested graph a label of the enclosing graph marks its defining concept.
        {"[Cat: *x] ~[ (On [Dog: ?x] [Mat]) ]", {"Cat", "Dog"}, "Cat:x:4 Dog:x:1"},
        // A label of a nested graph already handed on marks the referring concept.
        {"~[ (On [Cat: *x] [Mat]) ] [Dog: ?x]", {"Cat", "Dog"}, "Cat:x:1 Dog:x:4"},
        // Only the last of a run of bound labels is bound.
        {"[A *x] [B *y] ~[ (R [Cat: ?x ?y] [D]) ]", {"A", "B", "Cat"}, "A:x:1 B:y:4 Cat:y:1"},
        // A bound label before a designator binds the concept.
        {"[A *x] ~[ (R [Cat: ?x 'Tom'] [D]) ]", {"Cat"}, "Cat:x:1"},
        // Bindings are kept per top-level graph.
        {"~[ (On [Cat: *x] [Mat]) ]\n.\n[Dog: ?x]", {"Dog"}, "Dog::1"},
    };
    for (const Case& c : cases) {
        ReadWhole(Q(c.text));
        EXPECT_EQ(Marks(c.types), Q(c.marks)) << c.text;
    }
    EXPECT_TRUE(reader.Tables().AllBindings.empty());
    // After a designator it binds the graph node of the descriptor.
    ReadWhole(Q("[A *x] ~[ (R [Cat: 'Tom' ?x] [D]) ]"));
    const BuiltGraph& inner = sink.built.at(0);
    ASSERT_GE(inner.Nodes.size(), 3u);
    EXPECT_EQ(inner.Nodes[1].Name, QString());
    EXPECT_EQ(inner.Nodes[2].Kind, NodeKind::Graph);
    EXPECT_EQ(inner.Nodes[2].Name, Q("x"));
}

TEST_F(Bindings, ABoundLabelNamingTheTopLevelGraphKeepsThatGraphFromBeingDrawn) {
    ASSERT_EQ(ReadWhole(Q("~[ (On [Cat: ?G1] [Mat]) ]")).size(), 1u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G2"));
    EXPECT_EQ(Nodes().at(0).Kind, NodeKind::CoreferentConcept);
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
