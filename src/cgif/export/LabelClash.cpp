#include "cgif/export/LabelClash.h"

#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"

#include <QSet>

namespace zov::cgif::exporter {

namespace {
// The slide a pentagon's text names as the one its concept is on: "Bird(Cat in S1)" gives
// "S1"; nothing for a text without that form.
QString ReferredSlide(const QString& text) {
    if (!text.endsWith(u')'))
        return QString();
    const qsizetype open = text.lastIndexOf(u'(');
    const qsizetype in = text.lastIndexOf(QLatin1String(" in "));
    if (open < 0 || in < open)
        return QString();
    return text.mid(in + 4, text.size() - in - 5);
}
} // namespace

std::optional<LabelClash> FirstLabelClash(const host::Presentation& presentation) {
    const host::Slides slides = presentation.Slides();
    for (int i = 1; i <= slides.Count(); ++i) {
        const host::Slide slide = slides.Item(i);
        const host::Shapes shapes = slide.Shapes();
        QSet<QString> defined;
        for (int j = 1; j <= shapes.Count(); ++j) {
            const host::Shape shape = shapes.Item(j);
            if (shape.AutoShapeType() == drawing::ConceptShapeType)
                if (const QString label = drawing::LabelPart(shape.Name()); !label.isEmpty())
                    defined.insert(label);
        }
        if (defined.isEmpty())
            continue;
        for (int j = 1; j <= shapes.Count(); ++j) {
            const host::Shape shape = shapes.Item(j);
            if (shape.AutoShapeType() != drawing::CoreferentConceptShapeType || !shape.HasTextFrame())
                continue;
            const QString label = drawing::LabelPart(shape.Name());
            if (label.isEmpty() || !defined.contains(label))
                continue;
            const QString text = shape.TextFrame().TextRange().Text();
            const QString referred = ReferredSlide(text);
            if (!referred.isEmpty() && referred != slide.Name())
                return LabelClash{label, text, slide.Name()};
        }
    }
    return std::nullopt;
}

} // namespace zov::cgif::exporter
