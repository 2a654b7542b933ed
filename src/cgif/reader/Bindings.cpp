// Coreference lookups over the graph being read (BoundArray) and over the nested graphs that
// have already been handed on (AllBindings), and what the binding of a bound label in a
// concept records.
// Each lookup scans as described at its declaration; for large tables the same answer comes
// from the lookup indexes.
#include "cgif/reader/CgifReader.h"

#include <algorithm>

namespace zov::cgif {

namespace {
// The nearest graph node at or before `index`, or -1.
int ScanGraphAtOrBefore(const NodeTable& table, int index) {
    for (int j = index; j >= 0; --j)
        if (table[static_cast<std::size_t>(j)].Kind == NodeKind::Graph)
            return j;
    return -1;
}

const NodeRecord& At(const NodeTable& table, int index) {
    return table[static_cast<std::size_t>(index)];
}

// Exact comparison, inline: the scans compare many short texts, often the same one.
bool Same(const RecordText& a, const RecordText& b) {
    const QStringView x = a.View();
    const QStringView y = b.View();
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin());
}
} // namespace

int CgifReader::FindCurrentIndex(const RecordText& label, int startIndex, int& graph) const {
    const auto& nodes = tables_.BoundArray;
    const int start = std::min(startIndex, UpperBound(nodes));
    graph = -1;
    if (start < 0)
        return -1;
    int found = -1;
    if (const BoundArrayIndex* index = label.isEmpty() ? nullptr : BoundIndex(); index != nullptr) {
        found = index->LastNamed(label, start);
        if (found >= 0)
            graph = index->GraphAtOrBefore(found);
    } else {
        for (int i = start; i >= 0 && found < 0; --i)
            if (Same(At(nodes, i).Name, label))
                found = i;
        if (found >= 0)
            graph = ScanGraphAtOrBefore(nodes, found);
    }
    return found;
}

int CgifReader::FindExternalIndex(const RecordText& label, int& graph) const {
    const auto& kept = tables_.AllBindings;
    graph = -1;
    int found = -1;
    if (const AllBindingsIndex* index = label.isEmpty() ? nullptr : BindingsIndex(); index != nullptr) {
        found = index->LastNamed(label);
        if (found >= 0)
            graph = index->GraphAtOrBefore(found);
    } else {
        for (int i = UpperBound(kept); i >= 0 && found < 0; --i)
            if (Same(At(kept, i).Name, label))
                found = i;
        if (found >= 0)
            graph = ScanGraphAtOrBefore(kept, found);
    }
    return found;
}

int CgifReader::IndexOfId(const NodeId& id) const {
    if (const BoundArrayIndex* ids = id.IsEmpty() ? nullptr : BoundIndex(); ids != nullptr)
        return ids->FirstWithId(id);
    const auto& nodes = tables_.BoundArray;
    for (int i = 0; i <= UpperBound(nodes); ++i)
        if (At(nodes, i).Id == id)
            return i;
    return -1;
}

bool CgifReader::IndexedIdsUnique() const {
    const BoundArrayIndex* ids = BoundIndex();
    return ids != nullptr && ids->IdsUnique();
}

std::optional<int> CgifReader::IndexedNodeId(const NodeId& id) const {
    const BoundArrayIndex* ids = id.IsEmpty() ? nullptr : BoundIndex();
    if (ids == nullptr)
        return std::nullopt;
    return ids->FirstWithId(id);
}

void CgifReader::PrefetchNodeId(const NodeId& id) const {
    if (const BoundArrayIndex* ids = BoundIndex(); ids != nullptr)
        ids->PrefetchId(id);
}

bool CgifReader::TryFindCurrentCoreference(const RecordText& label, int startIndex, NodeRecord& definingNode,
                                           NodeRecord& graphNode) const {
    int graph = -1;
    const int found = FindCurrentIndex(label, startIndex, graph);
    if (found < 0)
        return false;
    definingNode = At(tables_.BoundArray, found);
    if (graph >= 0)
        graphNode = At(tables_.BoundArray, graph);
    return true;
}

void CgifReader::FindCurrentCoreference(const RecordText& label, int startIndex, NodeRecord& definingNode,
                                        NodeRecord& graphNode) const {
    if (!TryFindCurrentCoreference(label, startIndex, definingNode, graphNode))
        throw ParseError(2001, QStringLiteral("Current coreference not found for: ") + label.ToString());
}

bool CgifReader::TryFindExternalCoreference(const RecordText& label, NodeRecord& definingNode,
                                            NodeRecord& graphNode) const {
    int graph = -1;
    const int found = FindExternalIndex(label, graph);
    if (found < 0)
        return false;
    definingNode = At(tables_.AllBindings, found);
    if (graph < 0)
        return false;
    graphNode = At(tables_.AllBindings, graph);
    return true;
}

void CgifReader::FindExternalCoreference(const RecordText& label, NodeRecord& definingNode,
                                         NodeRecord& graphNode) const {
    if (!TryFindExternalCoreference(label, definingNode, graphNode))
        throw ParseError(2002, QStringLiteral("Graph not found for: ") + label.ToString());
}

bool CgifReader::FindNodeById(const NodeId& id, NodeRecord& node, int& index) const {
    const int found = IndexOfId(id);
    if (found < 0) {
        ShowError(QStringLiteral("Link node not in bound array"));
        return false;
    }
    node = At(tables_.BoundArray, found);
    index = found;
    return true;
}

// What the grammar's ResolveBoundLabel (cgif/grammar/Graphs.h) records and shows.

// Defined in an earlier graph: the concept refers to it, as a concept the editor joins to one
// on another slide does. Not found there either: the label stays unbound, without a message.
void CgifReader::BindToEarlierGraph(const RecordText& label) {
    NodeRecord earlierNode;
    NodeRecord earlierGraph;
    if (earlier_.Find(label, earlierNode, earlierGraph)) {
        const int last = UpperBound(tables_.BoundArray);
        SetNodeName(last, label);
        SetNodeKind(last, NodeKind::CoreferentConcept);
        earlierReferenceId_ = At(tables_.BoundArray, last).Id;
    } else if (firstUnboundLabel_.isEmpty()) {
        firstUnboundLabel_ = label.ToString();
        // Searched once, for the first such label only: a node of this graph before the
        // concept (the last node) that bears the label.
        int graph = -1;
        const int last = UpperBound(tables_.BoundArray);
        firstUnboundInItsGraph_ = FindCurrentIndex(label, last - 1, graph) >= TopContext().GraphIndex;
    }
}

void CgifReader::NoteBoundLabelTarget(const RecordText& label) {
    if (!firstLabelOffConcept_.isEmpty() || tables_.BoundArray.empty())
        return;
    const std::int16_t kind = tables_.BoundArray.back().Kind;
    if (kind != NodeKind::Concept && kind != NodeKind::CoreferentConcept)
        firstLabelOffConcept_ = label.ToString();
}

void CgifReader::LinkNodeMissing() const { ShowError(QStringLiteral("Link node not in bound array")); }

// In a catch block: the concept is gone when the table it was in is empty.
bool CgifReader::TableGone() {
    try {
        throw;
    } catch (const ParseError&) {
        return true;
    } catch (...) {
        return false;
    }
}

// In a catch block: a failure of a binding is shown, and the binding reports false.
bool CgifReader::BindingFailed() const {
    try {
        throw;
    } catch (const ParseError& failure) {
        ShowError(failure.message());
        return true;
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()));
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace zov::cgif
