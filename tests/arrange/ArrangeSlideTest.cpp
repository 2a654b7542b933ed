// Arranging slides drawn through the host: what moves, what stays, and the messages.
#include "ArrangeSupport.h"
#include "drawing/NodeId.h"

#include <gtest/gtest.h>

namespace zov::arrange_test {
namespace {

using editor::ArrangeResult;
using editor::ArrangeSlide;

TEST(ArrangeSlide, AnImportedPileOfShapesBecomesALayeredGraph) {
    Host host;
    SlideDrawer draw(host);
    host::Slide slide = draw.addGraphSlide(QStringLiteral("G1"));
    slide.Shapes().Item(1).SetLeft(40); // the title label goes back to the corner
    slide.Shapes().Item(1).SetTop(25);
    // Everything at (0, 0), as the slide builder draws a graph read without positions.
    host::Shape cat = draw.conceptNode(QStringLiteral("Cat"));
    host::Shape on = draw.relation(QStringLiteral("On"));
    host::Shape mat = draw.conceptNode(QStringLiteral("Mat"));
    host::Shape note = draw.comment(QStringLiteral("Comment"));
    host::Shape a1 = draw.arc(cat, on);
    host::Shape a2 = draw.arc(on, mat);

    const ArrangeResult result = arrangeAndCheck(slide, QStringLiteral("cat on mat"));
    EXPECT_TRUE(result.fits);
    EXPECT_EQ(result.nodes, 3);
    EXPECT_EQ(result.comments, 1);
    EXPECT_EQ(result.arcs, 2);
    EXPECT_TRUE(result.titleMoved);
    EXPECT_EQ(result.layout, editor::ArrangeLayout::LayersDown);
    // Layers run down the slide along the arcs, below the title label.
    const host::Shape title = slide.Shapes().Item(1);
    EXPECT_GE(cat.Top(), title.Top() + title.Height());
    EXPECT_LT(cat.Top() + cat.Height(), on.Top());
    EXPECT_LT(on.Top() + on.Height(), mat.Top());
    // The comment stands to the right of the graph.
    for (const host::Shape& node : {cat, on, mat})
        EXPECT_GT(note.Left(), node.Left() + node.Width());
    // Each arc leaves the bottom of its source and enters the top of its target.
    EXPECT_NEAR(a1.data().begin.y(), cat.Top() + cat.Height(), 0.01);
    EXPECT_NEAR(a1.data().end.y(), on.Top(), 0.01);
    EXPECT_NEAR(a2.data().end.y(), mat.Top(), 0.01);
    // Arranging again changes nothing.
    const std::vector<float> placed{cat.Left(), cat.Top(), on.Top(), mat.Left(), note.Left(), note.Top()};
    arrangeAndCheck(slide, QStringLiteral("again"));
    EXPECT_EQ((std::vector<float>{cat.Left(), cat.Top(), on.Top(), mat.Left(), note.Left(), note.Top()}), placed);
}

TEST(ArrangeSlide, ShapesOutsideTheGraphStayWhereTheyAre) {
    Host host;
    SlideDrawer draw(host);
    host::Slide slide = draw.addGraphSlide(QStringLiteral("Mixed"));
    host::Shape cat = draw.conceptNode(QStringLiteral("Cat"));
    host::Shape mat = draw.conceptNode(QStringLiteral("Mat"));
    draw.arc(cat, mat);
    // A label that is not the first shape, a shape of another type, a loose line, and a
    // connector glued to that other shape at one end.
    host::Shape label = slide.Shapes().AddLabel(1, 500, 400, 80, 20);
    label.SetAutoShapeType(19);
    host::Shape star = slide.Shapes().AddShape(19, 600, 450, 40, 40);
    host::Shape loose = slide.Shapes().AddConnector(1, 10, 500, 90, 520);
    host::Shape half = slide.Shapes().AddConnector(1, 0, 0, 10, 10);
    half.ConnectorFormat().BeginConnect(star, 1);
    const QPointF starSite = star.ConnectionSitePoint(1);

    arrangeAndCheck(slide, QStringLiteral("mixed"));
    EXPECT_EQ(QRectF(label.Left(), label.Top(), 0, 0).topLeft(), QPointF(500, 400));
    EXPECT_EQ(QPointF(star.Left(), star.Top()), QPointF(600, 450));
    EXPECT_EQ(loose.data().begin, QPointF(10, 500));
    EXPECT_EQ(loose.data().end, QPointF(90, 520));
    EXPECT_TRUE(half.ConnectorFormat().BeginConnected());
    EXPECT_EQ(half.data().begin, starSite);
}

TEST(ArrangeSlide, WithoutATitleLabelTheGraphStartsAtTheMargin) {
    Host host;
    SlideDrawer draw(host);
    host::Slides slides = host.presentation().Slides();
    host::Slide slide = slides.Add(1, host::LayoutBlank);
    host.app.ActiveWindow().View().GotoSlide(1);
    host::Shape a = draw.conceptNode(QStringLiteral("A"));
    host::Shape r = draw.relation(QStringLiteral("R"));
    draw.arc(a, r);
    arrangeAndCheck(slide, QStringLiteral("untitled"));
    EXPECT_FLOAT_EQ(std::min(a.Top(), r.Top()), 18);
    EXPECT_FLOAT_EQ(std::min(a.Left(), r.Left()), 18);
}

TEST(ArrangeSlide, AWideGraphTurnsItsLayersAcross) {
    // One concept with ten relations under it is far too wide as rows but fits as a column.
    Host host;
    SlideDrawer draw(host);
    host::Slide slide = draw.addGraphSlide(QStringLiteral("Wide"));
    host::Shape hub = draw.conceptNode(QStringLiteral("Person:John"));
    for (int i = 0; i < 10; ++i)
        draw.arc(hub, draw.relation(QStringLiteral("Relation") + QString::number(i)));
    const ArrangeResult result = arrangeAndCheck(slide, QStringLiteral("wide"));
    EXPECT_TRUE(result.fits);
    EXPECT_EQ(result.layout, editor::ArrangeLayout::LayersAcross);
}

TEST(ArrangeSlide, AGraphTooLargeIsArrangedAndReportedWithTheReason) {
    Host host;
    RandomGraphShape shape;
    shape.concepts = 100;
    shape.relations = 90;
    drawRandomGraph(host, QStringLiteral("Big"), shape, 3);
    // One box wider than the slide: the shapes would cover little of it, yet cannot fit.
    SlideDrawer draw(host);
    host::Slide wide = draw.addGraphSlide(QStringLiteral("Wide"));
    host::Shape wideBox = wide.Shapes().AddShape(1, 0, 0, 800, 30);
    wideBox.SetName(QStringLiteral("WIDEBOXA")); // named by a node id, as the editor names its shapes
    draw.arc(wideBox, draw.relation(QStringLiteral("On")));

    EXPECT_TRUE(editor::ArrangeSlides(host.presentation(), 1, 2, host.messages));
    ASSERT_EQ(host.messages.shown().size(), 2u);
    for (const auto& shown : host.messages.shown()) {
        EXPECT_EQ(shown.title, QStringLiteral("ZOVEdit"));
        EXPECT_EQ(shown.icon, platform::MessageIcon::Exclamation);
    }
    EXPECT_EQ(host.messages.shown()[0].text,
              QStringLiteral("The graph on slide 1 \"Big\" is too large for the slide: its shapes cover more than the "
                             "room below the title, so some lie past the slide's edge"));
    EXPECT_EQ(host.messages.shown()[1].text,
              QStringLiteral("The graph on slide 2 \"Wide\" could not be fitted into the slide; some shapes lie past its edge"));
    // Arranged as well as it goes all the same: nothing overlaps.
    const ArrangeResult again = arrangeAndCheck(host.presentation().Slides().Item(1), QStringLiteral("big"));
    EXPECT_FALSE(again.fits);
    EXPECT_TRUE(again.beyondRoom);
}

// A deck may hold ordinary slides beside the graphs: their rectangles and text boxes, even
// joined by a connector, are not node shapes (the editor names those by their node ids), and
// arranging every slide leaves them where they are.
TEST(ArrangeSlide, AnOrdinarySlideBesideTheGraphsStaysAsItIs) {
    Host host;
    host::Slide ordinary = host.presentation().Slides().Add(1, host::LayoutBlank);
    host::Shape title = ordinary.Shapes().AddShape(1, 40, 30, 600, 60);
    title.SetName(QStringLiteral("Title 1"));
    host::Shape body = ordinary.Shapes().AddShape(1, 40, 120, 600, 300);
    body.SetName(QStringLiteral("Content Placeholder 2"));
    host::Shape line = ordinary.Shapes().AddConnector(1, 0, 0, 10, 10);
    line.ConnectorFormat().BeginConnect(title, 1);
    line.ConnectorFormat().EndConnect(body, 1);
    SlideDrawer draw(host);
    draw.addGraphSlide(QStringLiteral("Story"));
    draw.arc(draw.conceptNode(QStringLiteral("Cat")), draw.relation(QStringLiteral("On")));

    EXPECT_TRUE(editor::ArrangeSlides(host.presentation(), 1, 2, host.messages));
    EXPECT_TRUE(host.messages.shown().empty());
    EXPECT_FLOAT_EQ(title.Left(), 40);
    EXPECT_FLOAT_EQ(title.Top(), 30);
    EXPECT_FLOAT_EQ(body.Left(), 40);
    EXPECT_FLOAT_EQ(body.Top(), 120);
    EXPECT_GT(host.presentation().Slides().Item(2).Shapes().Item(2).Top(), 0); // the graph was arranged
}

TEST(ArrangeSlide, ASlideBeyondTheLayoutLimitFailsUnchangedAndOthersAreStillArranged) {
    Host host;
    SlideDrawer draw(host);
    host::Slide crowded = draw.addGraphSlide(QStringLiteral("Crowded"));
    drawing::NodeIdGenerator ids(7);
    for (int i = 0; i <= editor::arrange::MaxLayeredNodes; ++i)
        crowded.Shapes().AddShape(1, 5, 5, 20, 10).SetName(ids.NewId().ToString());
    host::Slide small = draw.addGraphSlide(QStringLiteral("Small"));
    draw.arc(draw.conceptNode(QStringLiteral("Cat")), draw.relation(QStringLiteral("On")));

    EXPECT_FALSE(editor::ArrangeSlides(host.presentation(), 1, 2, host.messages));
    ASSERT_EQ(host.messages.shown().size(), 1u);
    EXPECT_EQ(host.messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(host.messages.shown()[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(host.messages.shown()[0].text,
              QStringLiteral("Cannot arrange slide 1 \"Crowded\": the graph has 10001 nodes; at most 10000 can be arranged, "
                             "so its shapes stay where they are"));
    EXPECT_FLOAT_EQ(crowded.Shapes().Item(2).Left(), 5);
    EXPECT_GT(small.Shapes().Item(2).Top(), 0);
}

TEST(ArrangeSlide, AStaleSlideIsAHostErrorAndAFailureMessage) {
    Host host;
    SlideDrawer draw(host);
    host::Slide slide = draw.addGraphSlide(QStringLiteral("Gone"));
    draw.conceptNode(QStringLiteral("Cat"));
    host::Slide stale = slide;
    slide.Delete();
    EXPECT_THROW(ArrangeSlide(stale), host::HostError);
    EXPECT_EQ(editor::ArrangeFailedMessage(draw.addGraphSlide(QStringLiteral("Here")), QStringLiteral("why")),
              QStringLiteral("Cannot arrange slide 1 \"Here\": why"));
}

} // namespace
} // namespace zov::arrange_test
