#pragma once
// Slide ids (p:sldId/@id) run from 256 to 2^31 - 1; the masters' ids begin where they end.
#include <cstdint>

namespace zov::host {

constexpr std::uint32_t FirstSlideId = 256;
constexpr std::uint32_t LastSlideId = 2147483647;

// A new slide's id once the ids have run up to LastSlideId (a tool that draws them at random may
// have used it): the lowest that `taken` says no slide has.
template <typename Taken>
std::uint32_t LowestFreeSlideId(const Taken& taken)
{
    std::uint32_t id = FirstSlideId;
    while (taken(id))
        ++id;
    return id;
}

} // namespace zov::host
