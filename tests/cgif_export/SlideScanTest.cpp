#include "cgif/export/SlideScan.h"
#include "cgif_export/GraphSlides.h"

#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;

// The names of a list of shapes, for compact comparisons.
QStringList names(const std::vector<host::Shape>& shapes) {
    QStringList out;
    for (const host::Shape& shape : shapes)
        out << shape.Name();
    return out;
}

QStringList recordNames(const SlideScan& scan) {
    QStringList out;
    for (const NodeArcs& record : scan.SlideNodes())
        out << record.Node.Name();
    return out;
}

class SlideScanTest : public ::testing::Test {
protected:
    SlideScan scanFirstSlide() {
        SlideScan scan;
        scan.ScanSlide(g.presentation(), 1);
        return scan;
    }
    GraphSlides g;
};

TEST_F(SlideScanTest, OnlyATitleGivesNoRecords) {
    g.addSlide(QStringLiteral("G1"));
    const SlideScan scan = scanFirstSlide();
    EXPECT_FALSE(scan.HasSlideNodes());
    EXPECT_TRUE(scan.SlideNodes().empty());
}

TEST_F(SlideScanTest, ConceptsAndCommentsInShapeOrderRelationsAndActorsAtTheirFirstArc) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape cat = g.conceptNode(QStringLiteral("x1/CATCATCA"), QStringLiteral("Cat"));
    const host::Shape on = g.relation(QStringLiteral("ONONONON"), QStringLiteral("On"));
    const host::Shape plus = g.actor(QStringLiteral("PLUSPLUS"), QStringLiteral("Plus"));
    g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("note"));
    g.arc(plus, cat);    // the actor's record comes here
    g.arc(cat, on);      // and the relation's here
    const host::Shape mat = g.conceptNode(QStringLiteral("/MATMATMA"), QStringLiteral("Mat"));
    g.arc(on, mat);

    const SlideScan scan = scanFirstSlide();
    ASSERT_TRUE(scan.HasSlideNodes());
    EXPECT_EQ(recordNames(scan), (QStringList{"x1/CATCATCA", "NOTENOTE", "PLUSPLUS", "ONONONON", "/MATMATMA"}));
    const auto& r = scan.SlideNodes();
    EXPECT_EQ(names(r[2].OutArcs), QStringList{"x1/CATCATCA"});
    EXPECT_TRUE(r[2].InArcs.empty());
    EXPECT_EQ(names(r[3].InArcs), QStringList{"x1/CATCATCA"});
    EXPECT_EQ(names(r[3].OutArcs), QStringList{"/MATMATMA"});
    EXPECT_TRUE(r[0].InArcs.empty() && r[0].OutArcs.empty());
    EXPECT_TRUE(r[1].InArcs.empty() && r[1].OutArcs.empty());
}

TEST_F(SlideScanTest, RelationKeepsOnlyTheLastOutArcActorKeepsAllInOrder) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    const host::Shape b = g.conceptNode(QStringLiteral("BBBBBBBB"), QStringLiteral("B"));
    const host::Shape c = g.conceptNode(QStringLiteral("CCCCCCCC"), QStringLiteral("C"));
    const host::Shape rel = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"));
    const host::Shape act = g.actor(QStringLiteral("TTTTTTTT"), QStringLiteral("T"));
    g.arc(rel, a);
    g.arc(b, rel);
    g.arc(rel, b);
    g.arc(c, rel);
    g.arc(act, c);
    g.arc(act, a);
    g.arc(a, act);
    g.arc(act, b);

    const SlideScan scan = scanFirstSlide();
    const int r = scan.FindSlideNode(rel);
    const int t = scan.FindSlideNode(act);
    ASSERT_GE(r, 0);
    ASSERT_GE(t, 0);
    EXPECT_EQ(names(scan.SlideNodes()[r].OutArcs), QStringList{"BBBBBBBB"});
    EXPECT_EQ(names(scan.SlideNodes()[r].InArcs), (QStringList{"BBBBBBBB", "CCCCCCCC"}));
    EXPECT_EQ(names(scan.SlideNodes()[t].OutArcs), (QStringList{"CCCCCCCC", "AAAAAAAA", "BBBBBBBB"}));
    EXPECT_EQ(names(scan.SlideNodes()[t].InArcs), QStringList{"AAAAAAAA"});
}

TEST_F(SlideScanTest, UnconnectedRelationsAndActorsAndForeignShapesMakeNoRecord) {
    g.addSlide(QStringLiteral("G1"));
    g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"));
    g.actor(QStringLiteral("TTTTTTTT"), QStringLiteral("T"));
    g.pentagon(QStringLiteral("x/PPPPPPPP"), QStringLiteral("x"));
    g.node(drawing::ActorMarkShapeType, QStringLiteral("MMMMMMMM"), QStringLiteral("ActDF"));
    g.foreign(QStringLiteral("OOOOOOOO"), QStringLiteral("foreign"));
    EXPECT_FALSE(scanFirstSlide().HasSlideNodes());
}

TEST_F(SlideScanTest, ArcsFromCommentsTitlesMarksAndForeignShapesAreIgnored) {
    const host::Slide slide = g.addSlide(QStringLiteral("G1"));
    const host::Shape title = slide.Shapes().Item(1);
    const host::Shape note = g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("note"));
    const host::Shape mark = g.node(drawing::ActorMarkShapeType, QStringLiteral("MMMMMMMM"), QStringLiteral("ActDF"));
    const host::Shape foreign = g.conceptNode(QStringLiteral("OOOOOOOO"), QStringLiteral("picture"));
    const host::Shape rel = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"));
    for (const host::Shape& from : {title, note, mark, foreign})
        g.arc(from, rel);
    foreign.data().kind = host::ShapeKind::Foreign; // glued while it was a rectangle
    foreign.data().autoShapeType = host::ShapeNotPrimitive;
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(recordNames(scan), QStringList{"NOTENOTE"});
    EXPECT_TRUE(scan.SlideNodes()[0].InArcs.empty() && scan.SlideNodes()[0].OutArcs.empty());
}

TEST_F(SlideScanTest, ArcFromAConceptIntoAnyShapeMakesAnInArcRecord) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    const host::Shape p = g.pentagon(QStringLiteral("x/PPPPPPPP"), QStringLiteral("x"));
    const host::Shape note = g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("note"));
    g.arc(a, note); // the comment already has a record: the in-arc joins it
    g.arc(p, p);    // a pentagon gets a record only through an arc from a concept
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(recordNames(scan), (QStringList{"AAAAAAAA", "NOTENOTE", "x/PPPPPPPP"}));
    EXPECT_EQ(names(scan.SlideNodes()[1].InArcs), QStringList{"AAAAAAAA"});
    EXPECT_EQ(names(scan.SlideNodes()[2].InArcs), QStringList{"x/PPPPPPPP"});
}

TEST_F(SlideScanTest, ConceptStackedAfterTheArcIntoItGetsTwoRecords) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    const host::Shape b = g.conceptNode(QStringLiteral("BBBBBBBB"), QStringLiteral("B"));
    g.arc(a, b);
    EXPECT_EQ(recordNames(scanFirstSlide()), (QStringList{"AAAAAAAA", "BBBBBBBB"}));
    // The arc found B's own record and joined it.
    EXPECT_EQ(names(scanFirstSlide().SlideNodes()[1].InArcs), QStringList{"AAAAAAAA"});

    GraphSlides::bringToFront(b); // now the arc comes before the concept it points into
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(recordNames(scan), (QStringList{"AAAAAAAA", "BBBBBBBB", "BBBBBBBB"}));
    EXPECT_EQ(names(scan.SlideNodes()[1].InArcs), QStringList{"AAAAAAAA"});
    EXPECT_TRUE(scan.SlideNodes()[2].InArcs.empty());
    EXPECT_EQ(scan.FindSlideNode(b), 1); // the lowest index wins
}

TEST_F(SlideScanTest, IdentityIsTheNameNotTheShape) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    const host::Shape b = g.conceptNode(QStringLiteral("BBBBBBBB"), QStringLiteral("B"));
    // Two different ovals with one name count as one relation.
    const host::Shape r1 = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"));
    const host::Shape r2 = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R2"));
    const host::Shape lower = g.relation(QStringLiteral("rrrrrrrr"), QStringLiteral("r"));
    g.arc(a, r1);
    g.arc(b, r2);
    g.arc(a, lower);
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(recordNames(scan), (QStringList{"AAAAAAAA", "BBBBBBBB", "RRRRRRRR", "rrrrrrrr"}));
    EXPECT_EQ(names(scan.SlideNodes()[2].InArcs), (QStringList{"AAAAAAAA", "BBBBBBBB"}));
    EXPECT_EQ(scan.FindSlideNode(r2), 2);
    EXPECT_EQ(scan.FindSlideNode(lower), 3);
}

TEST_F(SlideScanTest, FindAndAddOnAnEmptyTable) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    SlideScan scan;
    EXPECT_EQ(scan.FindSlideNode(a), -1);
    scan.AddSlideNode(NodeArcs{a, {}, {}});
    scan.AddSlideNode(NodeArcs{a, {a}, {}});
    EXPECT_EQ(scan.FindSlideNode(a), 0);
    EXPECT_EQ(scan.SlideNodes().size(), 2u);
    // A new scan starts from an empty table.
    g.addSlide(QStringLiteral("G2"));
    scan.ScanSlide(g.presentation(), 2);
    EXPECT_FALSE(scan.HasSlideNodes());
    EXPECT_EQ(scan.FindSlideNode(a), -1);
}

TEST_F(SlideScanTest, LooseArcEndRaisesAHostErrorAndTheSlideIsUntouched) {
    g.addSlide(QStringLiteral("G1"));
    const host::Shape a = g.conceptNode(QStringLiteral("AAAAAAAA"), QStringLiteral("A"));
    const host::Shape r = g.relation(QStringLiteral("RRRRRRRR"), QStringLiteral("R"));
    g.arc(a, r);
    const int before = g.shownSlide().Shapes().Count();
    SlideScan scan;
    EXPECT_NO_THROW(scan.ScanSlide(g.presentation(), 1));
    EXPECT_EQ(g.shownSlide().Shapes().Count(), before);
    EXPECT_EQ(r.Name(), QStringLiteral("RRRRRRRR"));

    g.arc(host::Shape(), r); // loose begin
    EXPECT_THROW(scan.ScanSlide(g.presentation(), 1), host::HostError);
    // An arc from a comment carries no meaning, yet both its ends are read.
    g.addSlide(QStringLiteral("G2"));
    const host::Shape note = g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("n"));
    g.arc(note, host::Shape());
    EXPECT_THROW(scan.ScanSlide(g.presentation(), 2), host::HostError);
}

} // namespace
} // namespace zov::cgif::exporter
