#include "host/model/Lock.h"

#include "host/HostError.h"

namespace zov::host {

std::shared_ptr<ShapeData> lockShape(const std::weak_ptr<ShapeData>& d)
{
    auto shape = d.lock();
    if (!shape)
        throw HostError("Object does not exist: the shape handle is empty or its shape was deleted");
    if (!shape->slide)
        throw HostError("Object does not exist: the shape was deleted");
    if (!shape->slide->presentation)
        throw HostError("Object does not exist: the shape's slide was deleted");
    return shape;
}

std::shared_ptr<SlideData> lockSlide(const std::weak_ptr<SlideData>& d)
{
    auto slide = d.lock();
    if (!slide || !slide->presentation)
        throw HostError("Object does not exist: the slide handle is empty or its slide was deleted");
    return slide;
}

std::shared_ptr<PresentationData> lockPresentation(const std::weak_ptr<PresentationData>& d)
{
    auto presentation = d.lock();
    if (!presentation)
        throw HostError("Object does not exist: the presentation is closed");
    return presentation;
}

// A slide in a presentation has its presentation set, and a slide taken out of one has it
// cleared (deleting, restoring an undo step): the slide's own weak reference then finds its
// owner at once, where a search of the presentation's slides made each call cost every slide.
std::shared_ptr<SlideData> sharedSlide(const SlideData* slide)
{
    if (!slide || !slide->presentation)
        return {};
    return std::const_pointer_cast<SlideData>(slide->weak_from_this().lock());
}

} // namespace zov::host
