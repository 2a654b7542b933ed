// The node table rebuild: classification of every shape type, links from glued connectors,
// and the order of the records.
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "editor/NodeTables.h"

namespace zov::editor::testing {
namespace {

class NodeTablesTest : public EditorTest {
protected:
    host::Shape Node(int type, const QString& name, const QString& text, float left, float top) {
        return drawing::CreateNodeShape(app, settings, name, type, text, left, top, settings.conceptColor);
    }
    host::Shape Arc(const host::Shape& from, const host::Shape& to) {
        host::Shape arc = window.View().Slide().Shapes().AddConnector(host::ConnectorStraight, 0, 0, 10, 10);
        arc.ConnectorFormat().BeginConnect(from, 1);
        arc.ConnectorFormat().EndConnect(to, 1);
        return arc;
    }
    const std::vector<cgif::NodeRecord>& Nodes() { return session.Reader().Tables().BoundArray; }
    const std::vector<cgif::LinkRecord>& Links() { return session.Reader().Tables().Links; }
};

TEST_F(NodeTablesTest, ClassifiesEveryShapeTypeByTheTable) {
    AddGraph(QStringLiteral("Proposition *p1"));
    Node(drawing::ConceptShapeType, QStringLiteral("AAAAAAAA"), QStringLiteral("Person:Ann"), 1, 2);
    Node(drawing::ConceptShapeType, QStringLiteral("y/BBBBBBBB"), QStringLiteral("Person: Ann"), 3, 4);
    Node(drawing::ConceptShapeType, QStringLiteral("/CCCCCCCC"), QStringLiteral("Person"), 5, 6);
    Node(drawing::CoreferentConceptShapeType, QStringLiteral("x/DDDDDDDD"), QStringLiteral("Cat:'Tom'(Person in G1)"), 7, 8);
    Node(drawing::RelationShapeType, QStringLiteral("z/EEEEEEEE"), QStringLiteral("Agnt:x"), 9, 10);
    Node(drawing::ActorShapeType, QStringLiteral("FFFFFFFF"), QStringLiteral("Plus:3"), 11, 12);
    Node(drawing::CommentShapeType, QStringLiteral("q/GGGGGGGG"), QStringLiteral("a note: here"), 13, 14);
    Node(drawing::ActorMarkShapeType, QStringLiteral("HHHHHHHH"), QStringLiteral("ActDF"), 15, 16);
    session.RebuildNodeTables();

    using K = std::int16_t;
    struct Expected {
        K kind;
        const char* name;
        const char* type;
        const char* referent;
        const char* id;
        float x, y;
    };
    const Expected expected[] = {
        {cgif::NodeKind::Graph, "p1", "Proposition", "", nullptr, 100, 50},
        {cgif::NodeKind::Concept, "", "Person", "Ann", "AAAAAAAA", 1, 2},
        {cgif::NodeKind::Concept, "y", "Person", " Ann", "BBBBBBBB", 3, 4},
        {cgif::NodeKind::Concept, "", "Person", "", "CCCCCCCC", 5, 6},
        {cgif::NodeKind::CoreferentConcept, "x", "Cat", "", "DDDDDDDD", 7, 8},
        {cgif::NodeKind::Relation, "", "Agnt:x", "", "EEEEEEEE", 9, 10},
        {cgif::NodeKind::Actor, "", "Plus", "", "FFFFFFFF", 11, 12},
        {cgif::NodeKind::Comment, "", "a note: here", "", "q/GGGGGGGG", 13, 14},
    };
    ASSERT_EQ(Nodes().size(), std::size(expected)); // the actor mark makes no record
    EXPECT_EQ(Nodes()[0].Id, window.View().Slide().Shapes().Item(1).Name());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const cgif::NodeRecord& node = Nodes()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(node.Kind, expected[i].kind);
        EXPECT_EQ(node.Name, QString::fromUtf8(expected[i].name));
        EXPECT_EQ(node.Type, QString::fromUtf8(expected[i].type));
        EXPECT_EQ(node.Referent, QString::fromUtf8(expected[i].referent));
        if (expected[i].id) {
            EXPECT_EQ(node.Id, QString::fromUtf8(expected[i].id));
        }
        EXPECT_FLOAT_EQ(node.X, expected[i].x);
        EXPECT_FLOAT_EQ(node.Y, expected[i].y);
        EXPECT_EQ(node.GraphNumber, 0);
    }
    EXPECT_TRUE(session.Reader().Tables().AllBindings.empty());
    EXPECT_TRUE(session.Reader().Tables().PendingArgs.empty());
}

TEST_F(NodeTablesTest, OnlyConnectorsGluedAtBothEndsBecomeLinks) {
    AddGraph();
    const host::Shape cat = Node(drawing::ConceptShapeType, QStringLiteral("AAAAAAAA"), QStringLiteral("Cat"), 50, 60);
    const host::Shape on = Node(drawing::RelationShapeType, QStringLiteral("BBBBBBBB"), QStringLiteral("On"), 250, 70);
    host::Shapes shapes = window.View().Slide().Shapes();
    shapes.AddConnector(host::ConnectorStraight, 0, 0, 10, 10); // free line
    shapes.AddConnector(host::ConnectorStraight, 0, 0, 10, 10).ConnectorFormat().BeginConnect(cat, 1);
    shapes.AddConnector(host::ConnectorStraight, 0, 0, 10, 10).ConnectorFormat().EndConnect(on, 1);
    Arc(on, cat);
    Arc(cat, on);
    session.RebuildNodeTables();
    EXPECT_EQ(Nodes().size(), 3u);
    ASSERT_EQ(Links().size(), 2u);
    EXPECT_EQ(Links()[0].From, QStringLiteral("BBBBBBBB"));
    EXPECT_EQ(Links()[0].To, QStringLiteral("AAAAAAAA"));
    EXPECT_EQ(Links()[1].From, QStringLiteral("AAAAAAAA"));
    EXPECT_EQ(Links()[1].To, QStringLiteral("BBBBBBBB"));
}

TEST_F(NodeTablesTest, ATitleWithoutIsStillNamesItsGraph) {
    const host::Slide g1 = AddGraph(QStringLiteral("Story"));
    g1.Shapes().Item(1).TextFrame().TextRange().SetText(QStringLiteral("A story"));
    session.RebuildNodeTables();
    ASSERT_EQ(Nodes().size(), 1u);
    EXPECT_EQ(Nodes()[0].Kind, cgif::NodeKind::Graph);
    EXPECT_EQ(Nodes()[0].Name, QStringLiteral("Story"));
    EXPECT_EQ(Nodes()[0].Type, QStringLiteral("Graph"));
}

TEST_F(NodeTablesTest, RecordsFollowSlideOrderThenShapeOrder) {
    AddGraph(QStringLiteral("One"));
    Node(drawing::ConceptShapeType, QStringLiteral("AAAAAAAA"), QStringLiteral("A"), 0, 100);
    AddGraph(QStringLiteral("Two"));
    Node(drawing::ConceptShapeType, QStringLiteral("BBBBBBBB"), QStringLiteral("B"), 0, 100);
    presentation.Slides().Move(2, 1);
    session.RebuildNodeTables();
    QStringList order;
    for (const cgif::NodeRecord& node : Nodes())
        order << (node.Kind == cgif::NodeKind::Graph ? node.Name : node.Type);
    EXPECT_EQ(order, (QStringList{QStringLiteral("Two"), QStringLiteral("B"), QStringLiteral("One"), QStringLiteral("A")}));
}

TEST_F(NodeTablesTest, NothingToReadLeavesEmptyTables) {
    session.Reader().Tables().Links.push_back({QStringLiteral("A"), QStringLiteral("B")});
    session.RebuildNodeTables();
    EXPECT_TRUE(Nodes().empty());
    EXPECT_TRUE(Links().empty());
    RebuildNodeTables(host::Presentation(), session.Reader());
    EXPECT_TRUE(Nodes().empty());
}

} // namespace
} // namespace zov::editor::testing
