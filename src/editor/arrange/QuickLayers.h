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

// How many layers the arcs cross beyond their own, summed over the arcs, with the nodes in
// layers by the longest path (a node with only outgoing arcs just above the nearest target):
// about the number of bends dot puts into long arcs, each a node its ordering and placing must
// handle, so a measure of how long dot will take that grows faster than the graph itself.
std::size_t LayersCrossed(int nodes, const std::vector<std::pair<int, int>>& edges);

} // namespace zov::editor::arrange
