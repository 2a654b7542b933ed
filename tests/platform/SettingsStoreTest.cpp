#include "platform/IniSettingsStore.h"
#include "platform/fake/MemorySettingsStore.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::platform {
namespace {

const QString app = QStringLiteral("ZOVEdit");
const QString section = QStringLiteral("Startup");

// The behaviour every store shares, run against each implementation.
void checkStoreBehaviour(SettingsStore& store) {
    EXPECT_EQ(store.value(app, section, QStringLiteral("ConceptColor"), QStringLiteral("12648447")),
              QStringLiteral("12648447"));

    store.setValue(app, section, QStringLiteral("NodeFontName"), QStringLiteral("Times New Roman"));
    store.setValue(app, section, QStringLiteral("NodeFontSize"), QStringLiteral("-3"));
    EXPECT_EQ(store.value(app, section, QStringLiteral("NodeFontName"), QStringLiteral("Arial")),
              QStringLiteral("Times New Roman"));
    EXPECT_EQ(store.value(app, section, QStringLiteral("NodeFontSize"), QStringLiteral("18")), QStringLiteral("-3"));
    // Keys are told apart by letter case, and by section and application.
    EXPECT_EQ(store.value(app, section, QStringLiteral("nodefontname"), QStringLiteral("none")), QStringLiteral("none"));
    EXPECT_EQ(store.value(app, QStringLiteral("Other"), QStringLiteral("NodeFontName"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(store.value(QStringLiteral("Other"), section, QStringLiteral("NodeFontName"), QStringLiteral("none")),
              QStringLiteral("none"));

    store.remove(app, section, QStringLiteral("NodeFontName"));
    EXPECT_EQ(store.value(app, section, QStringLiteral("NodeFontName"), QStringLiteral("Arial")), QStringLiteral("Arial"));
}

TEST(IniSettingsStore, StoresReadsAndRemovesTextValuesThatSurviveIntoANewStoreObject) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    {
        IniSettingsStore store(folder.path());
        checkStoreBehaviour(store);
        store.setValue(app, section, QStringLiteral("CommentFontName"), QStringLiteral("Courier New, Bold"));
    }
    IniSettingsStore reopened(folder.path());
    EXPECT_EQ(reopened.value(app, section, QStringLiteral("CommentFontName"), QString()), QStringLiteral("Courier New, Bold"));
    EXPECT_EQ(reopened.value(app, section, QStringLiteral("NodeFontSize"), QString()), QStringLiteral("-3"));
    EXPECT_TRUE(QFileInfo::exists(reopened.fileName(app)));
    EXPECT_TRUE(reopened.fileName(app).startsWith(folder.path()));
}

TEST(MemorySettingsStore, BehavesLikeAStoreAndLogsEveryWrite) {
    MemorySettingsStore store;
    checkStoreBehaviour(store);
    ASSERT_EQ(store.writes().size(), 3u);
    EXPECT_EQ(store.writes()[1].address.key, QStringLiteral("NodeFontSize"));
    EXPECT_EQ(store.writes()[1].value, QStringLiteral("-3"));
    EXPECT_TRUE(store.writes()[2].removed);
    EXPECT_TRUE(store.contains(app, section, QStringLiteral("NodeFontSize")));
    EXPECT_FALSE(store.contains(app, section, QStringLiteral("NodeFontName")));
}

} // namespace
} // namespace zov::platform
