#pragma once
// Node id -> the first index holding it, for the reader's lookup index and the builder's. The
// reader's ids are eight letters A to Z: those live in one open-addressed table of 8-byte slots,
// the letters as a number below 26^8 beside the index (no allocation per node, and a table of a
// million ids fits in 8 MB); any other id (a table filled by other code), or an index too large
// for its slot, goes into a hash beside it.
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
    bool Empty() const { return used_ == 0 && others_.isEmpty(); }
    // Records `index` for `id` unless a smaller index is recorded already.
    void Add(const drawing::NodeId& id, int index);
    // Forgets `id` when `index` is the index recorded for it.
    void Remove(const drawing::NodeId& id, int index);
    // The index recorded for `id`, or -1.
    int Find(const drawing::NodeId& id) const;
    // True once an id was added a second time (with another index) since the last Clear: until
    // then, the node holding an id at an index is the first to hold it.
    bool HasRepeats() const { return repeats_; }

private:
    // A slot: 0 when empty, else (1 + the letters in base 26) << IndexBits | index.
    static constexpr int IndexBits = 26;
    static constexpr std::uint64_t IndexMask = (std::uint64_t(1) << IndexBits) - 1;
    static std::uint64_t KeyOf(const drawing::NodeId& id);
    static std::uint64_t KeyOfSlot(std::uint64_t slot) { return slot >> IndexBits; }
    static int IndexOfSlot(std::uint64_t slot) { return static_cast<int>(slot & IndexMask); }
    std::size_t Home(std::uint64_t key) const;
    void Grow();

    std::vector<std::uint64_t, memory::LargeAllocator<std::uint64_t>> slots_; // a power of two long, at most half full
    int shift_ = 64;          // 64 - log2(slots_.size())
    std::size_t used_ = 0;
    bool repeats_ = false;
    QHash<QString, int> others_;
};

} // namespace zov::cgif
