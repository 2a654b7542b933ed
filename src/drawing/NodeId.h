#pragma once
// Node ids: eight letters A to Z, each drawn independently and uniformly from one random
// sequence. The sequence belongs to the editor session and is seeded when the editor starts;
// tests seed it to get repeatable ids. Ids are not checked for uniqueness.
#include <QString>
#include <cstdint>
#include <random>

namespace zov::drawing {

class NodeIdGenerator {
public:
    explicit NodeIdGenerator(std::uint32_t seed = 1) : engine_(seed) {}
    void Seed(std::uint32_t seed) { engine_.seed(seed); }
    // A uniform number in [0, 1), the sequence's next value.
    double NextUniform();
    // A fresh id: for each of eight letters, "A" plus the integer part of NextUniform() * 26.
    QString NewNodeId();

private:
    std::mt19937 engine_;
};

} // namespace zov::drawing
