#pragma once
// The Undo and Redo icons: an arrow that turns back (Undo) or forward (Redo). The style's own
// arrows are those of going back and forth, which next to a slide list read as "previous slide"
// and "next slide". A desktop theme's "edit-undo" and "edit-redo" icons come first.
#include <QIcon>

namespace zov::app {

enum class Turn { Back, Forward };
QIcon turnIcon(Turn turn, const QColor& colour);

} // namespace zov::app
