#pragma once
// The names of a large node table and the ascending indexes of the nodes that bear each, so
// that a coreference lookup in a graph of thousands of nodes (a long chain of nested graphs that
// refer to a concept of the graph around them, one long line of labelled concepts) does not scan
// the table. The reader keeps it in step with every change of a name and every cut of the table.
//
// Flat tables, no allocation per name: the slots hold a name's hash and its entry; an entry holds
// the name (a piece of the input) and its one index, or, for a name borne by several nodes, the
// number of its list of indexes.
#include "cgif/quick/NodeName.h"
#include "memory/LargeMemory.h"

#include <cstdint>
#include <vector>

namespace zov::cgif::quick {

class NameIndex {
public:
    bool Built() const { return built_; }
    template <typename Table>
    void Build(const Table& nodes) {
        Clear();
        built_ = true;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            Add(nodes[i].Name, static_cast<int>(i));
    }
    void Clear();
    // Both do nothing while the index is not built; an empty name is not indexed.
    void Add(const NodeName& name, int index);
    void Remove(const NodeName& name, int index);
    // The largest index <= `atOrBefore` of a node named `name` (not empty), or -1.
    int LastAtOrBefore(const NodeName& name, int atOrBefore) const;

private:
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t Entry = 0; // 1 + index in entries_; 0: empty
    };
    struct Entry {
        NodeName Name;
        int Only = -1; // the one index, while List < 0 (-1: none left)
        int List = -1; // else the number of its list in lists_
    };
    // The entry of the name, or nullptr; `slot` gets the slot it is in or would go in.
    Entry* Find(const NodeName& name, std::uint32_t hash, std::size_t& slot);
    const Entry* Find(const NodeName& name) const;
    void Grow();

    bool built_ = false;
    std::vector<Slot, memory::LargeAllocator<Slot>> slots_; // a power of two long, at most half full
    std::vector<Entry, memory::LargeAllocator<Entry>> entries_;
    std::vector<std::vector<int>> lists_;
};

} // namespace zov::cgif::quick
