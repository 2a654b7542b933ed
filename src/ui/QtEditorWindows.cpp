#include "ui/QtEditorWindows.h"

#include "addin/Session.h"
#include "ui/Configuration.h"
#include "ui/WindowPlacement.h"
#include "ui/ZOVMain.h"

#include <QApplication>
#include <QMainWindow>

namespace zov::ui {

QtEditorWindows::QtEditorWindows(addin::Session& session) : session_(session) {}

QtEditorWindows::~QtEditorWindows() {
    if (palette_) {
        palette_->close(); // the query-unload offer runs here, unless the palette was closed
        delete palette_.data();
    }
    delete configuration_.data();
}

ZOVMain* QtEditorWindows::Palette() const { return palette_ && !palette_->IsUnloaded() ? palette_.data() : nullptr; }
ui::Configuration* QtEditorWindows::ConfigurationDialog() const { return configuration_.data(); }

void QtEditorWindows::LoadPalette() {
    // A closed palette deletes itself at the next turn of the event loop; a new one is made.
    if (palette_ && !palette_->IsUnloaded())
        return;
    palette_ = new ZOVMain(session_);
    palette_->setAttribute(Qt::WA_DeleteOnClose);
    palette_->SetConfigureHandler([this] { ShowConfiguration(); });
    if (configuration_)
        configuration_->AddEditorWindow(palette_);
}

void QtEditorWindows::LoadConfiguration() {
    if (configuration_)
        return;
    if (!session_.Services().dialogs)
        return;
    configuration_ = new ui::Configuration(session_.DrawingSettings(), *session_.Services().dialogs);
    configuration_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (palette_)
        configuration_->AddEditorWindow(palette_);
}

namespace {
// The window the user pressed "ZOV Edit" in: the active window, or, where the window system has
// activated none (no window manager gives a clicked window the focus), the visible main window.
QWidget* PressedIn() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qobject_cast<QMainWindow*>(window))
            return window;
    return nullptr;
}
} // namespace

void QtEditorWindows::ShowPalette() {
    const bool opening = !Palette() || !palette_->isVisible();
    LoadPalette();
    // A palette that opens goes beside the window the user pressed "ZOV Edit" in.
    if (QWidget* owner = PressedIn(); opening && owner != palette_.data())
        PlaceBeside(*palette_, owner);
    palette_->show();
    palette_->raise();
    palette_->activateWindow();
    // Showing activates the palette. The window system may tell so later, or not at all when
    // the palette already was the active window; the activation's work is done here at once.
    palette_->Activate();
}

void QtEditorWindows::SelectConceptOption() {
    if (ZOVMain* palette = Palette())
        palette->SelectOption(1);
}

bool QtEditorWindows::PaletteOpen() const {
    const ZOVMain* palette = Palette();
    return palette && palette->isVisible();
}

void QtEditorWindows::ShowConfiguration() {
    if (!configuration_)
        LoadConfiguration();
    if (!configuration_)
        return;
    // Coming from the palette, an open dialog is activated afresh; a hidden one is activated
    // by being shown.
    if (configuration_->isVisible())
        configuration_->Activate();
    configuration_->show();
    configuration_->raise();
    configuration_->activateWindow();
}

addin::EditorWindowsFactory QtEditorWindowsFactory() {
    return [](addin::Session& session) { return std::make_unique<QtEditorWindows>(session); };
}

} // namespace zov::ui
