#include "cgif/export/FreshLabels.h"

#include "drawing/NameParts.h"
#include "host/HostError.h"

namespace zov::cgif::exporter {

namespace {

bool isLabelChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Labels a text may already define or use: the identifier after every "*" and "?", so that a
// concept typed as "Cat:*c1" keeps "c1" to itself.
void collectLabelsInText(const QString& text, QSet<QString>& used) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('*') && text[i] != QLatin1Char('?'))
            continue;
        qsizetype end = i + 1;
        while (end < text.size() && isLabelChar(text[end]))
            ++end;
        if (end > i + 1)
            used.insert(text.mid(i + 1, end - i - 1));
        i = end - 1;
    }
}

} // namespace

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
                const host::Shape shape = shapes.Item(k);
                used_.insert(drawing::LabelPart(shape.Name()));
                if (shape.HasTextFrame())
                    collectLabelsInText(shape.TextFrame().TextRange().Text(), used_);
            } catch (const host::HostError&) {
                // a shape that cannot report its name or text uses no label
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

QString MadeUpLabels::labelFor(const QString& name, const host::Presentation& presentation) {
    auto it = labels_.find(name);
    if (it == labels_.end()) {
        if (!fresh_)
            fresh_.emplace(presentation);
        it = labels_.insert(name, fresh_->next());
        order_.push_back(it.value());
    }
    return it.value();
}

} // namespace zov::cgif::exporter
