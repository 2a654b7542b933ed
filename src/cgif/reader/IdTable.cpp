#include "cgif/reader/IdTable.h"

#include <algorithm>

namespace zov::cgif {

void IdTable::Clear() {
    slots_.clear();
    shift_ = 64;
    used_ = 0;
    others_.clear();
}

// Fibonacci hashing: the top bits of the product mix every bit of the key.
std::size_t IdTable::Home(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

void IdTable::Grow() {
    std::vector<Slot, memory::LargeAllocator<Slot>> old = std::move(slots_);
    const std::size_t size = old.empty() ? 64 : old.size() * 2;
    slots_.assign(size, Slot{});
    shift_ = 64;
    for (std::size_t bits = size; bits > 1; bits >>= 1)
        --shift_;
    for (const Slot& slot : old) {
        if (slot.Key == 0)
            continue;
        std::size_t at = Home(slot.Key);
        while (slots_[at].Key != 0)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = slot;
    }
}

void IdTable::Add(const drawing::NodeId& id, int index) {
    const std::uint64_t key = id.Letters();
    if (key == 0) {
        const auto found = others_.find(id.Text());
        if (found == others_.end())
            others_.insert(id.Text(), index);
        else
            *found = std::min(*found, index);
        return;
    }
    if ((used_ + 1) * 2 > slots_.size())
        Grow();
    std::size_t at = Home(key);
    while (slots_[at].Key != 0) {
        if (slots_[at].Key == key) {
            slots_[at].Index = std::min(slots_[at].Index, index);
            return;
        }
        at = (at + 1) & (slots_.size() - 1);
    }
    slots_[at] = Slot{key, index};
    ++used_;
}

int IdTable::Find(const drawing::NodeId& id) const {
    const std::uint64_t key = id.Letters();
    if (key == 0)
        return others_.value(id.Text(), -1);
    if (slots_.empty())
        return -1;
    for (std::size_t at = Home(key); slots_[at].Key != 0; at = (at + 1) & (slots_.size() - 1))
        if (slots_[at].Key == key)
            return slots_[at].Index;
    return -1;
}

void IdTable::Remove(const drawing::NodeId& id, int index) {
    const std::uint64_t key = id.Letters();
    if (key == 0) {
        const auto found = others_.find(id.Text());
        if (found != others_.end() && *found == index)
            others_.erase(found);
        return;
    }
    if (slots_.empty())
        return;
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = Home(key);
    while (slots_[at].Key != key) {
        if (slots_[at].Key == 0)
            return;
        at = (at + 1) & mask;
    }
    if (slots_[at].Index != index)
        return;
    // Linear probing without markers: the entries after the hole that could not sit in their
    // home slot because of it move back into it.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask; slots_[next].Key != 0; next = (next + 1) & mask) {
        const std::size_t home = Home(slots_[next].Key);
        // The entry may fill the hole when its home is not inside the run (hole, next].
        const bool homeInRun = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeInRun) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = Slot{};
    --used_;
}

} // namespace zov::cgif
