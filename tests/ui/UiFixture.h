#pragma once
// An editor session with the desktop's windows over the platform fakes: the palette and the
// configuration dialog are real widgets; messages, file and colour dialogs, help and the mouse
// pointer are scripted.
#include "addin/Session.h"
#include "host/Application.h"
#include "host/Shape.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FixedCursorPosition.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingHelpViewer.h"
#include "platform/fake/ScriptedCommonDialog.h"
#include "ui/Configuration.h"
#include "ui/QtEditorWindows.h"
#include "ui/ZOVMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zov::ui::testing {

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.isValid());
        addin::AddinServices s;
        s.messages = &messages;
        s.settings = &store;
        s.cursor = &cursor;
        s.dialogs = &dialogs;
        s.help = &help;
        s.libraryFolder = library.path();
        s.version = addin::ProgramVersion{0, 5, 47};
        s.seedSource = [] { return 99u; };
        session = std::make_unique<addin::Session>(app, s, QtEditorWindowsFactory());
    }
    void TearDown() override { session.reset(); }

    // Presses the "ZOV Edit" button: the editor starts, the palette shows. The slide is then
    // shown with its top-left corner at screen (100, 50), one pixel per point.
    void start() {
        session->StartEditor();
        window().SetViewTransform(100, 50, 1.0);
    }
    QtEditorWindows& windows() { return static_cast<QtEditorWindows&>(*session->Windows()); }
    ZOVMain& palette() { return *windows().Palette(); }
    editor::EditorSession& editor() { return session->Editor(); }
    host::DocumentWindow window() { return app.ActiveWindow(); }
    host::Slide slideInView() { return window().View().Slide(); }

    QTemporaryDir library; // the add-in's folder
    host::Application app;
    platform::FakeMessageBoxes messages;
    platform::MemorySettingsStore store;
    platform::FixedCursorPosition cursor;
    platform::ScriptedCommonDialog dialogs;
    platform::RecordingHelpViewer help;
    std::unique_ptr<addin::Session> session;
};

} // namespace zov::ui::testing
