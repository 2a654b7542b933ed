#pragma once
// Hash indexes over the reader's node tables, so that the coreference and id lookups of a large
// graph do not scan the whole table each time. They answer exactly what the scans answer (the
// nearest match at or before an index, the first node with an id, the nearest graph node at or
// before a node); the reader keeps them in step with every change it makes to the tables and
// builds them only for tables large enough to be worth it.
#include "cgif/grammar/NameLists.h"
#include "cgif/reader/GraphModel.h"
#include "cgif/reader/IdTable.h"
#include "cgif/reader/RecordNames.h"

#include <QHash>
#include <QString>
#include <vector>

namespace zov::cgif {

// Index over the BoundArray, whose nodes change name and kind while a graph is read and which
// is cut back when a nested graph is handed on.
class BoundArrayIndex {
public:
    bool Built() const { return built_; }
    void Build(const NodeTable& nodes);
    void Clear();

    // Hooks for every change of the table; they do nothing while the index is not built.
    void Appended(const NodeRecord& node, int index);
    void NameChanged(const RecordText& oldName, const RecordText& newName, int index);
    void KindChanged(std::int16_t oldKind, std::int16_t newKind, int index);
    // Called before the table is cut back to `upperBound`.
    void CuttingBack(const NodeTable& nodes, int upperBound);

    // Largest index <= `atOrBefore` whose node has Name `name` (not empty), or -1.
    int LastNamed(QStringView name, int atOrBefore) const;
    // Smallest index whose node has Id `id` (not empty), or -1.
    int FirstWithId(const NodeId& id) const;
    void PrefetchId(const NodeId& id) const { firstById_.Prefetch(id); }
    // True while no two nodes of the table have had the same id: each node is then the first
    // with its id.
    bool IdsUnique() const { return !firstById_.HasRepeats(); }
    // Largest index <= `atOrBefore` whose node is a graph node, or -1.
    int GraphAtOrBefore(int atOrBefore) const;

private:
    bool built_ = false;
    grammar::NameLists<RecordNames> byName_;  // ascending indexes per non-empty name
    IdTable firstById_;                       // non-empty ids
    std::vector<int> graphs_;                 // ascending indexes of graph nodes
};

// Index over AllBindings, which only grows (by copies) until it is emptied.
class AllBindingsIndex {
public:
    bool Built() const { return built_; }
    void Build(const NodeTable& nodes);
    void Clear();
    void Appended(const NodeRecord& node, int index); // no-op while not built

    // Largest index whose node has Name `name` (not empty), or -1.
    int LastNamed(const RecordText& name) const;
    // Largest index <= `index` whose node is a graph node, or -1.
    int GraphAtOrBefore(int index) const;

private:
    bool built_ = false;
    QHash<RecordText, int> lastByName_;
    std::vector<int> nearestGraph_; // per entry
};

} // namespace zov::cgif
