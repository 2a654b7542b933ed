#pragma once
// The editor's windows on the desktop: the palette ZOVMain and the dialog Configuration, made
// for a session when the editor starts. The palette is deleted when the user closes it and made
// again at the next start; the dialog stays until the session ends.
#include "addin/EditorWindows.h"

#include <QPointer>

namespace zov::ui {

class Configuration;
class ZOVMain;

class QtEditorWindows : public addin::EditorWindows {
public:
    explicit QtEditorWindows(addin::Session& session);
    ~QtEditorWindows() override; // closes the palette (the settings offer runs) and the dialog

    void LoadPalette() override;
    void LoadConfiguration() override;
    void ShowPalette() override;
    void SelectConceptOption() override;
    bool PaletteOpen() const override;

    // The palette's "Configure": shows the dialog, not modal, and activates it.
    void ShowConfiguration();

    ZOVMain* Palette() const;                     // null while unloaded
    ui::Configuration* ConfigurationDialog() const; // null until loaded

private:
    addin::Session& session_;
    QPointer<ZOVMain> palette_;
    QPointer<ui::Configuration> configuration_;
};

// The factory Connect is given on the desktop.
addin::EditorWindowsFactory QtEditorWindowsFactory();

} // namespace zov::ui
