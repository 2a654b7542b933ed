// The builder's node rules and failures on tables laid out by hand, including layouts the
// reader makes only in rare inputs (coreferent link ends, labels found in neither table, link
// ends missing from the graph).
#include "ImportFixture.h"

#include "drawing/GraphEncoding.h"

namespace zov::cgif::test {
namespace {

using Lines = QStringList;

NodeRecord Node(std::int16_t kind, const QString& type, const QString& name, const QString& id,
                const QString& referent = QString(), float x = 0, float y = 0) {
    NodeRecord record;
    record.Kind = kind;
    record.Type = type;
    record.Name = name;
    record.Id = id;
    record.Referent = referent;
    record.X = x;
    record.Y = y;
    return record;
}

class NodeRulesTest : public ImportFixture {
protected:
    ReaderTables& tables() { return reader.Tables(); }
    void build(int firstLinkIndex = 0, int firstNodeIndex = 1) {
        builder.BuildGraphSlide(reader, QStringLiteral("G1/GRAPHONE"), QStringLiteral("Graph"), firstLinkIndex,
                                firstNodeIndex);
    }
    host::Slide built() const { return slide(slides().Count()); }
    void link(const char* from, const char* to) {
        tables().Links.push_back({QString::fromLatin1(from), QString::fromLatin1(to)});
    }
};

const NodeRecord GraphOne = Node(NodeKind::Graph, QStringLiteral("Graph"), QStringLiteral("G1"), QStringLiteral("GRAPHONE"));

TEST_F(NodeRulesTest, CoreferentEndNamesTheDefiningTypeAndGraph) {
    tables().BoundArray = {GraphOne,
                           Node(NodeKind::CoreferentConcept, "Person", "x", "PERSONID"),
                           Node(NodeKind::CoreferentConcept, "Cat", "x", "CATIDAAA", "Tom", 30, 40),
                           Node(NodeKind::Relation, "On", "", "ONIDAAAA"),
                           Node(NodeKind::CoreferentConcept, "Mat", "x", "MATIDAAA")};
    link("CATIDAAA", "ONIDAAAA");
    link("ONIDAAAA", "MATIDAAA");
    build();
    EXPECT_EQ(describe(built()), (Lines{"19 G1 is Graph", "51 Cat:Tom(Person in G1)", "9 On",
                                        "arc Cat:Tom(Person in G1)>On", "51 Mat(Cat in G1)",
                                        "arc On>Mat(Cat in G1)"}));
    const host::Shape cat = built().Shapes().Item(2);
    EXPECT_EQ(cat.Name(), QStringLiteral("x/CATIDAAA"));
    EXPECT_EQ(cat.Fill().ForeColor().RGB(), settings.conceptColor);
    EXPECT_FLOAT_EQ(cat.Left(), 30.0f);
    EXPECT_FLOAT_EQ(cat.Top(), 40.0f);
    // Relations without links, coreferent concepts and graph nodes are never drawn on their own;
    // the defining Person is coreferent, so it is not drawn either.
    EXPECT_TRUE(shapeWithText(built(), QStringLiteral("Person")).IsNothing());
}

// Layouts drawn as graph G1 on a new slide: the nodes after G1's graph node, the nodes kept from
// graphs built before, the links as "FROM>TO" ids; the shapes drawn and the boxes shown.
TEST(NodeRules, LabelsGraphNodesAndLinkEndsOutsideTheGraph) {
    struct Layout {
        std::vector<NodeRecord> nodes;
        std::vector<NodeRecord> kept;
        QStringList links;
        Lines drawn;
        QStringList boxes;
    };
    const Layout layouts[] = {
        // A label naming a graph: the graph's name at an out end, "Proposition (name)" after Neg.
        {{Node(NodeKind::Graph, "Proposition", "p", "PGRAPHID"), Node(NodeKind::CoreferentConcept, "Cat", "p", "CATSOURC"),
          Node(NodeKind::Relation, "On", "", "ONIDAAAA"), Node(NodeKind::Graph, "Proposition", "q", "QGRAPHID"),
          Node(NodeKind::CoreferentConcept, "Dog", "q", "DOGTARGT"), Node(NodeKind::Relation, "Neg", "", "NEGIDAAA"),
          Node(NodeKind::Graph, "Proposition", "r", "RGRAPHID"), Node(NodeKind::CoreferentConcept, "Hat", "r", "HATTARGT")},
         {},
         {"CATSOURC>ONIDAAAA", "ONIDAAAA>DOGTARGT", "NEGIDAAA>HATTARGT"},
         {"19 G1 is Graph", "51 Cat(p)", "9 On", "arc Cat(p)>On", "51 q", "arc On>q", "9 Neg", "51 Proposition (r)",
          "arc Neg>Proposition (r)"},
         {}},
        // A graph node end is a pentagon named after the graph.
        {{Node(NodeKind::Concept, "Believe", "G2", "BELIEVE1"), Node(NodeKind::Graph, "Graph", "G2", "GRAPHTWO"),
          Node(NodeKind::Relation, "Neg", "", "NEGIDAAA"), Node(NodeKind::Graph, "Graph", "G3", "GRAPHTRE")},
         {},
         {"BELIEVE1>GRAPHTWO", "NEGIDAAA>GRAPHTRE", "GRAPHTWO>BELIEVE1"},
         {"19 G1 is Graph", "1 Believe", "51 G2", "arc Believe>G2", "9 Neg", "51 Proposition (G3)",
          "arc Neg>Proposition (G3)", "arc G2>Believe"},
         {}},
        // A label found only among the graphs built before uses that graph.
        {{Node(NodeKind::CoreferentConcept, "Dog", "x", "DOGIDAAA"), Node(NodeKind::Relation, "Near", "", "NEARIDAA")},
         {Node(NodeKind::Graph, "Situation", "G2", "GRAPHTWO"), Node(NodeKind::Concept, "Cat", "x", "CATIDAAA"),
          Node(NodeKind::Relation, "On", "", "ONIDAAAA")},
         {"DOGIDAAA>NEARIDAA"},
         {"19 G1 is Graph", "51 Dog(Cat in G2)", "9 Near", "arc Dog(Cat in G2)>Near"},
         {}},
        // A label found nowhere stops the build, keeping what is drawn.
        {{Node(NodeKind::Comment, "note", "", "COMMENTA"), Node(NodeKind::Concept, "A", "", "AIDAAAAA"),
          Node(NodeKind::Relation, "R", "", "RIDAAAAA"), Node(NodeKind::CoreferentConcept, "Dog", "y", "DOGIDAAA"),
          Node(NodeKind::Relation, "S", "", "SIDAAAAA"), Node(NodeKind::Concept, "B", "", "BIDAAAAA"),
          Node(NodeKind::Concept, "Alone", "", "ALONEIDA")},
         {},
         {"AIDAAAAA>RIDAAAAA", "DOGIDAAA>SIDAAAAA", "SIDAAAAA>BIDAAAAA"},
         {"19 G1 is Graph", "106 note", "1 A", "9 R", "arc A>R"},
         {"Error: Graph not found for: y"}},
        // A link end outside the graph is reported and gets no arc; no rule draws a comment as
        // a link end.
        {{Node(NodeKind::Concept, "A", "", "AIDAAAAA"), Node(NodeKind::Relation, "R", "", "RIDAAAAA"),
          Node(NodeKind::Concept, "B", "", "BIDAAAAA"), Node(NodeKind::Comment, "remark", "", "COMMENTA")},
         {},
         {"AIDAAAAA>RIDAAAAA", "GHOSTIDA>RIDAAAAA", "RIDAAAAA>COMMENTA", "RIDAAAAA>BIDAAAAA"},
         {"19 G1 is Graph", "106 remark", "1 A", "9 R", "arc A>R", "1 B", "arc R>B"},
         {"Error: Link node not in bound array"}},
    };
    for (const Layout& layout : layouts) {
        ImportSession session;
        ReaderTables& tables = session.reader.Tables();
        tables.BoundArray = {GraphOne};
        tables.BoundArray.insert(tables.BoundArray.end(), layout.nodes.begin(), layout.nodes.end());
        tables.AllBindings = layout.kept;
        for (const QString& link : layout.links)
            tables.Links.push_back({link.section(u'>', 0, 0), link.section(u'>', 1)});
        session.builder.BuildGraphSlide(session.reader, "G1/GRAPHONE", "Graph", 0, 1);
        EXPECT_EQ(ImportSession::describe(session.slide(1)), layout.drawn);
        EXPECT_EQ(session.messageLines(), layout.boxes);
        EXPECT_EQ(session.settings.nodeFontSize, 18) << "the node font is back after a stopped build";
    }
}

TEST_F(NodeRulesTest, OnlyTheGraphsTailOfNodesAndLinksIsDrawn) {
    // A nested graph: its nodes start after its graph node (index 3), its links at index 1.
    tables().BoundArray = {GraphOne,
                           Node(NodeKind::Concept, "Outer", "", "OUTERIDA"),
                           Node(NodeKind::Concept, "Holder", "", "HOLDERID"),
                           Node(NodeKind::Graph, "Graph", "G2", "GRAPHTWO"),
                           Node(NodeKind::Concept, "Inner", "", "INNERIDA", "", 15, 25),
                           Node(NodeKind::Relation, "R", "", "RIDAAAAA"),
                           Node(NodeKind::Actor, "Idle", "", "IDLEIDAA")};
    link("OUTERIDA", "HOLDERID");
    link("OUTERIDA", "RIDAAAAA");
    builder.BuildGraphSlide(reader, QStringLiteral("G2/GRAPHTWO"), QStringLiteral("Graph"), 1, 4);
    EXPECT_EQ(describe(built()), (Lines{"19 G2 is Graph", "1 Outer", "9 R", "arc Outer>R", "1 Inner"}));
    EXPECT_FLOAT_EQ(built().Shapes().Item(5).Left(), 15.0f);
    EXPECT_FLOAT_EQ(built().Shapes().Item(5).Top(), 25.0f);
}

TEST_F(NodeRulesTest, BuildingAgainEmptiesTheShapeTableFirst) {
    tables().BoundArray = {GraphOne, Node(NodeKind::Concept, "A", "", "AIDAAAAA"), Node(NodeKind::Relation, "R", "", "RIDAAAAA")};
    link("AIDAAAAA", "RIDAAAAA");
    build();
    ASSERT_EQ(builder.ShapeTable().size(), 2u);
    tables().Links.clear();
    builder.BuildGraphSlide(reader, QStringLiteral("G9/GRAPHNIN"), QStringLiteral("Graph"), 0, 1);
    EXPECT_TRUE(builder.ShapeTable().empty());
    // Without its link, A is a concept without links on the new slide; R is not drawn.
    EXPECT_EQ(describe(built()), (Lines{"19 G9 is Graph", "1 A"}));
}

TEST_F(NodeRulesTest, RepeatedIdFindsItsFirstNodeInSmallAndLargeGraphs) {
    // Ids are random and may repeat; a link end is drawn from the first node with its id,
    // whether the graph is searched in order or through an index.
    for (const int fillers : {0, 60}) {
        tables().BoundArray = {GraphOne};
        tables().Links.clear();
        for (int i = 0; i < fillers; ++i)
            tables().BoundArray.push_back(Node(NodeKind::Concept, "Filler", "", QStringLiteral("FILL%1").arg(i)));
        tables().BoundArray.push_back(Node(NodeKind::Concept, "First", "", "TWINIDAA"));
        tables().BoundArray.push_back(Node(NodeKind::Relation, "R", "", "RIDAAAAA"));
        tables().BoundArray.push_back(Node(NodeKind::Concept, "Second", "", "TWINIDAA"));
        for (int i = 0; i < fillers; ++i)
            tables().Links.push_back({QStringLiteral("FILL%1").arg(i), QStringLiteral("RIDAAAAA")});
        link("RIDAAAAA", "TWINIDAA");
        link("TWINIDAA", "RIDAAAAA");
        builder.BuildGraphSlide(reader, QStringLiteral("T%1/GRAPHONE").arg(fillers), QStringLiteral("Graph"), 0, 1);
        const QStringList drawn = describe(built());
        EXPECT_EQ(drawn.filter(QStringLiteral("First")).size(), 3) << fillers << ": the shape and its two arcs";
        EXPECT_TRUE(drawn.filter(QStringLiteral("Second")).isEmpty()) << fillers;
        EXPECT_EQ(drawn.size(), 1 + 2 + 2 + 2 * fillers) << fillers;
        EXPECT_EQ(builder.ShapeTable().size(), static_cast<std::size_t>(fillers + 2));
        EXPECT_TRUE(builder.FindShapeByName(QStringLiteral("TWINIDAA")) == built().Shapes().Item(fillers > 0 ? 2 * fillers + 3 : 3))
            << fillers;
    }
}

TEST_F(NodeRulesTest, HostRefusalReachesTheCaller) {
    tables().BoundArray = {GraphOne};
    build();
    EXPECT_THROW(build(), host::HostError) << "a second slide named G1";
}

} // namespace
} // namespace zov::cgif::test
