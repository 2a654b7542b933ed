// The document window: views and panes, the map from slide points to screen pixels, and
// finding the shape under a screen pixel.
#include "HostFixture.h"

namespace zov::host::test {
namespace {

TEST_F(HostFixture, NormalViewWithTheSlidePaneActive) {
    DocumentWindow w = window();
    EXPECT_EQ(w.ViewType(), ViewNormal);
    EXPECT_EQ(w.ActivePane().ViewType(), ViewSlide);

    // From another view, normal view with pane 2 activated brings the slide pane back.
    w.SetViewType(7); // slide sorter
    EXPECT_EQ(w.ViewType(), 7);
    EXPECT_NE(w.ActivePane().ViewType(), ViewSlide);
    w.SetViewType(ViewNormal);
    w.Panes(2).Activate();
    EXPECT_EQ(w.ActivePane().ViewType(), ViewSlide);
    EXPECT_THROW(w.SetViewType(0), HostError);
}

TEST_F(HostFixture, PointsMapToPixelsThroughTheViewTransform) {
    DocumentWindow w = window();
    w.SetViewTransform(100, 50, 1.5);
    EXPECT_EQ(w.PointsToScreenPixelsX(0), 100);
    EXPECT_EQ(w.PointsToScreenPixelsY(0), 50);
    EXPECT_EQ(w.PointsToScreenPixelsX(720), 1180);
    EXPECT_EQ(w.PointsToScreenPixelsY(540), 860);
    EXPECT_THROW(w.SetViewTransform(0, 0, 0), HostError);
    EXPECT_THROW(w.SetViewTransform(0, 0, -1), HostError);
}

TEST_F(HostFixture, RangeFromPointGivesTheTopmostShapeWhoseOutlineHoldsThePixel) {
    DocumentWindow w = window();
    w.SetViewTransform(20, 10, 2.0); // pixel = origin + 2 * point
    auto px = [&](double x) { return w.PointsToScreenPixelsX(static_cast<float>(x)); };
    auto py = [&](double y) { return w.PointsToScreenPixelsY(static_cast<float>(y)); };

    const Shape back = shapes().AddShape(ShapeRectangle, 100, 100, 200, 100);
    const Shape oval = shapes().AddShape(ShapeOval, 150, 120, 100, 60);
    const Shape diamond = shapes().AddShape(ShapeDiamond, 400, 100, 100, 100);

    // Where both overlap, the later (upper) shape wins.
    EXPECT_TRUE(w.RangeFromPoint(px(200), py(150)) == oval);
    // Inside the oval's box but outside its ellipse: the rectangle behind.
    EXPECT_TRUE(w.RangeFromPoint(px(153), py(123)) == back);
    EXPECT_TRUE(w.RangeFromPoint(px(110), py(190)) == back);
    // A diamond's corner area is not the diamond.
    EXPECT_TRUE(w.RangeFromPoint(px(450), py(150)) == diamond);
    EXPECT_TRUE(w.RangeFromPoint(px(405), py(105)).IsNothing());
    EXPECT_TRUE(w.RangeFromPoint(px(350), py(150)).IsNothing());

    // A shape added over the spot takes it; once deleted, the oval is found again.
    Shape front = shapes().AddShape(ShapeRectangle, 190, 140, 20, 20);
    EXPECT_TRUE(w.RangeFromPoint(px(200), py(150)) == front);
    front.Delete();
    EXPECT_TRUE(w.RangeFromPoint(px(200), py(150)) == oval);

    // A connector is found within a few pixels of its line, not elsewhere in its box.
    const Shape line = shapes().AddConnector(ConnectorStraight, 500, 300, 600, 400);
    EXPECT_TRUE(w.RangeFromPoint(px(550), py(350) + 2) == line);
    EXPECT_TRUE(w.RangeFromPoint(px(590), py(310)).IsNothing());
}

} // namespace
} // namespace zov::host::test
