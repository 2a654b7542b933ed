#include "app/render/SlidePainter.h"

#include "app/render/ShapeOutline.h"
#include "host/AutoShapeType.h"

#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace zov::app::render {

using host::ShapeData;
using host::ShapeKind;

namespace {

constexpr int kMaxCachedLayouts = 4096;
constexpr double kNoWrap = 1.0e7;

// Lines at most this wide on the device are drawn as one-pixel hairlines: they look the same,
// and the painter then draws them along the pixels instead of filling an outline around them,
// which is several times cheaper.
constexpr double kHairlinePixels = 1.5;

// How many device pixels one unit of the painter's present coordinates spans.
double deviceScale(const QPainter& painter)
{
    return std::sqrt(std::abs(painter.transform().determinant()));
}

QPen linePen(const ShapeData& shape, double scale)
{
    const double weight = std::max(0.0f, shape.lineWeight);
    QPen pen(colorFromBgr(shape.lineRgb), weight);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    if (weight * scale <= kHairlinePixels) {
        pen.setWidthF(1);
        pen.setCosmetic(true);
    }
    return pen;
}

// Arrowheads of the medium width and length, scaled with the line.
double arrowSize(const ShapeData& shape)
{
    return std::max(6.0, 3.0 * shape.lineWeight);
}

// Draws the arrowhead whose tip is at `tip`, pointing along `direction` (unit vector), and
// leaves the pen and brush changed (the connector sets its own next). Returns how far the line
// must stop short of the tip so that it does not poke through.
double drawArrowhead(QPainter& painter, int style, QPointF tip, QPointF direction, const ShapeData& shape)
{
    if (style <= host::ArrowheadNone || style > host::ArrowheadOval)
        return 0;
    const double size = arrowSize(shape);
    const QPointF back = tip - direction * size;
    const QPointF normal(-direction.y(), direction.x());
    const QPointF left = back + normal * (size / 2), right = back - normal * (size / 2);
    const QColor colour = colorFromBgr(shape.lineRgb);
    if (style == host::ArrowheadOpen) {
        QPen pen = linePen(shape, deviceScale(painter));
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(QPolygonF({left, tip, right}));
        return 0;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (style) {
    case host::ArrowheadTriangle:
        painter.drawPolygon(QPolygonF({tip, left, right}));
        return size * 0.9;
    case host::ArrowheadStealth: {
        const QPointF notch = tip - direction * (size * 0.6);
        painter.drawPolygon(QPolygonF({tip, left, notch, right}));
        return size * 0.5;
    }
    case host::ArrowheadDiamond: {
        const QPointF front = tip + direction * (size / 2), rear = tip - direction * (size / 2);
        painter.drawPolygon(QPolygonF({front, tip + normal * (size / 2), rear, tip - normal * (size / 2)}));
        return 0;
    }
    case host::ArrowheadOval:
        painter.drawEllipse(tip, size / 2, size / 2);
        return 0;
    default:
        return 0;
    }
}

} // namespace

QColor colorFromBgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

SlidePainter::SlidePainter() : pointDevice_(1, 1, QImage::Format_ARGB32)
{
    pointDevice_.setDotsPerMeterX(2835); // 72 dpi: one device pixel per point
    pointDevice_.setDotsPerMeterY(2835);
}

QSizeF SlidePainter::pageSize(const host::SlideData& slide)
{
    if (slide.presentation)
        return {slide.presentation->slideWidth, slide.presentation->slideHeight};
    return {720, 540};
}

void SlidePainter::paintSlide(QPainter& painter, const host::SlideData& slide, const QRectF& exposed)
{
    painter.fillRect(QRectF(QPointF(0, 0), pageSize(slide)), Qt::white);
    paintShapes(painter, slide, exposed);
}

void SlidePainter::paintShapes(QPainter& painter, const host::SlideData& slide, const QRectF& exposed)
{
    // One saved state for all shapes: each shape sets the transform, pen and brush it draws
    // with, so nothing carries over from one to the next.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QTransform base = painter.transform();
    for (const auto& shape : slide.shapes) {
        if (!exposed.isEmpty() && !exposed.intersects(paintBounds(*shape)))
            continue;
        drawShape(painter, *shape, base);
    }
    painter.restore();
}

void SlidePainter::paintShape(QPainter& painter, const ShapeData& shape)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawShape(painter, shape, painter.transform());
    painter.restore();
}

void SlidePainter::drawShape(QPainter& painter, const ShapeData& shape, const QTransform& base)
{
    if (shape.kind == ShapeKind::Connector) {
        painter.setTransform(base);
        paintConnector(painter, shape);
    } else {
        painter.setTransform(shapeTransform(shape) * base);
        paintOutlineShape(painter, shape);
    }
}

void SlidePainter::paintOutlineShape(QPainter& painter, const ShapeData& shape)
{
    if (drawnAsLine(shape)) {
        paintLineShape(painter, shape);
        if (shape.hasTextFrame && !shape.paragraphs.isEmpty())
            paintText(painter, shape);
        return;
    }
    const bool box = outlineIsBox(shape);
    const auto drawOutline = [&] {
        if (box)
            painter.drawRect(QRectF(0, 0, std::max(0.0f, shape.width), std::max(0.0f, shape.height)));
        else
            painter.drawPath(outline(shape));
    };
    if (shape.kind == ShapeKind::Foreign) {
        // Something this program does not draw (a picture, a group, a table): its place.
        QPen pen(QColor(150, 150, 150), 0.75, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(QColor(235, 235, 235, 160));
        drawOutline();
    } else {
        painter.setPen(shape.lineVisible && shape.lineWeight > 0 ? linePen(shape, deviceScale(painter)) : QPen(Qt::NoPen));
        painter.setBrush(shape.fillVisible ? QBrush(colorFromBgr(shape.fillRgb)) : QBrush(Qt::NoBrush));
        if (shape.lineVisible || shape.fillVisible)
            drawOutline();
    }
    if (shape.hasTextFrame && !shape.paragraphs.isEmpty())
        paintText(painter, shape);
}

// In the shape's own box: from the corner its flips give to the opposite one, arrowheads and all.
void SlidePainter::paintLineShape(QPainter& painter, const ShapeData& shape)
{
    const double w = std::max(0.0f, shape.width), h = std::max(0.0f, shape.height);
    const QPointF begin(shape.flipH ? w : 0, shape.flipV ? h : 0), end(shape.flipH ? 0 : w, shape.flipV ? 0 : h);
    paintLine(painter, shape, begin, end);
}

void SlidePainter::paintConnector(QPainter& painter, const ShapeData& shape)
{
    paintLine(painter, shape, shape.begin, shape.end);
}

void SlidePainter::paintLine(QPainter& painter, const ShapeData& shape, QPointF begin, QPointF end)
{
    if (!shape.lineVisible)
        return;
    const QPointF delta = end - begin;
    const double length = std::hypot(delta.x(), delta.y());
    if (length > 1e-6) {
        const QPointF direction = delta / length;
        const double endShort = drawArrowhead(painter, shape.endArrowhead, end, direction, shape);
        const double beginShort = drawArrowhead(painter, shape.beginArrowhead, begin, -direction, shape);
        if (endShort + beginShort < length) {
            end -= direction * endShort;
            begin += direction * beginShort;
        }
    }
    painter.setPen(linePen(shape, deviceScale(painter)));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(begin, end);
}

const QPainterPath& SlidePainter::outline(const ShapeData& shape)
{
    const OutlineKey key{static_cast<int>(shape.kind), shape.autoShapeType, shape.width, shape.height,
                         (shape.flipH ? 1 : 0) | (shape.flipV ? 2 : 0)};
    if (const auto it = outlines_.constFind(key); it != outlines_.constEnd())
        return *it;
    if (outlines_.size() >= kMaxCachedLayouts)
        outlines_.clear();
    return *outlines_.insert(key, localOutline(shape));
}

const SlidePainter::LaidText& SlidePainter::layoutText(const ShapeData& shape, double wrapWidth)
{
    const TextKey key{shape.fontName, shape.fontSize, wrapWidth, shape.paragraphs};
    if (const auto it = layouts_.constFind(key); it != layouts_.constEnd())
        return *it;
    if (layouts_.size() >= kMaxCachedLayouts)
        layouts_.clear();

    QFont font(shape.fontName);
    font.setPointSizeF(shape.fontSize > 0 ? shape.fontSize : 1);
    font.setHintingPreference(QFont::PreferNoHinting);
    LaidText text;
    for (QString paragraph : shape.paragraphs) {
        paragraph.replace(u'\v', QChar::LineSeparator); // a soft break stays in its paragraph
        QTextLayout layout(paragraph, font, &pointDevice_);
        QTextOption option;
        option.setWrapMode(wrapWidth < kNoWrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(wrapWidth);
            line.setPosition(QPointF(0, 0));
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            LaidLine laid;
            const auto runs = line.glyphRuns();
            laid.runs.assign(runs.begin(), runs.end());
            laid.width = line.naturalTextWidth();
            laid.height = line.height();
            text.height += laid.height;
            text.lines.push_back(std::move(laid));
        }
    }
    return *layouts_.insert(key, std::move(text));
}

void SlidePainter::paintText(QPainter& painter, const ShapeData& shape)
{
    const QRectF frame = localTextRect(shape).adjusted(shape.marginLeft, shape.marginTop, -shape.marginRight,
                                                       -shape.marginBottom);
    // A frame that fits its shape to the text and still wraps (as a file may say: the shape grows
    // down, its width stays) wraps its lines to the width; the editor's own shapes never wrap.
    const bool wrap = shape.wordWrap;
    const LaidText& text = layoutText(shape, wrap ? std::max(1.0, frame.width()) : kNoWrap);
    const bool centred = shape.kind == ShapeKind::AutoShape;
    double y = shape.kind == ShapeKind::Foreign ? frame.top() : frame.top() + (frame.height() - text.height) / 2;
    // Glyph runs are drawn with the pen; the colour is not part of the cached layout.
    painter.setPen(shape.textColourSet ? colorFromBgr(shape.textRgb) : QColor(Qt::black));
    for (const LaidLine& line : text.lines) {
        const double x = centred ? frame.left() + (frame.width() - line.width) / 2 : frame.left();
        for (const QGlyphRun& run : line.runs)
            painter.drawGlyphRun(QPointF(x, y), run);
        y += line.height;
    }
}

QImage SlidePainter::renderImage(const host::SlideData& slide, QSize size, QColor background)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    const QSizeF page = pageSize(slide);
    if (size.isEmpty() || page.isEmpty())
        return image;
    const double scale = std::min(size.width() / page.width(), size.height() / page.height());
    QPainter painter(&image);
    painter.translate((size.width() - page.width() * scale) / 2, (size.height() - page.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(QPointF(0, 0), page));
    paintSlide(painter, slide);
    return image;
}

} // namespace zov::app::render
