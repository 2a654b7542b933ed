// Connection sites, gluing, rerouting to the nearest sites, and glued ends following their
// shapes.
#include "HostFixture.h"

#include <QLineF>
#include <QRectF>

namespace zov::host::test {
namespace {

void expectAt(QPointF actual, QPointF expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-3) << "x";
    EXPECT_NEAR(actual.y(), expected.y(), 1e-3) << "y";
}

QPointF beginOf(const Shape& c) { return c.data().begin; }
QPointF endOf(const Shape& c) { return c.data().end; }

TEST_F(HostFixture, EachGeometryHasItsSitesNumberedFromTheTopCounterclockwise) {
    const Shape rect = shapes().AddShape(ShapeRectangle, 100, 200, 80, 40);
    ASSERT_EQ(rect.ConnectionSiteCount(), 4);
    expectAt(rect.ConnectionSitePoint(1), {140, 200}); // top
    expectAt(rect.ConnectionSitePoint(2), {100, 220}); // left
    expectAt(rect.ConnectionSitePoint(3), {140, 240}); // bottom
    expectAt(rect.ConnectionSitePoint(4), {180, 220}); // right

    const Shape oval = shapes().AddShape(ShapeOval, 0, 0, 100, 100);
    ASSERT_EQ(oval.ConnectionSiteCount(), 8);
    expectAt(oval.ConnectionSitePoint(1), {50, 0});
    expectAt(oval.ConnectionSitePoint(2), {14.6447, 14.6447}); // on the ellipse, upper left
    expectAt(oval.ConnectionSitePoint(3), {0, 50});
    expectAt(oval.ConnectionSitePoint(7), {100, 50});

    EXPECT_EQ(shapes().AddShape(ShapeDiamond, 0, 0, 10, 10).ConnectionSiteCount(), 4);
    EXPECT_EQ(shapes().AddShape(ShapeFlowchartDecision, 0, 0, 10, 10).ConnectionSiteCount(), 4);
    EXPECT_EQ(shapes().AddShape(ShapeNoSymbol, 0, 0, 10, 10).ConnectionSiteCount(), 8);

    // The pentagon's top and bottom sites sit where its point begins, not at the middle.
    const Shape pentagon = shapes().AddShape(ShapePentagon, 0, 0, 100, 40);
    ASSERT_EQ(pentagon.ConnectionSiteCount(), 4);
    expectAt(pentagon.ConnectionSitePoint(1), {40, 0});
    expectAt(pentagon.ConnectionSitePoint(3), {80, 40});
    expectAt(pentagon.ConnectionSitePoint(4), {100, 20});

    // The callout's fifth site is the tip of its tail, below the box.
    const Shape callout = shapes().AddShape(ShapeRoundedRectangularCallout, 0, 0, 100, 40);
    ASSERT_EQ(callout.ConnectionSiteCount(), 5);
    expectAt(callout.ConnectionSitePoint(5), {29.167, 45});

    EXPECT_EQ(shapes().AddConnector(ConnectorStraight, 0, 0, 1, 1).ConnectionSiteCount(), 0);
    EXPECT_THROW(rect.ConnectionSitePoint(5), HostError);
}

struct RerouteCase {
    const char* what;
    QRectF from, to;
    int fromType, toType;
    int beginSite, endSite;
};

TEST_F(HostFixture, RerouteGluesBothEndsToTheNearestPairOfSites) {
    const RerouteCase cases[] = {
        {"side by side", {100, 100, 80, 40}, {300, 100, 80, 40}, ShapeRectangle, ShapeRectangle, 4, 2},
        {"to the left", {300, 100, 80, 40}, {100, 100, 80, 40}, ShapeRectangle, ShapeRectangle, 2, 4},
        {"one above the other", {100, 100, 80, 40}, {100, 300, 80, 40}, ShapeRectangle, ShapeRectangle, 3, 1},
        {"below", {100, 300, 80, 40}, {100, 100, 80, 40}, ShapeRectangle, ShapeRectangle, 1, 3},
        // Diagonal ovals meet at their diagonal sites: lower right (6) and upper left (2).
        {"diagonal ovals", {0, 0, 100, 100}, {200, 200, 100, 100}, ShapeOval, ShapeOval, 6, 2},
        {"concept to relation", {100, 100, 80, 40}, {300, 90, 60, 60}, ShapeRectangle, ShapeOval, 4, 3},
    };
    for (const RerouteCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Shape from = shapes().AddShape(c.fromType, float(c.from.x()), float(c.from.y()), float(c.from.width()), float(c.from.height()));
        const Shape to = shapes().AddShape(c.toType, float(c.to.x()), float(c.to.y()), float(c.to.width()), float(c.to.height()));
        Shape arc = connect(from, to);
        arc.RerouteConnections();
        EXPECT_EQ(arc.ConnectorFormat().BeginConnectionSite(), c.beginSite);
        EXPECT_EQ(arc.ConnectorFormat().EndConnectionSite(), c.endSite);
        expectAt(beginOf(arc), from.ConnectionSitePoint(c.beginSite));
        expectAt(endOf(arc), to.ConnectionSitePoint(c.endSite));

        // No other pair of sites is nearer.
        const double chosen = QLineF(beginOf(arc), endOf(arc)).length();
        for (int i = 1; i <= from.ConnectionSiteCount(); ++i)
            for (int j = 1; j <= to.ConnectionSiteCount(); ++j)
                EXPECT_GE(QLineF(from.ConnectionSitePoint(i), to.ConnectionSitePoint(j)).length(), chosen - 1e-6);
        shapes().Range().Delete();
    }
}

TEST_F(HostFixture, RerouteWithOneLooseEndMovesOnlyTheGluedEnd) {
    const Shape a = shapes().AddShape(ShapeRectangle, 100, 100, 80, 40);
    Shape arc = shapes().AddConnector(ConnectorStraight, 0, 0, 400, 120);
    arc.ConnectorFormat().BeginConnect(a, 1);
    arc.RerouteConnections();
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectionSite(), 4); // the right side faces the loose end
    expectAt(endOf(arc), {400, 120});
}

TEST_F(HostFixture, GluedConnectorsFollowTheirShapeWhenItMovesOrResizes) {
    Shape a = shapes().AddShape(ShapeRectangle, 100, 100, 80, 40);
    const Shape b = shapes().AddShape(ShapeRectangle, 300, 100, 80, 40);
    Shape arc = connect(a, b);
    arc.RerouteConnections();
    const QPointF endBefore = endOf(arc);
    // The connector's box is the box of its two ends: the right of a, the left of b.
    EXPECT_FLOAT_EQ(arc.Left(), 180);
    EXPECT_FLOAT_EQ(arc.Width(), 120);
    EXPECT_FLOAT_EQ(arc.Height(), 0);

    a.SetLeft(50);
    a.SetTop(400);
    expectAt(beginOf(arc), a.ConnectionSitePoint(4)); // still glued at its site
    expectAt(endOf(arc), endBefore);                  // the other end did not move
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectionSite(), 4);

    a.SetWidth(200);
    expectAt(beginOf(arc), {250, 420});

    // Text that grows an auto-sized shape moves the glued end with the new size.
    a.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
    a.TextFrame().TextRange().SetText(QStringLiteral("A much longer concept label than before"));
    expectAt(beginOf(arc), a.ConnectionSitePoint(4));

    // A change of geometry moves the sites too.
    a.SetAutoShapeType(ShapePentagon);
    expectAt(beginOf(arc), a.ConnectionSitePoint(4));

    // A connector glued to nothing stays where it is when shapes move.
    const Shape loose = shapes().AddConnector(ConnectorStraight, 10, 10, 20, 20);
    a.SetLeft(0);
    expectAt(beginOf(loose), {10, 10});
}

TEST_F(HostFixture, AShapeMovesOnlyTheConnectorsGluedToItNow) {
    Shape a = shapes().AddShape(ShapeRectangle, 100, 100, 80, 40);
    Shape b = shapes().AddShape(ShapeRectangle, 300, 100, 80, 40);
    Shape arc = connect(a, b);

    arc.ConnectorFormat().BeginDisconnect();
    const QPointF loose = beginOf(arc);
    a.SetLeft(0);
    expectAt(beginOf(arc), loose);

    // Glued back and forth between the two shapes: only the shape it is glued to moves it, and
    // the shapes' records of their connectors stay small.
    for (int i = 0; i < 100; ++i) {
        arc.ConnectorFormat().BeginConnect(i % 2 ? a : b, 1);
        arc.ConnectorFormat().BeginDisconnect();
    }
    arc.ConnectorFormat().BeginConnect(a, 2);
    b.SetTop(300);
    expectAt(beginOf(arc), a.ConnectionSitePoint(2));
    expectAt(endOf(arc), b.ConnectionSitePoint(1));
    EXPECT_LE(a.data().gluedConnectors.size(), 20u);
    EXPECT_LE(b.data().gluedConnectors.size(), 20u);

    // A deleted connector no longer follows; the others still do.
    Shape other = shapes().AddConnector(ConnectorStraight, 0, 0, 1, 1);
    other.ConnectorFormat().EndConnect(a, 3);
    arc.Delete();
    a.SetTop(50);
    expectAt(endOf(other), a.ConnectionSitePoint(3));

    // Deleting a glued shape leaves its connectors loose where they stand.
    const QPointF end = endOf(other);
    a.Delete();
    EXPECT_FALSE(other.ConnectorFormat().EndConnected());
    EXPECT_THROW(other.ConnectorFormat().EndConnectedShape(), HostError);
    expectAt(endOf(other), end);
}

TEST_F(HostFixture, ShapeRerouteConnectionsReroutesEveryConnectorGluedToIt) {
    const Shape hub = shapes().AddShape(ShapeOval, 200, 200, 60, 60);
    const Shape left = shapes().AddShape(ShapeRectangle, 0, 210, 80, 40);
    const Shape right = shapes().AddShape(ShapeRectangle, 400, 210, 80, 40);
    const Shape toLeft = connect(hub, left);
    const Shape toRight = connect(hub, right);
    Shape(hub).RerouteConnections();
    EXPECT_EQ(toLeft.ConnectorFormat().BeginConnectionSite(), 3);
    EXPECT_EQ(toLeft.ConnectorFormat().EndConnectionSite(), 4);
    EXPECT_EQ(toRight.ConnectorFormat().BeginConnectionSite(), 7);
    EXPECT_EQ(toRight.ConnectorFormat().EndConnectionSite(), 2);
}

} // namespace
} // namespace zov::host::test
