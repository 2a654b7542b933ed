#pragma once
// Auto-size "shape to fit text": the text's size from the font's real metrics (one line per
// paragraph, or its lines wrapped to the frame's width when the frame wraps words), plus the
// frame's margins, divided by the share of the shape that its geometry's text rectangle takes.
#include "host/model/ModelData.h"

#include <QFontMetricsF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

namespace zov::host {

// Measures text in points. Keeps the metrics of the fonts it has seen (a presentation uses a
// handful). Needs a QGuiApplication for real metrics; without one it estimates from the size.
class TextMeasurer {
public:
    TextMeasurer();
    // Width of the widest line and the height of all lines. A vertical tab (soft break) starts
    // a new line inside its paragraph; no paragraph is ever an empty list of lines.
    QSizeF measure(const QStringList& paragraphs, const QString& family, float pointSize);
    // The height of the text with each line wrapped at word ends to `width` points.
    double wrappedHeight(const QStringList& paragraphs, const QString& family, float pointSize, double width);

private:
    struct Entry {
        QString family;
        float size;
        QFontMetricsF metrics;
    };
    const QFontMetricsF* metricsFor(const QString& family, float pointSize);
    std::vector<Entry> entries_;
    bool haveFonts_ = false;
};

// The share of the shape's width and height that its text rectangle takes.
QSizeF textRectFraction(const ShapeData& shape);
// The shape size whose text rectangle holds `textSize` plus the frame's margins.
QSizeF shapeSizeForText(const ShapeData& shape, QSizeF textSize);
// Applies auto-size mode 1 to the shape when it is on: keeps left and top, sets width and
// height (a frame that wraps its words keeps its width: only the height follows the text).
// Returns true when the size changed. Uses the presentation's measurer when the shape belongs to
// one.
bool fitShapeToText(ShapeData& shape);

} // namespace zov::host
