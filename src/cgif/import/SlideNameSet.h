#pragma once
// The slide names a checking run has taken. A file of small graphs takes one per graph, so the
// names are kept one after another in one block of text, and each slot of the table holds the
// name's hash and where its text starts: taking a name allocates nothing of its own, and growing
// the table moves slots without reading any name again.
#include "memory/LargeMemory.h"

#include <QStringView>
#include <cstdint>
#include <vector>

namespace zov::cgif {

class SlideNameSet {
public:
    SlideNameSet();

    bool Contains(QStringView name) const;
    // False when the name is taken already.
    bool Insert(QStringView name);
    void Remove(QStringView name);
    std::size_t Size() const { return live_; }

private:
    static constexpr std::uint32_t Empty = 0;
    static constexpr std::uint32_t Removed = 0xFFFFFFFFu;
    struct Slot {
        std::uint32_t Hash = 0;
        std::uint32_t At = Empty; // where the name's length, then its text, starts in text_
    };
    // The slot holding the name, or -1; `free` gets the slot where it would go.
    std::ptrdiff_t Find(QStringView name, std::uint32_t hash, std::size_t* free) const;
    QStringView NameAt(std::uint32_t at) const;
    void Grow();

    std::vector<Slot, memory::LargeAllocator<Slot>> slots_;     // a power of two long
    std::vector<char16_t, memory::LargeAllocator<char16_t>> text_; // starts with one unused unit
    std::size_t live_ = 0;
    std::size_t used_ = 0; // slots holding a name or a removed one
};

} // namespace zov::cgif
