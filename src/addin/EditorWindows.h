#pragma once
// The editor's windows as the start of the editor sees them: the palette and the configuration
// dialog. The widgets live in the ui layer, which gives the session a factory for them.
#include <functional>
#include <memory>

namespace zov::addin {

class Session;

class EditorWindows {
public:
    virtual ~EditorWindows() = default;
    // Makes the palette when it is not there (its load handler runs then), without showing it.
    virtual void LoadPalette() = 0;
    // Makes the configuration dialog when it is not there, without showing it.
    virtual void LoadConfiguration() = 0;
    // Shows the palette, not modal, and makes it the active window.
    virtual void ShowPalette() = 0;
    // Selects the "C" option as a click would (command mode 1, text box cleared and focused).
    virtual void SelectConceptOption() = 0;
    // True while the palette is loaded and shown (the user has not closed it).
    virtual bool PaletteOpen() const = 0;
};

using EditorWindowsFactory = std::function<std::unique_ptr<EditorWindows>(Session&)>;

} // namespace zov::addin
