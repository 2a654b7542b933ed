#include "cgif/quick/NameIndex.h"

#include <algorithm>

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
    std::vector<int>& list = byName_[Key(name)];
    if (list.empty() || list.back() < index)
        list.push_back(index);
    else if (const auto at = std::lower_bound(list.begin(), list.end(), index); at == list.end() || *at != index)
        list.insert(at, index);
}

void NameIndex::Remove(const NodeName& name, int index) {
    if (!built_ || name.Empty())
        return;
    const auto found = byName_.find(Key(name));
    if (found == byName_.end())
        return;
    std::vector<int>& list = found->second;
    if (const auto at = std::lower_bound(list.begin(), list.end(), index); at != list.end() && *at == index)
        list.erase(at);
    if (list.empty())
        byName_.erase(found);
}

int NameIndex::LastAtOrBefore(const NodeName& name, int atOrBefore) const {
    const auto found = byName_.find(Key(name));
    if (found == byName_.end())
        return -1;
    const std::vector<int>& list = found->second;
    const auto after = std::upper_bound(list.begin(), list.end(), atOrBefore);
    return after == list.begin() ? -1 : *(after - 1);
}

} // namespace zov::cgif::quick
