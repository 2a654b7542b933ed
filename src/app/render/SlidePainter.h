#pragma once
// Paints slides and shapes with a QPainter: every geometry by its outline, fill, line, text
// in its font and colour, connectors with their arrowheads. Widget-free, so that the canvas,
// the slide list's thumbnails and image or document renderers all draw exactly the same picture.
//
// Coordinates: the painter's transform must map slide points to the device; the painter
// keeps its state (every call saves and restores it).
#include "host/model/ModelData.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QHash>
#include <QHashFunctions>
#include <QPainterPath>
#include <QStringList>
#include <vector>

namespace zov::app::render {

// 0x00BBGGRR as the object model stores colours.
QColor colorFromBgr(std::uint32_t bgr);

class SlidePainter {
public:
    SlidePainter();

    // The white page of the slide and every shape in order (back to front). Shapes whose
    // drawing lies wholly outside `exposed` (slide points; empty = everything) are skipped.
    void paintSlide(QPainter& painter, const host::SlideData& slide, const QRectF& exposed = {});
    // Only the shapes, without the page.
    void paintShapes(QPainter& painter, const host::SlideData& slide, const QRectF& exposed = {});
    void paintShape(QPainter& painter, const host::ShapeData& shape);

    // The slide scaled to fit `size` (pixels, aspect kept, centred), on `background`.
    QImage renderImage(const host::SlideData& slide, QSize size, QColor background = Qt::transparent);

    // The size of the slide a shape or slide belongs to (720 x 540 when it belongs to none).
    static QSizeF pageSize(const host::SlideData& slide);

private:
    struct LaidLine {
        std::vector<QGlyphRun> runs; // positioned with the line's top-left at (0, 0)
        double width = 0;
        double height = 0;
    };
    struct LaidText {
        std::vector<LaidLine> lines;
        double height = 0;
    };

    // Laid-out text is kept per font, size, wrap width and text; outlines per geometry and
    // size. Repaints (scrolling, zooming, thumbnails) then only draw.
    struct TextKey {
        QString font;
        double size = 0;
        double wrapWidth = 0;
        QStringList paragraphs;
        bool operator==(const TextKey& other) const
        {
            return size == other.size && wrapWidth == other.wrapWidth && font == other.font && paragraphs == other.paragraphs;
        }
        friend size_t qHash(const TextKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.font, key.size, key.wrapWidth, key.paragraphs);
        }
    };
    struct OutlineKey {
        int kind = 0;
        int type = 0;
        float width = 0;
        float height = 0;
        int flips = 0; // 1 left to right, 2 top to bottom
        bool operator==(const OutlineKey& other) const
        {
            return kind == other.kind && type == other.type && width == other.width && height == other.height && flips == other.flips;
        }
        friend size_t qHash(const OutlineKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.kind, key.type, key.width, key.height, key.flips);
        }
    };

    const QPainterPath& outline(const host::ShapeData& shape);
    // Draws one shape with `base` as the slide's transform; leaves the painter's transform,
    // pen and brush changed.
    void drawShape(QPainter& painter, const host::ShapeData& shape, const QTransform& base);
    void paintOutlineShape(QPainter& painter, const host::ShapeData& shape);
    void paintLineShape(QPainter& painter, const host::ShapeData& shape);
    // A line from `begin` to `end` in the painter's coordinates, with the shape's pen and arrowheads.
    void paintLine(QPainter& painter, const host::ShapeData& shape, QPointF begin, QPointF end);
    void paintConnector(QPainter& painter, const host::ShapeData& shape);
    void paintText(QPainter& painter, const host::ShapeData& shape);
    const LaidText& layoutText(const host::ShapeData& shape, double wrapWidth);

    QImage pointDevice_; // a 72 dpi device: text is laid out in points
    QHash<TextKey, LaidText> layouts_;
    QHash<OutlineKey, QPainterPath> outlines_;
};

} // namespace zov::app::render
