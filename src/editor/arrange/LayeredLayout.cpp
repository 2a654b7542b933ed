#include "editor/arrange/LayeredLayout.h"

#include "editor/arrange/QuickLayers.h"

#include <graphviz/gvc.h>
#include <graphviz/gvplugin.h>

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>

// The dot layout engine is linked in and handed to each context as a built-in plugin, so the
// layout does not depend on Graphviz's plugin configuration file being present.
extern "C" {
extern gvplugin_library_t gvplugin_dot_layout_LTX_library;
}

namespace zov::editor::arrange {

namespace {

constexpr double PointsPerInch = 72;
constexpr double MinSize = 1;
constexpr double MaxSize = 10000;
constexpr std::size_t LargeGraphNodes = 500;
constexpr std::size_t QuickLayersNodes = 1000;
constexpr std::size_t QuickLayersEdges = 800;
// Layers crossed by arcs (LayersCrossed): the graphs users draw cross a few dozen at most.
constexpr std::size_t LimitedLayersCrossed = 300;
constexpr std::size_t QuickLayersCrossed = 5000;

double clampedSize(double v) {
    if (!std::isfinite(v))
        return MinSize;
    return std::clamp(v, MinSize, MaxSize);
}

// Inches as Graphviz reads them: locale-independent decimal text.
QByteArray inches(double points) { return QByteArray::number(points / PointsPerInch, 'f', 4); }

// Graphviz takes attribute names and values as non-const char*; it copies them.
char* text(const char* s) { return const_cast<char*>(s); }
char* text(QByteArray& s) { return s.data(); }

// Graphviz reports errors through a process-wide channel. While a layout runs, nothing is
// printed: errors are kept so that the last one can be read back and put into our message.
// The previous reporting level is restored when the layout ends.
class QuietErrors {
public:
    QuietErrors() : previous_(agseterr(AGMAX)) { agreseterrors(); }
    ~QuietErrors() { agseterr(previous_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

    static std::string lastError() {
        char* raw = aglasterr();
        if (raw == nullptr)
            return {};
        std::string message(raw);
        std::free(raw);
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        return message;
    }

private:
    agerrlevel_t previous_;
};

// One Graphviz context, graph and layout, released in reverse order whatever happens.
class Session {
public:
    Session() {
        builtins_[0] = {"gvplugin_dot_layout_LTX_library", &gvplugin_dot_layout_LTX_library};
        builtins_[1] = {nullptr, nullptr};
        context_ = gvContextPlugins(builtins_, 0);
        if (context_ == nullptr)
            throw ArrangeError("Graphviz could not start");
        char name[] = "slide";
        graph_ = agopen(name, Agdirected, nullptr);
        if (graph_ == nullptr) {
            gvFreeContext(context_);
            throw ArrangeError("Graphviz could not make a graph");
        }
    }
    ~Session() {
        if (laidOut_)
            gvFreeLayout(context_, graph_);
        agclose(graph_);
        gvFreeContext(context_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Agraph_t* graph() const { return graph_; }
    int layOut() {
        const int status = gvLayout(context_, graph_, "dot");
        laidOut_ = status == 0;
        return status;
    }

private:
    lt_symlist_t builtins_[2];
    GVC_t* context_ = nullptr;
    Agraph_t* graph_ = nullptr;
    bool laidOut_ = false;
};

} // namespace

std::vector<QPointF> LayOutLayered(const LayeredGraph& graph, const LayeredLayoutOptions& options) {
    const std::size_t count = graph.nodeSizes.size();
    if (count == 0)
        return {};
    if (count > static_cast<std::size_t>(MaxLayeredNodes))
        throw ArrangeError("the graph has " + std::to_string(count) + " nodes; at most " +
                           std::to_string(MaxLayeredNodes) + " can be arranged, so its shapes stay where they are");

    // Beyond this size dot's time runs to minutes (most of it ordering the layers); the quick
    // layers take milliseconds and such graphs overflow a slide either way. So it does for a
    // small graph whose arcs cross many layers (a chain with arcs from its first node to every
    // other): dot bends each such arc through a node of its own in every layer it crosses.
    const std::size_t crossed = count > QuickLayersNodes || graph.edges.size() > QuickLayersEdges
                                    ? 0
                                    : LayersCrossed(static_cast<int>(count), graph.edges);
    if (count > QuickLayersNodes || graph.edges.size() > QuickLayersEdges || crossed > QuickLayersCrossed) {
        std::vector<QSizeF> sizes(count);
        for (std::size_t i = 0; i < count; ++i)
            sizes[i] = QSizeF(std::ceil(clampedSize(graph.nodeSizes[i].width())),
                              std::ceil(clampedSize(graph.nodeSizes[i].height())));
        return LayOutQuickLayers(sizes, graph.edges, options);
    }

    QuietErrors quiet;
    Session session;
    Agraph_t* g = session.graph();

    QByteArray nodeSep = inches(std::max(options.nodeSeparation, 1.0));
    QByteArray rankSep = inches(std::max(options.rankSeparation, 1.0));
    agattr(g, AGRAPH, text("nodesep"), text(nodeSep));
    agattr(g, AGRAPH, text("ranksep"), text(rankSep));
    agattr(g, AGRAPH, text("rankdir"), text(options.direction == RankDirection::LeftToRight ? "LR" : "TB"));
    // Arcs are straight connectors drawn by the host: no edge routing is needed.
    agattr(g, AGRAPH, text("splines"), text(""));
    // Large graphs, and graphs with many bends, get fewer rounds of crossing reduction and of
    // the network simplex, which keeps the time for thousands of nodes or bends to seconds (such
    // graphs overflow a slide anyway).
    if (count > LargeGraphNodes || crossed > LimitedLayersCrossed) {
        agattr(g, AGRAPH, text("mclimit"), text("0.3"));
        agattr(g, AGRAPH, text("nslimit"), text("1"));
        agattr(g, AGRAPH, text("nslimit1"), text("1"));
    }
    agattr(g, AGNODE, text("shape"), text("box"));
    agattr(g, AGNODE, text("fixedsize"), text("true"));
    agattr(g, AGNODE, text("label"), text(""));
    Agsym_t* width = agattr(g, AGNODE, text("width"), text("1"));
    Agsym_t* height = agattr(g, AGNODE, text("height"), text("1"));
    if (width == nullptr || height == nullptr)
        throw ArrangeError("Graphviz could not set node sizes");

    std::vector<Agnode_t*> nodes(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) {
        QByteArray name = "n" + QByteArray::number(static_cast<qulonglong>(i));
        Agnode_t* node = agnode(g, name.data(), 1);
        if (node == nullptr)
            throw ArrangeError("Graphviz could not add a node");
        // Whole points and one spare point each way: dot places nodes on whole points, and the
        // spare keeps rounding from letting two boxes touch.
        QByteArray w = inches(std::ceil(clampedSize(graph.nodeSizes[i].width())) + 1);
        QByteArray h = inches(std::ceil(clampedSize(graph.nodeSizes[i].height())) + 1);
        agxset(node, width, w.data());
        agxset(node, height, h.data());
        nodes[i] = node;
    }
    for (const auto& [from, to] : graph.edges) {
        if (from < 0 || to < 0 || static_cast<std::size_t>(from) >= count || static_cast<std::size_t>(to) >= count)
            continue;
        if (agedge(g, nodes[static_cast<std::size_t>(from)], nodes[static_cast<std::size_t>(to)], nullptr, 1) == nullptr)
            throw ArrangeError("Graphviz could not add an edge");
    }

    if (session.layOut() != 0) {
        const std::string reason = QuietErrors::lastError();
        throw ArrangeError("Graphviz could not lay the graph out" + (reason.empty() ? std::string() : ": " + reason));
    }

    // Graphviz's y axis points up; turn it over and move the layout's corner to the origin.
    std::vector<QPointF> centres(count);
    double minX = 0, maxY = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const pointf p = ND_coord(nodes[i]);
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            throw ArrangeError("Graphviz gave a node no position");
        const QSizeF size(clampedSize(graph.nodeSizes[i].width()), clampedSize(graph.nodeSizes[i].height()));
        const double left = p.x - size.width() / 2;
        const double top = p.y + size.height() / 2;
        if (i == 0 || left < minX)
            minX = left;
        if (i == 0 || top > maxY)
            maxY = top;
        centres[i] = QPointF(p.x, p.y);
    }
    for (QPointF& c : centres)
        c = QPointF(c.x() - minX, maxY - c.y());
    return centres;
}

} // namespace zov::editor::arrange
