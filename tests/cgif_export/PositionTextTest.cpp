#include "cgif/export/PositionText.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

// Seven significant digits without trailing zeros, exponent form beyond them, a decimal point
// whatever the locale.
TEST(PositionTextTest, SevenSignificantDigitsAndAPointInEveryLocale) {
    const std::pair<float, const char*> cases[] = {
        {100.0f, "100"},          {87.5f, "87.5"},        {-12.25f, "-12.25"},
        {0.1f, "0.1"} /* not 0.1000000015 */,             {123.456789f, "123.4568"},
        {33.333333f, "33.33333"}, {1234567.0f, "1234567"}, {0.0001f, "0.0001"},
        {0.0f, "0"},              {-0.0f, "0"},           {12345678.0f, "1.234568E+07"},
        {0.00001f, "1E-05"},
    };
    const QLocale saved;
    for (const QLocale& locale : {QLocale(QLocale::C), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        for (const auto& [value, text] : cases)
            EXPECT_EQ(PositionText(value), QString::fromLatin1(text)) << value << " " << locale.name().toStdString();
    }
    QLocale::setDefault(saved);
}

} // namespace
} // namespace zov::cgif::exporter
