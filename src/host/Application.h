#pragma once
// The host application: open presentations, each shown in a document window, the active
// window, and the command bars.
#include "host/CommandBars.h"
#include "host/DocumentWindow.h"

#include <functional>
#include <vector>

namespace zov::host {

class Application;

class Presentations {
public:
    explicit Presentations(Application& app) : app_(app) {}
    int Count() const;
    Presentation Item(int index) const; // 1-based
    Presentation Add();                 // new, no slides, shown in a new window that becomes active
private:
    Application& app_;
};

class Application {
public:
    Application();

    host::Presentations Presentations() { return host::Presentations(*this); }
    Presentation ActivePresentation() const; // empty handle when none is open
    DocumentWindow ActiveWindow() const;     // empty handle when none is open
    host::CommandBars& CommandBars() { return commandBars_; }

    // Shows an existing presentation (one read from a file) in a new window that becomes active.
    DocumentWindow Open(Presentation presentation);
    void Close(const DocumentWindow& window);
    void Activate(const DocumentWindow& window);
    const std::vector<DocumentWindow>& Windows() const { return windows_; }

    // Called after the set of windows or the active window changed (the desktop follows it).
    std::function<void()> windowsChanged;

private:
    friend class host::Presentations;
    std::vector<DocumentWindow> windows_;
    int active_ = -1;
    host::CommandBars commandBars_;
};

} // namespace zov::host
