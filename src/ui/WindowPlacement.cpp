#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace zov::ui {

namespace {

constexpr int gap = 8;

// The place right of `owner`, else left of it, `below` pixels under its top, when the screen
// has room there for `size`.
std::optional<QPoint> besideOwner(QSize size, const QRect& frame, const QRect& screen, int below)
{
    if (frame.right() + gap + size.width() <= screen.right())
        return QPoint(frame.right() + gap, frame.top() + below);
    if (frame.left() - gap - size.width() >= screen.left())
        return QPoint(frame.left() - gap - size.width(), frame.top() + below);
    return std::nullopt;
}

void moveInside(QWidget& window, QPoint at, QSize size, const QRect& screen)
{
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    window.move(at);
}

QSize frameSize(const QWidget& window) { return window.frameGeometry().size().expandedTo(window.size()); }

} // namespace

void PlaceBeside(QWidget& tool, const QWidget* owner)
{
    if (!owner || !owner->isVisible() || !owner->screen())
        return;
    constexpr int belowMenus = 90; // the owner's title, menu and tool bars
    constexpr int aboveStatus = 30; // the owner's status bar
    const QRect screen = owner->screen()->availableGeometry();
    const QRect frame = owner->frameGeometry();
    const QSize size = frameSize(tool);
    // Else over the lower left of the owner: the editor's slide list, not its slide.
    const QPoint at = besideOwner(size, frame, screen, belowMenus)
                          .value_or(QPoint(frame.left() + gap, frame.bottom() - aboveStatus - size.height()));
    moveInside(tool, at, size, screen);
}

void PlaceBesideOrCentre(QWidget& window, const QWidget* owner)
{
    if (owner && owner->isVisible() && owner->screen()) {
        const QRect screen = owner->screen()->availableGeometry();
        window.resize(window.size().boundedTo(screen.size() - QSize(40, 60))); // room for the frame
        const QSize size = frameSize(window);
        if (const std::optional<QPoint> at = besideOwner(size, owner->frameGeometry(), screen, 0)) {
            moveInside(window, *at, size, screen);
            return;
        }
    }
    CentreOnScreen(window, owner);
}

void CentreOnScreen(QWidget& window, const QWidget* owner)
{
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // A window never shown nor sized (a chooser at its own size) has a placeholder size until it
    // is shown: it is centred at the size it will have.
    if (!window.isVisible() && !window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    window.resize(window.size().boundedTo(room.size() - QSize(40, 60))); // room for the frame
    QRect frame(QPoint(0, 0), window.size());
    frame.moveCenter(room.center());
    window.move(std::max(frame.left(), room.left()), std::max(frame.top(), room.top()));
}

} // namespace zov::ui
