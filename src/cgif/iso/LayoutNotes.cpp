#include "cgif/iso/LayoutNotes.h"

#include "cgif/iso/NoteText.h"

#include <QRegularExpression>

namespace zov::cgif::iso {

namespace {

const QString Number = QStringLiteral("(-?[0-9]+(?:\\.[0-9]*)?)");

LayoutNote At(const QRegularExpressionMatch& match) {
    LayoutNote note{true, false, 0, 0};
    bool xOk = false;
    bool yOk = false;
    note.x = match.captured(1).toFloat(&xOk);
    note.y = match.captured(2).toFloat(&yOk);
    note.hasPosition = xOk && yOk;
    return note;
}

} // namespace

LayoutNote ReadLayoutNote(QStringView comment) {
    static const QRegularExpression amine(QStringLiteral("&\\s*") + Number + QStringLiteral("\\s+") + Number +
                                          QStringLiteral("\\s*$"));
    static const QRegularExpression aminePoints(QStringLiteral("^(?:\\(\\s*-?[0-9.]+\\s+-?[0-9.]+\\s*\\)\\s*)+$"));
    static const QRegularExpression firstPoint(QStringLiteral("^\\(\\s*") + Number + QStringLiteral("\\s+") + Number);
    static const QRegularExpression cghsd(QStringLiteral("^CGHSD[^&]*&(\\w+)\\|[0-9]+\\|(-?[0-9]+),(-?[0-9]+),"));

    if (comment.startsWith(u'<')) {
        if (NotePosition at; FindRectangle(comment, NoteNumber::Plain, at))
            return LayoutNote{true, at.converts, at.x, at.y};
        if (comment.contains(QLatin1String("<layout")) || comment.startsWith(QLatin1String("<concept")) ||
            comment.startsWith(QLatin1String("<relation")) || comment.startsWith(QLatin1String("<actor")))
            return LayoutNote{true, false, 0, 0};
    }
    // The expressions run only on comments that can be notes: most comments are plain text.
    if (!comment.startsWith(QLatin1String("CGHSD")) && !comment.contains(u'&') && !comment.startsWith(u'('))
        return LayoutNote{};
    if (const QRegularExpressionMatch match = cghsd.match(comment); match.hasMatch()) {
        LayoutNote note{true, false, 0, 0};
        if (match.captured(1) != QLatin1String("Graph")) {
            note.x = match.captured(2).toFloat();
            note.y = match.captured(3).toFloat();
            note.hasPosition = true;
        }
        return note;
    }
    if (const QRegularExpressionMatch match = amine.match(comment); match.hasMatch())
        return At(match);
    if (aminePoints.match(comment).hasMatch())
        return At(firstPoint.match(comment));
    return LayoutNote{};
}

} // namespace zov::cgif::iso
