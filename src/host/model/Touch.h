#pragma once
// Change marking: every edit made through a handle marks the record it changed (and its slide)
// as modified, so the writer knows what to rewrite, bumps the presentation's revision, and
// moves the record's version on.
#include "host/model/ModelData.h"

namespace zov::host {

void markChanged(PresentationData& presentation);
void markChanged(SlideData& slide);
void markChanged(ShapeData& shape);

// A write that is not an edit (what a save adopts, a shape's list of glued connectors): the
// record's version moves on (and its slide's), but it is not marked modified and the revision
// stays. Every write to a slide or shape record goes through one of these or markChanged.
void markRewritten(SlideData& slide);
void markRewritten(ShapeData& shape);

} // namespace zov::host
