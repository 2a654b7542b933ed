#pragma once
// Ascending lists of node indexes, as the lookup indexes of both readers keep them per name:
// appending at the end is the usual case, a lookup asks for the nearest index at or before a place.
#include <algorithm>

namespace zov::cgif::grammar {

// Adds `index` unless the list holds it.
template <typename List>
void InsertSorted(List& list, int index) {
    if (list.empty() || list.back() < index) {
        list.push_back(index);
        return;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at == list.end() || *at != index)
        list.insert(at, index);
}

// Removes `index` when the list holds it.
template <typename List>
void EraseSorted(List& list, int index) {
    if (!list.empty() && list.back() == index) {
        list.pop_back();
        return;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at != list.end() && *at == index)
        list.erase(at);
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
