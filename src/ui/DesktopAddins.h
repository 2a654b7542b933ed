#pragma once
// Everything the desktop host needs to run its add-ins, in one object the main window keeps
// beside its Application: the Qt platform services, the host's add-in registry, and the
// add-in manager that carries this program's "ZOVEdit.Connect".
//
//   host::Application app;            // declared before, destroyed after
//   ui::DesktopAddins addins(app);
//   ... main window shown ...
//   addins.StartUp();                 // connects the registered add-ins (the "ZOV Edit" button appears)
//   ... Tools > Add-ins: addins.ShowAddinsDialog(mainWindow);
//   ... on close: addins.ShutDown();
#include "addin/AddinManager.h"
#include "addin/AddinRegistry.h"
#include "drawing/NodeId.h"
#include "platform/IniSettingsStore.h"
#include "ui/QtHelpViewer.h"
#include "ui/QtPlatform.h"

#include <QString>
#include <memory>

class QWidget;

namespace zov::host {
class Application;
}

namespace zov::ui {

struct DesktopAddinsOptions {
    QString hostSettingsFile;      // the host's add-in registry; empty: the user's
    QString drawingSettingsFolder; // the editor's settings store; empty: the user's
    QString libraryFolder;         // the add-in's folder (help); empty: the program's folder
    // On the very first run of the host, register the add-in as an installer would. A removal
    // by the user is remembered and not undone.
    bool registerOnFirstRun = true;
};

class DesktopAddins {
public:
    explicit DesktopAddins(host::Application& application, DesktopAddinsOptions options = {});
    ~DesktopAddins();
    DesktopAddins(const DesktopAddins&) = delete;
    DesktopAddins& operator=(const DesktopAddins&) = delete;

    // Connects the add-ins registered to load as the host starts.
    void StartUp();
    // Disconnects every add-in (their windows close) and keeps their buttons for the next run.
    void ShutDown();
    // The Add-ins dialog: tick to connect, untick to disconnect, Remove to unregister.
    void ShowAddinsDialog(QWidget* parent);
    // The main window's Help menu: the add-in's help from its first page (so that it can be
    // found before the palette is), and the About box the palette shows.
    void ShowHelp();
    void ShowAbout();

    // A fresh node id from the ZOV Edit session's sequence while the add-in is connected, else
    // from a sequence of the host's own (seeded from the clock): the Edit menu's Paste uses it.
    QString NewNodeId();

    addin::AddinManager& Manager() { return *manager_; }
    addin::AddinRegistry& Registry() { return *registry_; }
    platform::MessageBoxes& Messages() { return messages_; }

private:
    std::unique_ptr<addin::Extensibility> makeZovEdit();

    DesktopAddinsOptions options_;
    QtMessageBoxes messages_;
    QtCommonDialog dialogs_;
    QtCursorPosition cursor_;
    QtHelpViewer help_;
    platform::IniSettingsStore settings_;
    std::unique_ptr<addin::AddinRegistry> registry_;
    std::unique_ptr<addin::AddinManager> manager_;
    drawing::NodeIdGenerator ownIds_;
};

} // namespace zov::ui
