#include "cgif/export/IsoText.h"

#include "cgif/export/PositionText.h"
#include "cgif/reader/IsoNames.h"

#include <QStringList>

namespace zov::cgif::exporter {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A name as the reader reads one (IsoNames.h), and an apostrophe between letters
// ("Researcher's_Time", as the tools write names).
bool isIdentifier(const QString& text) {
    if (text.isEmpty() || !StartsIsoName(CodePointAt(text, 0)))
        return false;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = CodePointAt(text, i);
        if (c == U'\'' && i > 0 && text[i - 1].isLetter() && i + 1 < text.size() && text[i + 1].isLetter()) {
            ++i;
            continue;
        }
        if (!ContinuesIsoName(c))
            return false;
        i += UnitsOf(c);
    }
    return true;
}

// Referent forms the extended dialect shares with the 2001 one: a quantifier "@every", an
// indexical or individual marker "#", "#123", a collection "{a, b}" (also with a quantifier
// before or after it: "@Col{"a", "b"}", "{*x}@40%"); none holds a bracket, "/" or ";" that
// would end the concept or its comment early, nor a blank or quote outside the braces.
bool isSharedReferentForm(const QString& text) {
    if (text.isEmpty() || !(text[0] == u'@' || text[0] == u'#' || text[0] == u'{'))
        return false;
    int braces = 0;
    for (const QChar c : text) {
        if (c == u'{')
            ++braces;
        else if (c == u'}' && --braces < 0)
            return false;
        if (c == u']' || c == u'[' || c == u'(' || c == u')' || c == u'/' || c == u';' || c == u'\r' || c == u'\n')
            return false;
        if (braces == 0 && (c == u' ' || c == u'"' || c == u'\''))
            return false;
    }
    return braces == 0;
}

// An optional sign, digits with an optional fraction (or a fraction alone), an optional
// exponent: "12", "-3", "+0.5", "+.01", "-678.88e-34".
bool isNumeral(const QString& text) {
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    qsizetype mantissa = digits();
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const qsizetype fraction = digits();
        if (fraction == 0)
            return false;
        mantissa += fraction;
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
            ++i;
        if (digits() == 0)
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


bool isNameForm(const QString& text) {
    return isIdentifier(text) || isNumeral(text) || isQuoted(text, u'\'') || isQuoted(text, u'"') ||
           isSharedReferentForm(text);
}

} // namespace

QString IsoName(const QString& text) { return isNameForm(text) ? text : quotedName(text); }

QString IsoReferent(const QString& text) {
    if (isNameForm(text) || text.startsWith(u'{'))
        return IsoName(text);
    // Several names in one referent ("John Mary Imad"), each a name form, stay as they are.
    const QStringList parts = text.split(u' ');
    for (const QString& part : parts)
        if (!isNameForm(part))
            return quotedName(text);
    return text;
}

QString IsoTypeName(const QString& text) { return isIdentifier(text) ? text : quotedName(text); }

QString IsoComment(const QString& text) {
    // Blanks at the ends are dropped as a reader of comments drops them, so that a graph read
    // back writes the same comment again.
    QString body = text.trimmed();
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
