#pragma once
// What a package's own lists decide when slides are added or removed: the layout a new slide is
// based on (in the order the presentation and its master list them) and the count of slides the
// document's properties hold.
#include "host/pptx/Opc.h"
#include "host/pptx/Package.h"

#include <QString>
#include <vector>

namespace zov::host::pptx {

// The layout new slides are made with: of the first master, in the order the presentation and
// the master list them, its blank layout, else one named "Blank", else its first. Throws
// PptxError when the presentation has no layout at all.
QString layoutForNewSlides(const PartSet& parts, const QString& presentationPart, const std::vector<Relationship>& presRels);

// Sets the count of slides in the document's extended properties (docProps/app.xml) to `slides`,
// when they hold one that differs; the rest of the part stays as it is.
void countSlidesInProperties(PartSet& parts, qsizetype slides);

} // namespace zov::host::pptx
