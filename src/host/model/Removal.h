#pragma once
// Deleting shapes: they leave their slide, connectors glued to them come loose where they
// stand, and a selection on them is cleared.
#include "host/model/ModelData.h"

#include <memory>
#include <vector>

namespace zov::host {

void removeShapes(const std::vector<std::shared_ptr<ShapeData>>& shapes);

} // namespace zov::host
