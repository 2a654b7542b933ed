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
    const QRect screen = owner->screen()->availableGeometry();
    const QRect frame = owner->frameGeometry();
    const QSize size = tool.frameGeometry().size().expandedTo(tool.size());
    QPoint at;
    if (frame.right() + gap + size.width() <= screen.right())
        at = QPoint(frame.right() + gap, frame.top() + belowMenus);
    else if (frame.left() - gap - size.width() >= screen.left())
        at = QPoint(frame.left() - gap - size.width(), frame.top() + belowMenus);
    else
        at = QPoint(frame.right() - gap - size.width(), frame.top() + belowMenus);
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    tool.move(at);
}

} // namespace zov::ui
