#pragma once
// Ascending lists of node indexes, as the lookup indexes of both readers keep them per name:
// appending at the end is the usual case, a lookup asks for the nearest index at or before a place.
#include <algorithm>

namespace zov::cgif::grammar {

// Adds `index` unless the list holds it; true when it was added.
template <typename List>
bool InsertSorted(List& list, int index) {
    if (list.empty() || list.back() < index) {
        list.push_back(index);
        return true;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at != list.end() && *at == index)
        return false;
    list.insert(at, index);
    return true;
}

// Removes `index` when the list holds it; true when it was removed.
template <typename List>
bool EraseSorted(List& list, int index) {
    if (!list.empty() && list.back() == index) {
        list.pop_back();
        return true;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at == list.end() || *at != index)
        return false;
    list.erase(at);
    return true;
}

// The largest element <= limit, or -1.
template <typename List>
int LastAtOrBefore(const List& list, int limit) {
    if (list.empty())
        return -1;
    if (list.back() <= limit)
        return list.back();
    const auto after = std::upper_bound(list.begin(), list.end(), limit);
    return after == list.begin() ? -1 : *(after - 1);
}

} // namespace zov::cgif::grammar
