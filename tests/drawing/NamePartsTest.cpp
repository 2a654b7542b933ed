#include "drawing/NameParts.h"

#include <gtest/gtest.h>

namespace zov::drawing {
namespace {

TEST(NameParts, SplitAShapeNameAtTheFirstSlash) {
    EXPECT_EQ(LabelPart(QStringLiteral("x3/QKXBAMEW")), QStringLiteral("x3"));
    EXPECT_EQ(IdPart(QStringLiteral("x3/QKXBAMEW")), QStringLiteral("QKXBAMEW"));
    EXPECT_EQ(LabelPart(QStringLiteral("QKXBAMEW")), QString());
    EXPECT_EQ(IdPart(QStringLiteral("QKXBAMEW")), QStringLiteral("QKXBAMEW"));
    // An empty label, as the slide builder names unlabelled concepts.
    EXPECT_EQ(LabelPart(QStringLiteral("/QKXBAMEW")), QString());
    EXPECT_EQ(IdPart(QStringLiteral("/QKXBAMEW")), QStringLiteral("QKXBAMEW"));
    // Only the first slash separates.
    EXPECT_EQ(LabelPart(QStringLiteral("p1/a/B")), QStringLiteral("p1"));
    EXPECT_EQ(IdPart(QStringLiteral("p1/a/B")), QStringLiteral("a/B"));
}

TEST(NameParts, SplitALabelAtTheFirstColon) {
    EXPECT_EQ(TypePart(QStringLiteral("Cat:Tom")), QStringLiteral("Cat"));
    EXPECT_EQ(ReferentPart(QStringLiteral("Cat:Tom")), QStringLiteral("Tom"));
    EXPECT_EQ(TypePart(QStringLiteral("Cat")), QStringLiteral("Cat"));
    EXPECT_EQ(ReferentPart(QStringLiteral("Cat")), QString());
    EXPECT_EQ(TypePart(QStringLiteral("Time:\"12:30\"")), QStringLiteral("Time"));
    EXPECT_EQ(ReferentPart(QStringLiteral("Time:\"12:30\"")), QStringLiteral("\"12:30\""));
    // Blanks are kept: nothing is trimmed.
    EXPECT_EQ(TypePart(QStringLiteral(" Cat : Tom")), QStringLiteral(" Cat "));
    EXPECT_EQ(ReferentPart(QStringLiteral(" Cat : Tom")), QStringLiteral(" Tom"));
}

TEST(NameParts, PositionAfterIsOnePastTheFirstMatchAndSaturatesAtTheSixteenBitLimit) {
    EXPECT_EQ(StarPosition(QStringLiteral("Proposition *p1")), 14);
    EXPECT_EQ(StarPosition(QStringLiteral("Cat")), 0);
    EXPECT_EQ(StarPosition(QStringLiteral("*a*b")), 2);
    EXPECT_EQ(PositionAfter(QStringLiteral(" is "), QStringLiteral("p1 is Proposition")), 4);
    // Case-sensitive.
    EXPECT_EQ(PositionAfter(QStringLiteral("IS"), QStringLiteral("p1 is Proposition")), 0);
    EXPECT_EQ(StarPosition(QString(40000, QLatin1Char('a')) + QLatin1Char('*')), 32767);
}

} // namespace
} // namespace zov::drawing
