#include "ui/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zov::ui {

void PlaceBeside(QWidget& tool, const QWidget* owner)
{
    if (!owner || !owner->isVisible() || !owner->screen())
        return;
    constexpr int gap = 8;
    constexpr int belowMenus = 90; // the owner's title, menu and tool bars
    constexpr int aboveStatus = 30; // the owner's status bar
    const QRect screen = owner->screen()->availableGeometry();
    const QRect frame = owner->frameGeometry();
    const QSize size = tool.frameGeometry().size().expandedTo(tool.size());
    QPoint at;
    if (frame.right() + gap + size.width() <= screen.right())
        at = QPoint(frame.right() + gap, frame.top() + belowMenus);
    else if (frame.left() - gap - size.width() >= screen.left())
        at = QPoint(frame.left() - gap - size.width(), frame.top() + belowMenus);
    else // over the lower left of the owner: the editor's slide list, not its slide
        at = QPoint(frame.left() + gap, frame.bottom() - aboveStatus - size.height());
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    tool.move(at);
}

} // namespace zov::ui
