#include "cgif/quick/SlideNames.h"

namespace zov::cgif::quick {

std::uint32_t SlideNames::HashOf(const NodeName& name) { return HashOfName(name); }

SlideNames::SlideNames(std::size_t expected) {
    std::size_t slots = 1024;
    while (slots < 2 * expected)
        slots *= 2;
    slots_.resize(slots);
}

void SlideNames::Prefetch(const NodeName& name) const {
    __builtin_prefetch(&slots_[HashOf(name) & (slots_.size() - 1)]);
}

// The slot holding the name, or the empty slot where it would go.
std::size_t SlideNames::SlotOf(const NodeName& name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].Entry != 0 && !(slots_[at].Hash == hash && SameName(names_[slots_[at].Entry - 1], name)))
        at = (at + 1) & mask;
    return at;
}

bool SlideNames::Contains(const NodeName& name) const { return slots_[SlotOf(name, HashOf(name))].Entry != 0; }

bool SlideNames::Insert(const NodeName& name) {
    const std::uint32_t hash = HashOf(name);
    std::size_t at = SlotOf(name, hash);
    if (slots_[at].Entry != 0)
        return false;
    if (2 * (names_.size() + 1) > slots_.size()) {
        Grow();
        at = SlotOf(name, hash);
    }
    names_.push_back(name);
    slots_[at] = Slot{hash, static_cast<std::uint32_t>(names_.size())};
    return true;
}

void SlideNames::Grow() {
    std::vector<Slot, LargeAllocator<Slot>> old(slots_.size() * 2);
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

} // namespace zov::cgif::quick
