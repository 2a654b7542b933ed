#include "cgif/export/PositionText.h"
#include "support/CaseFiles.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

// The cases of tests/cases/cgif_export/positions.case, in the C and the German locale.
TEST(PositionTextTest, EachNumberIsWrittenAsItsCaseSays) {
    const QLocale saved;
    for (const QLocale& locale : {QLocale(QLocale::C), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        for (const test::Case& c : test::LoadCases(QStringLiteral("cgif_export"), QStringLiteral("positions.case")))
            EXPECT_EQ(PositionText(c.input.toFloat()).toStdString(), test::Lines(c.expected)) << c.where() << " " << locale.name().toStdString();
    }
    QLocale::setDefault(saved);
}

} // namespace
} // namespace zov::cgif::exporter
