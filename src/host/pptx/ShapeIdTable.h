#pragma once
// The id each shape of a slide is written with, by shape: filled once per save, then asked for
// every shape written and for both ends of every glued connector. Open addressing on the
// shape's address, at most half full, so that a slide of hundreds of thousands of shapes costs
// one or two cache lines a lookup and no allocation per shape.
#include "host/model/ModelData.h"

#include <cstdint>
#include <vector>

namespace zov::host::pptx {

class ShapeIdTable {
public:
    // Room for `shapes` entries without growing.
    void Reserve(std::size_t shapes)
    {
        std::size_t size = 16;
        while (size < 2 * shapes)
            size *= 2;
        if (size > slots_.size())
            Rehash(size);
    }
    void Set(const ShapeData* shape, std::uint32_t id)
    {
        if (2 * (used_ + 1) > slots_.size())
            Rehash(slots_.empty() ? 16 : 2 * slots_.size());
        Slot& slot = slots_[SlotOf(shape)];
        used_ += slot.shape == nullptr ? 1 : 0;
        slot = {shape, id};
    }
    // The id given to `shape`, or 0 when it has none.
    std::uint32_t Find(const ShapeData* shape) const
    {
        return slots_.empty() ? 0 : slots_[SlotOf(shape)].id;
    }

private:
    struct Slot {
        const ShapeData* shape = nullptr;
        std::uint32_t id = 0;
    };
    std::size_t SlotOf(const ShapeData* shape) const
    {
        const std::size_t mask = slots_.size() - 1;
        // Shapes are heap blocks: the low bits say nothing, the product mixes the others.
        std::size_t at = static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(shape) * 0x9E3779B97F4A7C15ull) >> 20) & mask;
        while (slots_[at].shape != nullptr && slots_[at].shape != shape)
            at = (at + 1) & mask;
        return at;
    }
    void Rehash(std::size_t size)
    {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(size, Slot{});
        used_ = 0;
        for (const Slot& slot : old)
            if (slot.shape != nullptr)
                Set(slot.shape, slot.id);
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

} // namespace zov::host::pptx
