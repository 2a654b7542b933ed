#pragma once
// The outline of a shape's geometry as a painter path, in slide points. Pure geometry: the
// canvas, the thumbnails and the slide renderers all draw from these paths.
#include "host/model/ModelData.h"

#include <QPainterPath>
#include <QRectF>

namespace zov::app::render {

// The outline of an auto-shape or text box in its own unrotated box (0, 0, width, height).
// Foreign shapes (pictures, groups, unknown geometries) are their box. Empty for connectors.
// A flipped shape's outline is mirrored within the box; its text is not.
QPainterPath localOutline(const host::ShapeData& shape);

// True for a shape of another program's "line" geometry (a line drawn as a shape rather than
// as a connector): drawn as a line from one corner of its box to the other, as its flips say.
bool drawnAsLine(const host::ShapeData& shape);
// True when the outline is the shape's whole box (rectangles, text boxes, foreign shapes):
// painters draw those as rectangles, which the raster engine fills much faster than paths.
bool outlineIsBox(const host::ShapeData& shape);

// The rectangle, in the shape's own box, that holds its text before the frame's margins:
// the inscribed rectangle of an ellipse, the inner half of a diamond, and so on.
QRectF localTextRect(const host::ShapeData& shape);

// The transform from the shape's own box to slide points (translation and rotation).
QTransform shapeTransform(const host::ShapeData& shape);

// The slide-point rectangle of a shape's geometry: its box (rotated, with a callout's tail) or a
// connector's two ends, without the width of lines.
QRectF shapeBounds(const host::ShapeData& shape);

// The slide-point rectangle a shape's drawing can touch (shapeBounds, and the outline's width,
// arrowheads), used to skip shapes outside the area being painted.
QRectF paintBounds(const host::ShapeData& shape);

} // namespace zov::app::render
