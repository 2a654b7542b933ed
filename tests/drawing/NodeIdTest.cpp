#include "drawing/NodeId.h"

#include <gtest/gtest.h>
#include <set>

namespace zov::drawing {
namespace {

TEST(NewNodeId, EightLettersAToZEachFromTheNextUniformNumber) {
    NodeIdGenerator ids(42);
    NodeIdGenerator numbers(42);
    for (int n = 0; n < 50; ++n) {
        const QString id = ids.NewNodeId();
        ASSERT_EQ(id.size(), 8);
        for (const QChar c : id) {
            EXPECT_GE(c, QLatin1Char('A'));
            EXPECT_LE(c, QLatin1Char('Z'));
            const double u = numbers.NextUniform();
            EXPECT_EQ(c.unicode(), u'A' + static_cast<int>(u * 26));
        }
    }
    for (int n = 0; n < 100000; ++n) {
        const double u = numbers.NextUniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(NewNodeId, TheSameSeedRepeatsTheIdsAndEveryLetterTurnsUp) {
    NodeIdGenerator first(7), second(7), other(8);
    std::set<QChar> letters;
    bool differs = false;
    for (int n = 0; n < 200; ++n) {
        const QString id = first.NewNodeId();
        EXPECT_EQ(id, second.NewNodeId());
        differs |= id != other.NewNodeId();
        letters.insert(id.begin(), id.end());
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(letters.size(), 26u);

    // Seeding again starts the sequence over.
    NodeIdGenerator reseeded(99);
    const QString a = reseeded.NewNodeId();
    reseeded.Seed(99);
    EXPECT_EQ(reseeded.NewNodeId(), a);
}

} // namespace
} // namespace zov::drawing
