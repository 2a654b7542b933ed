// Graph elements: concepts, relations, actors, negations, comments, node positions and nested
// graphs, with the records and links they make.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Elements : public ReaderTest {
protected:
    // Reads text that must read whole as one graph and returns the top-level graph as built.
    const BuiltGraph& ReadGraph(const QString& text) {
        sink.built.clear();
        messages.clear();
        EXPECT_TRUE(Read(text)) << text.toStdString();
        EXPECT_EQ(Errors(), QStringList()) << text.toStdString();
        if (sink.built.empty()) {
            static const BuiltGraph none;
            ADD_FAILURE() << "nothing built for " << text.toStdString();
            return none;
        }
        return sink.built.back();
    }
};

// --- concepts ----------------------------------------------------------------------------

TEST_F(Elements, ConceptsWithAndWithoutType) {
    const BuiltGraph& g = ReadGraph(Q("[Cat] []  [ Dog ]"));
    ASSERT_EQ(g.Nodes.size(), 3u);
    EXPECT_EQ(g.Nodes[0].Type, Q("Cat"));
    EXPECT_EQ(g.Nodes[1].Type, QString());
    EXPECT_EQ(g.Nodes[2].Type, Q("Dog"));
    for (const NodeRecord& node : g.Nodes) {
        EXPECT_EQ(node.Kind, NodeKind::Concept);
        EXPECT_EQ(node.Id.size(), 8);
        EXPECT_EQ(node.X, 0.0f);
        EXPECT_EQ(node.Y, 0.0f);
    }
    EXPECT_NE(g.Nodes[0].Id, g.Nodes[1].Id);
    EXPECT_TRUE(g.Links.empty());
}

TEST_F(Elements, TheEditorReadsAConceptFromTheCurrentLine) {
    ASSERT_TRUE(ParseConcept(Q("[Cat: 'Tom' *x]")));
    ASSERT_GE(Nodes().size(), 1u);
    const NodeRecord& concept_ = Nodes()[Nodes().size() - 2];
    EXPECT_EQ(concept_.Id, reader.CurrentConceptId());
    EXPECT_EQ(concept_.Referent, Q("'Tom'"));
    EXPECT_EQ(concept_.Name, Q("x"));
    EXPECT_FALSE(ParseConcept(Q("Cat")));
    try {
        ParseConcept(Q("[Cat"));
        ADD_FAILURE() << "no error";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.message(), Q("Cannot find ] terminator for concept (at )"));
    }
}

// --- relations and actors ----------------------------------------------------------------

TEST_F(Elements, ARelationLinksItsLastArgumentAsOutputAndTheOthersAsInputs) {
    const BuiltGraph& g = ReadGraph(Q("(On [Cat] [Mat])"));
    EXPECT_EQ(g.LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On")}));
    EXPECT_EQ(g.Nodes.at(0).Kind, NodeKind::Relation);
    EXPECT_EQ(g.Nodes.at(0).Id, reader.CurrentRelationId());
    EXPECT_EQ(g.Nodes.at(0).Referent, QString());

    const BuiltGraph& b = ReadGraph(Q("(Between [A] [B] [C])"));
    EXPECT_EQ(b.LinkTypes(), (QStringList{Q("Between->C"), Q("A->Between"), Q("B->Between")}));
    // One argument is only an output.
    EXPECT_EQ(ReadGraph(Q("(Past [Situation])")).LinkTypes(), QStringList{Q("Past->Situation")});
    EXPECT_TRUE(reader.Tables().PendingArgs.empty());
}

TEST_F(Elements, BoundLabelArgumentsLinkTheDefiningConcept) {
    const BuiltGraph& g = ReadGraph(Q("[Cat *x] [Mat *y] (On ?x ?y)"));
    EXPECT_EQ(g.LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On")}));
    EXPECT_EQ(g.Count(NodeKind::Concept), 2);
    // Nothing is re-marked by an argument lookup.
    EXPECT_EQ(g.Count(NodeKind::CoreferentConcept), 0);
}

TEST_F(Elements, AnUnknownBoundArgumentShowsItsMessageAndEndsTheGraphNormally) {
    messages.clear();
    EXPECT_TRUE(Read(Q("[Cat *x] (On ?y [Mat]) [Dog]")));
    EXPECT_EQ(Errors(), QStringList{Q("Current coreference not found for: y")});
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].Nodes.size(), 2u); // Cat and On; the rest of the file is not read
    EXPECT_TRUE(sink.built[0].Links.empty());
}

TEST_F(Elements, AnActorLinksInputsToItAndItToItsOutputs) {
    const BuiltGraph& g = ReadGraph(Q("<Plus [A] [B] | [C]>"));
    EXPECT_EQ(g.LinkTypes(), (QStringList{Q("A->Plus"), Q("B->Plus"), Q("Plus->C")}));
    EXPECT_EQ(g.Nodes.at(0).Kind, NodeKind::Actor);
    EXPECT_EQ(g.Nodes.at(0).Id, reader.CurrentActorId());
    // No comment, no comment node.
    EXPECT_EQ(g.Count(NodeKind::Comment), 0);

    const BuiltGraph& two = ReadGraph(Q("[Number *a] [Number *b] <Divide ?a | [Q] [R]>"));
    EXPECT_EQ(two.LinkTypes(), (QStringList{Q("Number->Divide"), Q("Divide->Q"), Q("Divide->R")}));
    EXPECT_EQ(ReadGraph(Q("<Now | [Time]>")).LinkTypes(), QStringList{Q("Now->Time")});
}

TEST_F(Elements, AnActorWithoutItsClosingBracketEndsTheGraphWithoutMessage) {
    messages.clear();
    sink.built.clear();
    EXPECT_TRUE(Read(Q("<Plus [A] | [C] x [D]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 1u);
    EXPECT_EQ(sink.built[0].LinkTypes(), QStringList{Q("A->Plus")});
}

// --- comments and positions --------------------------------------------------------------

TEST_F(Elements, ANodeCommentWithATitlePositionPlacesTheNodeAndTheCommentAboveIt) {
    const BuiltGraph& g = ReadGraph(Q("[Cat ;%120@80% fluffy;]"));
    const NodeRecord* cat = g.Node(Q("Cat"));
    const NodeRecord* comment = g.Node(Q("fluffy"));
    ASSERT_TRUE(cat && comment);
    EXPECT_EQ(cat->X, 120.0f);
    EXPECT_EQ(cat->Y, 80.0f);
    EXPECT_EQ(comment->Kind, NodeKind::Comment);
    EXPECT_EQ(comment->X, 120.0f);
    EXPECT_EQ(comment->Y, 30.0f);
}

TEST_F(Elements, ANodeCommentWithoutPositionStaysAtTheOrigin) {
    const BuiltGraph& g = ReadGraph(Q("[Cat ;fluffy;]"));
    ASSERT_NE(g.Node(Q("fluffy")), nullptr);
    EXPECT_EQ(g.Node(Q("fluffy"))->X, 0.0f);
    EXPECT_EQ(g.Node(Q("fluffy"))->Y, 0.0f);
    EXPECT_EQ(g.Node(Q("Cat"))->X, 0.0f);
    // A title-only comment still makes a comment node, with empty text.
    const BuiltGraph& t = ReadGraph(Q("[Cat ;%10.5@20%;]"));
    ASSERT_EQ(t.Nodes.size(), 2u);
    EXPECT_EQ(t.Nodes[0].X, 10.5f);
    EXPECT_EQ(t.Nodes[0].Y, 20.0f);
    EXPECT_EQ(t.Nodes[1].Kind, NodeKind::Comment);
    EXPECT_EQ(t.Nodes[1].Type, QString());
    EXPECT_EQ(t.Nodes[1].Y, -30.0f); // 50 above the node, even off the slide
}

TEST_F(Elements, PositionConversionRules) {
    struct Case {
        const char* text;
        float x, y;
    };
    const Case cases[] = {
        {"[Cat ;%x@80%c;]", 0, 80},      // x fails: x 0, y still taken
        {"[Cat ;%120@y%c;]", 0, 0},      // y fails: both 0
        {"[Cat ;%120%c;]", 0, 0},        // no "@"
        {"[Cat ;%-5@-7%c;]", 0, 0},      // neither above 0: the node keeps 0
        {"[Cat ;%-5@7%c;]", -5, 7},      // one above 0 is enough
        {"[Cat ;%1@2@3%c;]", 0, 0},      // y "2@3" does not convert
        {"[Cat ;% 12 @ 34 %c;]", 12, 34}, // blanks around the numbers are allowed
        {"[Cat ;%+12@5e1%c;]", 12, 50},   // a sign and an exponent
        {"[Cat ;%1e-60@5%c;]", 0, 5},     // too small for single precision: x fails
        {"[Cat ;%1,5@5%c;]", 0, 5},       // "." is the only decimal separator
    };
    for (const Case& c : cases) {
        const BuiltGraph& g = ReadGraph(Q(c.text));
        ASSERT_NE(g.Node(Q("Cat")), nullptr) << c.text;
        EXPECT_EQ(g.Node(Q("Cat"))->X, c.x) << c.text;
        EXPECT_EQ(g.Node(Q("Cat"))->Y, c.y) << c.text;
    }
}

TEST_F(Elements, TheWritersPositionCommentsSetThePositionAndMakeNoCommentNode) {
    const BuiltGraph& g = ReadGraph(Q(";%Graph*G1%;\r\n"
                                      "[Cat*x1;100@50;\r\n"
                                      "][Mat*x2;300@50;\r\n"
                                      "](On?x1?x2;200@150;\r\n"
                                      ")\r\n"
                                      "<Plus?x1|[Sum;12.5@-3;\r\n"
                                      "];40@60;\r\n"
                                      ">\r\n"));
    EXPECT_EQ(g.GraphName(), Q("G1"));
    EXPECT_EQ(g.Count(NodeKind::Comment), 0);
    const auto at = [&](const char* type) {
        const NodeRecord* node = g.Node(Q(type));
        return node ? std::pair(node->X, node->Y) : std::pair(-1.0f, -1.0f);
    };
    EXPECT_EQ(at("Cat"), std::pair(100.0f, 50.0f));
    EXPECT_EQ(at("Mat"), std::pair(300.0f, 50.0f));
    EXPECT_EQ(at("On"), std::pair(200.0f, 150.0f));
    EXPECT_EQ(at("Sum"), std::pair(12.5f, -3.0f));
    EXPECT_EQ(at("Plus"), std::pair(40.0f, 60.0f));
    EXPECT_EQ(g.LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On"), Q("Cat->Plus"), Q("Plus->Sum")}));
    // (g is not used after the next read.)
    EXPECT_EQ(ReadGraph(Q("[Cat;1.5E+2@-0.25;\r\n]")).Node(Q("Cat"))->X, 150.0f);
    // Other texts that only look like positions stay comments.
    for (const char* text : {"[Cat;100 @ 50;]", "[Cat;100@;]", "[Cat;@50;]", "[Cat;1@2@3;]", "[Cat;1e@2;]",
                             "[Cat;x100@50;]"}) {
        const BuiltGraph& c = ReadGraph(Q(text));
        EXPECT_EQ(c.Count(NodeKind::Comment), 1) << text;
        EXPECT_EQ(c.Node(Q("Cat"))->X, 0.0f) << text;
    }
    // A concept with a referent takes the writer's comment too...
    const BuiltGraph& r = ReadGraph(Q("[Cat:'Tom';7@8;\r\n]"));
    EXPECT_EQ(r.Count(NodeKind::Comment), 0);
    EXPECT_EQ(r.Node(Q("Cat"))->X, 7.0f);
    EXPECT_EQ(r.Node(Q("Cat"))->Y, 8.0f);
    // ...also after a referent and a label, which put an empty graph node after the concept
    // (a title position would go to that last node).
    const BuiltGraph& l = ReadGraph(Q("[Cat:'Tom'*x;7@8;\r\n]"));
    EXPECT_EQ(l.Node(Q("Cat"))->X, 7.0f);
    EXPECT_EQ(l.Node(Q("Cat"))->Y, 8.0f);
    ASSERT_EQ(l.Nodes.size(), 2u);
    EXPECT_EQ(l.Nodes[1].Kind, NodeKind::Graph);
    EXPECT_EQ(l.Nodes[1].X, 0.0f);
}

TEST_F(Elements, RelationAndActorCommentsCarryTheirPosition) {
    const BuiltGraph& g = ReadGraph(Q("(On [Cat] [Mat] ;%200@150% on top;) <Plus [A] | [C] ;%50@60% add>"));
    EXPECT_EQ(g.Node(Q("On"))->X, 200.0f);
    EXPECT_EQ(g.Node(Q("On"))->Y, 150.0f);
    EXPECT_EQ(g.Node(Q("on top"))->Y, 100.0f);
    EXPECT_EQ(g.Node(Q("Plus"))->X, 50.0f);
    EXPECT_EQ(g.Node(Q("add"))->X, 50.0f);
    EXPECT_EQ(g.Node(Q("add"))->Y, 10.0f);
    // An actor's comment runs to the ">" across lines.
    const BuiltGraph& m = ReadGraph(Q("<Plus [A] | [C] ;two\n  lines>"));
    EXPECT_NE(m.Node(Q("two\r\nlines")), nullptr);
}

TEST_F(Elements, StandAloneCommentsStandAt200By100) {
    const BuiltGraph& g = ReadGraph(Q("[Cat] ;first; ;%5@5%second;"));
    ASSERT_EQ(g.Count(NodeKind::Comment), 2);
    EXPECT_EQ(g.Nodes[1].Type, Q("first"));
    EXPECT_EQ(g.Nodes[1].X, 200.0f);
    EXPECT_EQ(g.Nodes[1].Y, 100.0f);
    // A stand-alone comment has no title: its text is kept whole.
    EXPECT_EQ(g.Nodes[2].Type, Q("%5@5%second"));
    EXPECT_EQ(g.Nodes[2].X, 200.0f);
}

// --- negations and nested graphs ---------------------------------------------------------

TEST_F(Elements, ANegationHandsItsGraphOnFirstAndLinksToItsGraphNode) {
    ASSERT_TRUE(Read(Q("~[ (On [Cat] [Mat]) ]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 2u);
    const BuiltGraph& inner = sink.built[0];
    EXPECT_EQ(inner.GraphName(), Q("G2"));
    EXPECT_EQ(inner.GraphType, Q("Graph"));
    EXPECT_EQ(inner.FirstLinkIndex, 0);
    EXPECT_EQ(inner.FirstNodeIndex, 3);
    EXPECT_EQ(sink.graphNode[0].Id, inner.SlideName.section(u'/', 1));
    EXPECT_EQ(inner.LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On")}));

    const BuiltGraph& outer = sink.built[1];
    EXPECT_EQ(outer.GraphName(), Q("G1"));
    ASSERT_EQ(outer.Nodes.size(), 2u);
    EXPECT_EQ(outer.Nodes[0].Type, Q("Neg"));
    EXPECT_EQ(outer.Nodes[0].Kind, NodeKind::Relation);
    EXPECT_EQ(outer.Nodes[0].Name, Q("G2"));
    EXPECT_EQ(outer.Nodes[1].Kind, NodeKind::Graph);
    EXPECT_EQ(outer.LinkTypes(), QStringList{Q("Neg->graph G2")});
    // The inner nodes moved to AllBindings, graph node first.
    const auto& kept = reader.Tables().AllBindings;
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[0].Name, Q("G2"));
    EXPECT_EQ(kept[1].Type, Q("On"));
    EXPECT_EQ(reader.Tables().Contexts.size(), 1u);
}

TEST_F(Elements, ANegationTakesItsPositionFromTheLastPositionReadInside) {
    const BuiltGraph& g = ReadGraph(Q("~[ (On [Cat] [Mat] ;%300@200%;) ]"));
    EXPECT_EQ(g.Node(Q("Neg"))->X, 200.0f);
    EXPECT_EQ(g.Node(Q("Neg"))->Y, 50.0f); // the comment placement already took 50 off y
}

TEST_F(Elements, AConceptReferentHoldingAGraphWithArcsBecomesItsOwnSlide) {
    ASSERT_TRUE(Read(Q("[Proposition: (On [Cat] [Mat])] [Dog]")));
    ASSERT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G2"));
    const BuiltGraph& outer = sink.built[1];
    ASSERT_NE(outer.Node(Q("Proposition")), nullptr);
    EXPECT_EQ(outer.Node(Q("Proposition"))->Name, Q("G2"));
    EXPECT_EQ(outer.LinkTypes(), QStringList{Q("Proposition->graph G2")});
    EXPECT_NE(outer.Node(Q("Dog")), nullptr);
    // The concept read last before the graph is the current concept again.
    EXPECT_EQ(reader.CurrentConceptId(), outer.Node(Q("Dog"))->Id);
}

TEST_F(Elements, TheContainingNodeTakesTheNameOfTheGraphNodeMadeLast) {
    // The referent 'Tom' inside the proposition makes the empty graph node G3 after G2 opened.
    ASSERT_TRUE(Read(Q("[Proposition: (On [Cat: 'Tom'] [Mat])]")));
    ASSERT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G2"));
    const BuiltGraph& outer = sink.built[1];
    EXPECT_EQ(outer.Node(Q("Proposition"))->Name, Q("G3"));
    EXPECT_EQ(outer.LinkTypes(), QStringList{Q("Proposition->graph G2")});
}

TEST_F(Elements, ANestedGraphTitleNamesTheGraph) {
    ASSERT_TRUE(Read(Q("[Proposition: ;%Proposition*p1%;\n (On [Cat] [Mat])]")));
    ASSERT_EQ(sink.built.size(), 2u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("p1"));
    EXPECT_EQ(sink.built[0].GraphType, Q("Proposition"));
    EXPECT_EQ(sink.built[1].Node(Q("Proposition"))->Name, Q("p1"));
    // Text after the title is put back as a comment, which a nested graph does not read: the
    // graph stays empty and the comment is taken as the concept's node comment.
    EXPECT_EQ(ErrorOf(Q("[Proposition: ;%Proposition*p2% said;\n (On [Cat] [Mat])]")),
              Q("Expected terminating ] for concept (at (On [Cat] [Mat])])"));
}

TEST_F(Elements, ACommentWithoutTitleAfterAReferentIsTheConceptsNodeComment) {
    const BuiltGraph& c = ReadGraph(Q("[Cat: 'Tom' ;nice;]"));
    ASSERT_NE(c.Node(Q("nice")), nullptr);
    EXPECT_EQ(c.Node(Q("nice"))->Kind, NodeKind::Comment);
    EXPECT_EQ(c.Count(NodeKind::Graph), 0);
}

TEST_F(Elements, ANestedGraphWithoutArcsStaysInTheEnclosingGraph) {
    const BuiltGraph& g = ReadGraph(Q("[Situation: [Cat] [Mat]]"));
    ASSERT_EQ(sink.built.size(), 1u);
    ASSERT_EQ(g.Nodes.size(), 4u);
    EXPECT_EQ(g.Nodes[0].Type, Q("Situation"));
    EXPECT_EQ(g.Nodes[1].Kind, NodeKind::Graph);
    EXPECT_EQ(g.Nodes[2].Type, Q("Cat"));
    EXPECT_EQ(g.Nodes[3].Type, Q("Mat"));
    EXPECT_EQ(g.Nodes[0].Name, QString());
    EXPECT_TRUE(g.Links.empty());
}

TEST_F(Elements, NestedGraphsInsideNestedGraphsAreBuiltInnermostFirst) {
    ASSERT_TRUE(Read(Q("~[ [Cat *x] ~[ (On ?x [Mat]) ] ]")));
    EXPECT_EQ(Errors(), QStringList());
    ASSERT_EQ(sink.built.size(), 3u);
    EXPECT_EQ(sink.built[0].GraphName(), Q("G3"));
    EXPECT_EQ(sink.built[1].GraphName(), Q("G2"));
    EXPECT_EQ(sink.built[2].GraphName(), Q("G1"));
    // The inner graph links to Cat of the graph around it.
    ASSERT_EQ(sink.built[0].Links.size(), 2u);
    EXPECT_EQ(sink.built[0].LinkTypes().front(), Q("On->Mat"));
    EXPECT_EQ(sink.built[0].Links[1].From, sink.built[1].Node(Q("Cat"))->Id);
    EXPECT_EQ(sink.built[1].LinkTypes(), QStringList{Q("Neg->graph G3")});
    EXPECT_EQ(sink.built[2].LinkTypes(), QStringList{Q("Neg->graph G2")});
    // The outer negation is named after the graph node made last (G3), not after its own.
    EXPECT_EQ(sink.built[2].Node(Q("Neg"))->Name, Q("G3"));
}

TEST_F(Elements, DeepNestingStopsWithAnErrorInsteadOfExhaustingTheStack) {
    QString deep;
    for (int i = 0; i < CgifReader::MaxNestingDepth - 1; ++i)
        deep += Q("~[");
    deep += Q("(On [Cat] [Mat])");
    for (int i = 0; i < CgifReader::MaxNestingDepth - 1; ++i)
        deep += Q("]");
    messages.clear();
    EXPECT_TRUE(Read(deep));
    EXPECT_EQ(Errors(), QStringList());
    EXPECT_EQ(sink.built.size(), static_cast<std::size_t>(CgifReader::MaxNestingDepth));

    const QString tooDeep = QString(Q("~[")).repeated(100000) + Q("(On [Cat] [Mat])");
    const QString message = ErrorOf(tooDeep);
    EXPECT_TRUE(message.startsWith(Q("Graphs nested too deeply (at "))) << message.left(80).toStdString();
    const QString concepts = QString(Q("[A: ")).repeated(100000);
    EXPECT_TRUE(ErrorOf(concepts).startsWith(Q("Graphs nested too deeply (at ")));
}

} // namespace
} // namespace zov::cgif::test
