#pragma once
// The graphs read before the one being read: every top-level graph already read from the same
// file (with the nested graphs it handed on) and, where an import goes into a presentation
// that already has graphs, the graphs on its slides. A coreference label or a graph name that
// the graph being read does not hold is looked up here, so that a graph may refer to a concept
// or a graph of an earlier one, as the editor's coreference between slides does.
//
// Lookups are rare (only labels the graph being read does not hold), so only the nodes a
// lookup can find (graph nodes and named nodes) are kept, their texts copied into a pool of
// this table's own (a file of many small graphs adds a few nodes per graph, and copying them
// costs no allocation of their own), and indexed when a lookup first needs them. A file whose
// graphs all refer to an earlier one looks up a label per reference: the index is one flat
// table of names, and the texts of a node found are cut from a pool, not allocated one by one.
#include "cgif/reader/GraphModel.h"
#include "cgif/reader/RecordText.h"
#include "memory/HashSlots.h"
#include "memory/LargeMemory.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

namespace zov::cgif {

class EarlierGraphs {
public:
    void Clear();
    // Adds the nodes of one graph; a graph node among them starts a graph that the nodes after
    // it belong to (the first node should be one).
    void Add(const NodeTable& nodes);
    void Add(const NodeRecord& node);
    // Adds the nodes of a top-level graph as read (its BoundArray): all of them are drawn on its
    // slide, so only the first starts a graph; a graph node after it (the empty graph a
    // referent's descriptor appends, a graph reference, a context drawn on the same slide) is
    // found by its name but is not the graph of the nodes after it.
    void AddTopLevelGraph(const NodeTable& nodes);
    bool IsEmpty() const { return nodes_.empty(); }

    // The node a label refers to: the graph of that name when there is one, else the last node
    // bearing the label that is not itself a reference (a coreferent concept), else the last
    // node bearing it. `graph` is the graph node the found node belongs to. False when none.
    bool Find(QStringView label, NodeRecord& defining, NodeRecord& graph) const;
    // The graph node of that name; nullptr when no earlier graph has it.
    const NodeRecord* FindGraph(QStringView name) const;

private:
    // What a lookup needs of a node: its name, type and kind, the texts as pieces of pool_ (a
    // file of many small graphs keeps three nodes or so per graph: twelve bytes each).
    struct KeptNode {
        std::uint32_t NameAt = 0;
        std::uint32_t TypeAt = 0;
        std::int16_t Kind = NodeKind::Graph;
        bool StartsGraph = false; // a graph node whose slide the nodes after it are drawn on
    };
    // A text is kept as its size in two units, low half first, then its characters; the empty
    // text is the one at 0.
    void Add(const NodeRecord& node, bool startsGraph);
    std::uint32_t Keep(QStringView text);
    QStringView Text(std::uint32_t at) const;
    QStringView NameOf(const KeptNode& node) const { return Text(node.NameAt); }
    // A found node as a record, its texts cut from a pool of their own (no allocation each).
    NodeRecord Record(const KeptNode& node) const;
    // Where a node stands: its number in nodes_ and that of the graph node it belongs to.
    struct Place {
        std::uint32_t Node = 0;
        std::uint32_t Graph = 0;
        bool HasGraph = false;
    };
    // Per name: the last node bearing it, the last such node that is not itself a reference (a
    // coreferent concept), and the last graph node of that name.
    struct Named {
        std::uint32_t Node = 0; // the first node of the name, whose text the entry compares with
        Place Last;
        Place LastDefining;
        Place LastGraph;
        bool HasDefining = false;
        bool HasGraph = false;
    };
    void IndexNewNodes() const;
    // The entry of the name, or nullptr.
    const Named* Lookup(QStringView name) const;

    std::vector<KeptNode, memory::LargeAllocator<KeptNode>> nodes_;
    std::vector<char16_t, memory::LargeAllocator<char16_t>> pool_{0, 0};
    // Texts kept lately, by a hash of their characters: a type or label that comes back (every
    // graph of a file has its "Graph" and its "x") is kept once, not once per node.
    static constexpr std::size_t RecentSlots = 256;
    std::array<std::uint32_t, RecentSlots> recent_{}; // where each was kept (0: nothing)
    mutable RecordTextPool foundTexts_;
    mutable NodeRecord found_; // the graph node FindGraph found
    // The index, brought up to date by each lookup.
    mutable std::size_t next_ = 0;  // the first node not indexed yet
    mutable std::uint32_t graph_ = 0; // the graph node of the nodes indexed last
    mutable bool hasGraph_ = false;
    mutable memory::HashSlots slots_;
    mutable std::vector<Named, memory::LargeAllocator<Named>> names_;
};

} // namespace zov::cgif
