#include "cgif/iso/GraphNotes.h"

#include <QRegularExpression>

namespace zov::cgif::iso {

namespace {

QString xmlText(QString value) {
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&#47;"), QLatin1String("/"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&")); // last: "&amp;lt;" is "&lt;"
    return value;
}

} // namespace

GraphNote ReadGraphNote(const QString& comment) {
    static const QRegularExpression graph(QStringLiteral("^<graph\\s+name=\"([^\"]*)\"\\s+type=\"([^\"]*)\"\\s*(/>|>)"));
    static const QRegularExpression rectangle(
        QStringLiteral("<rectangle\\s+x=\"(-?[0-9]+(?:\\.[0-9]*)?(?:E[-+]?[0-9]+)?)\"\\s+y=\"(-?[0-9]+(?:\\.[0-9]*)?(?:E[-+]?[0-9]+)?)\""));
    const QRegularExpressionMatch match = graph.match(comment);
    if (!match.hasMatch() || match.captured(1).isEmpty())
        return GraphNote{};
    GraphNote note{true, xmlText(match.captured(1)), xmlText(match.captured(2)), false, 0, 0};
    if (const QRegularExpressionMatch at = rectangle.match(comment); at.hasMatch()) {
        bool xOk = false;
        bool yOk = false;
        note.x = at.captured(1).toFloat(&xOk);
        note.y = at.captured(2).toFloat(&yOk);
        note.hasPosition = xOk && yOk;
    }
    return note;
}

} // namespace zov::cgif::iso
