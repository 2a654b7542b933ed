#include "cgif/reader/IdTable.h"

#include <algorithm>

namespace zov::cgif {

// 1 + the eight letters as a number in base 26 (below 2^38), or 0 for an id that is not eight
// letters.
std::uint64_t IdTable::KeyOf(const drawing::NodeId& id) {
    const std::uint64_t letters = id.Letters();
    if (letters == 0)
        return 0;
    const std::uint64_t packed = letters - 1; // five bits a letter, the first highest
    std::uint64_t key = 0;
    for (int shift = 35; shift >= 0; shift -= 5)
        key = key * 26 + ((packed >> shift) & 31);
    return key + 1;
}

void IdTable::Clear() {
    slots_.clear();
    shift_ = 64;
    used_ = 0;
    repeats_ = false;
    others_.clear();
}

// Fibonacci hashing: the top bits of the product mix every bit of the key.
std::size_t IdTable::Home(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
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
    const std::uint64_t key = KeyOf(id);
    if (key == 0 || static_cast<std::uint64_t>(index) > IndexMask) {
        const QString text = id.ToString();
        const auto found = others_.find(text);
        if (key != 0 && !slots_.empty()) // an index too large for a slot: is the id in a slot too?
            for (std::size_t at = Home(key); slots_[at] != 0; at = (at + 1) & (slots_.size() - 1))
                repeats_ = repeats_ || KeyOfSlot(slots_[at]) == key;
        if (found == others_.end()) {
            others_.insert(text, index);
        } else {
            repeats_ = repeats_ || *found != index;
            *found = std::min(*found, index);
        }
        return;
    }
    if ((used_ + 1) * 2 > slots_.size())
        Grow();
    std::size_t at = Home(key);
    while (slots_[at] != 0) {
        if (KeyOfSlot(slots_[at]) == key) {
            repeats_ = repeats_ || index != IndexOfSlot(slots_[at]);
            if (index < IndexOfSlot(slots_[at]))
                slots_[at] = key << IndexBits | static_cast<std::uint64_t>(index);
            return;
        }
        at = (at + 1) & (slots_.size() - 1);
    }
    slots_[at] = key << IndexBits | static_cast<std::uint64_t>(index);
    ++used_;
    if (!others_.isEmpty()) // held beside already, at an index too large for a slot?
        repeats_ = repeats_ || others_.contains(id.ToString());
}

int IdTable::Find(const drawing::NodeId& id) const {
    const std::uint64_t key = KeyOf(id);
    if (key != 0 && !slots_.empty()) {
        for (std::size_t at = Home(key); slots_[at] != 0; at = (at + 1) & (slots_.size() - 1))
            if (KeyOfSlot(slots_[at]) == key)
                return IndexOfSlot(slots_[at]);
    }
    // An id not packed, or one whose first index did not fit a slot.
    return others_.isEmpty() ? -1 : others_.value(id.ToString(), -1);
}

void IdTable::Remove(const drawing::NodeId& id, int index) {
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
