#pragma once
// The package a new presentation is saved into: the minimal set of parts a presentation needs
// (content types, relationships, presentation, one master with one blank layout, a theme,
// presentation/view properties, table styles and document properties), all written here.
#include "host/pptx/Package.h"

#include <memory>

namespace zov::host::pptx {

// A package without slides whose page size is the given one (points).
std::shared_ptr<Package> makeTemplatePackage(float slideWidth, float slideHeight);

} // namespace zov::host::pptx
