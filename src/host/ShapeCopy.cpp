#include "host/ShapeCopy.h"

#include "host/geometry/Geometry.h"

#include "host/HostError.h"
#include "host/model/Touch.h"

namespace zov::host {

ShapeData DetachedShapeRecord(const ShapeData& source)
{
    ShapeData copy = source;
    copy.slide = nullptr;
    copy.beginGlue = {};
    copy.endGlue = {};
    copy.gluedConnectors.clear();
    copy.gluedConnectorsTidied = 0;
    copy.fileId = 0;
    copy.sourceXml.clear();
    copy.sourceXmlOwner.clear();
    copy.modified = true;
    return copy;
}

Shape AddShapeCopy(const Slide& slide, const ShapeData& source, QPointF offset)
{
    if (source.kind == ShapeKind::Foreign)
        throw HostError("Only shapes drawn by this program's shape types can be copied");
    const std::shared_ptr<SlideData> target = slide.lock();
    auto shape = std::make_shared<ShapeData>(DetachedShapeRecord(source));
    shape->slide = target.get();
    if (shape->kind != ShapeKind::Connector) { // a connector's box follows its ends when saved
        shape->left = onEmuGrid(shape->left + static_cast<float>(offset.x()));
        shape->top = onEmuGrid(shape->top + static_cast<float>(offset.y()));
    } else {
        shape->left += static_cast<float>(offset.x());
        shape->top += static_cast<float>(offset.y());
    }
    shape->begin += offset;
    shape->end += offset;
    target->shapes.push_back(shape);
    markChanged(*target);
    return Shape(shape);
}

} // namespace zov::host
