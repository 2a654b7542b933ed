#include "app/desktop/TurnIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zov::app {

namespace {

// A half turn over the top, ending in a head that points down on the side it turns to; drawn
// for Back and mirrored for Forward.
QPixmap drawTurn(int size, Turn turn, const QColor& colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (turn == Turn::Forward) {
        painter.translate(size, 0);
        painter.scale(-1, 1);
    }
    painter.scale(size / 32.0, size / 32.0);
    QPen pen(colour, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath arc;
    arc.moveTo(25, 25);
    arc.cubicTo(27, 12, 18, 6, 11, 11);
    arc.lineTo(8, 14);
    painter.drawPath(arc);
    QPainterPath head;
    head.moveTo(4, 8);
    head.lineTo(5, 19);
    head.lineTo(15, 16);
    head.closeSubpath();
    painter.setBrush(colour);
    painter.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(head);
    return pixmap;
}

} // namespace

QIcon turnIcon(Turn turn, const QColor& colour)
{
    const QString themed = turn == Turn::Back ? QStringLiteral("edit-undo") : QStringLiteral("edit-redo");
    if (QIcon::hasThemeIcon(themed))
        return QIcon::fromTheme(themed);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addPixmap(drawTurn(size, turn, colour));
    return icon;
}

} // namespace zov::app
