#pragma once
// Deleting shapes as the desktop's commands do (Delete, Cut): a connector glued to a deleted
// shape goes with it, so that no arc is left pointing at nothing (a loose arc would stop the
// Export). The caller records the whole deletion as one undo step.
#include "host/Shape.h"

#include <vector>

namespace zov::app {

// The shapes and every connector glued at either end to one of them, each once, in slide order.
std::vector<host::Shape> WithGluedConnectors(const std::vector<host::Shape>& shapes);

// Deletes the shapes with their glued connectors; shapes already gone are passed over.
// Returns the number of shapes deleted.
int DeleteWithGluedConnectors(const std::vector<host::Shape>& shapes);

} // namespace zov::app
