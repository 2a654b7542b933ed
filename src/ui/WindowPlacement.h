#pragma once
// Where a tool window opens the first time: beside the window the user was working in, so that
// it covers none of that window's document. Without this a window system with no window
// manager (or one that does not place windows) puts it at the screen's top-left corner, over
// the main window's menus.
class QWidget;

namespace zov::ui {

// Moves `tool` to the right of `owner` when the screen has room there, else to the left of it,
// else into `owner`'s lower-left corner above its status bar, where the editor's main window has
// its slide list rather than the slide; always inside the screen.
// Nothing happens when `owner` is null or not visible.
void PlaceBeside(QWidget& tool, const QWidget* owner);

// Moves `window` beside `owner` (right of it, else left, level with its top) when the screen
// has room there, else to the middle of the screen, as CentreOnScreen does: a help window
// opened from the palette is read beside the palette, not over it.
void PlaceBesideOrCentre(QWidget& window, const QWidget* owner);

// Moves `window` to the middle of the screen `owner` is on (the primary screen without one),
// made smaller first where the screen is smaller than it.
void CentreOnScreen(QWidget& window, const QWidget* owner);

} // namespace zov::ui
