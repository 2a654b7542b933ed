#pragma once
// Node id -> the first index holding it, for the reader's lookup index and the builder's. The
// reader's ids are eight letters A to Z: those live in one open-addressed table of 8-byte slots,
// the id's packed letters (below 2^40) beside the index (no allocation per node, and a table of a
// million ids fits in 8 MB); any other id (a table filled by other code), or an index too large
// for its slot, goes into a hash beside it.
//
// Ids are random, so each first look at an id's slot is a cache miss. An add is therefore only
// noted and its slot fetched in the background; it is made at the next add or change, while the
// reader has gone on reading. What a lookup answers counts the noted add as made.
#include "drawing/NodeId.h"
#include "memory/LargeMemory.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace zov::cgif {

class IdTable {
public:
    void Clear();
    bool Empty() const { return used_ == 0 && pendingKey_ == 0 && others_.isEmpty(); }
    // Records `index` for `id` unless a smaller index is recorded already.
    void Add(const drawing::NodeId& id, int index);
    // Forgets `id` when `index` is the index recorded for it.
    void Remove(const drawing::NodeId& id, int index);
    // The index recorded for `id`, or -1.
    int Find(const drawing::NodeId& id) const;
    // True once an id was added a second time (with another index) since the last Clear: until
    // then, the node holding an id at an index is the first to hold it.
    bool HasRepeats() const;
    // Starts fetching the slot of `id` into the cache, for a lookup made a little later.
    void Prefetch(const drawing::NodeId& id) const;

private:
    // A slot: 0 when empty, else the id's packed letters (NodeId::Letters, 1 + five bits a
    // letter: below 2^40) << IndexBits | index. Indexes from 2^24 on are kept beside.
    static constexpr int IndexBits = 24;
    static constexpr std::uint64_t IndexMask = (std::uint64_t(1) << IndexBits) - 1;
    // The packed letters, or 0 for an id that is not eight letters.
    static std::uint64_t KeyOf(const drawing::NodeId& id) { return id.Letters(); }
    static std::uint64_t KeyOfSlot(std::uint64_t slot) { return slot >> IndexBits; }
    static int IndexOfSlot(std::uint64_t slot) { return static_cast<int>(slot & IndexMask); }
    std::size_t Home(std::uint64_t key) const;
    // The slot holding `key`, or the empty slot where it would go.
    std::size_t SlotOf(std::uint64_t key) const;
    void Grow();
    // Makes the noted add, if any.
    void Settle();
    void Insert(std::uint64_t key, int index);

    std::vector<std::uint64_t, memory::LargeAllocator<std::uint64_t>> slots_; // a power of two long, at most half full
    int shift_ = 64;          // 64 - log2(slots_.size())
    std::size_t used_ = 0;
    bool repeats_ = false;
    std::uint64_t pendingKey_ = 0; // the key of the add noted and not yet made, or 0
    int pendingIndex_ = 0;
    QHash<QString, int> others_;
};

} // namespace zov::cgif
