#include "cgif/reader/EarlierGraphs.h"

namespace zov::cgif {

void EarlierGraphs::Clear() {
    nodes_.clear();
    graphOf_.clear();
    lastNamed_.clear();
    lastDefining_.clear();
    graphNamed_.clear();
}

void EarlierGraphs::Add(const std::vector<NodeRecord>& nodes) {
    for (const NodeRecord& node : nodes)
        Add(node);
}

void EarlierGraphs::Add(const NodeRecord& node) {
    const int index = static_cast<int>(nodes_.size());
    const int previousGraph = graphOf_.empty() ? -1 : graphOf_.back();
    nodes_.push_back(node);
    graphOf_.push_back(node.Kind == NodeKind::Graph ? index : previousGraph);
    if (node.Name.isEmpty())
        return;
    lastNamed_.insert(node.Name, index);
    if (node.Kind != NodeKind::CoreferentConcept)
        lastDefining_.insert(node.Name, index);
    if (node.Kind == NodeKind::Graph)
        graphNamed_.insert(node.Name, index);
}

const NodeRecord* EarlierGraphs::FindGraph(const QString& name) const {
    const auto it = graphNamed_.constFind(name);
    return it == graphNamed_.constEnd() ? nullptr : &nodes_[static_cast<std::size_t>(it.value())];
}

bool EarlierGraphs::Find(const QString& label, NodeRecord& defining, NodeRecord& graph) const {
    int index = graphNamed_.value(label, -1);
    if (index < 0)
        index = lastDefining_.value(label, -1);
    if (index < 0)
        index = lastNamed_.value(label, -1);
    if (index < 0)
        return false;
    const auto found = static_cast<std::size_t>(index);
    const int graphIndex = graphOf_[found];
    if (graphIndex < 0)
        return false;
    defining = nodes_[found];
    graph = nodes_[static_cast<std::size_t>(graphIndex)];
    return true;
}

} // namespace zov::cgif
