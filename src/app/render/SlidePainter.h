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

    void paintOutlineShape(QPainter& painter, const host::ShapeData& shape);
    void paintConnector(QPainter& painter, const host::ShapeData& shape);
    void paintText(QPainter& painter, const host::ShapeData& shape);
    const LaidText& layoutText(const host::ShapeData& shape, double wrapWidth);

    QImage pointDevice_; // a 72 dpi device: text is laid out in points
    QHash<QString, LaidText> layouts_;
};

} // namespace zov::app::render
