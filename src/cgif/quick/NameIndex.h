#pragma once
// The names of a large node table and the ascending indexes of the nodes that bear each, so
// that a coreference lookup in a graph of thousands of nodes (a long chain of nested graphs that
// refer to a concept of the graph around them) does not scan the table. The reader keeps it in
// step with every change of a name and every cut of the table.
#include "cgif/quick/NodeName.h"

#include <string>
#include <unordered_map>
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
    static std::string Key(const NodeName& name);
    bool built_ = false;
    std::unordered_map<std::string, std::vector<int>> byName_;
};

} // namespace zov::cgif::quick
