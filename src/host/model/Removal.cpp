#include "host/model/Removal.h"

#include "host/DocumentWindow.h"
#include "host/model/Touch.h"

#include <algorithm>
#include <unordered_set>

namespace zov::host {

namespace {

void loosenIfGone(GlueEnd& end, const std::unordered_set<const ShapeData*>& gone, ShapeData& connector)
{
    if (end.site <= 0)
        return;
    const auto target = end.shape.lock();
    if (target && gone.count(target.get()) == 0)
        return;
    end.shape.reset();
    end.site = 0;
    markChanged(connector);
}

void removeFromSlide(SlideData& slide, const std::unordered_set<const ShapeData*>& gone)
{
    auto& shapes = slide.shapes;
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(),
                                [&](const std::shared_ptr<ShapeData>& s) { return gone.count(s.get()) != 0; }),
                 shapes.end());
    for (const auto& s : shapes) {
        if (s->kind != ShapeKind::Connector)
            continue;
        loosenIfGone(s->beginGlue, gone, *s);
        loosenIfGone(s->endGlue, gone, *s);
    }
    markChanged(slide);
    if (slide.presentation) {
        if (auto window = slide.presentation->window.lock()) {
            const auto selected = window->selectedShape.lock();
            if (selected && gone.count(selected.get()) != 0)
                window->selectedShape.reset();
        }
    }
}

} // namespace

void removeShapes(const std::vector<std::shared_ptr<ShapeData>>& shapes)
{
    std::unordered_set<const ShapeData*> gone;
    std::vector<SlideData*> slides;
    for (const auto& s : shapes) {
        if (!s || !s->slide)
            continue;
        gone.insert(s.get());
        if (std::find(slides.begin(), slides.end(), s->slide) == slides.end())
            slides.push_back(s->slide);
    }
    for (SlideData* slide : slides)
        removeFromSlide(*slide, gone);
    for (const auto& s : shapes)
        if (s && gone.count(s.get()))
            s->slide = nullptr;
}

} // namespace zov::host
