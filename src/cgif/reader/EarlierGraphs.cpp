#include "cgif/reader/EarlierGraphs.h"

namespace zov::cgif {

void EarlierGraphs::Clear() {
    nodes_.clear();
    next_ = 0;
    graph_ = 0;
    hasGraph_ = false;
    lastNamed_.clear();
    lastDefining_.clear();
    graphNamed_.clear();
}

void EarlierGraphs::Add(const std::vector<NodeRecord>& nodes) {
    for (const NodeRecord& node : nodes)
        Add(node);
}

void EarlierGraphs::Add(const NodeRecord& node) {
    // A node without a name is never found, and starts no graph.
    if (node.Kind == NodeKind::Graph || !node.Name.isEmpty())
        nodes_.push_back(KeptNode{node.Name, node.Type, node.Kind});
}

NodeRecord EarlierGraphs::Record(const KeptNode& node) {
    NodeRecord record;
    record.Name = node.Name;
    record.Type = node.Type;
    record.Kind = node.Kind;
    return record;
}

void EarlierGraphs::IndexNewNodes() const {
    for (; next_ < nodes_.size(); ++next_) {
        const KeptNode& node = nodes_[next_];
        if (node.Kind == NodeKind::Graph) {
            graph_ = next_;
            hasGraph_ = true;
        }
        if (node.Name.isEmpty())
            continue;
        const Entry entry{next_, graph_, hasGraph_};
        lastNamed_.insert(node.Name, entry);
        if (node.Kind != NodeKind::CoreferentConcept)
            lastDefining_.insert(node.Name, entry);
        if (node.Kind == NodeKind::Graph)
            graphNamed_.insert(node.Name, entry);
    }
}

const NodeRecord* EarlierGraphs::FindGraph(const QString& name) const {
    IndexNewNodes();
    const auto it = graphNamed_.constFind(name);
    if (it == graphNamed_.constEnd())
        return nullptr;
    found_ = Record(nodes_[it.value().Node]);
    return &found_;
}

bool EarlierGraphs::Find(const QString& label, NodeRecord& defining, NodeRecord& graph) const {
    IndexNewNodes();
    const Entry* entry = nullptr;
    for (const QHash<QString, Entry>* table : {&graphNamed_, &lastDefining_, &lastNamed_}) {
        const auto it = table->constFind(label);
        if (it != table->constEnd()) {
            entry = &it.value();
            break;
        }
    }
    if (entry == nullptr || !entry->HasGraph)
        return false;
    defining = Record(nodes_[entry->Node]);
    graph = Record(nodes_[entry->Graph]);
    return true;
}

} // namespace zov::cgif
