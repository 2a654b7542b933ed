#include "host/ShapeCopy.h"

#include "host/HostError.h"
#include "host/model/Touch.h"

namespace zov::host {

Shape AddShapeCopy(const Slide& slide, const ShapeData& source, QPointF offset)
{
    if (source.kind == ShapeKind::Foreign)
        throw HostError("Only shapes drawn by this program's shape types can be copied");
    const std::shared_ptr<SlideData> target = slide.lock();
    auto shape = std::make_shared<ShapeData>(source);
    shape->slide = target.get();
    shape->beginGlue = {};
    shape->endGlue = {};
    shape->gluedConnectors.clear();
    shape->gluedConnectorsTidied = 0;
    shape->fileId = 0;
    shape->sourceXml.clear();
    shape->modified = true;
    shape->left += static_cast<float>(offset.x());
    shape->top += static_cast<float>(offset.y());
    shape->begin += offset;
    shape->end += offset;
    target->shapes.push_back(shape);
    markChanged(*target);
    return Shape(shape);
}

} // namespace zov::host
