#pragma once
// Change marking: every edit made through a handle marks the record it changed (and its slide)
// as modified, so the writer knows what to rewrite, and bumps the presentation's revision.
#include "host/model/ModelData.h"

namespace zov::host {

void markChanged(PresentationData& presentation);
void markChanged(SlideData& slide);
void markChanged(ShapeData& shape);

} // namespace zov::host
