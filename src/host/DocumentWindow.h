#pragma once
// A document window shows one presentation: the slide in view, the selection, and the map
// from slide points to screen pixels (origin and zoom). The desktop keeps the map in step with
// its canvas; tests set it directly.
#include "host/Presentation.h"

#include <QPointF>
#include <memory>

namespace zov::host {

struct WindowData {
    bool open = true; // false once the application closed the window; its handles then raise
    Presentation presentation;
    std::weak_ptr<SlideData> slide; // the slide in view
    int viewType = 9;               // normal view
    int activePaneViewType = 1;     // the slide pane
    // Screen pixel of the slide's top-left corner, and pixels per point.
    double originX = 0, originY = 0, zoom = 1.0;
    // The selection: a text range of one shape (start 1-based, length), or nothing.
    std::weak_ptr<ShapeData> selectedShape;
    int selectionStart = 0, selectionLength = 0;
};

class Pane {
public:
    explicit Pane(std::weak_ptr<WindowData> d, int index) : d_(std::move(d)), index_(index) {}
    int ViewType() const;
    void Activate();
private:
    std::weak_ptr<WindowData> d_;
    int index_;
};

class View {
public:
    explicit View(std::weak_ptr<WindowData> d) : d_(std::move(d)) {}
    host::Slide Slide() const;
    void GotoSlide(int index); // 1-based
private:
    std::weak_ptr<WindowData> d_;
};

class Selection {
public:
    explicit Selection(std::weak_ptr<WindowData> d) : d_(std::move(d)) {}
    void Unselect();
    bool HasTextRange() const;
    Shape SelectedShape() const; // empty handle when nothing is selected
    int Start() const;
    int Length() const;
private:
    std::weak_ptr<WindowData> d_;
};

class DocumentWindow {
public:
    DocumentWindow() = default;
    explicit DocumentWindow(std::shared_ptr<WindowData> d) : d_(std::move(d)) {}
    bool IsNothing() const { return d_ == nullptr; }

    int ViewType() const;
    void SetViewType(int type);
    Pane ActivePane() const;
    Pane Panes(int index) const;
    host::View View() const;
    host::Selection Selection() const;
    host::Presentation Presentation() const;

    int PointsToScreenPixelsX(float points) const;
    int PointsToScreenPixelsY(float points) const;
    Shape RangeFromPoint(int x, int y) const; // topmost shape under the pixel, or the empty handle

    void SetViewTransform(double originX, double originY, double zoom);

    WindowData& data() const;
    const std::shared_ptr<WindowData>& shared() const { return d_; }
private:
    std::shared_ptr<WindowData> d_;
};

} // namespace zov::host
