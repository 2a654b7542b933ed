// Runs the drawing layer's case files in tests/cases/drawing:
//   settings.case    a stored "KEY=TEXT" and the "KEY=VALUE" it loads as
//   name-parts.case  a shape name or label and "label [..] id [..] type [..] referent [..] star N"
//   node-ids.case    a node id's text and how it is kept: "letters", "text" or "empty"
#include "drawing/DrawingSettings.h"
#include "drawing/NameParts.h"
#include "drawing/NodeId.h"
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

// Whatever form an id is kept in, it gives its text back, and copies, moves, comparisons and
// hashes treat it as that text.
TEST(DrawingCases, EachNodeIdIsKeptAsTheCaseSaysAndActsAsItsText) {
    const NodeId other(QStringLiteral("other id"));
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("drawing"), QStringLiteral("node-ids.case"))) {
        const NodeId id(c.input);
        const char* kept = id.IsEmpty() ? "empty" : id.Letters() != 0 ? "letters" : "text";
        EXPECT_EQ(kept, zov::test::Lines(c.expected)) << c.where();
        EXPECT_EQ(id.ToString(), c.input) << c.where();
        QString appended = QStringLiteral("x/");
        id.AppendTo(appended);
        EXPECT_EQ(appended, QStringLiteral("x/") + c.input) << c.where();
        EXPECT_TRUE(id == QStringView(c.input)) << c.where();
        EXPECT_FALSE(id == QStringView(c.input + u'Q')) << c.where();
        NodeId copy(id);
        EXPECT_TRUE(copy == id && qHash(copy, 7) == qHash(NodeId(c.input), 7)) << c.where();
        copy = other;
        EXPECT_TRUE(copy == other && copy != id) << c.where();
        copy = id;
        NodeId moved(std::move(copy));
        EXPECT_TRUE(moved == id && copy.IsEmpty()) << c.where();
        moved = std::move(moved);
        EXPECT_EQ(moved.ToString(), c.input) << c.where();
    }
    // Drawn ids are packed.
    NodeIdGenerator ids(3);
    EXPECT_NE(ids.NewId().Letters(), 0u);
}

TEST(DrawingCases, PositionsSaturateAtTheSixteenBitLimitAndSearchesAreCaseSensitive) {
    EXPECT_EQ(StarPosition(QString(40000, QLatin1Char('a')) + QLatin1Char('*')), 32767);
    EXPECT_EQ(PositionAfter(QStringLiteral(" is "), QStringLiteral("p1 is Proposition")), 4);
    EXPECT_EQ(PositionAfter(QStringLiteral("IS"), QStringLiteral("p1 is Proposition")), 0);
}

} // namespace
} // namespace zov::drawing
