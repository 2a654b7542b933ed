#include "ui/WindowPlacement.h"

#include <QGuiApplication>
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

void CentreOnScreen(QWidget& window, const QWidget* owner)
{
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    window.resize(window.size().boundedTo(room.size() - QSize(40, 60))); // room for the frame
    QRect frame(QPoint(0, 0), window.size());
    frame.moveCenter(room.center());
    window.move(std::max(frame.left(), room.left()), std::max(frame.top(), room.top()));
}

} // namespace zov::ui
