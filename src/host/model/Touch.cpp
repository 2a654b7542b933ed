#include "host/model/Touch.h"

#include <atomic>

namespace zov::host {

namespace {
// One counter for every record of every presentation: a version is never handed out twice, so
// a record and a copy of another record at the same version cannot be mistaken for each other.
std::uint64_t nextVersion()
{
    static std::atomic<std::uint64_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}
} // namespace

void markChanged(PresentationData& presentation)
{
    ++presentation.revision;
    presentation.saved = false;
}

void markChanged(SlideData& slide)
{
    slide.modified = true;
    slide.version = nextVersion();
    if (slide.presentation)
        markChanged(*slide.presentation);
}

void markChanged(ShapeData& shape)
{
    shape.modified = true;
    shape.version = nextVersion();
    if (shape.slide)
        markChanged(*shape.slide);
}

void markRewritten(SlideData& slide)
{
    slide.version = nextVersion();
}

void markRewritten(ShapeData& shape)
{
    shape.version = nextVersion();
    if (shape.slide)
        markRewritten(*shape.slide);
}

} // namespace zov::host
