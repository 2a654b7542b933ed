#pragma once
// The set of slide names a checking run hands out, as pieces of text that outlive it. A file of
// small graphs asks it once per graph, so the table is kept small for the cache: each slot holds
// 32 bits of the name's hash and the position of the name in a list kept in insertion order.
#include "memory/HashSlots.h"
#include "memory/LargeMemory.h"
#include "cgif/quick/NodeName.h"

#include <cstdint>
#include <vector>

namespace zov::cgif::quick {

using memory::LargeAllocator;

class SlideNames {
public:
    // Room for about `expected` names of `input` without growing.
    SlideNames(const char* input, std::size_t expected);

    bool Contains(const NodeName& name) const;
    // Starts loading the slot a name will be looked up in, so that a later Insert finds it in
    // the cache: a graph's name is known when its title is read, its slide taken at its end.
    void Prefetch(const NodeName& name) const;
    // False when the name is already in the set.
    bool Insert(const NodeName& name);

private:
    std::size_t SlotOf(const NodeName& name, std::uint32_t hash) const;

    InputNames text_;
    memory::HashSlots slots_;
    std::vector<NodeName, LargeAllocator<NodeName>> names_;
};

} // namespace zov::cgif::quick
