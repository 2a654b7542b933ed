#include "cgif/reader/ShownText.h"

namespace zov::cgif {

namespace {
QString NameOf(QChar c) {
    switch (c.unicode()) {
    case u'\t': return QStringLiteral("(a tab)");
    case u'\v': return QStringLiteral("(a vertical tab)");
    case u'\f': return QStringLiteral("(a form feed)");
    case u'\n': return QStringLiteral("(a line break)");
    case 0x00A0: return QStringLiteral("(a no-break space)");
    case 0x3000: return QStringLiteral("(an ideographic space)");
    case 0xFEFF: return QStringLiteral("(a byte order mark)");
    default: break;
    }
    // Other spaces, and characters that show as nothing (zero-width spaces and joiners).
    if (c != u' ' && (c.isSpace() || c.category() == QChar::Other_Format))
        return QStringLiteral("(U+%1)").arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
    return QString();
}
} // namespace

QString ShownText(QStringView text, qsizetype shown) {
    QString out;
    // Never between the two halves of a character beyond the first 65,536 (an emoji).
    if (shown > 0 && shown < text.size() && text[shown - 1].isHighSurrogate() && text[shown].isLowSurrogate())
        --shown;
    const QStringView cut = text.left(shown);
    for (const QChar c : cut) {
        if (const QString name = NameOf(c); name.isEmpty())
            out += c;
        else
            out += name;
    }
    if (cut.size() < text.size())
        out += QStringLiteral("...");
    return out;
}

} // namespace zov::cgif
