// The add-in's entry in the host's settings, as `zovedit --register` writes it and the host
// reads it.
#include "AddinFixture.h"

#include "support/TestPaths.h"

#include <QProcess>
#include <QSettings>

namespace zov::addin::testing {
namespace {

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

} // namespace
} // namespace zov::addin::testing
