#pragma once
// A pentagon refers to a concept of another slide by that concept's coreference label. Graphs
// imported from one file may each define the same label (every graph its own *x), and a link to
// such a concept gives the pentagon that label; when the pentagon's own slide has a concept of
// that label too, the written text reads back with the pentagon bound to the concept of its own
// slide, not to the one it refers to.
#include "host/Presentation.h"

#include <QString>
#include <optional>

namespace zov::cgif::exporter {

struct LabelClash {
    QString label;    // the coreference label, without "?"
    QString pentagon; // the pentagon's text ("Bird(Cat in S1)")
    QString slide;    // the name of the pentagon's slide
};

// The first such pentagon in slide order, if any.
std::optional<LabelClash> FirstLabelClash(const host::Presentation& presentation);

} // namespace zov::cgif::exporter
