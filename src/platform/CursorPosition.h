#pragma once
// Where the mouse pointer is, in screen pixels.
#include <QPoint>

namespace zov::platform {

// The widget showing the slide carries SlideViewProperty (true), so that a pointer service can
// tell whether the pointer is over the slide or over another window, and LastPointerProperty,
// the slide point (a QPointF in points) where the pointer last moved over it: a point on the
// slide, which stays the same place when the view is zoomed or scrolled.
inline constexpr char SlideViewProperty[] = "zovSlideView";
inline constexpr char LastPointerProperty[] = "zovLastPointer";

class CursorPosition {
public:
    virtual ~CursorPosition() = default;
    virtual QPoint position() const = 0;
};

} // namespace zov::platform
