#include "cgif/iso/IsoText.h"

namespace zov::cgif::iso {

namespace {
bool IsBracket(QChar c) { return c == u'[' || c == u']' || c == u'(' || c == u')'; }
} // namespace

void IsoText::SkipBlankRun() {
    const qsizetype size = text_.size();
    const QChar* data = text_.constData();
    while (pos_ < size && IsBlank(data[pos_]))
        ++pos_;
}

bool IsoText::Match(char c) {
    SkipBlanks();
    if (!PeekIs(c))
        return false;
    ++pos_;
    return true;
}

bool IsoText::StartsNumber() const {
    const QChar c = Peek();
    if (IsDigit(c))
        return true;
    qsizetype at = 0;
    if (c == u'+' || c == u'-')
        at = 1;
    if (IsDigit(Peek(at)))
        return true;
    return Peek(at) == u'.' && IsDigit(Peek(at + 1));
}

bool IsoText::ApostropheInName(qsizetype at) const {
    if (at + 1 >= text_.size() || !text_.at(at + 1).isLetter())
        return false;
    for (qsizetype i = at + 1; i < text_.size(); ++i) {
        const QChar c = text_.at(i);
        if (c == u'\'')
            return false; // a quoted name that follows directly
        if (IsBracket(c) || c == u'\n')
            return true;
    }
    return true;
}

QStringView IsoText::ReadNameView() {
    const qsizetype start = pos_;
    while (pos_ < text_.size()) {
        const char32_t c = CodePointAt(text_, pos_);
        if (pos_ == start ? StartsIsoName(c) || QChar::isDigit(c) : ContinuesIsoName(c))
            pos_ += UnitsOf(c);
        else if (c == U'\'' && pos_ > start && ApostropheInName(pos_))
            ++pos_;
        else
            break;
    }
    return Since(start);
}

QString IsoText::ReadNumber() {
    const qsizetype start = pos_;
    if (PeekIs('+') || PeekIs('-'))
        ++pos_;
    while (IsDigit(Peek()))
        ++pos_;
    if (PeekIs('.') && IsDigit(Peek(1))) {
        ++pos_;
        while (IsDigit(Peek()))
            ++pos_;
    }
    if ((PeekIs('e') || PeekIs('E')) &&
        (IsDigit(Peek(1)) || ((Peek(1) == u'+' || Peek(1) == u'-') && IsDigit(Peek(2))))) {
        pos_ += 2;
        while (IsDigit(Peek()))
            ++pos_;
    }
    return text_.mid(start, pos_ - start);
}

QString IsoText::ReadQuoted() {
    const qsizetype start = pos_;
    const QChar quote = Peek();
    qsizetype end = pos_ + 1;
    while (end < text_.size() && text_.at(end) != quote)
        end += text_.at(end) == u'\\' ? 2 : 1;
    if (end >= text_.size())
        Fail(quote == u'"' ? QStringLiteral("a quoted name or string with no closing \"")
                           : QStringLiteral("a quoted name with no closing '"),
             start);
    pos_ = end + 1;
    return text_.mid(start, pos_ - start);
}

QString IsoText::Unquoted(QStringView quoted) {
    QString text;
    text.reserve(quoted.size());
    for (qsizetype i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == u'\\' && i + 2 < quoted.size())
            ++i;
        text += quoted[i];
    }
    return text;
}

bool IsoText::NextIs(char c) const {
    qsizetype at = pos_;
    while (at < text_.size() && IsBlank(text_.at(at)))
        ++at;
    return at < text_.size() && text_.at(at) == QLatin1Char(c);
}

QString IsoText::ReadCollection() {
    const qsizetype start = pos_;
    const QChar open = Peek();
    const QChar close = open == u'{' ? u'}' : u'>';
    QString out;
    bool blank = false;
    ++pos_;
    out += open;
    while (true) {
        if (AtEnd())
            Fail(QStringLiteral("a collection with no closing ") + close, start);
        const QChar c = text_.at(pos_);
        if (c == u'"' || c == u'\'') {
            if (blank && !out.endsWith(u',') && !out.endsWith(open))
                out += u' ';
            blank = false;
            out += ReadQuoted();
            continue;
        }
        ++pos_;
        if (c == close) {
            out += c;
            return out;
        }
        if (c.unicode() <= 0x20) {
            blank = true;
            continue;
        }
        if (blank && c != u',' && !out.endsWith(u',') && !out.endsWith(open))
            out += u' ';
        blank = false;
        out += c;
    }
}

QStringView IsoText::ReadBlockComment(qsizetype start) {
    // Found by its "*", which a comment has few of, rather than by a string search set up anew
    // for each comment.
    qsizetype end = text_.indexOf(u'*', pos_);
    while (end >= 0 && end + 1 < text_.size() && text_.at(end + 1) != u'/')
        end = text_.indexOf(u'*', end + 1);
    if (end < 0 || end + 1 >= text_.size())
        Fail(QStringLiteral("a comment \"/*\" with no closing \"*/\""), start);
    // Trimmed by hand: most notes have one blank at each end, and trimmed() is a call.
    qsizetype first = pos_;
    qsizetype last = end;
    while (first < last && text_.at(first).isSpace())
        ++first;
    while (last > first && text_.at(last - 1).isSpace())
        --last;
    pos_ = end + 2;
    return QStringView(text_).mid(first, last - first);
}

QString IsoText::ReadEndComment(QChar closer, qsizetype start) {
    const qsizetype from = pos_;
    int depth = 0;
    while (true) {
        if (AtEnd())
            Fail(QStringLiteral("a comment \";\" not closed by \"") + closer + u'"', start);
        const QChar c = text_.at(pos_);
        if (depth == 0 && c == closer)
            break;
        if (c == u'(' || c == u'[')
            ++depth;
        else if ((c == u')' || c == u']') && depth > 0)
            --depth;
        ++pos_;
    }
    QString inside = text_.mid(from, pos_ - from).trimmed();
    if (inside.endsWith(u';'))
        inside = inside.chopped(1).trimmed();
    return inside;
}

QString IsoText::ReadStandaloneComment() {
    qsizetype end = pos_;
    while (end < text_.size() && text_.at(end) != u';' && text_.at(end) != u'\n')
        ++end;
    const QString inside = text_.mid(pos_, end - pos_).trimmed();
    pos_ = end < text_.size() && text_.at(end) == u';' ? end + 1 : end;
    return inside;
}

void IsoText::Fail(const QString& what, qsizetype at) const {
    at = std::min(at, text_.size());
    const qsizetype lineStart = at == 0 ? 0 : text_.lastIndexOf(u'\n', at - 1) + 1;
    const int line = static_cast<int>(QStringView(text_).left(lineStart).count(u'\n')) + 1;
    qsizetype lineEnd = text_.indexOf(u'\n', at);
    if (lineEnd < 0)
        lineEnd = text_.size();
    qsizetype excerptEnd = std::min<qsizetype>(lineEnd, at + 60);
    if (excerptEnd > at && excerptEnd < text_.size() && text_.at(excerptEnd - 1).isHighSurrogate())
        ++excerptEnd; // a character beyond the first plane is quoted whole
    const QString excerpt = text_.mid(at, excerptEnd - at).trimmed();
    // The column counts characters: a surrogate pair is one.
    qsizetype column = at - lineStart + 1;
    for (qsizetype i = lineStart + 1; i < at; ++i)
        column -= text_.at(i).isLowSurrogate() && text_.at(i - 1).isHighSurrogate() ? 1 : 0;
    throw IsoSyntaxError(QStringLiteral("ISO CGIF: %1 at line %2, column %3 (at %4)")
                             .arg(what)
                             .arg(line)
                             .arg(column)
                             .arg(excerpt));
}

} // namespace zov::cgif::iso
