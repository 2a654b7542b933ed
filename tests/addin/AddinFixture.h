#pragma once
// A host with its command bars, the platform fakes an add-in needs, and editor windows that
// only record what the start of the editor asks of them.
#include "addin/AddinManager.h"
#include "addin/AddinRegistry.h"
#include "addin/Connect.h"
#include "addin/Session.h"
#include "host/Application.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FixedCursorPosition.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingHelpViewer.h"
#include "platform/fake/ScriptedCommonDialog.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zov::addin::testing {

// What the start asked of the windows, in order.
struct WindowLog {
    std::vector<QString> calls;
    int made = 0;
    int destroyed = 0;
    bool paletteOpen = false; // what PaletteOpen answers
};

class RecordingWindows : public EditorWindows {
public:
    RecordingWindows(Session& session, WindowLog& log) : session_(session), log_(log) { ++log_.made; }
    ~RecordingWindows() override { ++log_.destroyed; }
    void LoadPalette() override { log_.calls.push_back(QStringLiteral("LoadPalette")); }
    void LoadConfiguration() override { log_.calls.push_back(QStringLiteral("LoadConfiguration")); }
    void ShowPalette() override {
        log_.calls.push_back(QStringLiteral("ShowPalette"));
        session_.Editor().RebuildNodeTables(); // showing activates the palette
    }
    void SelectConceptOption() override {
        log_.calls.push_back(QStringLiteral("SelectConceptOption"));
        session_.Editor().SetCommandMode(1);
    }
    bool PaletteOpen() const override { return log_.paletteOpen; }

private:
    Session& session_;
    WindowLog& log_;
};

class AddinTest : public ::testing::Test {
protected:
    AddinServices services() {
        AddinServices s;
        s.messages = &messages;
        s.settings = &store;
        s.cursor = &cursor;
        s.dialogs = &dialogs;
        s.help = &help;
        s.libraryFolder = QStringLiteral("/opt/zovedit");
        s.version = ProgramVersion{0, 5, 47};
        s.seedSource = [] { return 4711u; };
        return s;
    }
    EditorWindowsFactory windowsFactory() {
        return [this](Session& session) { return std::make_unique<RecordingWindows>(session, windowLog); };
    }
    std::unique_ptr<Connect> makeConnect() { return std::make_unique<Connect>(services(), windowsFactory()); }

    // The ZOV Edit controls on every bar of `app`.
    static std::vector<host::CommandBarButton> zovButtons(host::Application& app) {
        std::vector<host::CommandBarButton> found;
        for (const host::CommandBar& bar : app.CommandBars().All())
            for (int i = 1; i <= bar.ControlCount(); ++i)
                if (bar.Control(i).Tag() == ButtonTag)
                    found.push_back(bar.Control(i));
        return found;
    }

    host::Application app;
    platform::FakeMessageBoxes messages;
    platform::MemorySettingsStore store;
    platform::FixedCursorPosition cursor;
    platform::ScriptedCommonDialog dialogs;
    platform::RecordingHelpViewer help;
    WindowLog windowLog;
};

} // namespace zov::addin::testing
