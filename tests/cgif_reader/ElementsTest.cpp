// Graph elements: concepts, relations, actors, negations, comments, node positions and nested
// graphs, with the records and links they make.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

using Elements = ReaderTest;

std::pair<float, float> At(const BuiltGraph& g, const char* type) {
    const NodeRecord* node = g.Node(Q(type));
    return node ? std::pair(node->X, node->Y) : std::pair(-1.0f, -1.0f);
}

// --- concepts, relations and actors ------------------------------------------------------

TEST_F(Elements, ConceptsWithAndWithoutType) {
    const BuiltGraph& g = ReadGraph(Q("[Cat] []  [ Dog ]"));
    EXPECT_EQ(Graphs(), QStringList{"G1:Graph Cat/c /c Dog/c |"});
    for (const NodeRecord& node : g.Nodes) {
        EXPECT_EQ(node.Id.size(), 8);
        EXPECT_EQ(std::pair(node.X, node.Y), std::pair(0.0f, 0.0f));
    }
    EXPECT_NE(g.Nodes.at(0).Id, g.Nodes.at(1).Id);
}

TEST_F(Elements, TheEditorReadsAConceptFromTheCurrentLine) {
    ASSERT_TRUE(ParseConcept(Q("[Cat: 'Tom' *x]")));
    ASSERT_GE(Nodes().size(), 2u);
    const NodeRecord& concept_ = Nodes()[Nodes().size() - 2];
    EXPECT_EQ(concept_.Id, reader.CurrentConceptId());
    EXPECT_EQ(concept_.Referent, Q("'Tom'"));
    EXPECT_EQ(concept_.Name, Q("x"));
    EXPECT_FALSE(ParseConcept(Q("Cat")));
    EXPECT_THROW(ParseConcept(Q("[Cat")), ParseError);
}

// A relation links its last argument as output and the others as inputs; an actor links its
// inputs to itself and itself to its outputs; bound labels link the defining concept and
// re-mark nothing.
TEST_F(Elements, RelationsAndActorsLinkTheirArguments) {
    const std::pair<const char*, const char*> cases[] = {
        {"(On [Cat] [Mat])", "G1:Graph On/r Cat/c Mat/c | On->Mat Cat->On"},
        {"(Between [A] [B] [C])", "G1:Graph Between/r A/c B/c C/c | Between->C A->Between B->Between"},
        {"(Past [Situation])", "G1:Graph Past/r Situation/c | Past->Situation"},
        {"[Cat *x] [Mat *y] (On ?x ?y)", "G1:Graph Cat*x/c Mat*y/c On/r | On->Mat Cat->On"},
        {"<Plus [A] [B] | [C]>", "G1:Graph Plus/a A/c B/c C/c | A->Plus B->Plus Plus->C"},
        {"[Number *a] [Number *b] <Divide ?a | [Q] [R]>",
         "G1:Graph Number*a/c Number*b/c Divide/a Q/c R/c | Number->Divide Divide->Q Divide->R"},
        {"<Now | [Time]>", "G1:Graph Now/a Time/c | Now->Time"},
    };
    for (const auto& [text, graph] : cases) {
        reader.SetGraphCounter(1);
        ReadWhole(Q(text));
        EXPECT_EQ(Graphs(), QStringList{Q(graph)}) << text;
        EXPECT_TRUE(reader.Tables().PendingArgs.empty()) << text;
    }
    EXPECT_EQ(ReadGraph(Q("(On [Cat] [Mat])")).Nodes.at(0).Id, reader.CurrentRelationId());
    EXPECT_EQ(ReadGraph(Q("<Plus [A] | [C]>")).Nodes.at(0).Id, reader.CurrentActorId());
}

TEST_F(Elements, AnUnknownBoundArgumentOrAnUnclosedActorEndsTheGraph) {
    // The message is shown, the graph ends normally and the rest of the file is not read.
    EXPECT_TRUE(Read(Q("[Cat *x] (On ?y [Mat]) [Dog]")));
    EXPECT_EQ(Errors(), QStringList{Q("Current coreference not found for: y")});
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].Nodes.size(), 2u); // Cat and On
    EXPECT_TRUE(sink.built[0].Links.empty());
    // An actor without its closing bracket ends the graph without a message.
    EXPECT_EQ(ReadGraph(Q("<Plus [A] | [C] x [D]")).LinkTypes(), QStringList{Q("A->Plus")});
}

// --- comments and positions --------------------------------------------------------------

TEST_F(Elements, ANodeCommentsTitlePositionPlacesTheNodeAndTheCommentFiftyAboveIt) {
    const BuiltGraph& g = ReadGraph(Q("[Cat ;%120@80% fluffy;]"));
    EXPECT_EQ(At(g, "Cat"), std::pair(120.0f, 80.0f));
    ASSERT_NE(g.Node(Q("fluffy")), nullptr);
    EXPECT_EQ(g.Node(Q("fluffy"))->Kind, NodeKind::Comment);
    EXPECT_EQ(At(g, "fluffy"), std::pair(120.0f, 30.0f));
    EXPECT_EQ(At(ReadGraph(Q("[Cat ;fluffy;]")), "fluffy"), std::pair(0.0f, 0.0f));
    // A title-only comment still makes a comment node, with empty text, even off the slide.
    const BuiltGraph& t = ReadGraph(Q("[Cat ;%10.5@20%;]"));
    ASSERT_EQ(t.Nodes.size(), 2u);
    EXPECT_EQ(At(t, "Cat"), std::pair(10.5f, 20.0f));
    EXPECT_EQ(t.Nodes[1].Kind, NodeKind::Comment);
    EXPECT_EQ(At(t, ""), std::pair(10.5f, -30.0f));
    // Relations and actors too; an actor's comment runs to the ">" across lines.
    const BuiltGraph& r = ReadGraph(Q("(On [Cat] [Mat] ;%200@150% on top;) <Plus [A] | [C] ;%50@60% add>"));
    EXPECT_EQ(At(r, "On"), std::pair(200.0f, 150.0f));
    EXPECT_EQ(At(r, "on top"), std::pair(200.0f, 100.0f));
    EXPECT_EQ(At(r, "Plus"), std::pair(50.0f, 60.0f));
    EXPECT_EQ(At(r, "add"), std::pair(50.0f, 10.0f));
    EXPECT_NE(ReadGraph(Q("<Plus [A] | [C] ;two\n  lines>")).Node(Q("two\r\nlines")), nullptr);
}

TEST_F(Elements, PositionConversionRules) {
    struct Case {
        const char* text;
        float x, y;
    };
    const Case cases[] = {
        {"[Cat ;%x@80%c;]", 0, 80},       // x fails: x 0, y still taken
        {"[Cat ;%120@y%c;]", 0, 0},       // y fails: both 0
        {"[Cat ;%120%c;]", 0, 0},         // no "@"
        {"[Cat ;%-5@-7%c;]", 0, 0},       // neither above 0: the node keeps 0
        {"[Cat ;%-5@7%c;]", -5, 7},       // one above 0 is enough
        {"[Cat ;%1@2@3%c;]", 0, 0},       // y "2@3" does not convert
        {"[Cat ;% 12 @ 34 %c;]", 12, 34}, // blanks around the numbers are allowed
        {"[Cat ;%+12@5e1%c;]", 12, 50},   // a sign and an exponent
        {"[Cat ;%1e-60@5%c;]", 0, 5},     // too small for single precision: x fails
        {"[Cat ;%1,5@5%c;]", 0, 5},       // "." is the only decimal separator
        // The writer's bare form: a position, no comment node.
        {"[Cat;1.5E+2@-0.25;\r\n]", 150, -0.25f},
        {"[Cat:'Tom';7@8;\r\n]", 7, 8},
        // After a referent and a label, which put an empty graph node after the concept.
        {"[Cat:'Tom'*x;7@8;\r\n]", 7, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(At(ReadGraph(Q(c.text)), "Cat"), std::pair(c.x, c.y)) << c.text;
    EXPECT_EQ(ReadGraph(Q("[Cat:'Tom'*x;7@8;\r\n]")).Count(NodeKind::Comment), 0);
    EXPECT_EQ(sink.built.back().Nodes.at(1).X, 0.0f) << "the graph node keeps no position";
    // Texts that only look like the writer's form stay comments.
    for (const char* text : {"[Cat;100 @ 50;]", "[Cat;100@;]", "[Cat;@50;]", "[Cat;1@2@3;]", "[Cat;1e@2;]", "[Cat;x100@50;]"}) {
        const BuiltGraph& c = ReadGraph(Q(text));
        EXPECT_EQ(c.Count(NodeKind::Comment), 1) << text;
        EXPECT_EQ(At(c, "Cat"), std::pair(0.0f, 0.0f)) << text;
    }
}

TEST_F(Elements, TheWritersPositionCommentsPlaceEveryKindOfNode) {
    const BuiltGraph& g = ReadGraph(Q(";%Graph*G1%;\r\n[Cat*x1;100@50;\r\n][Mat*x2;300@50;\r\n](On?x1?x2;200@150;\r\n)\r\n"
                                      "<Plus?x1|[Sum;12.5@-3;\r\n];40@60;\r\n>\r\n"));
    EXPECT_EQ(g.GraphName(), Q("G1"));
    EXPECT_EQ(g.Count(NodeKind::Comment), 0);
    EXPECT_EQ(At(g, "Cat"), std::pair(100.0f, 50.0f));
    EXPECT_EQ(At(g, "Mat"), std::pair(300.0f, 50.0f));
    EXPECT_EQ(At(g, "On"), std::pair(200.0f, 150.0f));
    EXPECT_EQ(At(g, "Sum"), std::pair(12.5f, -3.0f));
    EXPECT_EQ(At(g, "Plus"), std::pair(40.0f, 60.0f));
    EXPECT_EQ(g.LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On"), Q("Cat->Plus"), Q("Plus->Sum")}));
}

TEST_F(Elements, StandAloneCommentsStandAt200By100AndKeepTheirTextWhole) {
    const BuiltGraph& g = ReadGraph(Q("[Cat] ;first; ;%5@5%second;"));
    ASSERT_EQ(g.Count(NodeKind::Comment), 2);
    EXPECT_EQ(At(g, "first"), std::pair(200.0f, 100.0f));
    EXPECT_EQ(At(g, "%5@5%second"), std::pair(200.0f, 100.0f));
    // After a referent a comment without title is the concept's node comment.
    const BuiltGraph& c = ReadGraph(Q("[Cat: 'Tom' ;nice;]"));
    ASSERT_NE(c.Node(Q("nice")), nullptr);
    EXPECT_EQ(c.Node(Q("nice"))->Kind, NodeKind::Comment);
    EXPECT_EQ(c.Count(NodeKind::Graph), 0);
}

// --- negations and nested graphs ---------------------------------------------------------

// Nested graphs are handed on innermost first; the node holding one (a negation, or a concept
// whose referent it is) links to the graph's graph node and is named after the graph node made
// last. A nested graph without arcs stays in the enclosing graph.
TEST_F(Elements, NestedGraphsAreHandedOnInnermostFirst) {
    const std::pair<const char*, QStringList> cases[] = {
        {"~[ (On [Cat] [Mat]) ]",
         {"G2:Graph On/r Cat/c Mat/c | On->Mat Cat->On", "G1:Graph Neg*G2/r Graph*G2/g | Neg->graph G2"}},
        {"[Proposition: (On [Cat] [Mat])] [Dog]",
         {"G2:Graph On/r Cat/c Mat/c | On->Mat Cat->On", "G1:Graph Proposition*G2/c Graph*G2/g Dog/c | Proposition->graph G2"}},
        // The referent 'Tom' inside makes the empty graph node G3 after G2 opened.
        {"[Proposition: (On [Cat: 'Tom'] [Mat])]",
         {"G2:Graph On/r Cat/c Graph*G3/g Mat/c | On->Mat Cat->On",
          "G1:Graph Proposition*G2/c Graph*G2/g | Proposition->graph G2"}},
        // A title names and types the nested graph.
        {"[Proposition: ;%Proposition*p1%;\n (On [Cat] [Mat])]",
         {"p1:Proposition On/r Cat/c Mat/c | On->Mat Cat->On",
          "G1:Graph Proposition*p1/c Proposition*p1/g | Proposition->graph p1"}},
        {"[Situation: [Cat] [Mat]]", {"G1:Graph Situation/c Graph*G2/g Cat/c Mat/c |"}},
        // The inner graph links to Cat of the graph around it.
        {"~[ [Cat *x] ~[ (On ?x [Mat]) ] ]",
         {"G3:Graph On/r Mat/c | On->Mat Cat->On", "G2:Graph Cat*x/c Neg*G3/r Graph*G3/g | Neg->graph G3",
          "G1:Graph Neg*G2/r Graph*G2/g | Neg->graph G2"}},
    };
    for (const auto& [text, graphs] : cases) {
        reader.SetGraphCounter(1);
        ReadWhole(Q(text));
        EXPECT_EQ(Graphs(), graphs) << text;
    }
    // Text after a nested graph's title is put back as a comment, which a nested graph does not
    // read: the graph stays empty and the comment is taken as the concept's node comment.
    EXPECT_EQ(ErrorOf(Q("[Proposition: ;%Proposition*p2% said;\n (On [Cat] [Mat])]")),
              Q("Expected terminating ] for concept (at (On [Cat] [Mat])])"));
}

TEST_F(Elements, ANestedGraphsTablesPositionAndCurrentConcept) {
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
    // The negation takes its position from the last position read inside (already 50 up).
    EXPECT_EQ(At(ReadGraph(Q("~[ (On [Cat] [Mat] ;%300@200%;) ]")), "Neg"), std::pair(200.0f, 50.0f));
    // The concept read last before a nested graph is the current concept again.
    EXPECT_EQ(reader.CurrentConceptId(), ReadGraph(Q("[Proposition: (On [Cat] [Mat])] [Dog]")).Node(Q("Dog"))->Id);
}

TEST_F(Elements, DeepNestingStopsWithAnErrorInsteadOfExhaustingTheStack) {
    const int depth = CgifReader::MaxNestingDepth - 1;
    const QString deepest = QString(Q("~[")).repeated(depth) + Q("(On [Cat] [Mat])") + QString(Q("]")).repeated(depth);
    EXPECT_EQ(ReadWhole(deepest).size(), static_cast<std::size_t>(CgifReader::MaxNestingDepth));
    for (const QString& tooDeep : {QString(Q("~[")).repeated(100000) + Q("(On [Cat] [Mat])"), QString(Q("[A: ")).repeated(100000)})
        EXPECT_TRUE(ErrorOf(tooDeep).startsWith(Q("Graphs nested too deeply (at ")));
}

} // namespace
} // namespace zov::cgif::test
