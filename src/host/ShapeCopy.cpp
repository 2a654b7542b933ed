#include "host/ShapeCopy.h"

#include "host/HostError.h"
#include "host/geometry/Geometry.h"
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
    shape->left += static_cast<float>(offset.x());
    shape->top += static_cast<float>(offset.y());
    if (shape->kind != ShapeKind::Connector) { // a connector's box follows its ends when saved
        shape->left = onEmuGrid(shape->left);
        shape->top = onEmuGrid(shape->top);
    }
    shape->begin += offset;
    shape->end += offset;
    target->shapes.push_back(shape);
    markChanged(*target);
    return Shape(shape);
}

} // namespace zov::host
