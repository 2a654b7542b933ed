#include "cgif/quick/SlideNames.h"

namespace zov::cgif::quick {

SlideNames::SlideNames(const char* input, std::size_t expected) : text_(input), slots_(std::max<std::size_t>(expected, 512)) {}

void SlideNames::Prefetch(const NodeName& name) const { __builtin_prefetch(slots_.Home(text_.Hash(name))); }

// The slot holding the name, or the empty slot where it would go.
std::size_t SlideNames::SlotOf(const NodeName& name, std::uint32_t hash) const {
    return slots_.Probe(hash, [&](std::uint32_t entry) { return text_.Same(names_[entry], name); });
}

bool SlideNames::Contains(const NodeName& name) const { return slots_[SlotOf(name, text_.Hash(name))].Entry != 0; }

bool SlideNames::Insert(const NodeName& name) {
    const std::uint32_t hash = text_.Hash(name);
    const std::size_t at = SlotOf(name, hash);
    if (slots_[at].Entry != 0)
        return false;
    slots_.Put(at, hash, static_cast<std::uint32_t>(names_.size()),
               [&](std::uint32_t entry) { return text_.Same(names_[entry], name); });
    names_.push_back(name);
    return true;
}

} // namespace zov::cgif::quick
