#pragma once
// The graphs read before the one being read: every top-level graph already read from the same
// file (with the nested graphs it handed on) and, where an import goes into a presentation
// that already has graphs, the graphs on its slides. A coreference label or a graph name that
// the graph being read does not hold is looked up here, so that a graph may refer to a concept
// or a graph of an earlier one, as the editor's coreference between slides does.
#include "cgif/reader/GraphModel.h"

#include <QHash>
#include <QString>
#include <vector>

namespace zov::cgif {

class EarlierGraphs {
public:
    void Clear();
    // Appends the nodes of one graph; a graph node among them starts a graph that the nodes
    // after it belong to (the first node should be one).
    void Add(const std::vector<NodeRecord>& nodes);
    void Add(const NodeRecord& node);
    bool IsEmpty() const { return nodes_.empty(); }

    // The node a label refers to: the graph of that name when there is one, else the last node
    // bearing the label that is not itself a reference (a coreferent concept), else the last
    // node bearing it. `graph` is the graph node the found node belongs to. False when none.
    bool Find(const QString& label, NodeRecord& defining, NodeRecord& graph) const;
    // The graph node of that name; nullptr when no earlier graph has it.
    const NodeRecord* FindGraph(const QString& name) const;

private:
    std::vector<NodeRecord> nodes_;
    std::vector<int> graphOf_;         // per node: index of its graph node, -1 when none
    QHash<QString, int> lastNamed_;    // label -> index of the last node bearing it
    QHash<QString, int> lastDefining_; // the same among nodes that are not coreferent concepts
    QHash<QString, int> graphNamed_;   // graph name -> index of the last graph node of that name
};

} // namespace zov::cgif
