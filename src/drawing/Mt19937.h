#pragma once
// The 32-bit Mersenne Twister (MT19937) with its standard seeding: the same numbers as
// std::mt19937 from the same seed. Node ids draw eight numbers each, and the standard library's
// engine keeps its 624 words 64 bits wide and regenerates them one at a time; this one keeps
// them in 32 bits, regenerates and tempers them four at a time in vector operations (the
// compiler's vector extensions, 16 bytes wide as every 64-bit target has them), and tempers
// inline.
#include <array>
#include <cstdint>
#include <cstring>

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
        return Temper(state_[next_++]);
    }

    // The next eight numbers, as eight calls would give them.
    void Next8(std::uint32_t (&out)[8]) {
        if (next_ + 8 > Size) {
            for (std::uint32_t& number : out)
                number = (*this)();
            return;
        }
        const Lanes first = Temper(Load(next_));
        const Lanes second = Temper(Load(next_ + 4));
        std::memcpy(out, &first, sizeof first);
        std::memcpy(out + 4, &second, sizeof second);
        next_ += 8;
    }

    static constexpr std::uint32_t DefaultSeed = 5489u;

private:
    static constexpr std::uint32_t Size = 624;
    static constexpr std::uint32_t Shift = 397;
    // Four words, operated on lane by lane.
    static constexpr std::uint32_t Width = 4;
    using Lanes = std::uint32_t __attribute__((vector_size(4 * sizeof(std::uint32_t))));

    template <typename Words>
    static Words Temper(Words y) {
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        return y ^ (y >> 18);
    }
    template <typename Words>
    static Words Twist(Words upper, Words lower, Words far) {
        const Words y = (upper & 0x80000000u) | (lower & 0x7fffffffu);
        return far ^ (y >> 1) ^ ((y & 1u) * 0x9908b0dfu);
    }
    Lanes Load(std::uint32_t at) const {
        Lanes lanes;
        std::memcpy(&lanes, &state_[at], sizeof lanes);
        return lanes;
    }
    void Store(std::uint32_t at, const Lanes& lanes) { std::memcpy(&state_[at], &lanes, sizeof lanes); }

    // Word i becomes Twist(word i, word i + 1, word i + Shift), where the words past the end
    // wrap around to those already made. Four words at a time: each four read their neighbours
    // before any of them is written, and the far words they read are either not yet made (below
    // Size - Shift) or made at least Size - Shift words earlier.
    void Regenerate() {
        std::uint32_t i = 0;
        for (; i + Width <= Size - Shift; i += Width)
            Store(i, Twist(Load(i), Load(i + 1), Load(i + Shift)));
        for (; i < Size - Shift; ++i)
            state_[i] = Twist(state_[i], state_[i + 1], state_[i + Shift]);
        for (; i + Width <= Size - 1; i += Width)
            Store(i, Twist(Load(i), Load(i + 1), Load(i + Shift - Size)));
        for (; i < Size - 1; ++i)
            state_[i] = Twist(state_[i], state_[i + 1], state_[i + Shift - Size]);
        state_[Size - 1] = Twist(state_[Size - 1], state_[0], state_[Shift - 1]);
        next_ = 0;
    }

    std::array<std::uint32_t, Size> state_{};
    std::uint32_t next_ = Size;
};

} // namespace zov::drawing
