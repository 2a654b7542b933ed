#pragma once
// Node id -> the first index holding it, for the reader's lookup index. The reader's ids are
// eight letters A to Z, packed into one number: those live in one open-addressed table of
// numbers (no allocation per node); any other id (a table filled by other code) goes into a
// hash of strings beside it.
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
    // Records `index` for `id` unless a smaller index is recorded already.
    void Add(const drawing::NodeId& id, int index);
    // Forgets `id` when `index` is the index recorded for it.
    void Remove(const drawing::NodeId& id, int index);
    // The index recorded for `id`, or -1.
    int Find(const drawing::NodeId& id) const;

private:
    struct Slot {
        std::uint64_t Key = 0; // 0: empty; else 1 + the packed id
        int Index = -1;
    };
    std::size_t Home(std::uint64_t key) const;
    void Grow();

    std::vector<Slot, memory::LargeAllocator<Slot>> slots_; // a power of two long, at most half full
    int shift_ = 64;          // 64 - log2(slots_.size())
    std::size_t used_ = 0;
    QHash<QString, int> others_;
};

} // namespace zov::cgif
