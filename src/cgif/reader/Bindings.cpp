// Coreference lookups over the graph being read (BoundArray) and over the nested graphs that
// have already been handed on (AllBindings), and the binding of a bound label in a concept.
// Each lookup scans as described at its declaration; for large tables the same answer comes
// from the lookup indexes.
#include "cgif/reader/CgifReader.h"

#include <algorithm>

namespace zov::cgif {

namespace {
// The nearest graph node at or before `index`, or -1.
int ScanGraphAtOrBefore(const std::vector<NodeRecord>& table, int index) {
    for (int j = index; j >= 0; --j)
        if (table[static_cast<std::size_t>(j)].Kind == NodeKind::Graph)
            return j;
    return -1;
}

const NodeRecord& At(const std::vector<NodeRecord>& table, int index) {
    return table[static_cast<std::size_t>(index)];
}
} // namespace

void CgifReader::FindCurrentCoreference(const QString& label, int startIndex, NodeRecord& definingNode,
                                        NodeRecord& graphNode) const {
    const auto& nodes = tables_.BoundArray;
    const int start = std::min(startIndex, UpperBound(nodes));
    int found = -1;
    int graph = -1;
    const BoundArrayIndex* index = label.isEmpty() || start < 0 ? nullptr : BoundIndex();
    if (index != nullptr) {
        found = index->LastNamed(label, start);
        if (found >= 0)
            graph = index->GraphAtOrBefore(found);
    } else {
        for (int i = start; i >= 0 && found < 0; --i)
            if (At(nodes, i).Name == label)
                found = i;
        if (found >= 0)
            graph = ScanGraphAtOrBefore(nodes, found);
    }
    if (found < 0)
        throw ParseError(2001, QStringLiteral("Current coreference not found for: ") + label);
    definingNode = At(nodes, found);
    if (graph >= 0)
        graphNode = At(nodes, graph);
}

void CgifReader::FindExternalCoreference(const QString& label, NodeRecord& definingNode,
                                         NodeRecord& graphNode) const {
    const auto& kept = tables_.AllBindings;
    int found = -1;
    int graph = -1;
    const AllBindingsIndex* index = label.isEmpty() ? nullptr : BindingsIndex();
    if (index != nullptr) {
        found = index->LastNamed(label);
        if (found >= 0)
            graph = index->GraphAtOrBefore(found);
    } else {
        for (int i = UpperBound(kept); i >= 0 && found < 0; --i)
            if (At(kept, i).Name == label)
                found = i;
        if (found >= 0)
            graph = ScanGraphAtOrBefore(kept, found);
    }
    if (found >= 0) {
        definingNode = At(kept, found);
        if (graph >= 0) {
            graphNode = At(kept, graph);
            return;
        }
    }
    throw ParseError(2002, QStringLiteral("Graph not found for: ") + label);
}

bool CgifReader::FindNodeById(const QString& id, NodeRecord& node, int& index) const {
    const auto& nodes = tables_.BoundArray;
    int found = -1;
    if (const BoundArrayIndex* ids = id.isEmpty() ? nullptr : BoundIndex(); ids != nullptr) {
        found = ids->FirstWithId(id);
    } else {
        for (int i = 0; i <= UpperBound(nodes) && found < 0; ++i)
            if (At(nodes, i).Id == id)
                found = i;
    }
    if (found < 0) {
        ShowError(QStringLiteral("Link node not in bound array"));
        return false;
    }
    node = At(nodes, found);
    index = found;
    return true;
}

// A bound label read in a concept (the last of a run): first among the nested graphs already
// handed on, where the concept itself is marked coreferent; else among the enclosing graphs,
// below the node of the current graph, where the defining concept is marked coreferent. A label
// found nowhere stays unbound without a message.
bool CgifReader::ResolveBoundLabel(const QString& label) {
    NodeRecord definingNode;
    NodeRecord graphNode;
    try {
        FindExternalCoreference(label, definingNode, graphNode);
        const int last = UpperBound(tables_.BoundArray);
        SetNodeName(last, label);
        SetNodeKind(last, NodeKind::CoreferentConcept);
        return true;
    } catch (const ParseError&) {
        // Not in a nested graph already handed on: look in the enclosing graphs.
    }
    try {
        FindCurrentCoreference(label, TopContext().GraphIndex - 1, definingNode, graphNode);
        NodeRecord found;
        int index = 0;
        FindNodeById(definingNode.Id, found, index);
        SetNodeKind(index, NodeKind::CoreferentConcept);
        SetNodeName(UpperBound(tables_.BoundArray), label);
        return true;
    } catch (const ParseError& failure) {
        if (failure.number() == 2001)
            return true;
        ShowError(failure.message());
        return false;
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()));
        return false;
    }
}

} // namespace zov::cgif
