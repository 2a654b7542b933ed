#include "drawing/NodeId.h"

#include <gtest/gtest.h>
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

    // Seeding again starts the sequence over.
    NodeIdGenerator reseeded(99);
    const QString a = reseeded.NewNodeId();
    reseeded.Seed(99);
    EXPECT_EQ(reseeded.NewNodeId(), a);
}

} // namespace
} // namespace zov::drawing
