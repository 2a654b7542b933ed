#pragma once
// A layered layout for graphs too large for Graphviz's dot to lay out in a bounded time: layers
// by the longest path from the sources, each layer ordered by its neighbours' places (a few
// sweeps), boxes side by side. Linear in nodes and arcs per sweep, so thousands of nodes take
// milliseconds; it makes more crossings than dot, which such graphs have anyway.
#include "editor/arrange/LayeredLayout.h"

namespace zov::editor::arrange {

// The same contract as LayOutLayered: centres in points, y down, origin at the layout's
// top-left corner, boxes apart by at least the separations. `sizes` are already clamped.
std::vector<QPointF> LayOutQuickLayers(const std::vector<QSizeF>& sizes, const std::vector<std::pair<int, int>>& edges,
                                       const LayeredLayoutOptions& options);

} // namespace zov::editor::arrange
