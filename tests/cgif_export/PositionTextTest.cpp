#include "cgif/export/PositionText.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

TEST(PositionTextTest, SevenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(PositionText(100.0f), QStringLiteral("100"));
    EXPECT_EQ(PositionText(87.5f), QStringLiteral("87.5"));
    EXPECT_EQ(PositionText(-12.25f), QStringLiteral("-12.25"));
    EXPECT_EQ(PositionText(0.1f), QStringLiteral("0.1")); // not 0.1000000015
    EXPECT_EQ(PositionText(123.456789f), QStringLiteral("123.4568"));
    EXPECT_EQ(PositionText(33.333333f), QStringLiteral("33.33333"));
    EXPECT_EQ(PositionText(1234567.0f), QStringLiteral("1234567"));
    EXPECT_EQ(PositionText(0.0001f), QStringLiteral("0.0001"));
}

TEST(PositionTextTest, ZeroAndNumbersBeyondSevenDigits) {
    EXPECT_EQ(PositionText(0.0f), QStringLiteral("0"));
    EXPECT_EQ(PositionText(-0.0f), QStringLiteral("0"));
    EXPECT_EQ(PositionText(12345678.0f), QStringLiteral("1.234568E+07"));
    EXPECT_EQ(PositionText(0.00001f), QStringLiteral("1E-05"));
}

TEST(PositionTextTest, DecimalPointWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(PositionText(87.5f), QStringLiteral("87.5"));
    QLocale::setDefault(saved);
}

} // namespace
} // namespace zov::cgif::exporter
