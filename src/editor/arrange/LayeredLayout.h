#pragma once
// A layered ("dot") layout of a directed graph whose nodes are boxes of given sizes, computed by
// Graphviz through libgvc. Every call makes and frees its own Graphviz context; nothing of
// Graphviz outlives the call.
#include <QPointF>
#include <QSizeF>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zov::editor::arrange {

// A failure of the layout engine, or a graph it is not given. The message says what failed
// and is meant for the user.
class ArrangeError : public std::runtime_error {
public:
    explicit ArrangeError(const std::string& what) : std::runtime_error(what) {}
};

struct LayeredGraph {
    std::vector<QSizeF> nodeSizes;               // points
    std::vector<std::pair<int, int>> edges;      // node indexes, from -> to
};

enum class RankDirection { TopToBottom, LeftToRight };

struct LayeredLayoutOptions {
    RankDirection direction = RankDirection::TopToBottom;
    double nodeSeparation = 8;  // points between neighbours in one rank
    double rankSeparation = 20; // points between ranks
};

// Graphs with more nodes are refused (ArrangeError). Beyond a thousand nodes the quick layers lay
// a graph out in linear time, but fitting a layout of many parts into the slide grows faster
// (a quarter of a second at 10,000 nodes), and an interactive command should not take longer.
constexpr int MaxLayeredNodes = 10000;

// The centre of every node, in points, y growing downwards, origin at the top-left corner of
// the layout's bounding box. Node boxes never overlap and keep at least the separations apart.
// Sizes are clamped to [1, 10000] points (anything not finite becomes 1). Edges naming a node
// out of range are ignored. Raises ArrangeError when Graphviz fails.
std::vector<QPointF> LayOutLayered(const LayeredGraph& graph, const LayeredLayoutOptions& options = {});

} // namespace zov::editor::arrange
