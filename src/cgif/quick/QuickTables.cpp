// The quick checker's tables: node records, coreference lookups, graph nodes and titles, and
// what the checking builder looks up when it takes a graph.
#include "cgif/quick/QuickReader.h"

#include "cgif/grammar/GraphTitle.h"

#include <algorithm>

namespace zov::cgif::quick {

namespace {
// The slide name of a graph named `name`: the label part of "name/id", which ends at the first "/".
NodeName SlideNameOf(const char* input, NodeName name) {
    if (name.IsGenerated())
        return name;
    std::uint32_t length = 0;
    while (length < name.Size && input[name.At + length] != '/')
        ++length;
    name.Size = length;
    return name;
}
} // namespace

QuickReader::QuickReader(char* text, std::size_t size, std::size_t start)
    : text_(text), size_(static_cast<std::ptrdiff_t>(size)), next_(static_cast<std::ptrdiff_t>(start)),
      lineBegin_(next_), lineEnd_(next_), slideNames_(text, size / 256), stepsLeft_(16 * size + 65536) {
    pos_ = next_;
    // One large graph can hold a node for every few bytes. Reserving address space costs
    // nothing until it is used, and spares the copies of growing by doubling.
    bound_.reserve(size / 8 + 64);
    links_.reserve(size / 16 + 64);
    contexts_.push_back(Context{});
}

QuickReader::Context& QuickReader::TopContext() {
    if (contexts_.empty())
        throw Unsure{};
    return contexts_.back();
}

void QuickReader::SetNodeName(int index, NodeName name) {
    if (index < 0 || index > Upper())
        throw Unsure{};
    Node& node = bound_[static_cast<std::size_t>(index)];
    names_.Remove(node.Name, index);
    node.Name = name;
    names_.Add(name, index);
}

void QuickReader::CutBoundTable(int upperBound) {
    for (int i = Upper(); i > upperBound && i >= 0; --i)
        names_.Remove(bound_[static_cast<std::size_t>(i)].Name, i);
    grammar::CutBack(bound_, upperBound);
}

void QuickReader::SetNodeKind(int index, Kind kind) {
    if (index < 0 || index > Upper())
        throw Unsure{};
    bound_[static_cast<std::size_t>(index)].NodeKind = kind;
}

void QuickReader::Spend(std::size_t steps) {
    if (steps > stepsLeft_)
        throw Unsure{};
    stepsLeft_ -= steps;
}

int QuickReader::FindCurrentIndex(const NodeName& label, int startIndex) {
    const int start = std::min(startIndex, Upper());
    if (!label.Empty() && (names_.Built() || bound_.size() > IndexFrom)) {
        // The index leaves generated graph names out.
        if (input_.SpellsGenerated(label))
            throw Unsure{};
        if (!names_.Built())
            names_.Build(bound_);
        Spend(1);
        return start < 0 ? -1 : names_.LastAtOrBefore(label, start);
    }
    int i = start;
    while (i >= 0 && !input_.Same(bound_[static_cast<std::size_t>(i)].Name, label))
        --i;
    Spend(static_cast<std::size_t>(start - i) + 1);
    return i;
}

int QuickReader::GraphAtOrBefore(const Table<Node>& table, int index) {
    int j = index;
    while (j >= 0 && table[static_cast<std::size_t>(j)].NodeKind != Graph)
        --j;
    Spend(static_cast<std::size_t>(index - j) + 1);
    return j;
}

int QuickReader::FindExternalIndex(const NodeName& label, int& graph) {
    const int upper = static_cast<int>(all_.size()) - 1;
    int i = upper;
    while (i >= 0 && !input_.Same(all_[static_cast<std::size_t>(i)].Name, label))
        --i;
    Spend(static_cast<std::size_t>(upper - i) + 1);
    graph = i >= 0 ? GraphAtOrBefore(all_, i) : -1;
    return i;
}

// Every node of the table has its own id, given in increasing order (orphan labels, which
// would have none, are left to the full reader), so the ids are sorted.
int QuickReader::IndexOfId(std::uint32_t id) const {
    // Most graphs hold a run of consecutive ids: try the place the id would have in that run.
    if (!bound_.empty() && id >= bound_.front().Id) {
        const std::size_t guess = id - bound_.front().Id;
        if (guess < bound_.size() && bound_[guess].Id == id)
            return static_cast<int>(guess);
    }
    const auto found = std::lower_bound(bound_.begin(), bound_.end(), id,
                                        [](const Node& node, std::uint32_t value) { return node.Id < value; });
    return found != bound_.end() && found->Id == id ? static_cast<int>(found - bound_.begin()) : -1;
}

void QuickReader::AddGraphNode(NodeName name) {
    if (name.Empty()) {
        name = NodeName::Generated(graphCounter_);
        while (SlideNameInUse(name))
            name = NodeName::Generated(++graphCounter_);
    }
    AddNode(name, NewNodeId(), Graph);
    graphTitleName_ = name;
    ++graphCounter_;
}

// "type*name": the name is what follows the first "*". Without "*" the name is the palette
// text, which a checking run does not have.
void QuickReader::SplitGraphTitle(std::string_view title) {
    const grammar::TitleParts parts =
        grammar::SplitGraphTitle<ByteText>(title.data(), static_cast<std::ptrdiff_t>(title.size()));
    if (!parts.Typed) {
        graphTitleName_ = {};
        return;
    }
    graphTitleName_ = NodeName::Of(text_, title.substr(static_cast<std::size_t>(parts.Name.Begin),
                                                static_cast<std::size_t>(parts.Name.Size)));
    slideNames_.Prefetch(SlideNameOf(text_, graphTitleName_));
}

// What the checking builder does with a graph: take the graph's slide name (a name in use is
// refused, with a message) and find both ends of every link, looking up the defining concept
// of each coreferent concept met there.
void QuickReader::BuildGraph(int firstLinkIndex, int graphIndex) {
    const NodeName slideName = SlideNameOf(text_, bound_[static_cast<std::size_t>(graphIndex)].Name);
    if (slideName.Empty())
        throw Unsure{}; // "A slide name cannot be empty": a title whose name starts with "/"
    if (!slideNames_.Insert(slideName))
        throw Unsure{}; // "Slide name is already in use"
    ++buildNumber_;
    // The builder first looks among the ends it has found in this build, which are all nodes of
    // the table (it does not change while a graph is built): a mark on the node does the same.
    auto drawEnd = [this](std::uint32_t id) {
        const int index = IndexOfId(id);
        if (index < 0)
            throw Unsure{}; // "Link node not in bound array"
        Node& node = bound_[static_cast<std::size_t>(index)];
        if (node.DrawnInBuild == buildNumber_)
            return;
        if (node.NodeKind == CoreferentConcept && FindCurrentIndex(node.Name, index - 1) < 0) {
            int graph = -1;
            if (FindExternalIndex(node.Name, graph) < 0 || graph < 0)
                throw Unsure{}; // "Graph not found for: "
        }
        if (node.NodeKind != Comment)
            node.DrawnInBuild = buildNumber_;
    };
    Spend(links_.size() - static_cast<std::size_t>(firstLinkIndex));
    drewAnArc_ = drewAnArc_ || static_cast<std::size_t>(firstLinkIndex) < links_.size();
    for (std::size_t i = static_cast<std::size_t>(firstLinkIndex); i < links_.size(); ++i) {
        drawEnd(links_[i].From);
        drawEnd(links_[i].To);
    }
}

} // namespace zov::cgif::quick
