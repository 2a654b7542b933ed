#include "host/Application.h"

#include "host/HostError.h"

#include <algorithm>

namespace zov::host {

namespace {

// Presentations in the order their first window was opened, each once.
std::vector<Presentation> openPresentations(const std::vector<DocumentWindow>& windows)
{
    std::vector<Presentation> result;
    for (const auto& w : windows) {
        const Presentation p = w.data().presentation;
        if (std::find(result.begin(), result.end(), p) == result.end())
            result.push_back(p);
    }
    return result;
}

} // namespace

int Presentations::Count() const
{
    return static_cast<int>(openPresentations(app_.windows_).size());
}

Presentation Presentations::Item(int index) const
{
    const auto all = openPresentations(app_.windows_);
    if (index < 1 || index > static_cast<int>(all.size()))
        throw HostError("The index into the Presentations collection is out of bounds");
    return all[static_cast<std::size_t>(index - 1)];
}

Presentation Presentations::Add()
{
    Presentation p = NewPresentation();
    app_.Open(p);
    return p;
}

Application::Application() = default;

Presentation Application::ActivePresentation() const
{
    const DocumentWindow w = ActiveWindow();
    return w.IsNothing() ? Presentation() : w.data().presentation;
}

DocumentWindow Application::ActiveWindow() const
{
    if (active_ < 0 || active_ >= static_cast<int>(windows_.size()))
        return DocumentWindow();
    return windows_[static_cast<std::size_t>(active_)];
}

DocumentWindow Application::Open(Presentation presentation)
{
    if (presentation.IsNothing())
        throw HostError("Object does not exist: no presentation to show");
    auto window = std::make_shared<WindowData>();
    window->presentation = presentation;
    const auto& slides = presentation.data().slides;
    if (!slides.empty())
        window->slide = slides.front();
    presentation.data().window = window;
    windows_.emplace_back(window);
    active_ = static_cast<int>(windows_.size()) - 1;
    if (windowsChanged)
        windowsChanged();
    return windows_.back();
}

void Application::Close(const DocumentWindow& window)
{
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [&](const DocumentWindow& w) { return w.shared() == window.shared(); });
    if (window.IsNothing() || it == windows_.end())
        throw HostError("The window is not open");
    const int index = static_cast<int>(it - windows_.begin());
    PresentationData& p = window.data().presentation.data();
    windows_.erase(it);
    window.shared()->open = false;
    // The presentation's text selections now go to another window showing it, if any.
    p.window.reset();
    for (const auto& w : windows_)
        if (w.data().presentation.shared().get() == &p)
            p.window = w.shared();
    if (index == active_)
        active_ = static_cast<int>(windows_.size()) - 1;
    else if (index < active_)
        --active_;
    if (windowsChanged)
        windowsChanged();
}

void Application::Activate(const DocumentWindow& window)
{
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [&](const DocumentWindow& w) { return w.shared() == window.shared(); });
    if (window.IsNothing() || it == windows_.end())
        throw HostError("The window is not open");
    active_ = static_cast<int>(it - windows_.begin());
    window.data().presentation.data().window = window.shared();
    if (windowsChanged)
        windowsChanged();
}

} // namespace zov::host
