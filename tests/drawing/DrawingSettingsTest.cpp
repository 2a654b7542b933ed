#include "drawing/DrawingSettings.h"
#include "platform/IniSettingsStore.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/MemorySettingsStore.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::drawing {
namespace {

using platform::MessageAnswer;

const QString app = QStringLiteral("ZOVEdit");
const QString section = QStringLiteral("Startup");

QString stored(const platform::MemorySettingsStore& store, const QString& key) {
    return store.value(app, section, key, QStringLiteral("<absent>"));
}

class DrawingSettingsTest : public ::testing::Test {
protected:
    platform::MemorySettingsStore store;
    platform::FakeMessageBoxes boxes;
};

TEST_F(DrawingSettingsTest, FirstUseAndUnchangedSettingsAskNothing) {
    // The default values themselves are checked where a save writes them, below.
    EXPECT_EQ(LoadDrawingSettings(store), DrawingSettings());
    EXPECT_FALSE(OfferToSaveSettings(DrawingSettings(), store, boxes));
    // Unchanged means equal to what is stored, not to the defaults.
    store.setValue(app, section, QStringLiteral("NodeFontSize"), QStringLiteral("20"));
    // A stored text that loads as the default compares by that reading (tests/cases/drawing).
    store.setValue(app, section, QStringLiteral("ConceptColor"), QStringLiteral("yellow"));
    store.clearWrites();
    EXPECT_FALSE(OfferToSaveSettings(LoadDrawingSettings(store), store, boxes));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(store.writes().empty());
}

TEST_F(DrawingSettingsTest, ChangeAsksAndYesWritesAllKeysInOrder) {
    DrawingSettings changed = LoadDrawingSettings(store);
    changed.commentFontSize = 14;
    boxes.script(MessageAnswer::Yes);
    EXPECT_TRUE(OfferToSaveSettings(changed, store, boxes));

    ASSERT_EQ(boxes.shown().size(), 1u);
    const platform::Message& question = boxes.shown()[0];
    EXPECT_EQ(question.text,
              QStringLiteral("Do you want to save your configuration changes\r\nas defaults for the next session?"));
    EXPECT_EQ(question.title, QStringLiteral("ZOVEdit"));
    EXPECT_EQ(question.icon, platform::MessageIcon::None);
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(platform::defaultAnswer(question), MessageAnswer::Yes);

    const QStringList expectedKeys{"ConceptColor", "RelationColor", "ActorColor", "CommentColor", "NodeFontName",
                                   "NodeFontSize", "CommentFontName", "CommentFontSize", "ArrangeImported"};
    const QStringList expectedValues{"12648447", "8454016", "33023", "16777168", "Arial", "18", "Arial", "14", "1"};
    ASSERT_EQ(store.writes().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        const auto& write = store.writes()[static_cast<std::size_t>(i)];
        EXPECT_EQ(write.address.application, app);
        EXPECT_EQ(write.address.section, section);
        EXPECT_EQ(write.address.key, expectedKeys[i]);
        EXPECT_EQ(write.value, expectedValues[i]);
    }
    EXPECT_EQ(LoadDrawingSettings(store).commentFontSize, 14);
}

TEST_F(DrawingSettingsTest, AnswerNoWritesNothingAndTheOldValuesComeBack) {
    store.setValue(app, section, QStringLiteral("ConceptColor"), QStringLiteral("255"));
    store.clearWrites();
    DrawingSettings changed = LoadDrawingSettings(store);
    EXPECT_EQ(changed.conceptColor, 255);
    changed.conceptColor = 65280;
    changed.nodeFontName = QStringLiteral("Courier New");
    boxes.script(MessageAnswer::No);

    EXPECT_FALSE(OfferToSaveSettings(changed, store, boxes));
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(store.writes().empty());
    EXPECT_EQ(LoadDrawingSettings(store).conceptColor, 255);
    EXPECT_EQ(LoadDrawingSettings(store).nodeFontName, QStringLiteral("Arial"));
}

TEST_F(DrawingSettingsTest, FontNameDifferingOnlyInCaseCountsAsAChange) {
    DrawingSettings changed = LoadDrawingSettings(store);
    changed.nodeFontName = QStringLiteral("arial");
    OfferToSaveSettings(changed, store, boxes);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(stored(store, QStringLiteral("NodeFontName")), QStringLiteral("arial"));
}

TEST_F(DrawingSettingsTest, SavedSettingsSurviveIntoTheNextRunThroughTheUsersSettingsFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    DrawingSettings settings;
    settings.nodeFontName = QStringLiteral("Liberation Serif");
    settings.arrangeImported = false;
    {
        platform::IniSettingsStore firstRun(folder.path());
        boxes.script(MessageAnswer::Yes);
        EXPECT_TRUE(OfferToSaveSettings(settings, firstRun, boxes));
    }
    platform::IniSettingsStore nextRun(folder.path());
    EXPECT_EQ(LoadDrawingSettings(nextRun), settings);

    // The file holds every key in the "Startup" group as decimal text and names.
    QSettings file(nextRun.fileName(QStringLiteral("ZOVEdit")), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Startup"));
    EXPECT_EQ(file.childKeys().size(), 9);
    EXPECT_EQ(file.value(QStringLiteral("ArrangeImported")).toString(), QStringLiteral("0"));
    EXPECT_EQ(file.value(QStringLiteral("ConceptColor")).toString(), QStringLiteral("12648447"));
    EXPECT_EQ(file.value(QStringLiteral("NodeFontName")).toString(), QStringLiteral("Liberation Serif"));
}

} // namespace
} // namespace zov::drawing
