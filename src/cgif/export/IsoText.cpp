#include "cgif/export/IsoText.h"

#include "cgif/export/PositionText.h"

namespace zov::cgif::exporter {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A letter or "_", then letters, digits, "_" and "-".
bool isIdentifier(const QString& text) {
    if (text.isEmpty() || !(text[0].isLetter() || text[0] == u'_'))
        return false;
    for (const QChar c : text)
        if (!c.isLetterOrNumber() && c != u'_' && c != u'-')
            return false;
    return true;
}

// Referent forms the extended dialect shares with the 2001 one: a quantifier "@every", an
// indexical or individual marker "#", "#123" (no blanks), a collection "{a, b}"; none holds a
// bracket, quote, "/" or ";" that would end the concept or its comment early.
bool isSharedReferentForm(const QString& text) {
    if (text.isEmpty() || !(text[0] == u'@' || text[0] == u'#' || text[0] == u'{'))
        return false;
    const bool collection = text[0] == u'{';
    for (const QChar c : text)
        if (c == u']' || c == u'[' || c == u'(' || c == u')' || c == u'"' || c == u'\'' || c == u'/' ||
            c == u';' || (c.isSpace() && (!collection || c != u' ')))
            return false;
    return !collection || text.endsWith(u'}');
}

// An optional sign, digits, and an optional fraction: "12", "-3", "+0.5".
bool isNumeral(const QString& text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype digitsFrom = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionFrom = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == fractionFrom)
            return false;
    }
    return i == text.size();
}

// Text between `quote` marks in which every inner quote mark and backslash is escaped.
bool isQuoted(const QString& text, QChar quote) {
    if (text.size() < 2 || text.front() != quote || text.back() != quote)
        return false;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == u'\\') {
            if (i + 2 >= text.size())
                return false; // the escape would take the closing quote
            ++i;
        } else if (text[i] == quote) {
            return false;
        }
    }
    return true;
}

QString quotedName(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    escaped += u'"';
    return escaped;
}

// An attribute value: XML escapes, and no "*/" that would end the comment holding it.
QString xmlValue(const QString& text) {
    QString value = text.toHtmlEscaped();
    value.replace(QStringLiteral("*/"), QStringLiteral("*&#47;"));
    return value;
}

QString rectangle(float left, float top) {
    return QStringLiteral("<layout><rectangle x=\"%1\" y=\"%2\"/></layout>").arg(PositionText(left), PositionText(top));
}

} // namespace

QString IsoName(const QString& text) {
    if (isIdentifier(text) || isNumeral(text) || isQuoted(text, u'\'') || isQuoted(text, u'"') ||
        isSharedReferentForm(text))
        return text;
    return quotedName(text);
}

QString IsoTypeName(const QString& text) { return isIdentifier(text) ? text : quotedName(text); }

QString IsoComment(const QString& text) {
    QString body = text;
    body.replace(QStringLiteral("*/"), QStringLiteral("* /"));
    return QStringLiteral("/* ") + body + QStringLiteral(" */");
}

QString LayoutNote(NoteKind kind, float left, float top) {
    const QString element = kind == NoteKind::Concept    ? QStringLiteral("concept")
                            : kind == NoteKind::Relation ? QStringLiteral("relation")
                                                         : QStringLiteral("actor");
    return QStringLiteral("/* <") + element + u'>' + rectangle(left, top) + QStringLiteral("</") +
           element + QStringLiteral("> */");
}

QString GraphNote(const QString& name, const QString& type) {
    return QStringLiteral("/* <graph name=\"%1\" type=\"%2\"/> */").arg(xmlValue(name), xmlValue(type));
}

QString GraphNote(const QString& name, const QString& type, float left, float top) {
    return QStringLiteral("/* <graph name=\"%1\" type=\"%2\">").arg(xmlValue(name), xmlValue(type)) +
           rectangle(left, top) + QStringLiteral("</graph> */");
}

} // namespace zov::cgif::exporter
