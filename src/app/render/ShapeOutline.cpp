#include "app/render/ShapeOutline.h"

#include "host/AutoShapeType.h"
#include "host/geometry/TextFit.h"

#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace zov::app::render {

using host::ShapeData;
using host::ShapeKind;

namespace {

// Default adjust values of the presets, in 1/100000 of the reference length.
constexpr double kHomePlateAdjust = 0.5;     // point depth, share of the shorter side
constexpr double kNoSymbolAdjust = 0.1875;   // ring thickness, share of the shorter side
constexpr double kCalloutCorner = 0.16667;   // corner radius, share of the shorter side
constexpr double kCalloutTipX = -0.20833;    // tail tip from the centre, share of the width
constexpr double kCalloutTipY = 0.625;       // tail tip from the centre, share of the height

QPainterPath diamond(double w, double h)
{
    QPainterPath path;
    path.addPolygon(QPolygonF({{w / 2, 0}, {w, h / 2}, {w / 2, h}, {0, h / 2}, {w / 2, 0}}));
    path.closeSubpath();
    return path;
}

QPainterPath homePlate(double w, double h)
{
    const double x1 = w - std::min(w, h) * kHomePlateAdjust;
    QPainterPath path;
    path.addPolygon(QPolygonF({{0, 0}, {x1, 0}, {w, h / 2}, {x1, h}, {0, h}, {0, 0}}));
    path.closeSubpath();
    return path;
}

// A ring with a bar across its opening from the upper left to the lower right.
QPainterPath noSymbol(double w, double h)
{
    const double dr = std::min(w, h) * kNoSymbolAdjust;
    QPainterPath outer;
    outer.addEllipse(QRectF(0, 0, w, h));
    QPainterPath inner;
    inner.addEllipse(QRectF(dr, dr, w - 2 * dr, h - 2 * dr));
    QPainterPath ring = outer.subtracted(inner);
    const double angle = std::atan2(h, w) * 180.0 / M_PI;
    const double length = std::hypot(w, h);
    QPainterPath bar;
    bar.addRect(QRectF(-length / 2, -dr / 2, length, dr));
    const QPainterPath slash = QTransform().translate(w / 2, h / 2).rotate(angle).map(bar).intersected(inner);
    return ring.united(slash);
}

// The rounded rectangle with a wedge towards the tail tip; the wedge sits on the side the tip
// lies beyond, between 2/12 and 5/12 (or 7/12 and 10/12) of that side.
QPainterPath callout(double w, double h)
{
    const double r = std::min(w, h) * kCalloutCorner;
    const double dxPos = w * kCalloutTipX, dyPos = h * kCalloutTipY;
    const double xPos = w / 2 + dxPos, yPos = h / 2 + dyPos;
    const double dq = w > 0 ? dxPos * h / w : 0;
    const bool vertical = std::abs(dyPos) - std::abs(dq) > 0; // the tip lies above or below
    const double x1 = w * (dxPos > 0 ? 7 : 2) / 12.0, x2 = w * (dxPos > 0 ? 10 : 5) / 12.0;
    const double y1 = h * (dyPos > 0 ? 7 : 2) / 12.0, y2 = h * (dyPos > 0 ? 10 : 5) / 12.0;

    QPainterPath path;
    path.moveTo(0, r);
    path.arcTo(QRectF(0, 0, 2 * r, 2 * r), 180, -90);
    if (vertical && dyPos < 0) { // top edge, left to right
        path.lineTo(x1, 0);
        path.lineTo(xPos, yPos);
        path.lineTo(x2, 0);
    }
    path.lineTo(w - r, 0);
    path.arcTo(QRectF(w - 2 * r, 0, 2 * r, 2 * r), 90, -90);
    if (!vertical && dxPos > 0) { // right edge, top to bottom
        path.lineTo(w, y1);
        path.lineTo(xPos, yPos);
        path.lineTo(w, y2);
    }
    path.lineTo(w, h - r);
    path.arcTo(QRectF(w - 2 * r, h - 2 * r, 2 * r, 2 * r), 0, -90);
    if (vertical && dyPos > 0) { // bottom edge, right to left
        path.lineTo(x2, h);
        path.lineTo(xPos, yPos);
        path.lineTo(x1, h);
    }
    path.lineTo(r, h);
    path.arcTo(QRectF(0, h - 2 * r, 2 * r, 2 * r), 270, -90);
    if (!vertical && dxPos < 0) { // left edge, bottom to top
        path.lineTo(0, y2);
        path.lineTo(xPos, yPos);
        path.lineTo(0, y1);
    }
    path.closeSubpath();
    return path;
}

} // namespace

namespace {

QPainterPath unflippedOutline(const ShapeData& shape)
{
    const double w = std::max(0.0f, shape.width), h = std::max(0.0f, shape.height);
    QPainterPath path;
    if (shape.kind == ShapeKind::Connector)
        return path;
    if (shape.kind == ShapeKind::Foreign) {
        path.addRect(QRectF(0, 0, w, h));
        return path;
    }
    switch (shape.autoShapeType) {
    case host::ShapeOval:
        path.addEllipse(QRectF(0, 0, w, h));
        return path;
    case host::ShapeDiamond:
    case host::ShapeFlowchartDecision:
        return diamond(w, h);
    case host::ShapePentagon:
        return homePlate(w, h);
    case host::ShapeNoSymbol:
        return w > 0 && h > 0 ? noSymbol(w, h) : path;
    case host::ShapeRoundedRectangularCallout:
        return callout(w, h);
    default:
        path.addRect(QRectF(0, 0, w, h));
        return path;
    }
}

} // namespace

QPainterPath localOutline(const ShapeData& shape)
{
    QPainterPath path = unflippedOutline(shape);
    if (shape.kind == ShapeKind::Connector || (!shape.flipH && !shape.flipV))
        return path;
    const double w = std::max(0.0f, shape.width), h = std::max(0.0f, shape.height);
    return QTransform(shape.flipH ? -1 : 1, 0, 0, shape.flipV ? -1 : 1, shape.flipH ? w : 0, shape.flipV ? h : 0).map(path);
}

bool drawnAsLine(const ShapeData& shape)
{
    return shape.kind == ShapeKind::AutoShape && shape.autoShapeType == host::ShapeNotPrimitive &&
           (shape.preset == QLatin1String("line") || shape.preset == QLatin1String("straightConnector1"));
}

bool outlineIsBox(const ShapeData& shape)
{
    if (shape.kind == ShapeKind::Connector)
        return false;
    if (shape.kind == ShapeKind::Foreign)
        return true;
    switch (shape.autoShapeType) {
    case host::ShapeOval:
    case host::ShapeDiamond:
    case host::ShapeFlowchartDecision:
    case host::ShapePentagon:
    case host::ShapeNoSymbol:
    case host::ShapeRoundedRectangularCallout:
        return false;
    default:
        return true;
    }
}

QRectF localTextRect(const ShapeData& shape)
{
    const double w = shape.width, h = shape.height;
    if (shape.kind != ShapeKind::AutoShape)
        return {0, 0, w, h};
    if (shape.autoShapeType == host::ShapeRoundedRectangularCallout) {
        const double inset = std::min(w, h) * kCalloutCorner * (1 - std::cos(M_PI / 4));
        return QRectF(0, 0, w, h).adjusted(inset, inset, -inset, -inset);
    }
    if (shape.autoShapeType == host::ShapePentagon) {
        // Text stays out of the point, which a shape flipped left to right has on its left.
        const double x1 = w - std::min(w, h) * kHomePlateAdjust;
        return {shape.flipH ? w - (x1 + w) / 2 : 0, 0, (x1 + w) / 2, h};
    }
    const QSizeF share = host::textRectFraction(shape);
    const double tw = w * share.width(), th = h * share.height();
    return {(w - tw) / 2, (h - th) / 2, tw, th};
}

QTransform shapeTransform(const ShapeData& shape)
{
    QTransform t;
    t.translate(shape.left, shape.top);
    if (shape.rotation != 0) {
        t.translate(shape.width / 2.0, shape.height / 2.0);
        t.rotate(shape.rotation);
        t.translate(-shape.width / 2.0, -shape.height / 2.0);
    }
    return t;
}

QRectF shapeBounds(const ShapeData& shape)
{
    if (shape.kind == ShapeKind::Connector)
        return QRectF(shape.begin, shape.end).normalized();
    QRectF local(0, 0, shape.width, shape.height);
    if (shape.kind == ShapeKind::AutoShape && shape.autoShapeType == host::ShapeRoundedRectangularCallout) {
        const QPointF tip(shape.width * (0.5 + kCalloutTipX), shape.height * (0.5 + kCalloutTipY));
        local = QRectF(QPointF(std::min(0.0, tip.x()), std::min(0.0, tip.y())),
                       QPointF(std::max<double>(shape.width, tip.x()), std::max<double>(shape.height, tip.y())));
    }
    return shapeTransform(shape).mapRect(local.normalized());
}

QRectF paintBounds(const ShapeData& shape)
{
    // Arrowheads and the line's width for a connector, the outline's width and a pixel of
    // smoothing for any other shape.
    const double pad = shape.kind == ShapeKind::Connector ? 6.0 + 4.0 * shape.lineWeight : shape.lineWeight + 1.0;
    return shapeBounds(shape).adjusted(-pad, -pad, pad, pad);
}

} // namespace zov::app::render
