#pragma once
// Where the mouse pointer is, in screen pixels.
#include <QPoint>

namespace zov::platform {

// The widget showing the slide carries SlideViewProperty (true), so that a pointer service can
// tell whether the pointer is over the slide or over another window, and LastPointerProperty,
// the slide point (a QPointF in points) where the pointer last moved over it: a point on the
// slide, which stays the same place when the view is zoomed or scrolled.
// A shape chosen from the keyboard (Tab) notes its middle there too, with ChosenByKeyProperty
// true until the pointer moves over the slide again: without a mouse, the commands act on the
// shape chosen last, even while the idle pointer happens to rest over the slide.
inline constexpr char SlideViewProperty[] = "zovSlideView";
inline constexpr char LastPointerProperty[] = "zovLastPointer";
inline constexpr char ChosenByKeyProperty[] = "zovChosenByKey";

class CursorPosition {
public:
    virtual ~CursorPosition() = default;
    virtual QPoint position() const = 0;
};

} // namespace zov::platform
