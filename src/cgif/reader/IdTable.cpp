#include "cgif/reader/IdTable.h"

#include <algorithm>
#include <utility>

namespace zov::cgif {

void IdTable::Clear() {
    slots_.clear();
    shift_ = 64;
    used_ = 0;
    repeats_ = false;
    pendingKey_ = 0;
    others_.clear();
}

// Fibonacci hashing: the top bits of the product mix every bit of the key.
std::size_t IdTable::Home(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

std::size_t IdTable::SlotOf(std::uint64_t key) const {
    std::size_t at = Home(key);
    while (slots_[at] != 0 && KeyOfSlot(slots_[at]) != key)
        at = (at + 1) & (slots_.size() - 1);
    return at;
}

void IdTable::Grow() {
    std::vector<std::uint64_t, memory::LargeAllocator<std::uint64_t>> old = std::move(slots_);
    const std::size_t size = old.empty() ? 64 : old.size() * 2;
    slots_.assign(size, 0);
    shift_ = 64;
    for (std::size_t bits = size; bits > 1; bits >>= 1)
        --shift_;
    for (const std::uint64_t slot : old) {
        if (slot == 0)
            continue;
        std::size_t at = Home(KeyOfSlot(slot));
        while (slots_[at] != 0)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = slot;
    }
}

void IdTable::Add(const drawing::NodeId& id, int index) {
    Settle();
    const std::uint64_t key = KeyOf(id);
    if (key == 0 || static_cast<std::uint64_t>(index) > IndexMask) {
        const QString text = id.ToString();
        const auto found = others_.find(text);
        if (key != 0 && !slots_.empty()) // an index too large for a slot: is the id in a slot too?
            repeats_ = repeats_ || slots_[SlotOf(key)] != 0;
        if (found == others_.end()) {
            others_.insert(text, index);
        } else {
            repeats_ = repeats_ || *found != index;
            *found = std::min(*found, index);
        }
        return;
    }
    // Room is made now, so that the slot fetched is the one the add will use.
    if ((used_ + 1) * 2 > slots_.size())
        Grow();
    if (!others_.isEmpty()) { // rare: ids are kept beside too, so the add is made at once
        Insert(key, index);
        repeats_ = repeats_ || others_.contains(id.ToString()); // held beside at a larger index?
        return;
    }
    pendingKey_ = key;
    pendingIndex_ = index;
    __builtin_prefetch(&slots_[Home(key)], 1);
}

void IdTable::Settle() {
    if (pendingKey_ == 0)
        return;
    Insert(std::exchange(pendingKey_, 0), pendingIndex_);
}

void IdTable::Insert(std::uint64_t key, int index) {
    const std::size_t at = SlotOf(key);
    if (slots_[at] != 0) {
        repeats_ = repeats_ || index != IndexOfSlot(slots_[at]);
        if (index < IndexOfSlot(slots_[at]))
            slots_[at] = key << IndexBits | static_cast<std::uint64_t>(index);
        return;
    }
    slots_[at] = key << IndexBits | static_cast<std::uint64_t>(index);
    ++used_;
}

int IdTable::Find(const drawing::NodeId& id) const {
    const std::uint64_t key = KeyOf(id);
    if (key != 0 && !slots_.empty()) {
        const std::uint64_t slot = slots_[SlotOf(key)];
        if (key == pendingKey_)
            return slot != 0 ? std::min(IndexOfSlot(slot), pendingIndex_) : pendingIndex_;
        if (slot != 0)
            return IndexOfSlot(slot);
    }
    // An id not packed, or one whose first index did not fit a slot.
    return others_.isEmpty() ? -1 : others_.value(id.ToString(), -1);
}

bool IdTable::HasRepeats() const {
    if (repeats_ || pendingKey_ == 0)
        return repeats_;
    // Whether the noted add repeats an id held in a slot at another index (an add is only
    // noted while nothing is kept beside).
    const std::uint64_t slot = slots_[SlotOf(pendingKey_)];
    return slot != 0 && IndexOfSlot(slot) != pendingIndex_;
}

void IdTable::Prefetch(const drawing::NodeId& id) const {
    const std::uint64_t key = KeyOf(id);
    if (key != 0 && !slots_.empty())
        __builtin_prefetch(&slots_[Home(key)]);
}

void IdTable::Remove(const drawing::NodeId& id, int index) {
    Settle();
    const std::uint64_t key = KeyOf(id);
    if (key == 0 || static_cast<std::uint64_t>(index) > IndexMask) {
        const auto found = others_.find(id.ToString());
        if (found != others_.end() && *found == index)
            others_.erase(found);
        return;
    }
    if (slots_.empty())
        return;
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = Home(key);
    while (KeyOfSlot(slots_[at]) != key) {
        if (slots_[at] == 0)
            return;
        at = (at + 1) & mask;
    }
    if (IndexOfSlot(slots_[at]) != index)
        return;
    // Linear probing without markers: the entries after the hole that could not sit in their
    // home slot because of it move back into it.
    std::size_t hole = at;
    for (std::size_t next = (hole + 1) & mask; slots_[next] != 0; next = (next + 1) & mask) {
        const std::size_t home = Home(KeyOfSlot(slots_[next]));
        // The entry may fill the hole when its home is not inside the run (hole, next].
        const bool homeInRun = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeInRun) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole] = 0;
    --used_;
}

} // namespace zov::cgif
