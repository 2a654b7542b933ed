#pragma once
// The slots of an open-addressed hash table whose entries live elsewhere (in insertion order, in
// a list of the table's own): each slot holds 32 bits of an entry's hash and 1 + the entry's
// number, 0 when empty. Linear probing; a power of two long and at most three quarters full:
// eight slots share a cache line, so a probe still ends within one or two lines, and between
// half and three quarters full a table needs half the slots. Growing moves slots by their hash
// without reading an entry again.
#include "memory/LargeMemory.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zov::memory {

class HashSlots {
public:
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t Entry = 0; // 1 + the entry's number; 0: empty
    };

    explicit HashSlots(std::size_t expected = 0) {
        std::size_t size = SmallSize;
        while (3 * size < 4 * expected)
            size *= 2;
        slots_.resize(size);
    }

    // The slot holding the entry for which `same(entry number)` is true among those of `hash`,
    // or the empty slot where such an entry would go.
    template <typename Same>
    std::size_t Probe(std::uint32_t hash, Same same) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = hash & mask;
        while (slots_[at].Entry != 0 && !(slots_[at].Hash == hash && same(slots_[at].Entry - 1)))
            at = (at + 1) & mask;
        return at;
    }
    // Entry number `entry`, the next one after all there are, goes into the empty slot `at`
    // (from Probe). When the table would be more than three quarters full it grows first, and `at` is
    // found again with `same`.
    template <typename Same>
    void Put(std::size_t at, std::uint32_t hash, std::uint32_t entry, Same same) {
        if (4 * (std::size_t(entry) + 1) > 3 * slots_.size()) {
            Grow();
            at = Probe(hash, same);
        }
        slots_[at] = Slot{hash, entry + 1};
    }
    const Slot& operator[](std::size_t at) const { return slots_[at]; }
    // The slot where a lookup of `hash` starts, to be loaded into the cache ahead of it.
    const Slot* Home(std::uint32_t hash) const { return &slots_[hash & (slots_.size() - 1)]; }
    // Empty and small again: a large table's memory goes back; a small one is emptied where it
    // is, so that clearing a table per graph costs no allocation.
    void Clear() {
        if (slots_.size() == SmallSize) {
            std::fill(slots_.begin(), slots_.end(), Slot{});
            return;
        }
        Table(SmallSize).swap(slots_);
    }

private:
    // Every slot is written (emptied) when the table is made.
    using Table = std::vector<Slot, LargeAllocator<Slot, true>>;
    static constexpr std::size_t SmallSize = 64;
    void Grow() {
        Table old(slots_.size() * 2);
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

    Table slots_;
};

} // namespace zov::memory
