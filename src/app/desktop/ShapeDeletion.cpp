#include "app/desktop/ShapeDeletion.h"

#include "host/Slide.h"

#include <algorithm>
#include <unordered_set>

namespace zov::app {

std::vector<host::Shape> WithGluedConnectors(const std::vector<host::Shape>& shapes)
{
    std::unordered_set<const host::ShapeData*> chosen;
    std::vector<const host::SlideData*> slides;
    for (const host::Shape& shape : shapes) {
        if (!shape.IsAlive())
            continue;
        const host::ShapeData& data = shape.data();
        chosen.insert(&data);
        if (std::find(slides.begin(), slides.end(), data.slide) == slides.end())
            slides.push_back(data.slide);
    }
    const auto gluedToChosen = [&](const host::GlueEnd& end) {
        const auto target = end.shape.lock();
        return end.isGlued() && chosen.count(target.get()) != 0;
    };
    std::vector<host::Shape> result;
    for (const host::SlideData* slide : slides) {
        for (const auto& s : slide->shapes) {
            const bool take = chosen.count(s.get()) != 0 ||
                (s->kind == host::ShapeKind::Connector && (gluedToChosen(s->beginGlue) || gluedToChosen(s->endGlue)));
            if (take)
                result.emplace_back(s);
        }
    }
    return result;
}

// All in one removal: deleting shape by shape would pass over the whole slide once per shape.
int DeleteWithGluedConnectors(const std::vector<host::Shape>& shapes)
{
    std::vector<host::Shape> doomed = WithGluedConnectors(shapes);
    const auto count = static_cast<int>(doomed.size());
    host::ShapeRange(std::move(doomed)).Delete();
    return count;
}

} // namespace zov::app
