// The builder on tables laid out by hand: the layouts of tests/cases/cgif_import/node-rules.case,
// a nested graph's tail, the shape table, repeated ids and a refusal of the host.
#include "ImportFixture.h"

#include "drawing/GraphEncoding.h"
#include "support/CaseFiles.h"

namespace zov::cgif::test {
namespace {

using Lines = QStringList;

NodeRecord Node(std::int16_t kind, const QString& type, const QString& name, const QString& id,
                const QString& referent = QString(), float x = 0, float y = 0) {
    NodeRecord record;
    record.Kind = kind;
    record.Type = type;
    record.Name = name;
    record.Id = NodeId(id);
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
        tables().Links.push_back({NodeId(QString::fromLatin1(from)), NodeId(QString::fromLatin1(to))});
    }
};

const NodeRecord GraphOne = Node(NodeKind::Graph, QStringLiteral("Graph"), QStringLiteral("G1"), QStringLiteral("GRAPHONE"));

// "KIND:TYPE:NAME:ID[:REFERENT] ..." as node records.
NodeTable nodes(const QString& text) {
    static const QString kinds = QStringLiteral("gcrapn");
    NodeTable out;
    for (const QString& node : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = node.split(u':');
        out.push_back(Node(static_cast<std::int16_t>(kinds.indexOf(f.value(0))), f.value(1), f.value(2), f.value(3), f.value(4)));
    }
    return out;
}

// The cases of tests/cases/cgif_import/node-rules.case.
TEST(NodeRules, EachLayoutDrawsAsItsCaseSays) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_import"), QStringLiteral("node-rules.case"))) {
        const QStringList parts = c.input.split(QStringLiteral(" | "));
        ImportSession session;
        ReaderTables& tables = session.reader.Tables();
        tables.BoundArray = {GraphOne};
        for (const NodeRecord& node : nodes(parts.value(0)))
            tables.BoundArray.push_back(node);
        tables.AllBindings = nodes(parts.value(1));
        for (const QString& link : parts.value(2).split(u' ', Qt::SkipEmptyParts))
            tables.Links.push_back({NodeId(link.section(u'>', 0, 0)), NodeId(link.section(u'>', 1))});
        session.builder.BuildGraphSlide(session.reader, "G1/GRAPHONE", u"Graph", 0, 1);
        QStringList got = ImportSession::describe(session.slide(1));
        for (const QString& box : session.messageLines())
            got << QStringLiteral("box ") + box;
        EXPECT_EQ(zov::test::Lines(got), zov::test::Lines(c.expected)) << c.where();
        EXPECT_EQ(session.settings.nodeFontSize, 18) << c.where() << ": the node font is back after a stopped build";
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
    EXPECT_EQ(std::as_const(reader).Tables().BoundArray.size(), 3u) << "the builder leaves the reader's tables alone";
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
            tables().Links.push_back({NodeId(QStringLiteral("FILL%1").arg(i)), NodeId(QStringLiteral("RIDAAAAA"))});
        link("RIDAAAAA", "TWINIDAA");
        link("TWINIDAA", "RIDAAAAA");
        builder.BuildGraphSlide(reader, QStringLiteral("T%1/GRAPHONE").arg(fillers), QStringLiteral("Graph"), 0, 1);
        const QStringList drawn = describe(built());
        EXPECT_EQ(drawn.filter(QStringLiteral("First")).size(), 3) << fillers << ": the shape and its two arcs";
        EXPECT_TRUE(drawn.filter(QStringLiteral("Second")).isEmpty()) << fillers;
        EXPECT_EQ(drawn.size(), 1 + 2 + 2 + 2 * fillers) << fillers;
        EXPECT_EQ(builder.ShapeTable().size(), static_cast<std::size_t>(fillers + 2));
        EXPECT_TRUE(builder.FindShapeById(NodeId(QStringLiteral("TWINIDAA"))) == built().Shapes().Item(fillers > 0 ? 2 * fillers + 3 : 3))
            << fillers;
    }
}

// A large graph tells how far its drawing has got: at its start, every step, and at its end; a
// graph a little smaller tells nothing.
TEST_F(NodeRulesTest, ALargeGraphTellsHowFarItsDrawingHasGot) {
    std::vector<std::pair<std::int64_t, std::int64_t>> told;
    builder.SetDrawProgress([&](std::int64_t done, std::int64_t total) { told.emplace_back(done, total); });
    const auto arcs = static_cast<std::int64_t>(GraphBuilder::DrawProgressFrom + 10);
    const auto step = static_cast<std::int64_t>(GraphBuilder::DrawProgressStep);
    for (const std::int64_t count : {arcs - 11, arcs}) {
        SCOPED_TRACE(count);
        told.clear();
        tables().BoundArray = {GraphOne, Node(NodeKind::Relation, "R", "", "RIDAAAAA")};
        tables().Links.clear();
        for (std::int64_t i = 0; i < count; ++i) {
            const QString id = QStringLiteral("C%1").arg(i);
            tables().BoundArray.push_back(Node(NodeKind::Concept, "C", "", id));
            tables().Links.push_back({NodeId(id), NodeId(QStringLiteral("RIDAAAAA"))});
        }
        builder.BuildGraphSlide(reader, QStringLiteral("L%1/GRAPHONE").arg(count), QStringLiteral("Graph"), 0, 1);
        if (count < static_cast<std::int64_t>(GraphBuilder::DrawProgressFrom)) {
            EXPECT_TRUE(told.empty());
            continue;
        }
        std::vector<std::pair<std::int64_t, std::int64_t>> expected;
        for (std::int64_t done = 0; done < count; done += step)
            expected.emplace_back(done, count);
        expected.emplace_back(count, count);
        EXPECT_EQ(told, expected);
        EXPECT_EQ(built().Shapes().Count(), 2 + 2 * count) << "the title, R, and each concept with its arc";
    }
}

TEST_F(NodeRulesTest, HostRefusalReachesTheCaller) {
    tables().BoundArray = {GraphOne};
    build();
    EXPECT_THROW(build(), host::HostError) << "a second slide named G1";
}

} // namespace
} // namespace zov::cgif::test
