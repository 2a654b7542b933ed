// Coreference lookups over the graph being read (BoundArray) and over the nested graphs that
// have already been handed on (AllBindings), and the binding of a bound label in a concept.
#include "cgif/reader/CgifReader.h"

namespace zov::cgif {

namespace {
// The nearest graph node at or before `index`, or -1.
int GraphAtOrBefore(const std::vector<NodeRecord>& table, int index) {
    for (int j = index; j >= 0; --j)
        if (table[static_cast<std::size_t>(j)].Kind == NodeKind::Graph)
            return j;
    return -1;
}
} // namespace

void CgifReader::FindCurrentCoreference(const QString& label, int startIndex, NodeRecord& definingNode,
                                        NodeRecord& graphNode) const {
    const auto& nodes = tables_.BoundArray;
    for (int i = std::min(startIndex, UpperBound(nodes)); i >= 0; --i) {
        if (nodes[static_cast<std::size_t>(i)].Name == label) {
            definingNode = nodes[static_cast<std::size_t>(i)];
            const int graph = GraphAtOrBefore(nodes, i);
            if (graph >= 0)
                graphNode = nodes[static_cast<std::size_t>(graph)];
            return;
        }
    }
    throw ParseError(2001, QStringLiteral("Current coreference not found for: ") + label);
}

void CgifReader::FindExternalCoreference(const QString& label, NodeRecord& definingNode,
                                         NodeRecord& graphNode) const {
    const auto& kept = tables_.AllBindings;
    for (int i = UpperBound(kept); i >= 0; --i) {
        if (kept[static_cast<std::size_t>(i)].Name == label) {
            definingNode = kept[static_cast<std::size_t>(i)];
            const int graph = GraphAtOrBefore(kept, i);
            if (graph < 0)
                break;
            graphNode = kept[static_cast<std::size_t>(graph)];
            return;
        }
    }
    throw ParseError(2002, QStringLiteral("Graph not found for: ") + label);
}

bool CgifReader::FindNodeById(const QString& id, NodeRecord& node, int& index) const {
    const auto& nodes = tables_.BoundArray;
    for (int i = 0; i <= UpperBound(nodes); ++i) {
        if (nodes[static_cast<std::size_t>(i)].Id == id) {
            node = nodes[static_cast<std::size_t>(i)];
            index = i;
            return true;
        }
    }
    ShowError(QStringLiteral("Link node not in bound array"));
    return false;
}

bool CgifReader::ResolveBoundLabel(const QString& label) {
    NodeRecord definingNode;
    NodeRecord graphNode;
    try {
        FindExternalCoreference(label, definingNode, graphNode);
        NodeRecord& last = LastNode();
        last.Name = label;
        last.Kind = NodeKind::CoreferentConcept;
        return true;
    } catch (const ParseError&) {
        // Not in a nested graph already handed on: look in the enclosing graphs.
    }
    try {
        FindCurrentCoreference(label, TopContext().GraphIndex - 1, definingNode, graphNode);
        NodeRecord found;
        int index = 0;
        FindNodeById(definingNode.Id, found, index);
        tables_.BoundArray.at(static_cast<std::size_t>(index)).Kind = NodeKind::CoreferentConcept;
        LastNode().Name = label;
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
