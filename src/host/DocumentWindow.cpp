#include "host/DocumentWindow.h"

#include "host/geometry/Geometry.h"
#include "host/model/Lock.h"

#include <algorithm>
#include <cmath>

namespace zov::host {

namespace {

std::shared_ptr<WindowData> lockWindow(const std::weak_ptr<WindowData>& d)
{
    auto w = d.lock();
    if (!w || !w->open)
        throw HostError("Object does not exist: the window is closed");
    return w;
}

// Pane numbers of the normal view: 1 outline, 2 slide, 3 notes; the view type each shows
// (6 outline, 1 slide, 3 notes page).
constexpr int kPaneViewTypes[3] = {6, ViewSlide, 3};

// The slide in view. A window whose slide was deleted shows the first slide, if any.
std::shared_ptr<SlideData> slideInView(WindowData& w)
{
    auto slide = w.slide.lock();
    if (slide && slide->presentation)
        return slide;
    if (!w.presentation.IsNothing() && !w.presentation.data().slides.empty()) {
        slide = w.presentation.data().slides.front();
        w.slide = slide;
        return slide;
    }
    return {};
}

// A quick test that rules out most shapes before the exact outline test: the shape's box (a
// connector's grown by the tolerance), read straight from its fields. Rotated shapes take the
// general path.
inline bool mayContain(const ShapeData& s, double x, double y, double tolerance)
{
    if (s.kind == ShapeKind::Connector) {
        return x >= std::min(s.begin.x(), s.end.x()) - tolerance && x <= std::max(s.begin.x(), s.end.x()) + tolerance
            && y >= std::min(s.begin.y(), s.end.y()) - tolerance && y <= std::max(s.begin.y(), s.end.y()) + tolerance;
    }
    if (s.rotation != 0)
        return hitBounds(s, tolerance).contains(QPointF(x, y));
    const double right = double(s.left) + s.width, bottom = double(s.top) + s.height;
    return x >= std::min<double>(s.left, right) && x <= std::max<double>(s.left, right)
        && y >= std::min<double>(s.top, bottom) && y <= std::max<double>(s.top, bottom);
}

} // namespace

// --- panes, view, selection ---------------------------------------------------------------

int Pane::ViewType() const
{
    const auto w = lockWindow(d_);
    if (index_ == 0)
        return w->activePaneViewType;
    return kPaneViewTypes[index_ - 1];
}

void Pane::Activate()
{
    const auto w = lockWindow(d_);
    if (index_ > 0)
        w->activePaneViewType = kPaneViewTypes[index_ - 1];
}

host::Slide View::Slide() const
{
    const auto w = lockWindow(d_);
    auto slide = slideInView(*w);
    if (!slide)
        throw HostError("No slide is in view");
    return host::Slide(slide);
}

void View::GotoSlide(int index)
{
    const auto w = lockWindow(d_);
    const auto& slides = w->presentation.data().slides;
    if (index < 1 || index > static_cast<int>(slides.size()))
        throw HostError("The slide index is out of range");
    w->slide = slides[static_cast<std::size_t>(index - 1)];
    w->selectedShape.reset();
}

void Selection::Unselect()
{
    const auto w = lockWindow(d_);
    w->selectedShape.reset();
    w->selectionStart = 0;
    w->selectionLength = 0;
}

bool Selection::HasTextRange() const
{
    const auto w = lockWindow(d_);
    const auto s = w->selectedShape.lock();
    return s && s->slide;
}

Shape Selection::SelectedShape() const
{
    const auto w = lockWindow(d_);
    const auto s = w->selectedShape.lock();
    return s && s->slide ? Shape(s) : Shape();
}

int Selection::Start() const
{
    return HasTextRange() ? lockWindow(d_)->selectionStart : 0;
}

int Selection::Length() const
{
    return HasTextRange() ? lockWindow(d_)->selectionLength : 0;
}

// --- window -------------------------------------------------------------------------------

WindowData& DocumentWindow::data() const
{
    if (!d_)
        throw HostError("Object does not exist: no document window");
    if (!d_->open)
        throw HostError("Object does not exist: the window is closed");
    return *d_;
}

int DocumentWindow::ViewType() const
{
    return data().viewType;
}

void DocumentWindow::SetViewType(int type)
{
    WindowData& w = data();
    if (type < 1 || type > 12)
        throw HostError("Invalid view type");
    w.viewType = type;
    if (type != ViewNormal)
        w.activePaneViewType = type; // single-pane views show only themselves
}

Pane DocumentWindow::ActivePane() const
{
    data();
    return Pane(d_, 0);
}

Pane DocumentWindow::Panes(int index) const
{
    data();
    if (index < 1 || index > 3)
        throw HostError("The pane index is out of range");
    return Pane(d_, index);
}

host::View DocumentWindow::View() const
{
    data();
    return host::View(d_);
}

host::Selection DocumentWindow::Selection() const
{
    data();
    return host::Selection(d_);
}

host::Presentation DocumentWindow::Presentation() const
{
    return data().presentation;
}

int DocumentWindow::PointsToScreenPixelsX(float points) const
{
    const WindowData& w = data();
    return static_cast<int>(std::lround(w.originX + points * w.zoom));
}

int DocumentWindow::PointsToScreenPixelsY(float points) const
{
    const WindowData& w = data();
    return static_cast<int>(std::lround(w.originY + points * w.zoom));
}

Shape DocumentWindow::RangeFromPoint(int x, int y) const
{
    WindowData& w = data();
    const auto slide = slideInView(w);
    if (!slide || w.zoom <= 0)
        return Shape();
    const QPointF p((x - w.originX) / w.zoom, (y - w.originY) / w.zoom);
    const double tolerance = 3.0 / w.zoom; // three pixels around a connector's line
    const auto& shapes = slide->shapes;
    for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
        const ShapeData& s = **it;
        if (mayContain(s, p.x(), p.y(), tolerance) && containsPoint(s, p, tolerance))
            return Shape(*it);
    }
    return Shape();
}

void DocumentWindow::SetViewTransform(double originX, double originY, double zoom)
{
    if (!(zoom > 0))
        throw HostError("The zoom must be positive");
    WindowData& w = data();
    w.originX = originX;
    w.originY = originY;
    w.zoom = zoom;
}

} // namespace zov::host
