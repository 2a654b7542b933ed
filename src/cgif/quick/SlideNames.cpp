#include "cgif/quick/SlideNames.h"

namespace zov::cgif::quick {

// FNV-1a: names are short, and their last characters (numbers) differ most.
std::uint64_t SlideNames::HashOf(const NodeName& name) {
    char buffer[16];
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name.Text(buffer)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The slot holding the name, or the empty slot where it would go.
std::size_t SlideNames::SlotOf(const NodeName& name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(hash ^ (hash >> 29)) & mask;
    while (slots_[at].Used && !(slots_[at].Hash == hash && SameName(slots_[at].Name, name)))
        at = (at + 1) & mask;
    return at;
}

bool SlideNames::Contains(const NodeName& name) const { return slots_[SlotOf(name, HashOf(name))].Used; }

bool SlideNames::Insert(const NodeName& name) {
    const std::uint64_t hash = HashOf(name);
    std::size_t at = SlotOf(name, hash);
    if (slots_[at].Used)
        return false;
    if (2 * (count_ + 1) > slots_.size()) {
        Grow();
        at = SlotOf(name, hash);
    }
    slots_[at] = Slot{hash, name, true};
    ++count_;
    return true;
}

void SlideNames::Grow() {
    std::vector<Slot, LargeAllocator<Slot>> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old)
        if (slot.Used)
            slots_[SlotOf(slot.Name, slot.Hash)] = slot;
}

} // namespace zov::cgif::quick
