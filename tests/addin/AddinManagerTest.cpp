// The host's side: which registered add-ins connect at start-up, and the buttons kept between
// runs that connect their add-in when pressed (the Add-ins dialog's untick and remove are
// driven through the dialog in the ui tests).
#include "AddinFixture.h"

#include "support/TestPaths.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <signal.h>

namespace zov::addin::testing {
namespace {

class AddinManagerTest : public AddinTest {
protected:
    AddinManagerTest() : registry(QDir(folder.path()).filePath(QStringLiteral("Host.ini"))) {}

    // A manager for `host` that carries the ZOV Edit add-in and counts the objects it makes.
    std::unique_ptr<AddinManager> makeManager(host::Application& host) {
        auto manager = std::make_unique<AddinManager>(host, registry, messages);
        manager->Provide(ZovEditProgId, [this] {
            ++created;
            return makeConnect();
        });
        return manager;
    }

    int loadBehavior() { return registry.Find(ZovEditProgId)->loadBehavior; }

    QTemporaryDir folder;
    AddinRegistry registry;
    int created = 0;
};

TEST_F(AddinManagerTest, ConnectsAtStartupOnlyWhatAsksForIt) {
    registry.Register(AddinRegistration{ZovEditProgId, QStringLiteral("ZOV Edit"), QString(), LoadAtStartup});
    auto manager = makeManager(app);
    manager->StartUp();
    EXPECT_FALSE(manager->IsConnected(ZovEditProgId)) << "at startup but unticked (2)";
    EXPECT_TRUE(zovButtons(app).empty());

    registry.SetLoadBehavior(ZovEditProgId, LoadAtStartup | LoadConnected);
    auto again = makeManager(app);
    again->StartUp();
    EXPECT_TRUE(again->IsConnected(ZovEditProgId));
    EXPECT_EQ(loadBehavior(), 3) << "an at-startup entry keeps its behaviour";
}

TEST_F(AddinManagerTest, AButtonOfAnAddinUnregisteredBetweenTwoRunsIsNotRestored) {
    RegisterZovEdit(registry);
    {
        auto manager = makeManager(app);
        manager->StartUp();
        manager->ShutDown();
    }
    UnregisterZovEdit(registry);
    host::Application restarted;
    makeManager(restarted)->StartUp();
    EXPECT_TRUE(zovButtons(restarted).empty());
}

TEST_F(AddinManagerTest, AnAddinThisProgramDoesNotCarryIsReported) {
    registry.Register(AddinRegistration{QStringLiteral("Other.Connect"), QStringLiteral("Other"), QStringLiteral("x"),
                                        LoadConnectFirstTime});
    auto manager = makeManager(app);
    manager->StartUp();
    EXPECT_FALSE(manager->IsConnected(QStringLiteral("Other.Connect")));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().front().text.contains(QStringLiteral("Other.Connect")));
    EXPECT_EQ(registry.Find(QStringLiteral("Other.Connect"))->loadBehavior, LoadConnectFirstTime)
        << "an entry that failed to connect keeps asking";
    const auto listed = manager->Addins();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_FALSE(listed.front().available);
    EXPECT_FALSE(listed.front().connected);
}

// The host's first run ends abnormally (killed, or stopped by a signal it does not handle):
// the registration and the button it made are in its settings all the same, and the next run
// shows the button, whose press loads the add-in.
TEST_F(AddinManagerTest, TheButtonAndTheRegistrationOutliveAKilledFirstRun) {
    for (const int signal : {SIGKILL, SIGTERM}) {
        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const QString hostSettings = QDir(config.path()).filePath(QStringLiteral("ZOVEdit/Host.ini"));
        const QString savedAction =
            QStringLiteral("Software/Microsoft/Office/PowerPoint/CommandBars/AddinControls/1/OnAction");
        const QString behaviourKey = QStringLiteral("Software/Microsoft/Office/PowerPoint/Addins/ZOVEdit.Connect/LoadBehavior");

        QProcess program;
        program.setProcessEnvironment(env);
        program.start(test::programPath(), {});
        ASSERT_TRUE(program.waitForStarted(10000));
        bool saved = false;
        for (QDeadlineTimer deadline(60000); !saved && !deadline.hasExpired() && program.state() == QProcess::Running;) {
            QThread::msleep(50);
            const QSettings written(hostSettings, QSettings::IniFormat);
            saved = written.value(savedAction).toString() == QStringLiteral("!<ZOVEdit.Connect>") &&
                written.value(behaviourKey).toInt() == (LoadOnDemand | LoadConnected);
        }
        ASSERT_TRUE(saved) << "the first run never wrote its button: " << program.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);

        AddinRegistry kept(hostSettings);
        ASSERT_TRUE(kept.Find(ZovEditProgId).has_value()) << "signal " << signal;
        host::Application next;
        AddinManager manager(next, kept, messages);
        manager.Provide(ZovEditProgId, [this] { return makeConnect(); });
        manager.StartUp();
        const auto buttons = zovButtons(next);
        ASSERT_EQ(buttons.size(), 1u) << "signal " << signal;
        EXPECT_EQ(buttons.front().Caption(), QStringLiteral("ZOV Edit"));
        buttons.front().Execute();
        EXPECT_TRUE(manager.IsConnected(ZovEditProgId));
        manager.ShutDown();
    }
}

// Within one run the settings follow the bar: a button added, renamed or deleted is in the file
// at once, before any shutdown.
TEST_F(AddinManagerTest, TheSettingsFollowEveryChangeOfTheButtons) {
    RegisterZovEdit(registry);
    auto manager = makeManager(app);
    manager->StartUp();
    const QString file = registry.FileName();
    const QString key = QStringLiteral("Software/Microsoft/Office/PowerPoint/CommandBars/AddinControls/1/");
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value(key + QStringLiteral("Caption")).toString(), QStringLiteral("ZOV Edit"));
    zovButtons(app).front().SetCaption(QStringLiteral("Graphs"));
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value(key + QStringLiteral("Caption")).toString(), QStringLiteral("Graphs"));
    zovButtons(app).front().Delete();
    EXPECT_TRUE(QSettings(file, QSettings::IniFormat).value(key + QStringLiteral("OnAction")).toString().isEmpty());
}

} // namespace
} // namespace zov::addin::testing
