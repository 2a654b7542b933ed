// Runs the host's case files in tests/cases/host. A shape is written "TYPE LEFT TOP WIDTH HEIGHT"
// with the host's auto shape type number.
//   sites.case    a shape and "N sites: X,Y ..." (its connection sites in order, 3 decimals)
//   reroute.case  "SHAPE -> SHAPE" and "sites BEGIN END" after rerouting a connector between them
#include "HostFixture.h"
#include "support/CaseFiles.h"

#include <QLineF>
#include <cmath>

namespace zov::host::test {
namespace {

class HostCases : public HostFixture {
protected:
    Shape add(const QString& written) {
        const QStringList f = written.simplified().split(u' ');
        EXPECT_EQ(f.size(), 5) << written.toStdString();
        if (f.size() != 5)
            return shapes().AddShape(ShapeRectangle, 0, 0, 1, 1);
        return shapes().AddShape(f[0].toInt(), f[1].toFloat(), f[2].toFloat(), f[3].toFloat(), f[4].toFloat());
    }
    static QString point(QPointF p) {
        const auto round = [](double v) { return QString::number(std::round(v * 1000) / 1000); };
        return round(p.x()) + u',' + round(p.y());
    }
};

TEST_F(HostCases, EachGeometryHasTheSitesItsCaseLists) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("host"), QStringLiteral("sites.case"))) {
        const Shape shape = add(c.input);
        QString sites = QString::number(shape.ConnectionSiteCount()) + QStringLiteral(" sites:");
        for (int i = 1; i <= shape.ConnectionSiteCount(); ++i)
            sites += u' ' + point(shape.ConnectionSitePoint(i));
        EXPECT_EQ(sites.toStdString(), zov::test::Lines(c.expected)) << c.where();
        EXPECT_THROW(shape.ConnectionSitePoint(shape.ConnectionSiteCount() + 1), HostError);
    }
    EXPECT_EQ(shapes().AddConnector(ConnectorStraight, 0, 0, 1, 1).ConnectionSiteCount(), 0);
}

// Rerouting glues both ends to the pair of sites the case names, and no other pair is nearer.
TEST_F(HostCases, RerouteGluesBothEndsToTheNearestPairOfSites) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("host"), QStringLiteral("reroute.case"))) {
        const Shape from = add(c.input.section(QStringLiteral("->"), 0, 0));
        const Shape to = add(c.input.section(QStringLiteral("->"), 1));
        Shape arc = connect(from, to);
        arc.RerouteConnections();
        const int begin = arc.ConnectorFormat().BeginConnectionSite();
        const int end = arc.ConnectorFormat().EndConnectionSite();
        EXPECT_EQ(QStringLiteral("sites %1 %2").arg(begin).arg(end).toStdString(), zov::test::Lines(c.expected)) << c.where();
        EXPECT_EQ(point(arc.data().begin).toStdString(), point(from.ConnectionSitePoint(begin)).toStdString()) << c.where();
        EXPECT_EQ(point(arc.data().end).toStdString(), point(to.ConnectionSitePoint(end)).toStdString()) << c.where();
        const double chosen = QLineF(arc.data().begin, arc.data().end).length();
        for (int i = 1; i <= from.ConnectionSiteCount(); ++i)
            for (int j = 1; j <= to.ConnectionSiteCount(); ++j)
                EXPECT_GE(QLineF(from.ConnectionSitePoint(i), to.ConnectionSitePoint(j)).length(), chosen - 1e-6) << c.where();
        shapes().Range().Delete();
    }
}

} // namespace
} // namespace zov::host::test
