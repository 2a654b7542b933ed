#pragma once
// The set of slide names a checking run hands out, as pieces of text that outlive it: one flat
// table probed in order, since a file of small graphs asks it once per graph.
#include "cgif/quick/LargeMemory.h"
#include "cgif/quick/NodeName.h"

#include <cstdint>
#include <vector>

namespace zov::cgif::quick {

class SlideNames {
public:
    bool Contains(const NodeName& name) const;
    // False when the name is already in the set.
    bool Insert(const NodeName& name);

private:
    struct Slot {
        std::uint64_t Hash = 0;
        NodeName Name;
        bool Used = false;
    };
    static std::uint64_t HashOf(const NodeName& name);
    std::size_t SlotOf(const NodeName& name, std::uint64_t hash) const;
    void Grow();

    std::vector<Slot, LargeAllocator<Slot>> slots_ = std::vector<Slot, LargeAllocator<Slot>>(1024);
    std::size_t count_ = 0;
};

} // namespace zov::cgif::quick
