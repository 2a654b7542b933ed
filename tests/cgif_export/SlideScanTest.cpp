#include "cgif/export/SlideScan.h"
#include "cgif_export/GraphSlides.h"

#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;

// Each record as "NAME <IN,IN >OUT,OUT" (the arcs' other ends by shape name).
QStringList records(const SlideScan& scan) {
    const auto names = [](const std::vector<host::Shape>& shapes) {
        QStringList out;
        for (const host::Shape& shape : shapes)
            out << shape.Name();
        return out.join(u',');
    };
    QStringList out;
    for (const NodeArcs& record : scan.SlideNodes())
        out << record.Node.Name() + QStringLiteral(" <") + names(record.InArcs) + QStringLiteral(" >") + names(record.OutArcs);
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

TEST_F(SlideScanTest, ConceptsAndCommentsInShapeOrderRelationsAndActorsAtTheirFirstArc) {
    g.addSlide("G1");
    g.draw({"c|x1/CATCATCA|Cat", "r|ONONONON|On", "a|PLUSPLUS|Plus", "n|NOTENOTE|note", "Plus>Cat", "Cat>On",
            "c|/MATMATMA|Mat", "On>Mat"});
    const SlideScan scan = scanFirstSlide();
    EXPECT_TRUE(scan.HasSlideNodes());
    EXPECT_EQ(records(scan), (QStringList{"x1/CATCATCA < >", "NOTENOTE < >", "PLUSPLUS < >x1/CATCATCA",
                                          "ONONONON <x1/CATCATCA >/MATMATMA", "/MATMATMA < >"}));
}

TEST_F(SlideScanTest, RelationKeepsOnlyTheLastOutArcActorKeepsAllInOrder) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|AAAAAAAA|A", "c|BBBBBBBB|B", "c|CCCCCCCC|C", "r|RRRRRRRR|R", "a|TTTTTTTT|T", "R>A", "B>R",
                               "R>B", "C>R", "T>C", "T>A", "A>T", "T>B"});
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(records(scan).filter(QStringLiteral("RRRRRRRR")), QStringList{"RRRRRRRR <BBBBBBBB,CCCCCCCC >BBBBBBBB"});
    EXPECT_EQ(records(scan).filter(QStringLiteral("TTTTTTTT <")), QStringList{"TTTTTTTT <AAAAAAAA >CCCCCCCC,AAAAAAAA,BBBBBBBB"});
    EXPECT_GE(scan.FindSlideNode(drawn.at("R")), 0);
}

TEST_F(SlideScanTest, TitlesUnconnectedRelationsAndActorsAndForeignShapesMakeNoRecord) {
    g.addSlide("G1");
    EXPECT_FALSE(scanFirstSlide().HasSlideNodes());
    g.draw({"r|RRRRRRRR|R", "a|TTTTTTTT|T", "p|x/PPPPPPPP|x"});
    g.node(drawing::ActorMarkShapeType, "MMMMMMMM", "ActDF");
    g.foreign("OOOOOOOO", "foreign");
    const SlideScan scan = scanFirstSlide();
    EXPECT_FALSE(scan.HasSlideNodes());
    EXPECT_TRUE(scan.SlideNodes().empty());
}

TEST_F(SlideScanTest, ArcsFromCommentsTitlesMarksAndForeignShapesAreIgnored) {
    const host::Shape title = g.addSlide("G1").Shapes().Item(1);
    const host::Shape mark = g.node(drawing::ActorMarkShapeType, "MMMMMMMM", "ActDF");
    const auto drawn = g.draw({"n|NOTENOTE|note", "c|OOOOOOOO|picture", "r|RRRRRRRR|R", "note>R", "picture>R"});
    g.arc(title, drawn.at("R"));
    g.arc(mark, drawn.at("R"));
    drawn.at("picture").data().kind = host::ShapeKind::Foreign; // glued while it was a rectangle
    drawn.at("picture").data().autoShapeType = host::ShapeNotPrimitive;
    EXPECT_EQ(records(scanFirstSlide()), QStringList{"NOTENOTE < >"});
}

TEST_F(SlideScanTest, ArcFromAConceptIntoAnyShapeMakesAnInArcRecord) {
    g.addSlide("G1");
    // The comment already has a record: the in-arc joins it. A pentagon gets a record only
    // through an arc from a concept.
    g.draw({"c|AAAAAAAA|A", "p|x/PPPPPPPP|x", "n|NOTENOTE|note", "A>note", "x>x"});
    EXPECT_EQ(records(scanFirstSlide()), (QStringList{"AAAAAAAA < >", "NOTENOTE <AAAAAAAA >", "x/PPPPPPPP <x/PPPPPPPP >"}));
}

TEST_F(SlideScanTest, ConceptStackedAfterTheArcIntoItGetsTwoRecords) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|AAAAAAAA|A", "c|BBBBBBBB|B", "A>B"});
    // The arc found B's own record and joined it.
    EXPECT_EQ(records(scanFirstSlide()), (QStringList{"AAAAAAAA < >", "BBBBBBBB <AAAAAAAA >"}));
    GraphSlides::bringToFront(drawn.at("B")); // now the arc comes before the concept it points into
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(records(scan), (QStringList{"AAAAAAAA < >", "BBBBBBBB <AAAAAAAA >", "BBBBBBBB < >"}));
    EXPECT_EQ(scan.FindSlideNode(drawn.at("B")), 1); // the lowest index wins
}

TEST_F(SlideScanTest, IdentityIsTheNameNotTheShape) {
    g.addSlide("G1");
    // Two different ovals with one name count as one relation; names differing in case do not.
    const auto drawn = g.draw({"c|AAAAAAAA|A", "c|BBBBBBBB|B", "r|RRRRRRRR|R", "r|RRRRRRRR|R2", "r|rrrrrrrr|r", "A>R",
                               "B>R2", "A>r"});
    const SlideScan scan = scanFirstSlide();
    EXPECT_EQ(records(scan), (QStringList{"AAAAAAAA < >", "BBBBBBBB < >", "RRRRRRRR <AAAAAAAA,BBBBBBBB >", "rrrrrrrr <AAAAAAAA >"}));
    EXPECT_EQ(scan.FindSlideNode(drawn.at("R2")), 2);
}

TEST_F(SlideScanTest, ANewScanStartsFromAnEmptyTable) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|AAAAAAAA|A"});
    SlideScan scan = scanFirstSlide();
    EXPECT_EQ(scan.FindSlideNode(drawn.at("A")), 0);
    g.addSlide("G2");
    scan.ScanSlide(g.presentation(), 2);
    EXPECT_FALSE(scan.HasSlideNodes());
    EXPECT_EQ(scan.FindSlideNode(drawn.at("A")), -1);
}

TEST_F(SlideScanTest, ALooseArcEndCountsOnlyOnTheGraphNodeUnderIt) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|AAAAAAAA|A", "r|RRRRRRRR|R|300|300", "c|BBBBBBBB|B|300|100", "A>R", "R>B"});
    const QStringList glued{"AAAAAAAA < >", "BBBBBBBB < >", "RRRRRRRR <AAAAAAAA >BBBBBBBB"};
    EXPECT_EQ(records(scanFirstSlide()), glued);
    // An end over empty slide area joins nothing: the arc is ignored, and nothing raises.
    g.arc(host::Shape(), drawn.at("R"));
    g.arc(drawn.at("A"), host::Shape());
    EXPECT_EQ(records(scanFirstSlide()), glued);
    // An end the host does not follow (glued in the file to a flipped shape) that lies on a
    // graph node is glued to it.
    g.arc(drawn.at("A"), drawn.at("R")).ConnectorFormat().EndDisconnect();
    EXPECT_EQ(records(scanFirstSlide()), (QStringList{"AAAAAAAA < >", "BBBBBBBB < >",
                                                      "RRRRRRRR <AAAAAAAA,AAAAAAAA >BBBBBBBB"}));
}

} // namespace
} // namespace zov::cgif::exporter
