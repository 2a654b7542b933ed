// Runs the drawing layer's case files in tests/cases/drawing:
//   settings.case    a stored "KEY=TEXT" and the "KEY=VALUE" it loads as
//   name-parts.case  a shape name or label and "label [..] id [..] type [..] referent [..] star N"
#include "drawing/DrawingSettings.h"
#include "drawing/NameParts.h"
#include "platform/fake/MemorySettingsStore.h"
#include "support/CaseFiles.h"

#include <gtest/gtest.h>

namespace zov::drawing {
namespace {

namespace keys = settings_keys;

TEST(DrawingCases, EachStoredTextLoadsAsTheCaseSays) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("drawing"), QStringLiteral("settings.case"))) {
        const QString key = c.input.section(u'=', 0, 0);
        platform::MemorySettingsStore stored;
        stored.setValue(keys::Application, keys::Section, key, c.input.section(u'=', 1));
        // What was loaded, written back through a save.
        platform::MemorySettingsStore saved;
        SaveDrawingSettings(LoadDrawingSettings(stored), saved);
        const QString loaded = saved.value(keys::Application, keys::Section, key, QStringLiteral("<not saved>"));
        EXPECT_EQ((key + u'=' + loaded).toStdString(), zov::test::Lines(c.expected)) << c.where();
    }
}

TEST(DrawingCases, EachNameSplitsAsTheCaseSays) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("drawing"), QStringLiteral("name-parts.case"))) {
        const QString parts = QStringLiteral("label [%1] id [%2] type [%3] referent [%4] star %5")
                                  .arg(LabelPart(c.input), IdPart(c.input), TypePart(c.input), ReferentPart(c.input))
                                  .arg(StarPosition(c.input));
        EXPECT_EQ(parts.toStdString(), zov::test::Lines(c.expected)) << c.where();
    }
}

TEST(DrawingCases, PositionsSaturateAtTheSixteenBitLimitAndSearchesAreCaseSensitive) {
    EXPECT_EQ(StarPosition(QString(40000, QLatin1Char('a')) + QLatin1Char('*')), 32767);
    EXPECT_EQ(PositionAfter(QStringLiteral(" is "), QStringLiteral("p1 is Proposition")), 4);
    EXPECT_EQ(PositionAfter(QStringLiteral("IS"), QStringLiteral("p1 is Proposition")), 0);
}

} // namespace
} // namespace zov::drawing
