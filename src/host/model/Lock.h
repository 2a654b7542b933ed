#pragma once
// Turning a handle's weak reference into the record, or a HostError when there is none.
#include "host/model/ModelData.h"

#include <memory>

namespace zov::host {

// The shape, or HostError when the handle is empty or the shape was deleted.
std::shared_ptr<ShapeData> lockShape(const std::weak_ptr<ShapeData>& d);
// The slide, or HostError when the handle is empty or the slide was deleted.
std::shared_ptr<SlideData> lockSlide(const std::weak_ptr<SlideData>& d);
std::shared_ptr<PresentationData> lockPresentation(const std::weak_ptr<PresentationData>& d);
// The owning pointer of a slide that belongs to a presentation; empty when it belongs to none.
std::shared_ptr<SlideData> sharedSlide(const SlideData* slide);

} // namespace zov::host
