#include "cgif/reader/LookupIndex.h"
#include "cgif/grammar/SortedIndexes.h"

namespace zov::cgif {

using grammar::EraseSorted;
using grammar::InsertSorted;
using grammar::LastAtOrBefore;

// --- BoundArrayIndex -------------------------------------------------------------------------

void BoundArrayIndex::Build(const NodeTable& nodes) {
    Clear();
    built_ = true;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
        Appended(nodes[static_cast<std::size_t>(i)], i);
}

// An index that is not built holds nothing: the reader clears its indexes for every graph, and
// most graphs are too small to build one.
void BoundArrayIndex::Clear() {
    if (!built_)
        return;
    built_ = false;
    byName_.Clear();
    firstById_.Clear();
    graphs_.clear();
}

void BoundArrayIndex::Appended(const NodeRecord& node, int index) {
    if (!built_)
        return;
    if (!node.Name.isEmpty())
        byName_.Add(node.Name, index);
    if (!node.Id.IsEmpty())
        firstById_.Add(node.Id, index);
    if (node.Kind == NodeKind::Graph)
        InsertSorted(graphs_, index);
}

void BoundArrayIndex::NameChanged(const RecordText& oldName, const RecordText& newName, int index) {
    if (!built_ || oldName == newName)
        return;
    if (!oldName.isEmpty())
        byName_.Remove(oldName, index);
    if (!newName.isEmpty())
        byName_.Add(newName, index);
}

void BoundArrayIndex::KindChanged(std::int16_t oldKind, std::int16_t newKind, int index) {
    if (!built_ || (oldKind == NodeKind::Graph) == (newKind == NodeKind::Graph))
        return;
    if (newKind == NodeKind::Graph)
        InsertSorted(graphs_, index);
    else
        EraseSorted(graphs_, index);
}

void BoundArrayIndex::CuttingBack(const NodeTable& nodes, int upperBound) {
    if (!built_)
        return;
    for (int i = static_cast<int>(nodes.size()) - 1; i > upperBound && i >= 0; --i) {
        const NodeRecord& node = nodes[static_cast<std::size_t>(i)];
        if (!node.Name.isEmpty())
            byName_.Remove(node.Name, i);
        // A cut removes a tail, so a removed first occurrence leaves no other behind.
        if (!node.Id.IsEmpty())
            firstById_.Remove(node.Id, i);
    }
    while (!graphs_.empty() && graphs_.back() > upperBound)
        graphs_.pop_back();
}

int BoundArrayIndex::LastNamed(QStringView name, int atOrBefore) const {
    return byName_.LastAtOrBefore(name, atOrBefore);
}

int BoundArrayIndex::FirstWithId(const NodeId& id) const { return firstById_.Find(id); }

int BoundArrayIndex::GraphAtOrBefore(int atOrBefore) const { return LastAtOrBefore(graphs_, atOrBefore); }

// --- AllBindingsIndex ------------------------------------------------------------------------

void AllBindingsIndex::Build(const NodeTable& nodes) {
    Clear();
    built_ = true;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
        Appended(nodes[static_cast<std::size_t>(i)], i);
}

void AllBindingsIndex::Clear() {
    if (!built_)
        return;
    built_ = false;
    lastByName_.clear();
    nearestGraph_.clear();
}

void AllBindingsIndex::Appended(const NodeRecord& node, int index) {
    if (!built_)
        return;
    if (!node.Name.isEmpty())
        lastByName_.insert(node.Name, index);
    const int previous = nearestGraph_.empty() ? -1 : nearestGraph_.back();
    nearestGraph_.push_back(node.Kind == NodeKind::Graph ? index : previous);
}

int AllBindingsIndex::LastNamed(const RecordText& name) const { return lastByName_.value(name, -1); }

int AllBindingsIndex::GraphAtOrBefore(int index) const {
    if (index < 0 || index >= static_cast<int>(nearestGraph_.size()))
        return -1;
    return nearestGraph_[static_cast<std::size_t>(index)];
}

} // namespace zov::cgif
