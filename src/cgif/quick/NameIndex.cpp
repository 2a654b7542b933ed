#include "cgif/quick/NameIndex.h"
#include "cgif/grammar/SortedIndexes.h"

namespace zov::cgif::quick {

std::string NameIndex::Key(const NodeName& name) {
    char buffer[16];
    return std::string(name.Text(buffer));
}

void NameIndex::Clear() {
    built_ = false;
    byName_.clear();
}

void NameIndex::Add(const NodeName& name, int index) {
    if (!built_ || name.Empty())
        return;
    grammar::InsertSorted(byName_[Key(name)], index);
}

void NameIndex::Remove(const NodeName& name, int index) {
    if (!built_ || name.Empty())
        return;
    const auto found = byName_.find(Key(name));
    if (found == byName_.end())
        return;
    grammar::EraseSorted(found->second, index);
    if (found->second.empty())
        byName_.erase(found);
}

int NameIndex::LastAtOrBefore(const NodeName& name, int atOrBefore) const {
    const auto found = byName_.find(Key(name));
    return found == byName_.end() ? -1 : grammar::LastAtOrBefore(found->second, atOrBefore);
}

} // namespace zov::cgif::quick
