#pragma once
// Names kept as pieces of one pool of text, for the name lists (grammar::NameLists) of the
// reader's lookup index and the checking builder's slide names: a record's name may change or
// go while the lists still know it, and keeping a name allocates nothing of its own.
#include "memory/LargeMemory.h"

#include <QStringView>
#include <cstdint>
#include <vector>

namespace zov::cgif {

class PooledNames {
public:
    using Key = QStringView;
    struct Kept {
        std::uint32_t At = 0;
        std::uint32_t Size = 0;
    };
    std::uint32_t Hash(QStringView name) const;
    bool Same(const Kept& kept, QStringView name) const;
    Kept Keep(QStringView name);
    void Clear() { pool_.clear(); }

private:
    std::vector<char16_t, memory::LargeAllocator<char16_t>> pool_;
};

} // namespace zov::cgif
