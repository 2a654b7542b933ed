#pragma once
// Names and the ascending indexes of the nodes that bear each, for the lookup indexes of both
// readers: a coreference lookup asks for the nearest node of a name at or before a place. Flat
// tables, nothing allocated per name: each slot holds a name's hash and its entry; an entry holds
// the name as the reader keeps it and its one index, or, for a name borne by several nodes, the
// number of its list of indexes. A name whose nodes are all gone keeps its entry, with nothing
// in it, until the lists are cleared.
//
// `Names` says how a reader keeps names: `Key` is the name looked up, `Kept` its kept form;
// `Hash(Key)`, `Same(const Kept&, Key)` and `Keep(Key)` (which may copy the text into a pool of
// its own) are members, and `Clear()` empties the pool.
#include "cgif/grammar/SortedIndexes.h"
#include "memory/LargeMemory.h"

#include <cstdint>
#include <vector>

namespace zov::cgif::grammar {

template <typename Names>
class NameLists {
public:
    using Key = typename Names::Key;

    void Clear() {
        slots_.clear();
        entries_.clear();
        lists_.clear();
        names_.Clear();
    }
    // Does nothing for an index the name's list holds already.
    void Add(const Key& name, int index) {
        const std::uint32_t hash = names_.Hash(name);
        std::size_t slot = 0;
        if (Entry* entry = Find(name, hash, slot)) {
            if (entry->List >= 0) {
                InsertSorted(lists_[static_cast<std::size_t>(entry->List)], index);
            } else if (entry->Only < 0 || entry->Only == index) {
                entry->Only = index;
            } else {
                // A second node of that name: the two indexes go into a list of their own.
                const int only = entry->Only;
                lists_.push_back(only < index ? std::vector<int>{only, index} : std::vector<int>{index, only});
                entry->List = static_cast<int>(lists_.size() - 1);
                entry->Only = -1;
            }
            return;
        }
        if (2 * (entries_.size() + 1) > slots_.size()) {
            Grow();
            Find(name, hash, slot);
        }
        entries_.push_back(Entry{names_.Keep(name), index, -1});
        slots_[slot] = Slot{hash, static_cast<std::uint32_t>(entries_.size())};
    }
    void Remove(const Key& name, int index) {
        std::size_t slot = 0;
        Entry* entry = Find(name, names_.Hash(name), slot);
        if (entry == nullptr)
            return;
        if (entry->List >= 0)
            EraseSorted(lists_[static_cast<std::size_t>(entry->List)], index);
        else if (entry->Only == index)
            entry->Only = -1;
    }
    // The largest index <= `atOrBefore` of a node bearing the name, or -1.
    int LastAtOrBefore(const Key& name, int atOrBefore) const {
        if (slots_.empty())
            return -1;
        const std::uint32_t hash = names_.Hash(name);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash & mask; slots_[slot].Entry != 0; slot = (slot + 1) & mask) {
            const Entry& entry = entries_[slots_[slot].Entry - 1];
            if (slots_[slot].Hash != hash || !names_.Same(entry.Name, name))
                continue;
            if (entry.List >= 0)
                return grammar::LastAtOrBefore(lists_[static_cast<std::size_t>(entry.List)], atOrBefore);
            return entry.Only >= 0 && entry.Only <= atOrBefore ? entry.Only : -1;
        }
        return -1;
    }

private:
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t Entry = 0; // 1 + index in entries_; 0: empty
    };
    struct Entry {
        typename Names::Kept Name;
        int Only = -1; // the one index, while List < 0 (-1: none left)
        int List = -1; // else the number of its list in lists_
    };

    // The entry of the name, or nullptr; `slot` gets the slot it is in or would go in.
    Entry* Find(const Key& name, std::uint32_t hash, std::size_t& slot) {
        if (slots_.empty())
            Grow();
        const std::size_t mask = slots_.size() - 1;
        for (slot = hash & mask; slots_[slot].Entry != 0; slot = (slot + 1) & mask) {
            Entry& entry = entries_[slots_[slot].Entry - 1];
            if (slots_[slot].Hash == hash && names_.Same(entry.Name, name))
                return &entry;
        }
        return nullptr;
    }
    void Grow() {
        std::vector<Slot, memory::LargeAllocator<Slot>> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.Entry == 0)
                continue;
            std::size_t at = slot.Hash & mask;
            while (slots_[at].Entry != 0)
                at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }

    Names names_;
    std::vector<Slot, memory::LargeAllocator<Slot>> slots_; // a power of two long, at most half full
    std::vector<Entry, memory::LargeAllocator<Entry>> entries_;
    std::vector<std::vector<int>> lists_;
};

} // namespace zov::cgif::grammar
