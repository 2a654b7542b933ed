#include "cgif/reader/PooledNames.h"

#include "cgif/reader/RecordText.h"

#include <climits>
#include <new>

namespace zov::cgif {

std::uint32_t PooledNames::Hash(QStringView name) const { return TextHash(name); }

bool PooledNames::Same(const Kept& kept, QStringView name) const {
    return kept.Size == static_cast<std::uint32_t>(name.size()) &&
           SameText(QStringView(pool_.data() + kept.At, name.size()), name);
}

PooledNames::Kept PooledNames::Keep(QStringView name) {
    // Pieces are addressed by 32 bits: more text than that is more than any reading may keep.
    if (pool_.size() + static_cast<std::size_t>(name.size()) > UINT32_MAX)
        throw std::bad_alloc();
    const Kept kept{static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(name.size())};
    pool_.insert(pool_.end(), name.utf16(), name.utf16() + name.size());
    return kept;
}

} // namespace zov::cgif
