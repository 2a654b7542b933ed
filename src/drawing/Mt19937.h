#pragma once
// The 32-bit Mersenne Twister (MT19937) with its standard seeding: the same numbers as
// std::mt19937 from the same seed. Node ids draw eight numbers each, and the standard library's
// engine keeps its 624 words 64 bits wide and regenerates them slowly; this one keeps them in
// 32 bits and regenerates them in three straight loops, with the tempering inline.
#include <array>
#include <cstdint>

namespace zov::drawing {

class Mt19937 {
public:
    explicit Mt19937(std::uint32_t seed = DefaultSeed) { Seed(seed); }

    void Seed(std::uint32_t seed) {
        state_[0] = seed;
        for (std::uint32_t i = 1; i < Size; ++i)
            state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
        next_ = Size;
    }

    std::uint32_t operator()() {
        if (next_ >= Size)
            Regenerate();
        std::uint32_t y = state_[next_++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        return y ^ (y >> 18);
    }

    static constexpr std::uint32_t DefaultSeed = 5489u;

private:
    static constexpr std::uint32_t Size = 624;
    static constexpr std::uint32_t Shift = 397;

    static std::uint32_t Twist(std::uint32_t upper, std::uint32_t lower, std::uint32_t far) {
        const std::uint32_t y = (upper & 0x80000000u) | (lower & 0x7fffffffu);
        return far ^ (y >> 1) ^ ((y & 1u) != 0 ? 0x9908b0dfu : 0u);
    }
    void Regenerate() {
        std::uint32_t i = 0;
        for (; i < Size - Shift; ++i)
            state_[i] = Twist(state_[i], state_[i + 1], state_[i + Shift]);
        for (; i < Size - 1; ++i)
            state_[i] = Twist(state_[i], state_[i + 1], state_[i + Shift - Size]);
        state_[Size - 1] = Twist(state_[Size - 1], state_[0], state_[Shift - 1]);
        next_ = 0;
    }

    std::array<std::uint32_t, Size> state_{};
    std::uint32_t next_ = Size;
};

} // namespace zov::drawing
