// The slide builder fed by the reader: what each graph looks like on its slide.
#include "ImportFixture.h"

#include "drawing/GraphEncoding.h"

#include <QRegularExpression>

namespace zov::cgif::test {
namespace {

using Lines = QStringList;

class SlideBuilderTest : public ImportFixture {
protected:
    const NodeRecord& node(int index) const { return reader.Tables().BoundArray.at(static_cast<std::size_t>(index)); }
};

// --- slide and title label ------------------------------------------------------------------

TEST_F(SlideBuilderTest, ConceptsWithoutLinksStandUnderTheTitleLabel) {
    ASSERT_TRUE(read(QStringLiteral("[Cat] [Mat]")));
    ASSERT_EQ(slides().Count(), 1);
    const host::Slide drawn = slide(1);

    const host::Shape title = drawn.Shapes().Item(1);
    EXPECT_EQ(title.Name(), QStringLiteral("G1/") + node(0).Id);
    EXPECT_EQ(title.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
    EXPECT_FLOAT_EQ(title.TextFrame().TextRange().Font().Size(), 24.0f);
    EXPECT_FLOAT_EQ(title.Left(), 0.0f);
    EXPECT_FLOAT_EQ(title.Top(), 0.0f);

    for (int i : {2, 3}) {
        const host::Shape conceptShape = drawn.Shapes().Item(i);
        EXPECT_EQ(conceptShape.Name(), QStringLiteral("/") + node(i - 1).Id) << "a concept without label";
        EXPECT_EQ(conceptShape.Fill().ForeColor().RGB(), settings.conceptColor);
        EXPECT_EQ(conceptShape.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
        EXPECT_FLOAT_EQ(conceptShape.TextFrame().TextRange().Font().Size(), 18.0f);
        EXPECT_FLOAT_EQ(conceptShape.Left(), 0.0f);
        EXPECT_FLOAT_EQ(conceptShape.Top(), 0.0f);
    }
    EXPECT_TRUE(builder.ShapeTable().empty()) << "only link ends enter the shape table";
}

TEST_F(SlideBuilderTest, GeneratedGraphNamesSkipNamesSlidesAlreadyHave) {
    for (const char* name : {"G1", "G3"})
        slides().Add(slides().Count() + 1, host::LayoutBlank).SetName(QString::fromLatin1(name));
    ASSERT_TRUE(read(QStringLiteral("[A] . ;%Graph*G4%; [B] . [C]")));
    EXPECT_EQ(slideNames(), (QStringList{"G1", "G3", "G2", "G4", "G5"}));
    EXPECT_TRUE(messages.shown().empty()) << messageLines().join('\n').toStdString();
}

// --- links and their end nodes --------------------------------------------------------------

TEST_F(SlideBuilderTest, RelationDrawsItsEndsInLinkOrderWithGluedArrows) {
    settings.conceptColor = 0x00102030;
    settings.relationColor = 0x00405060;
    ASSERT_TRUE(read(QStringLiteral("(On [Cat] [Mat])")));
    const host::Slide drawn = slide(1);
    const host::Shape on = drawn.Shapes().Item(2);
    const host::Shape mat = drawn.Shapes().Item(3);
    const host::Shape arc = drawn.Shapes().Item(4);
    EXPECT_EQ(on.Name(), node(1).Id) << "a relation is named by its id alone";
    EXPECT_EQ(on.Fill().ForeColor().RGB(), 0x00405060);
    EXPECT_EQ(mat.Fill().ForeColor().RGB(), 0x00102030);
    EXPECT_EQ(arc.AutoShapeType(), drawing::ArcShapeType);
    EXPECT_EQ(arc.Line().EndArrowheadStyle(), host::ArrowheadTriangle);
    EXPECT_TRUE(arc.ConnectorFormat().BeginConnectedShape() == on);
    EXPECT_TRUE(arc.ConnectorFormat().EndConnectedShape() == mat);

    ASSERT_EQ(builder.ShapeTable().size(), 3u);
    EXPECT_EQ(builder.ShapeTable()[0].Id, node(1).Id);
    EXPECT_EQ(builder.ShapeTable()[1].Id, node(3).Id);
    EXPECT_EQ(builder.ShapeTable()[2].Id, node(2).Id);
    EXPECT_TRUE(builder.FindShapeByName(node(1).Id) == on);
    EXPECT_TRUE(builder.FindShapeByName(QStringLiteral("NOSUCHID")).IsNothing());
}

TEST_F(SlideBuilderTest, ConceptInSeveralLinksIsDrawnOnceAndCarriesItsLabel) {
    ASSERT_TRUE(read(QStringLiteral("[Cat: *x] (On ?x [Mat]) (Near ?x [Door])")));
    const host::Slide drawn = slide(1);
    const host::Shape cat = drawn.Shapes().Item(5);
    EXPECT_EQ(cat.Name(), QStringLiteral("x/") + node(1).Id);
    EXPECT_TRUE(drawn.Shapes().Item(10).ConnectorFormat().BeginConnectedShape() == cat);
}

// --- comments and positions -----------------------------------------------------------------

TEST_F(SlideBuilderTest, CommentsComeFirstAtOnePlaceInArialTwelveAndLeaveTheNodeFontAlone) {
    settings.nodeFontName = QStringLiteral("Liberation Serif");
    settings.nodeFontSize = 20;
    settings.commentColor = 0x00ABCDEF;
    ASSERT_TRUE(read(QStringLiteral(";first; ;second; [Cat ;%120@80%fluffy;]")));
    const host::Slide drawn = slide(1);
    for (int i : {2, 3, 4}) {
        const host::Shape comment = drawn.Shapes().Item(i);
        EXPECT_FLOAT_EQ(comment.Left(), 100.0f);
        EXPECT_FLOAT_EQ(comment.Top(), 50.0f);
        EXPECT_EQ(comment.TextFrame().TextRange().Font().Name(), QStringLiteral("Arial"));
        EXPECT_FLOAT_EQ(comment.TextFrame().TextRange().Font().Size(), 12.0f);
        EXPECT_EQ(comment.Fill().ForeColor().RGB(), 0x00ABCDEF);
    }
    const host::Shape cat = drawn.Shapes().Item(5);
    EXPECT_EQ(cat.TextFrame().TextRange().Font().Name(), QStringLiteral("Liberation Serif"));
    EXPECT_FLOAT_EQ(cat.TextFrame().TextRange().Font().Size(), 20.0f);
    EXPECT_FLOAT_EQ(cat.Left(), 120.0f);
    EXPECT_FLOAT_EQ(cat.Top(), 80.0f);
    EXPECT_EQ(settings.nodeFontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(settings.nodeFontSize, 20);
}

TEST_F(SlideBuilderTest, NodesStandWhereTheirPositionCommentsPutThem) {
    ASSERT_TRUE(read(QStringLiteral("(On [Cat ;%120@80%a;] [Mat ;%300.5@200%b;] ;%210@150%c;)\n[Door ;40@60;]")));
    const host::Slide drawn = slide(1);
    const host::Shape cat = shapeWithText(drawn, QStringLiteral("Cat"));
    const host::Shape mat = shapeWithText(drawn, QStringLiteral("Mat"));
    const host::Shape on = shapeWithText(drawn, QStringLiteral("On"));
    const host::Shape door = shapeWithText(drawn, QStringLiteral("Door"));
    EXPECT_FLOAT_EQ(cat.Left(), 120.0f);
    EXPECT_FLOAT_EQ(cat.Top(), 80.0f);
    EXPECT_FLOAT_EQ(mat.Left(), 300.5f);
    EXPECT_FLOAT_EQ(mat.Top(), 200.0f);
    EXPECT_FLOAT_EQ(on.Left(), 210.0f);
    EXPECT_FLOAT_EQ(on.Top(), 150.0f);
    // The writer's bare "x@y" form only places the node: no comment shape for it.
    EXPECT_FLOAT_EQ(door.Left(), 40.0f);
    EXPECT_FLOAT_EQ(door.Top(), 60.0f);
    EXPECT_EQ(describe(drawn).filter(QRegularExpression("^106 ")), (Lines{"106 a", "106 b", "106 c"}));
}

// --- nested graphs --------------------------------------------------------------------------

TEST_F(SlideBuilderTest, NestedGraphsPentagonAndContainerAreNamedAfterIt) {
    ASSERT_TRUE(read(QStringLiteral("[Proposition: (On [Cat] [Mat])]")));
    const host::Shape proposition = slide(2).Shapes().Item(2);
    const host::Shape pentagon = slide(2).Shapes().Item(3);
    EXPECT_EQ(proposition.Name(), QStringLiteral("G2/") + node(1).Id);
    EXPECT_EQ(pentagon.Name(), QStringLiteral("G2/") + node(2).Id);
    EXPECT_EQ(pentagon.Fill().ForeColor().RGB(), settings.conceptColor);
    EXPECT_FLOAT_EQ(pentagon.Left(), 0.0f);
    EXPECT_FLOAT_EQ(pentagon.Top(), 0.0f);
}

} // namespace
} // namespace zov::cgif::test
