// The add-in's entry in the host's settings, as `zovedit --register` writes it and the host
// reads it, and the version text of the About box.
#include "AddinFixture.h"

#include "addin/Version.h"

#include "support/TestPaths.h"

#include <QProcess>
#include <QSettings>

namespace zov::addin::testing {
namespace {

TEST(AddinRegistry, RegisterWritesTheEntryUnderTheHostsAddinKey) {
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("Host.ini"));
    {
        AddinRegistry registry(file);
        EXPECT_EQ(RegisterZovEdit(registry), 0);
    }
    // Read back with plain QSettings: the key path is the host's published one.
    QSettings raw(file, QSettings::IniFormat);
    const QString key = QStringLiteral("Software/Microsoft/Office/PowerPoint/Addins/ZOVEdit.Connect/");
    EXPECT_EQ(raw.value(key + QStringLiteral("FriendlyName")).toString(), QStringLiteral("ZOV Edit"));
    EXPECT_EQ(raw.value(key + QStringLiteral("Description")).toString(), QStringLiteral("Conceptual Graph Editor"));
    EXPECT_EQ(raw.value(key + QStringLiteral("LoadBehavior")).toInt(), 16);

    AddinRegistry reopened(file);
    // Unregistering removes only that entry, and unregistering what is not there is no failure.
    reopened.Register(AddinRegistration{QStringLiteral("Other.Connect"), QStringLiteral("Other"), QStringLiteral("d"), 3});
    EXPECT_EQ(UnregisterZovEdit(reopened), 0);
    EXPECT_FALSE(reopened.Find(QStringLiteral("ZOVEdit.Connect")).has_value());
    ASSERT_EQ(reopened.All().size(), 1u);
    EXPECT_EQ(reopened.All().front().progId, QStringLiteral("Other.Connect"));
    EXPECT_EQ(UnregisterZovEdit(reopened), 0);
}

TEST(AddinRegistry, AnUnreadableLoadBehaviourLeavesTheAddinUnloaded) {
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("Host.ini"));
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue(QStringLiteral("Software/Microsoft/Office/PowerPoint/Addins/Broken.Connect/LoadBehavior"),
                     QStringLiteral("often"));
    }
    const auto entry = AddinRegistry(file).Find(QStringLiteral("Broken.Connect"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->loadBehavior, 0);
}

TEST(AddinRegistry, ASettingsFileThatCannotBeWrittenIsReported) {
    QTemporaryDir folder;
    // A folder where the file should be: QSettings cannot write it.
    const QString file = QDir(folder.path()).filePath(QStringLiteral("Host.ini"));
    ASSERT_TRUE(QDir().mkpath(file));
    AddinRegistry registry(file);
    EXPECT_EQ(RegisterZovEdit(registry), 2);
    EXPECT_FALSE(registry.LastError().isEmpty());
}

TEST(AddinRegistry, TheProgramRegistersAndUnregistersItsAddinForTheUser) {
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    auto run = [&](const QString& option) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(test::programPath(), {option});
        EXPECT_TRUE(program.waitForFinished(30000));
        EXPECT_TRUE(program.readAllStandardError().isEmpty());
        return program.exitCode();
    };
    const QString hostSettings = QDir(config.path()).filePath(QStringLiteral("ZOVEdit/Host.ini"));

    ASSERT_EQ(run(QStringLiteral("--register")), 0);
    {
        AddinRegistry registry(hostSettings);
        const auto entry = registry.Find(QStringLiteral("ZOVEdit.Connect"));
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->description, QStringLiteral("Conceptual Graph Editor"));
        EXPECT_EQ(entry->loadBehavior, 16);
    }
    ASSERT_EQ(run(QStringLiteral("--unregister")), 0);
    AddinRegistry registry(hostSettings);
    EXPECT_FALSE(registry.Find(QStringLiteral("ZOVEdit.Connect")).has_value());
}

TEST(ProgramVersion, AboutTextShowsMajorMinorAndRevision) {
    EXPECT_EQ(AboutText(ProgramVersion{0, 5, 47}), QStringLiteral("ZOVEdit version 0.5 (47)"));
    EXPECT_EQ(AboutText(ParseVersion(QStringLiteral("1.02.3"))), QStringLiteral("ZOVEdit version 1.2 (3)"));
    const ProgramVersion partial = ParseVersion(QStringLiteral("2"));
    EXPECT_EQ(partial.major, 2);
    EXPECT_EQ(partial.minor, 0);
    EXPECT_EQ(partial.revision, 0);
    EXPECT_EQ(AboutText(ParseVersion(QStringLiteral("x.y"))), QStringLiteral("ZOVEdit version 0.0 (0)"));
}

} // namespace
} // namespace zov::addin::testing
