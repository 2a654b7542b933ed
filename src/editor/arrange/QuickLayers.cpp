#include "editor/arrange/QuickLayers.h"

#include <algorithm>
#include <cstdlib>

namespace zov::editor::arrange {

namespace {

constexpr int Sweeps = 4;

// A depth-first order whose reverse puts every arc's source before its target, except for the
// arcs that close a cycle: those count as turned round.
std::vector<int> topologicalRank(int n, const std::vector<std::vector<int>>& out) {
    std::vector<int> rank(static_cast<std::size_t>(n), -1), postOrder;
    std::vector<char> seen(static_cast<std::size_t>(n), 0);
    postOrder.reserve(static_cast<std::size_t>(n));
    std::vector<std::pair<int, std::size_t>> stack;
    for (int root = 0; root < n; ++root) {
        if (seen[static_cast<std::size_t>(root)])
            continue;
        seen[static_cast<std::size_t>(root)] = 1;
        stack.push_back({root, 0});
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const std::vector<int>& targets = out[static_cast<std::size_t>(node)];
            if (next < targets.size()) {
                const int target = targets[next++];
                if (!seen[static_cast<std::size_t>(target)]) {
                    seen[static_cast<std::size_t>(target)] = 1;
                    stack.push_back({target, 0});
                }
                continue;
            }
            postOrder.push_back(node);
            stack.pop_back();
        }
    }
    for (int i = 0; i < n; ++i)
        rank[static_cast<std::size_t>(postOrder[static_cast<std::size_t>(n - 1 - i)])] = i;
    return rank;
}

// The arcs between distinct nodes of the graph, by source.
std::vector<std::vector<int>> arcsOut(int n, const std::vector<std::pair<int, int>>& edges) {
    std::vector<std::vector<int>> out(static_cast<std::size_t>(n));
    for (const auto& [from, to] : edges)
        if (from >= 0 && to >= 0 && from < n && to < n && from != to)
            out[static_cast<std::size_t>(from)].push_back(to);
    return out;
}

struct Layering {
    std::vector<int> byRank; // the nodes in topological order
    std::vector<int> layer;  // each node's layer
};

// Layers by the longest path from the sources; arcs that close a cycle set no layer.
Layering longestPathLayers(int n, const std::vector<std::vector<int>>& out) {
    const std::vector<int> rank = topologicalRank(n, out);
    Layering layering{std::vector<int>(static_cast<std::size_t>(n)), std::vector<int>(static_cast<std::size_t>(n), 0)};
    for (int v = 0; v < n; ++v)
        layering.byRank[static_cast<std::size_t>(rank[static_cast<std::size_t>(v)])] = v;
    std::vector<int>& layer = layering.layer;
    for (int v : layering.byRank)
        for (int w : out[static_cast<std::size_t>(v)])
            if (rank[static_cast<std::size_t>(v)] < rank[static_cast<std::size_t>(w)])
                layer[static_cast<std::size_t>(w)] = std::max(layer[static_cast<std::size_t>(w)], layer[static_cast<std::size_t>(v)] + 1);
    return layering;
}

} // namespace

std::size_t LayersCrossed(int nodes, const std::vector<std::pair<int, int>>& edges) {
    const std::vector<std::vector<int>> out = arcsOut(nodes, edges);
    Layering layering = longestPathLayers(nodes, out);
    std::vector<int>& layer = layering.layer;
    // A node whose arcs all go down sits just above the nearest of their targets, as dot's
    // ranking would put it, rather than in the top layer.
    std::vector<char> hasIn(static_cast<std::size_t>(nodes), 0);
    for (int v = 0; v < nodes; ++v)
        for (int w : out[static_cast<std::size_t>(v)])
            hasIn[static_cast<std::size_t>(w)] = 1;
    for (auto it = layering.byRank.rbegin(); it != layering.byRank.rend(); ++it) {
        const auto v = static_cast<std::size_t>(*it);
        if (hasIn[v] || out[v].empty())
            continue;
        int nearest = layer[static_cast<std::size_t>(out[v].front())];
        for (int w : out[v])
            nearest = std::min(nearest, layer[static_cast<std::size_t>(w)]);
        layer[v] = std::max(layer[v], nearest - 1);
    }
    std::size_t crossed = 0;
    for (int v = 0; v < nodes; ++v)
        for (int w : out[static_cast<std::size_t>(v)]) {
            const int span = std::abs(layer[static_cast<std::size_t>(w)] - layer[static_cast<std::size_t>(v)]);
            if (span > 1)
                crossed += static_cast<std::size_t>(span - 1);
        }
    return crossed;
}

std::vector<QPointF> LayOutQuickLayers(const std::vector<QSizeF>& sizes, const std::vector<std::pair<int, int>>& edges,
                                       const LayeredLayoutOptions& options) {
    const int n = static_cast<int>(sizes.size());
    const std::vector<std::vector<int>> out = arcsOut(n, edges);
    std::vector<std::vector<int>> neighbours(static_cast<std::size_t>(n));
    for (const auto& [from, to] : edges) {
        if (from < 0 || to < 0 || from >= n || to >= n || from == to)
            continue;
        neighbours[static_cast<std::size_t>(from)].push_back(to);
        neighbours[static_cast<std::size_t>(to)].push_back(from);
    }
    const Layering layering = longestPathLayers(n, out);
    const std::vector<int>& byRank = layering.byRank;
    const std::vector<int>& layer = layering.layer;
    const int layerCount = n == 0 ? 0 : *std::max_element(layer.begin(), layer.end()) + 1;
    std::vector<std::vector<int>> layers(static_cast<std::size_t>(layerCount));
    for (int v : byRank)
        layers[static_cast<std::size_t>(layer[static_cast<std::size_t>(v)])].push_back(v);

    // Each node's place in its layer, as a fraction, so that layers of any length compare.
    std::vector<double> place(static_cast<std::size_t>(n), 0);
    const auto notePlaces = [&](const std::vector<int>& nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            place[static_cast<std::size_t>(nodes[i])] = (i + 0.5) / static_cast<double>(nodes.size());
    };
    for (const auto& nodes : layers)
        notePlaces(nodes);
    std::vector<double> key(static_cast<std::size_t>(n), 0);
    for (int sweep = 0; sweep < Sweeps; ++sweep) {
        const bool down = sweep % 2 == 0;
        for (int step = 1; step < layerCount; ++step) {
            const int l = down ? step : layerCount - 1 - step;
            std::vector<int>& nodes = layers[static_cast<std::size_t>(l)];
            for (int v : nodes) {
                double sum = 0;
                int count = 0;
                for (int w : neighbours[static_cast<std::size_t>(v)]) {
                    const int lw = layer[static_cast<std::size_t>(w)];
                    if (down ? lw < l : lw > l) {
                        sum += place[static_cast<std::size_t>(w)];
                        ++count;
                    }
                }
                key[static_cast<std::size_t>(v)] = count > 0 ? sum / count : place[static_cast<std::size_t>(v)];
            }
            std::stable_sort(nodes.begin(), nodes.end(),
                             [&key](int a, int b) { return key[static_cast<std::size_t>(a)] < key[static_cast<std::size_t>(b)]; });
            notePlaces(nodes);
        }
    }

    // Boxes side by side along each layer, layers one after the other, each layer centred on
    // the longest.
    const bool across = options.direction == RankDirection::LeftToRight;
    const auto along = [across](const QSizeF& s) { return across ? s.height() : s.width(); };
    const auto deep = [across](const QSizeF& s) { return across ? s.width() : s.height(); };
    const double nodeGap = std::max(options.nodeSeparation, 1.0) + 1, rankGap = std::max(options.rankSeparation, 1.0) + 1;
    std::vector<double> length(static_cast<std::size_t>(layerCount), 0), depth(static_cast<std::size_t>(layerCount), 0);
    for (int l = 0; l < layerCount; ++l) {
        for (int v : layers[static_cast<std::size_t>(l)]) {
            length[static_cast<std::size_t>(l)] += along(sizes[static_cast<std::size_t>(v)]) + nodeGap;
            depth[static_cast<std::size_t>(l)] = std::max(depth[static_cast<std::size_t>(l)], deep(sizes[static_cast<std::size_t>(v)]));
        }
    }
    const double longest = layerCount == 0 ? 0 : *std::max_element(length.begin(), length.end());
    std::vector<QPointF> centres(static_cast<std::size_t>(n));
    double layerStart = 0;
    for (int l = 0; l < layerCount; ++l) {
        double at = (longest - length[static_cast<std::size_t>(l)]) / 2;
        const double middle = layerStart + depth[static_cast<std::size_t>(l)] / 2;
        for (int v : layers[static_cast<std::size_t>(l)]) {
            const double size = along(sizes[static_cast<std::size_t>(v)]);
            const double centre = at + size / 2;
            centres[static_cast<std::size_t>(v)] = across ? QPointF(middle, centre) : QPointF(centre, middle);
            at += size + nodeGap;
        }
        layerStart += depth[static_cast<std::size_t>(l)] + rankGap;
    }
    return centres;
}

} // namespace zov::editor::arrange
