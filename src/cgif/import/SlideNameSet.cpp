#include "cgif/import/SlideNameSet.h"

#include <QHashFunctions>
#include <stdexcept>

namespace zov::cgif {

namespace {
std::uint32_t HashOf(QStringView name) {
    const std::size_t hash = qHash(name, 0);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}
} // namespace

SlideNameSet::SlideNameSet() : slots_(256), text_(1) {}

QStringView SlideNameSet::NameAt(std::uint32_t at) const {
    const std::uint32_t length = std::uint32_t(text_[at]) << 16 | text_[at + 1];
    return QStringView(text_.data() + at + 2, length);
}

std::ptrdiff_t SlideNameSet::Find(QStringView name, std::uint32_t hash, std::size_t* free) const {
    const std::size_t mask = slots_.size() - 1;
    bool haveFree = false;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.At == Empty) {
            if (free != nullptr && !haveFree)
                *free = i;
            return -1;
        }
        if (slot.At == Removed) {
            if (free != nullptr && !haveFree) {
                *free = i;
                haveFree = true;
            }
        } else if (slot.Hash == hash && NameAt(slot.At) == name) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
}

bool SlideNameSet::Contains(QStringView name) const { return Find(name, HashOf(name), nullptr) >= 0; }

bool SlideNameSet::Insert(QStringView name) {
    const std::uint32_t hash = HashOf(name);
    std::size_t free = 0;
    if (Find(name, hash, &free) >= 0)
        return false;
    if (text_.size() + 2 + static_cast<std::size_t>(name.size()) >= Removed)
        throw std::length_error("too much slide name text");
    if (slots_[free].At == Empty) {
        if (2 * (used_ + 1) > slots_.size()) {
            Grow();
            Find(name, hash, &free);
        }
        ++used_;
    }
    const auto at = static_cast<std::uint32_t>(text_.size());
    const auto length = static_cast<std::uint32_t>(name.size());
    text_.push_back(static_cast<char16_t>(length >> 16));
    text_.push_back(static_cast<char16_t>(length & 0xFFFF));
    text_.insert(text_.end(), name.utf16(), name.utf16() + name.size());
    slots_[free] = Slot{hash, at};
    ++live_;
    return true;
}

// The name's text stays in the block: a name is removed only when a slide could not be drawn.
void SlideNameSet::Remove(QStringView name) {
    const std::ptrdiff_t i = Find(name, HashOf(name), nullptr);
    if (i < 0)
        return;
    slots_[static_cast<std::size_t>(i)].At = Removed;
    --live_;
}

// Slots for at least four times the live names, holding only those: removed ones are dropped
// here, so a table full of removed names is cleaned at the size it has.
void SlideNameSet::Grow() {
    std::size_t size = slots_.size();
    while (size < 4 * (live_ + 1))
        size *= 2;
    std::vector<Slot, memory::LargeAllocator<Slot>> old(size);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.At == Empty || slot.At == Removed)
            continue;
        std::size_t i = slot.Hash & mask;
        while (slots_[i].At != Empty)
            i = (i + 1) & mask;
        slots_[i] = slot;
        ++used_;
    }
}

} // namespace zov::cgif
