#pragma once
// Copying a shape record onto a slide, as a paste does: the copy is a new shape of the slide.
#include "host/Slide.h"

#include <QPointF>

namespace zov::host {

// A copy of a shape record free of every link into a presentation: no slide, no glue, nothing
// of the file it came from.
ShapeData DetachedShapeRecord(const ShapeData& source);

// Adds a copy of a shape record on top of the slide, moved by `offset` points: its kind,
// geometry, look, text and name, but no glue (glue the copy's ends afterwards) and nothing of
// the file it came from. Shapes this host does not model (pictures, groups) raise HostError.
Shape AddShapeCopy(const Slide& slide, const ShapeData& source, QPointF offset = {});

} // namespace zov::host
