#include "cgif/quick/NameIndex.h"
#include "cgif/grammar/SortedIndexes.h"

namespace zov::cgif::quick {

void NameIndex::Clear() {
    built_ = false;
    slots_.clear();
    entries_.clear();
    lists_.clear();
}

NameIndex::Entry* NameIndex::Find(const NodeName& name, std::uint32_t hash, std::size_t& slot) {
    if (slots_.empty())
        Grow();
    const std::size_t mask = slots_.size() - 1;
    for (slot = hash & mask; slots_[slot].Entry != 0; slot = (slot + 1) & mask) {
        Entry& entry = entries_[slots_[slot].Entry - 1];
        if (slots_[slot].Hash == hash && SameName(entry.Name, name))
            return &entry;
    }
    return nullptr;
}

const NameIndex::Entry* NameIndex::Find(const NodeName& name) const {
    if (slots_.empty())
        return nullptr;
    const std::uint32_t hash = HashOfName(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask; slots_[slot].Entry != 0; slot = (slot + 1) & mask) {
        const Entry& entry = entries_[slots_[slot].Entry - 1];
        if (slots_[slot].Hash == hash && SameName(entry.Name, name))
            return &entry;
    }
    return nullptr;
}

void NameIndex::Grow() {
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

void NameIndex::Add(const NodeName& name, int index) {
    if (!built_ || name.Empty())
        return;
    const std::uint32_t hash = HashOfName(name);
    std::size_t slot = 0;
    if (Entry* entry = Find(name, hash, slot)) {
        if (entry->List >= 0) {
            grammar::InsertSorted(lists_[static_cast<std::size_t>(entry->List)], index);
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
    entries_.push_back(Entry{name, index, -1});
    slots_[slot] = Slot{hash, static_cast<std::uint32_t>(entries_.size())};
}

// A name whose nodes are all gone keeps its entry, with nothing in it.
void NameIndex::Remove(const NodeName& name, int index) {
    if (!built_ || name.Empty())
        return;
    std::size_t slot = 0;
    Entry* entry = Find(name, HashOfName(name), slot);
    if (entry == nullptr)
        return;
    if (entry->List >= 0)
        grammar::EraseSorted(lists_[static_cast<std::size_t>(entry->List)], index);
    else if (entry->Only == index)
        entry->Only = -1;
}

int NameIndex::LastAtOrBefore(const NodeName& name, int atOrBefore) const {
    const Entry* entry = Find(name);
    if (entry == nullptr)
        return -1;
    if (entry->List >= 0)
        return grammar::LastAtOrBefore(lists_[static_cast<std::size_t>(entry->List)], atOrBefore);
    return entry->Only >= 0 && entry->Only <= atOrBefore ? entry->Only : -1;
}

} // namespace zov::cgif::quick
