#include "host/model/Touch.h"

namespace zov::host {

void markChanged(PresentationData& presentation)
{
    ++presentation.revision;
    presentation.saved = false;
}

void markChanged(SlideData& slide)
{
    slide.modified = true;
    if (slide.presentation)
        markChanged(*slide.presentation);
}

void markChanged(ShapeData& shape)
{
    shape.modified = true;
    if (shape.slide)
        markChanged(*shape.slide);
}

} // namespace zov::host
