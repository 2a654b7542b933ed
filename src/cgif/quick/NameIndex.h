#pragma once
// The names of a large node table and the ascending indexes of the nodes that bear each, so
// that a coreference lookup in a graph of thousands of nodes (a long chain of nested graphs that
// refer to a concept of the graph around them, one long line of labelled concepts) does not scan
// the table. The reader keeps it in step with every change of a name and every cut of the table.
// A name is kept as the piece of the input it is, which outlives the index. Generated graph names
// ("G" + number) are not indexed: a file that gives positions makes one for nearly every concept,
// which would double the index of a long line, and a label rarely spells one; the reader leaves
// such a label to the full reader (InputNames::SpellsGenerated).
#include "cgif/grammar/NameLists.h"
#include "cgif/quick/NodeName.h"

namespace zov::cgif::quick {

// The names as the index keeps them: the same pieces of the input.
struct IndexedNames : InputNames {
    using Key = NodeName;
    using Kept = NodeName;
    using InputNames::InputNames;
    NodeName Keep(const NodeName& name) const { return name; }
    void Clear() {}
};

class NameIndex {
public:
    explicit NameIndex(const char* input) : lists_(IndexedNames(input)) {}
    bool Built() const { return built_; }
    template <typename Table>
    void Build(const Table& nodes) {
        Clear();
        built_ = true;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            Add(nodes[i].Name, static_cast<int>(i));
    }
    // Names go into the lists only while the index is built: one never built has none to clear.
    void Clear() {
        if (built_)
            lists_.Clear();
        built_ = false;
    }
    // Both do nothing while the index is not built; an empty or generated name is not indexed.
    void Add(const NodeName& name, int index) {
        if (built_ && Indexed(name))
            lists_.Add(name, index);
    }
    void Remove(const NodeName& name, int index) {
        if (built_ && Indexed(name))
            lists_.Remove(name, index);
    }
    // The largest index <= `atOrBefore` of a node named `name` (not empty, not generated, and not
    // spelling a generated name), or -1.
    int LastAtOrBefore(const NodeName& name, int atOrBefore) const { return lists_.LastAtOrBefore(name, atOrBefore); }

private:
    static bool Indexed(const NodeName& name) { return !name.Empty() && !name.IsGenerated(); }
    bool built_ = false;
    grammar::NameLists<IndexedNames> lists_;
};

} // namespace zov::cgif::quick
