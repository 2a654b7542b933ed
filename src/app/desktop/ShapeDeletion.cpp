#include "app/desktop/ShapeDeletion.h"

#include "host/HostError.h"

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

int DeleteWithGluedConnectors(const std::vector<host::Shape>& shapes)
{
    int deleted = 0;
    for (host::Shape s : WithGluedConnectors(shapes)) {
        try {
            s.Delete();
            ++deleted;
        } catch (const host::HostError&) {
            // gone already
        }
    }
    return deleted;
}

} // namespace zov::app
