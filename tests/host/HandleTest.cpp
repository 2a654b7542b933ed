// Handles that point at nothing: empty ones, ones whose object is gone, indexes out of range.
// Every use raises HostError, which is what the editor's error traps rely on.
#include "HostFixture.h"

namespace zov::host::test {
namespace {

// Every member a command might touch on a shape handle.
void expectEveryUseRaises(const Shape& s) {
    EXPECT_THROW(s.Name(), HostError);
    EXPECT_THROW(Shape(s).SetName(QStringLiteral("x")), HostError);
    EXPECT_THROW(s.AutoShapeType(), HostError);
    EXPECT_THROW(s.Left(), HostError);
    EXPECT_THROW(s.Top(), HostError);
    EXPECT_THROW(s.Fill(), HostError);
    EXPECT_THROW(s.TextFrame(), HostError);
    EXPECT_THROW(s.ConnectorFormat(), HostError);
    EXPECT_THROW(Shape(s).RerouteConnections(), HostError);
    EXPECT_THROW(Shape(s).Delete(), HostError);
    EXPECT_FALSE(s.IsAlive());
}

TEST_F(HostFixture, EmptyHandlesAndHandlesOfDeletedShapesAndSlidesRaise) {
    expectEveryUseRaises(window().RangeFromPoint(400, 400)); // what an empty area gives

    Shape s = shapes().AddShape(ShapeRectangle, 10, 10, 50, 50);
    const Shape copy = s;
    const TextFrameFormat frame = s.TextFrame(); // members taken before the deletion
    const FillFormat fill = s.Fill();
    s.Delete();
    expectEveryUseRaises(copy);
    EXPECT_THROW(frame.TextRange().Text(), HostError);
    EXPECT_THROW(fill.ForeColor().SetRGB(1), HostError);
    EXPECT_EQ(shapes().Count(), 0);

    Slide second = presentation.Slides().Add(2, LayoutBlank);
    const Shape onSecond = second.Shapes().AddShape(ShapeRectangle, 0, 0, 10, 10);
    const Shapes list = second.Shapes();
    second.Delete();
    expectEveryUseRaises(onSecond);
    EXPECT_THROW(second.Name(), HostError);
    EXPECT_THROW(list.Count(), HostError);
    EXPECT_EQ(presentation.Slides().Count(), 1);
}

TEST_F(HostFixture, IndexesOutOfRangeRaise) {
    EXPECT_THROW(shapes().Item(1), HostError);
    EXPECT_THROW(presentation.Slides().Item(2), HostError);
    EXPECT_THROW(window().View().GotoSlide(0), HostError);
    EXPECT_THROW(window().View().GotoSlide(2), HostError);
    EXPECT_THROW(window().Panes(0), HostError);
    EXPECT_THROW(window().Panes(4), HostError);
    EXPECT_THROW(app.Presentations().Item(2), HostError);
    EXPECT_THROW(app.CommandBars().Item(QStringLiteral("Standard")).Control(1), HostError);
}

TEST_F(HostFixture, LooseEndsHaveNoShapeAndGluingIsRefusedToMissingSitesConnectorsAndOtherSlides) {
    const Shape rect = shapes().AddShape(ShapeRectangle, 0, 0, 50, 50);
    const Shape oval = shapes().AddShape(ShapeOval, 100, 0, 50, 50);
    Shape arc = shapes().AddConnector(ConnectorStraight, 0, 0, 100, 100);
    ConnectorFormatView glue = arc.ConnectorFormat();
    EXPECT_FALSE(glue.BeginConnected());
    EXPECT_THROW(glue.BeginConnectedShape(), HostError);
    EXPECT_THROW(glue.EndConnectedShape(), HostError);
    glue.BeginConnect(rect, 1);
    EXPECT_TRUE(glue.BeginConnectedShape() == rect);
    EXPECT_THROW(glue.EndConnectedShape(), HostError);

    const Shape other = shapes().AddConnector(ConnectorStraight, 0, 0, 10, 10);
    EXPECT_THROW(arc.ConnectorFormat().BeginConnect(rect, 0), HostError);
    EXPECT_THROW(arc.ConnectorFormat().BeginConnect(rect, 5), HostError);
    arc.ConnectorFormat().EndConnect(oval, 8); // an oval has eight sites
    EXPECT_THROW(arc.ConnectorFormat().BeginConnect(other, 1), HostError);
    EXPECT_THROW(arc.ConnectorFormat().BeginConnect(Shape(), 1), HostError);

    const Slide second = presentation.Slides().Add(2, LayoutBlank);
    const Shape elsewhere = second.Shapes().AddShape(ShapeRectangle, 0, 0, 50, 50);
    EXPECT_THROW(arc.ConnectorFormat().BeginConnect(elsewhere, 1), HostError);

    // Members that only connectors, or only shapes with text, have.
    EXPECT_THROW(rect.ConnectorFormat(), HostError);
    EXPECT_THROW(arc.TextFrame(), HostError);
}

TEST(DocumentWindowHandle, TheEmptyTheClosedAndTheSlidelessWindow) {
    Application app;
    EXPECT_THROW(app.ActiveWindow().View().Slide(), HostError);
    EXPECT_THROW(app.ActiveWindow().ViewType(), HostError);
    EXPECT_THROW(app.ActiveWindow().RangeFromPoint(0, 0), HostError);

    // A window whose presentation has no slide has none in view, and finds nothing.
    Presentation p = app.Presentations().Add();
    EXPECT_THROW(app.ActiveWindow().View().Slide(), HostError);
    EXPECT_TRUE(app.ActiveWindow().RangeFromPoint(10, 10).IsNothing());
    const Slide first = p.Slides().Add(1, LayoutBlank); // the first slide added comes into view
    const DocumentWindow window = app.ActiveWindow();
    const View view = window.View();
    EXPECT_TRUE(view.Slide() == first);

    app.Close(window);
    EXPECT_THROW(window.ViewType(), HostError);
    EXPECT_THROW(view.Slide(), HostError);
    EXPECT_THROW(app.Close(window), HostError);
}

} // namespace
} // namespace zov::host::test
