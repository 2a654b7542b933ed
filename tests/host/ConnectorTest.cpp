// Gluing, rerouting with a loose end, and glued ends following their shapes; the sites of each
// geometry and the nearest-site rerouting are in tests/cases/host.
#include "HostFixture.h"

namespace zov::host::test {
namespace {

void expectAt(QPointF actual, QPointF expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-3) << "x";
    EXPECT_NEAR(actual.y(), expected.y(), 1e-3) << "y";
}

QPointF beginOf(const Shape& c) { return c.data().begin; }
QPointF endOf(const Shape& c) { return c.data().end; }

TEST_F(HostFixture, RerouteWithOneLooseEndMovesOnlyTheGluedEnd) {
    const Shape a = shapes().AddShape(ShapeRectangle, 100, 100, 80, 40);
    Shape arc = shapes().AddConnector(ConnectorStraight, 0, 0, 400, 120);
    arc.ConnectorFormat().BeginConnect(a, 1);
    arc.RerouteConnections();
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectionSite(), 4); // the right side faces the loose end
    expectAt(endOf(arc), {400, 120});
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
