#pragma once
// Names and the ascending indexes of the nodes that bear each, for the lookup indexes of both
// readers: a coreference lookup asks for the nearest node of a name at or before a place. Flat
// tables, nothing allocated per name: each slot holds a name's hash and its entry; an entry holds
// the name as the reader keeps it and its one index, or, for a name borne by several nodes, the
// number of its list of indexes. A name whose nodes are all gone keeps its entry, with nothing
// in it, until the lists are cleared.
//
// `Names` says how a reader keeps names: `Key` is the name looked up, `Kept` its kept form;
// `Hash(Key)`, `Same(const Kept&, Key)` and `Keep(name)` (which may copy the text into a pool of
// its own, or share the text of the name it is given) are members, and `Clear()` empties the pool.
#include "cgif/grammar/SortedIndexes.h"
#include "memory/HashSlots.h"
#include "memory/LargeMemory.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zov::cgif::grammar {

template <typename Names>
class NameLists {
public:
    using Key = typename Names::Key;

    explicit NameLists(Names names = Names()) : names_(std::move(names)) {}

    void Clear() {
        slots_.Clear();
        entries_.clear();
        lists_.clear();
        names_.Clear();
    }
    // False, and nothing done, for an index the name's list holds already. `name` is a Key or
    // what the names keep a name from.
    template <typename Name>
    bool Add(const Name& given, int index) {
        const Key name = given;
        const std::uint32_t hash = names_.Hash(name);
        const auto same = [&](std::uint32_t entry) { return names_.Same(entries_[entry].Name, name); };
        const std::size_t at = slots_.Probe(hash, same);
        if (slots_[at].Entry != 0) {
            Entry& entry = entries_[slots_[at].Entry - 1];
            if (entry.List >= 0)
                return InsertSorted(lists_[static_cast<std::size_t>(entry.List)], index);
            if (entry.Only == index)
                return false;
            if (entry.Only < 0) {
                entry.Only = index;
                return true;
            }
            // A second node of that name: the two indexes go into a list of their own.
            const int only = entry.Only;
            lists_.push_back(only < index ? std::vector<int>{only, index} : std::vector<int>{index, only});
            entry.List = static_cast<int>(lists_.size() - 1);
            entry.Only = -1;
            return true;
        }
        slots_.Put(at, hash, static_cast<std::uint32_t>(entries_.size()), same);
        entries_.push_back(Entry{names_.Keep(given), index, -1});
        return true;
    }
    // False, and nothing done, when the name's list does not hold the index.
    bool Remove(const Key& name, int index) {
        const std::size_t at = SlotOf(name);
        if (slots_[at].Entry == 0)
            return false;
        Entry& entry = entries_[slots_[at].Entry - 1];
        if (entry.List >= 0)
            return EraseSorted(lists_[static_cast<std::size_t>(entry.List)], index);
        if (entry.Only != index)
            return false;
        entry.Only = -1;
        return true;
    }
    // The largest index <= `atOrBefore` of a node bearing the name, or -1.
    int LastAtOrBefore(const Key& name, int atOrBefore) const {
        const std::size_t at = SlotOf(name);
        if (slots_[at].Entry == 0)
            return -1;
        const Entry& entry = entries_[slots_[at].Entry - 1];
        if (entry.List >= 0)
            return grammar::LastAtOrBefore(lists_[static_cast<std::size_t>(entry.List)], atOrBefore);
        return entry.Only >= 0 && entry.Only <= atOrBefore ? entry.Only : -1;
    }

private:
    struct Entry {
        typename Names::Kept Name;
        int Only = -1; // the one index, while List < 0 (-1: none left)
        int List = -1; // else the number of its list in lists_
    };

    // The slot of the name's entry, or an empty one.
    std::size_t SlotOf(const Key& name) const {
        return slots_.Probe(names_.Hash(name),
                            [&](std::uint32_t entry) { return names_.Same(entries_[entry].Name, name); });
    }

    Names names_;
    memory::HashSlots slots_;
    std::vector<Entry, memory::LargeAllocator<Entry>> entries_;
    std::vector<std::vector<int>> lists_;
};

} // namespace zov::cgif::grammar
