#include "host/geometry/Geometry.h"

#include "host/pptx/Units.h"

#include "host/AutoShapeType.h"
#include "host/model/Touch.h"

#include <QHash>
#include <QLineF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace zov::host {

float onEmuGrid(float points)
{
    return pptx::emuToPoints(pptx::pointsToEmu(points));
}

namespace {

// Box: the middles of the four sides from the top counterclockwise; TurnedBox: the same from the
// right clockwise.
enum class Outline { None, Box, TurnedBox, Rect, Diamond, Ellipse, HomePlate, Callout };

// Preset geometries of other programs whose connection sites are the middles of the four sides
// of their box, as the preset shape definitions of Office Open XML list them: a connector glued
// to one follows it like one glued to a rectangle.
Outline presetOutline(const QString& preset)
{
    static const QHash<QString, Outline> outlines = [] {
        QHash<QString, Outline> byName;
        for (const char* name :
             {"bracePair", "bracketPair", "flowChartAlternateProcess", "flowChartDelay", "flowChartDisplay",
              "flowChartInternalStorage", "flowChartMagneticTape", "flowChartOffpageConnector",
              "flowChartPredefinedProcess", "flowChartPreparation", "flowChartProcess", "flowChartPunchedCard",
              "flowChartSort", "flowChartTerminator", "foldedCorner", "frame", "leftRightArrowCallout", "plaque", "plus",
              "quadArrow", "quadArrowCallout", "round1Rect", "roundRect", "star24", "star32", "star4", "sun",
              "upDownArrowCallout"})
            byName.insert(QLatin1String(name), Outline::Box);
        for (const char* name :
             {"accentBorderCallout1", "accentBorderCallout2", "accentBorderCallout3", "accentCallout1",
              "accentCallout2", "accentCallout3", "actionButtonBackPrevious", "actionButtonBeginning",
              "actionButtonBlank", "actionButtonDocument", "actionButtonEnd", "actionButtonForwardNext",
              "actionButtonHelp", "actionButtonHome", "actionButtonInformation", "actionButtonMovie",
              "actionButtonReturn", "actionButtonSound", "borderCallout1", "borderCallout2", "borderCallout3",
              "callout1", "callout2", "callout3", "pie", "round2DiagRect", "round2SameRect", "snip1Rect",
              "snip2DiagRect", "snip2SameRect", "snipRoundRect"})
            byName.insert(QLatin1String(name), Outline::TurnedBox);
        return byName;
    }();
    return outlines.value(preset, Outline::None);
}

Outline outlineOf(const ShapeData& s)
{
    switch (s.kind) {
    case ShapeKind::Connector:
        return Outline::None;
    case ShapeKind::Foreign: // a picture's box, or any other frame's
        if (const Outline outline = presetOutline(s.preset); outline != Outline::None)
            return outline;
        return Outline::Box;
    case ShapeKind::AutoShape:
    case ShapeKind::TextBox:
        break;
    }
    switch (s.autoShapeType) {
    case ShapeNotPrimitive:
        if (const Outline outline = presetOutline(s.preset); outline != Outline::None)
            return outline;
        return Outline::Box;
    case ShapeRectangle:
        return Outline::Rect;
    case ShapeDiamond:
    case ShapeFlowchartDecision:
        return Outline::Diamond;
    case ShapeOval:
    case ShapeNoSymbol:
        return Outline::Ellipse;
    case ShapePentagon:
        return Outline::HomePlate;
    case ShapeRoundedRectangularCallout:
        return Outline::Callout;
    default:
        return Outline::Box;
    }
}

// Sites of the ellipse and the no-symbol ring lie on the ellipse at 45 degree steps.
constexpr double kE = 0.146447; // 1/2 - cos(45)/2
constexpr double kF = 0.853553; // 1/2 + cos(45)/2
// The callout's tail tip at the preset's default adjust values.
constexpr double kTailX = 0.5 - 20833.0 / 100000.0;
constexpr double kTailY = 0.5 + 62500.0 / 100000.0;

// The homePlate's x1: where the point begins, at the default adjust value of 50000.
double homePlateX1(double w, double h)
{
    return w - std::min(std::abs(w), std::abs(h)) * 0.5;
}

// Site position relative to the shape's unrotated, unflipped top-left corner.
QPointF unflippedSite(const ShapeData& s, Outline outline, int index0)
{
    const double w = s.width, h = s.height;
    switch (outline) {
    case Outline::Ellipse: {
        static constexpr double fx[8] = {0.5, kE, 0, kE, 0.5, kF, 1, kF};
        static constexpr double fy[8] = {0, kE, 0.5, kF, 1, kF, 0.5, kE};
        return {fx[index0] * w, fy[index0] * h};
    }
    case Outline::HomePlate: {
        const double x1 = homePlateX1(w, h);
        const QPointF sites[4] = {{x1 / 2, 0}, {0, h / 2}, {x1, h}, {w, h / 2}};
        return sites[index0];
    }
    case Outline::TurnedBox: {
        static constexpr double fx[4] = {1, 0.5, 0, 0.5};
        static constexpr double fy[4] = {0.5, 1, 0.5, 0};
        return {fx[index0] * w, fy[index0] * h};
    }
    case Outline::Callout:
        if (index0 == 4)
            return {kTailX * w, kTailY * h};
        [[fallthrough]];
    default: {
        static constexpr double fx[4] = {0.5, 0, 0.5, 1};
        static constexpr double fy[4] = {0, 0.5, 1, 0.5};
        return {fx[index0] * w, fy[index0] * h};
    }
    }
}

// A point of the shape's own box mirrored as the shape is (the same both ways).
QPointF flipped(const ShapeData& s, QPointF local)
{
    return {s.flipH ? s.width - local.x() : local.x(), s.flipV ? s.height - local.y() : local.y()};
}

// Site position relative to the shape's unrotated top-left corner.
QPointF localSite(const ShapeData& s, Outline outline, int index0)
{
    return flipped(s, unflippedSite(s, outline, index0));
}

int siteCount(Outline outline)
{
    switch (outline) {
    case Outline::None:
        return 0;
    case Outline::Ellipse:
        return 8;
    case Outline::Callout:
        return 5;
    default:
        return 4;
    }
}

// Rotates a point about the shape's centre by the shape's rotation (clockwise on screen).
QPointF rotated(const ShapeData& s, QPointF p, double sign)
{
    if (s.rotation == 0)
        return p;
    const QPointF c(s.left + s.width / 2.0, s.top + s.height / 2.0);
    const double a = sign * s.rotation * M_PI / 180.0;
    const double dx = p.x() - c.x(), dy = p.y() - c.y();
    return {c.x() + dx * std::cos(a) - dy * std::sin(a), c.y() + dx * std::sin(a) + dy * std::cos(a)};
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const double vx = b.x() - a.x(), vy = b.y() - a.y();
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((p.x() - a.x()) * vx + (p.y() - a.y()) * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = p.x() - (a.x() + t * vx), dy = p.y() - (a.y() + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

bool setIfMoved(QPointF& target, QPointF value)
{
    if (std::abs(target.x() - value.x()) < 1e-4 && std::abs(target.y() - value.y()) < 1e-4)
        return false;
    target = value;
    return true;
}

bool gluedTo(const GlueEnd& end, const ShapeData& shape)
{
    if (end.site <= 0)
        return false;
    const auto target = end.shape.lock();
    return target.get() == &shape;
}

} // namespace

int connectionSiteCount(const ShapeData& shape)
{
    return siteCount(outlineOf(shape));
}

bool hasPresetConnectionSites(const ShapeData& shape)
{
    return presetOutline(shape.preset) != Outline::None ||
           (shape.kind == ShapeKind::Foreign && shape.preset == QLatin1String("rect"));
}

QPointF connectionSitePoint(const ShapeData& shape, int site)
{
    const Outline outline = outlineOf(shape);
    const int count = siteCount(outline);
    if (count == 0)
        return {shape.left, shape.top};
    const int index0 = std::clamp(site, 1, count) - 1;
    const QPointF local = localSite(shape, outline, index0);
    return rotated(shape, QPointF(shape.left + local.x(), shape.top + local.y()), 1.0);
}

QRectF hitBounds(const ShapeData& shape, double tolerance)
{
    if (shape.kind == ShapeKind::Connector) {
        return QRectF(shape.begin, shape.end).normalized().adjusted(-tolerance, -tolerance, tolerance, tolerance);
    }
    QRectF box(shape.left, shape.top, shape.width, shape.height);
    box = box.normalized();
    if (shape.rotation != 0) {
        // The rotated box fits in the circle through its corners.
        const double r = std::hypot(box.width(), box.height()) / 2.0;
        const QPointF c = box.center();
        return {c.x() - r, c.y() - r, 2 * r, 2 * r};
    }
    return box;
}

bool containsPoint(const ShapeData& shape, QPointF slidePoint, double tolerance)
{
    const Outline outline = outlineOf(shape);
    if (outline == Outline::None)
        return distanceToSegment(slidePoint, shape.begin, shape.end) <= tolerance;

    const QPointF p = rotated(shape, slidePoint, -1.0);
    const double w = shape.width, h = shape.height;
    if (w <= 0 || h <= 0)
        return false;
    const QPointF local = flipped(shape, QPointF(p.x() - shape.left, p.y() - shape.top));
    const double x = local.x(), y = local.y();
    if (x < 0 || y < 0 || x > w || y > h)
        return false;
    // Text boxes are hit anywhere in their box, whatever marker geometry they carry.
    if (shape.kind == ShapeKind::TextBox)
        return true;
    const double dx = x - w / 2, dy = y - h / 2;
    switch (outline) {
    case Outline::Diamond:
        return std::abs(dx) / (w / 2) + std::abs(dy) / (h / 2) <= 1.0;
    case Outline::Ellipse:
        return (dx * dx) / (w * w / 4) + (dy * dy) / (h * h / 4) <= 1.0;
    case Outline::HomePlate: {
        const double x1 = homePlateX1(w, h);
        if (x <= x1)
            return true;
        // The point: the two edges from (x1, 0) and (x1, h) to (w, h/2).
        const double reach = (w - x1) * (1.0 - std::abs(dy) / (h / 2));
        return x - x1 <= reach;
    }
    default:
        return true;
    }
}

void syncConnectorBox(ShapeData& connector)
{
    const QRectF box = QRectF(connector.begin, connector.end).normalized();
    connector.left = static_cast<float>(box.left());
    connector.top = static_cast<float>(box.top());
    connector.width = static_cast<float>(box.width());
    connector.height = static_cast<float>(box.height());
}

bool updateGluedEnds(ShapeData& connector)
{
    if (connector.kind != ShapeKind::Connector)
        return false;
    bool moved = false;
    if (const auto target = connector.beginGlue.shape.lock(); target && connector.beginGlue.site > 0)
        moved |= setIfMoved(connector.begin, connectionSitePoint(*target, connector.beginGlue.site));
    if (const auto target = connector.endGlue.shape.lock(); target && connector.endGlue.site > 0)
        moved |= setIfMoved(connector.end, connectionSitePoint(*target, connector.endGlue.site));
    syncConnectorBox(connector);
    return moved;
}

namespace {

bool gluedNow(const ShapeData& connector, const ShapeData& shape)
{
    return connector.slide == shape.slide && connector.kind == ShapeKind::Connector &&
           (gluedTo(connector.beginGlue, shape) || gluedTo(connector.endGlue, shape));
}

// Drops the entries of a shape's connector list that no longer glue to it, and repeats.
void tidyGluedConnectors(ShapeData& shape)
{
    auto& list = shape.gluedConnectors;
    std::vector<std::weak_ptr<ShapeData>> kept;
    kept.reserve(list.size());
    std::unordered_set<const ShapeData*> seen;
    for (const auto& weak : list) {
        const auto c = weak.lock();
        if (c && gluedNow(*c, shape) && seen.insert(c.get()).second)
            kept.push_back(weak);
    }
    list = std::move(kept);
    shape.gluedConnectorsTidied = list.size();
}

} // namespace

void glueConnectorEnd(const std::shared_ptr<ShapeData>& connector, bool atBegin, const std::shared_ptr<ShapeData>& target,
                      int site)
{
    (atBegin ? connector->beginGlue : connector->endGlue) = GlueEnd{target, site};
    auto& list = target->gluedConnectors;
    if (!list.empty() && list.back().lock() == connector)
        return; // the other end of the same connector, or glued again
    // Tidy when the list has doubled since the last time: the work stays in proportion to the
    // gluing done, and the list to the connectors actually glued.
    if (list.size() >= 2 * target->gluedConnectorsTidied + 8)
        tidyGluedConnectors(*target);
    list.push_back(connector);
    markRewritten(*target);
}

std::vector<std::shared_ptr<ShapeData>> connectorsGluedTo(const ShapeData& shape)
{
    std::vector<std::shared_ptr<ShapeData>> out;
    if (!shape.slide)
        return out;
    std::unordered_set<const ShapeData*> seen;
    for (const auto& weak : shape.gluedConnectors) {
        auto c = weak.lock();
        if (c && gluedNow(*c, shape) && seen.insert(c.get()).second)
            out.push_back(std::move(c));
    }
    return out;
}

void followMovedShape(ShapeData& shape)
{
    if (!shape.slide)
        return;
    // Updating a connector twice (listed twice, or glued to the shape at both ends) is harmless.
    for (const auto& weak : shape.gluedConnectors) {
        const auto connector = weak.lock();
        if (connector && gluedNow(*connector, shape) && updateGluedEnds(*connector))
            markChanged(*connector);
    }
}

void rerouteConnector(ShapeData& connector)
{
    if (connector.kind != ShapeKind::Connector)
        return;
    const auto from = connector.beginGlue.shape.lock();
    const auto to = connector.endGlue.shape.lock();
    const bool beginGlued = from && connector.beginGlue.site > 0;
    const bool endGlued = to && connector.endGlue.site > 0;
    auto nearestSite = [](const ShapeData& s, QPointF p) {
        int best = 1;
        double bestDist = std::numeric_limits<double>::max();
        for (int i = 1; i <= connectionSiteCount(s); ++i) {
            const double d = QLineF(connectionSitePoint(s, i), p).length();
            if (d < bestDist) {
                bestDist = d;
                best = i;
            }
        }
        return best;
    };
    if (beginGlued && endGlued) {
        double bestDist = std::numeric_limits<double>::max();
        int bestBegin = connector.beginGlue.site, bestEnd = connector.endGlue.site;
        for (int i = 1; i <= connectionSiteCount(*from); ++i) {
            const QPointF a = connectionSitePoint(*from, i);
            for (int j = 1; j <= connectionSiteCount(*to); ++j) {
                const double d = QLineF(a, connectionSitePoint(*to, j)).length();
                if (d < bestDist) { // strict: the first pair in site order wins a tie
                    bestDist = d;
                    bestBegin = i;
                    bestEnd = j;
                }
            }
        }
        connector.beginGlue.site = bestBegin;
        connector.endGlue.site = bestEnd;
    } else if (beginGlued) {
        connector.beginGlue.site = nearestSite(*from, connector.end);
    } else if (endGlued) {
        connector.endGlue.site = nearestSite(*to, connector.begin);
    }
    updateGluedEnds(connector);
}

} // namespace zov::host
