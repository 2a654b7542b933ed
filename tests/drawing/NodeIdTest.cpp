#include "drawing/NodeId.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace zov::drawing {
namespace {

TEST(NewNodeId, EightLettersAToZFromOneSeedableUniformSequence) {
    NodeIdGenerator ids(7), numbers(7), other(8);
    std::set<QChar> letters;
    bool differs = false;
    for (int n = 0; n < 200; ++n) {
        const QString id = ids.NewNodeId();
        ASSERT_EQ(id.size(), 8);
        for (const QChar c : id) // each letter from the next number of the same seed
            EXPECT_EQ(c.unicode(), u'A' + static_cast<int>(numbers.NextUniform() * 26));
        differs |= id != other.NewNodeId();
        letters.insert(id.begin(), id.end());
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(letters.size(), 26u); // A to Z, every one of them
    EXPECT_TRUE(*letters.begin() == QLatin1Char('A') && *letters.rbegin() == QLatin1Char('Z'));
    for (int n = 0; n < 100000; ++n) {
        const double u = numbers.NextUniform();
        ASSERT_TRUE(u >= 0.0 && u < 1.0) << u;
    }

    // Ids drawn after single numbers straddle the generator's regenerations at every offset,
    // and still take the next eight numbers of the sequence.
    NodeIdGenerator mixed(3), sequence(3);
    for (int n = 0; n < 700; ++n) {
        ASSERT_EQ(mixed.NextUniform(), sequence.NextUniform());
        const QString id = mixed.NewNodeId();
        for (const QChar c : id)
            ASSERT_EQ(c.unicode(), u'A' + static_cast<int>(sequence.NextUniform() * 26)) << "id " << n;
    }

    // Seeding again starts the sequence over.
    NodeIdGenerator reseeded(99);
    const QString a = reseeded.NewNodeId();
    reseeded.Seed(99);
    EXPECT_EQ(reseeded.NewNodeId(), a);
}

// The ids' numbers are those of the standard 32-bit Mersenne Twister from the same seed, across
// several regenerations of its state and after seeding again.
TEST(NewNodeId, NumbersAreTheStandardMersenneTwistersFromTheSameSeed) {
    for (const std::uint32_t seed : {0u, 1u, 5489u, 12345u, 4294967295u}) {
        Mt19937 ours(seed);
        std::mt19937 standard(seed);
        for (int n = 0; n < 5000; ++n)
            ASSERT_EQ(ours(), standard()) << "seed " << seed << " number " << n;
        ours.Seed(seed + 1);
        standard.seed(seed + 1);
        ASSERT_EQ(ours(), standard()) << "seed " << seed << " seeded again";
    }
    Mt19937 fresh;
    for (int n = 1; n < 10000; ++n)
        fresh();
    EXPECT_EQ(fresh(), 4123659995u); // the ten-thousandth number from the default seed
}

} // namespace
} // namespace zov::drawing
