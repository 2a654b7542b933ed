#include "cgif/export/FreshLabels.h"

#include "drawing/NameParts.h"
#include "host/HostError.h"

namespace zov::cgif::exporter {

void FreshLabels::collectUsed() {
    collected_ = true;
    const host::Slides slides = presentation_.Slides();
    const int slideCount = slides.Count();
    for (int s = 1; s <= slideCount; ++s) {
        const host::Slide slide = slides.Item(s);
        used_.insert(slide.Name());
        const host::Shapes shapes = slide.Shapes();
        const int shapeCount = shapes.Count();
        for (int k = 1; k <= shapeCount; ++k) {
            try {
                used_.insert(drawing::LabelPart(shapes.Item(k).Name()));
            } catch (const host::HostError&) {
                // a shape that cannot report its name uses no label
            }
        }
    }
}

QString FreshLabels::next() {
    if (!collected_)
        collectUsed();
    QString label;
    do {
        label = QStringLiteral("c") + QString::number(++counter_);
    } while (used_.contains(label));
    used_.insert(label);
    return label;
}

} // namespace zov::cgif::exporter
