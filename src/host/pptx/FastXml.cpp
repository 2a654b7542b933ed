#include "host/pptx/FastXml.h"

#include <QRegularExpression>

namespace zov::host::pptx {
namespace {

const QString XmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isNameStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
}

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return isNameStart(c) || (u >= u'0' && u <= u'9') || u == u'-' || u == u'.' || u == u':';
}

// Characters XML does not allow at all (other than in the forms this reader gives up on).
bool isForbidden(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF;
}

qsizetype find(QStringView text, QStringView what, qsizetype from)
{
    return text.indexOf(what, from);
}

} // namespace

QStringView FastXmlCursor::Attributes::value(QLatin1StringView qualifiedName) const
{
    for (const Attribute& a : cursor_->attributes_)
        if (a.qname == qualifiedName)
            return cursor_->decode(a.raw, true);
    return {};
}

bool FastXmlCursor::Attributes::hasAttribute(QLatin1StringView qualifiedName) const
{
    for (const Attribute& a : cursor_->attributes_)
        if (a.qname == qualifiedName)
            return true;
    return false;
}

FastXmlCursor::FastXmlCursor(const QString& text, QString partName) : source_(text), text_(source_), partName_(std::move(partName))
{
}

void FastXmlCursor::fail(const QString& reason) const
{
    throw PptxError(QStringLiteral("part \"%1\": %2").arg(partName_, reason));
}

QStringView FastXmlCursor::text() const
{
    return token_ == QXmlStreamReader::Characters ? decode(rawText_, false) : QStringView();
}

QStringView FastXmlCursor::decode(QStringView raw, bool attribute) const
{
    bool plain = true;
    for (QChar c : raw)
        if (c == u'&' || c == u'\r' || (attribute && (c == u'\t' || c == u'\n'))) {
            plain = false;
            break;
        }
    if (plain)
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\r') {
            // Line ends read as one line feed (in attributes, as one space).
            if (i + 1 < raw.size() && raw[i + 1] == u'\n')
                ++i;
            out += attribute ? QChar(u' ') : QChar(u'\n');
        } else if (attribute && (c == u'\t' || c == u'\n')) {
            out += QChar(u' ');
        } else if (c == u'&') {
            const qsizetype semi = raw.indexOf(u';', i);
            if (semi < 0)
                unsupported();
            const QStringView ref = raw.mid(i + 1, semi - i - 1);
            if (ref == u"lt") out += u'<';
            else if (ref == u"gt") out += u'>';
            else if (ref == u"amp") out += u'&';
            else if (ref == u"quot") out += u'"';
            else if (ref == u"apos") out += u'\'';
            else if (ref.size() >= 2 && ref[0] == u'#') {
                bool ok = false;
                const bool hex = ref[1] == u'x';
                const QStringView digits = ref.mid(hex ? 2 : 1);
                if (digits.isEmpty() || digits.size() > 8)
                    unsupported();
                for (QChar d : digits)
                    if (!(d.isDigit() || (hex && ((d >= u'a' && d <= u'f') || (d >= u'A' && d <= u'F')))) || d.unicode() > 0x7F)
                        unsupported();
                const uint code = digits.toUInt(&ok, hex ? 16 : 10);
                const bool valid = ok && (code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
                                          || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF));
                if (!valid)
                    unsupported();
                const char32_t ch = code;
                out += QString::fromUcs4(&ch, 1);
            } else {
                unsupported();
            }
            i = semi;
        } else {
            out += c;
        }
    }
    decoded_.push_back(std::move(out));
    return decoded_.back();
}

QStringView FastXmlCursor::resolve(QStringView prefix) const
{
    for (auto it = scope_.rbegin(); it != scope_.rend(); ++it)
        if (it->prefixText == prefix)
            return it->uri;
    if (prefix == u"xml")
        return XmlNamespace;
    if (prefix.isEmpty())
        return {};
    unsupported(); // an undeclared prefix
}

qsizetype FastXmlCursor::readName(qsizetype at) const
{
    if (at >= text_.size() || !isNameStart(text_[at]))
        unsupported();
    qsizetype end = at + 1;
    int colons = 0;
    while (end < text_.size() && isNameChar(text_[end])) {
        if (text_[end] == u':' && (++colons > 1 || end + 1 >= text_.size() || !isNameStart(text_[end + 1])))
            unsupported();
        ++end;
    }
    return end;
}

QXmlStreamReader::TokenType FastXmlCursor::next()
{
    decoded_.clear();
    attributes_.clear();
    attributeNames_.clear();
    declarations_.clear();
    if (pendingEnd_) {
        pendingEnd_ = false;
        closeElement();
        return token_ = QXmlStreamReader::EndElement;
    }
    qname_ = local_ = uri_ = {};
    const qsizetype n = text_.size();
    if (pos_ >= n) {
        if (!open_.empty() || !rootSeen_)
            unsupported(); // cut short, or no document at all
        atEnd_ = true;
        return token_ = QXmlStreamReader::EndDocument;
    }
    if (text_[pos_] != u'<') {
        qsizetype end = text_.indexOf(u'<', pos_);
        if (end < 0)
            end = n;
        rawText_ = text_.mid(pos_, end - pos_);
        bool reference = false;
        for (qsizetype i = 0; i < rawText_.size(); ++i) {
            const QChar c = rawText_[i];
            if (isForbidden(c) || (open_.empty() && !isSpace(c)))
                unsupported(); // a stray character, or text outside the root
            if (c == u'>' && i >= 2 && rawText_[i - 1] == u']' && rawText_[i - 2] == u']')
                unsupported();
            reference |= c == u'&';
        }
        if (reference)
            decode(rawText_, false); // every reference must be one this reader knows
        pos_ = end;
        return token_ = QXmlStreamReader::Characters;
    }
    const QChar second = pos_ + 1 < n ? text_[pos_ + 1] : QChar();
    if (isNameStart(second)) {
        startTag();
        return token_;
    }
    if (second == u'/') {
        endTag();
        return token_;
    }
    const QStringView rest = text_.mid(pos_);
    if (rest.startsWith(u"<?")) {
        const qsizetype end = find(text_, u"?>", pos_ + 2);
        const qsizetype targetEnd = readName(pos_ + 2);
        if (end < 0 || (targetEnd < end && !isSpace(text_[targetEnd])) || targetEnd > end)
            unsupported();
        const QStringView target = text_.mid(pos_ + 2, targetEnd - pos_ - 2);
        if (target.isEmpty() || target.contains(u':'))
            unsupported(); // a target must be a name without a namespace prefix
        if (target.compare(u"xml", Qt::CaseInsensitive) == 0) {
            // The declaration, only at the very start and only in its plain form. One pattern per
            // thread: compiling it costs more than reading a small part.
            thread_local const QRegularExpression declaration(QStringLiteral(
                "^<\\?xml[ \\t\\r\\n]+version[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"1\\.0\"|'1\\.0')"
                "([ \\t\\r\\n]+encoding[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"[Uu][Tt][Ff]-8\"|'[Uu][Tt][Ff]-8'))?"
                "([ \\t\\r\\n]+standalone[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"(yes|no)\"|'(yes|no)'))?[ \\t\\r\\n]*\\?>$"));
            if (pos_ != 0 || target != u"xml" || !declaration.match(text_.mid(0, end + 2)).hasMatch())
                unsupported();
        }
        for (QChar c : text_.mid(targetEnd, end - targetEnd))
            if (isForbidden(c))
                unsupported();
        pos_ = end + 2;
        return token_ = QXmlStreamReader::ProcessingInstruction;
    }
    if (rest.startsWith(u"<!--")) {
        const qsizetype end = find(text_, u"--", pos_ + 4);
        if (end < 0 || end + 2 >= n || text_[end + 2] != u'>')
            unsupported();
        for (QChar c : text_.mid(pos_ + 4, end - pos_ - 4))
            if (isForbidden(c))
                unsupported();
        pos_ = end + 3;
        return token_ = QXmlStreamReader::Comment;
    }
    unsupported(); // a document type declaration, CDATA, or no name after '<'
}

void FastXmlCursor::closeElement()
{
    const Open closed = open_.back();
    open_.pop_back();
    scope_.resize(closed.scopeMark);
    qname_ = closed.qname;
    local_ = closed.local;
    uri_ = closed.uri;
}

void FastXmlCursor::endTag()
{
    const qsizetype nameEnd = readName(pos_ + 2);
    const QStringView qname = text_.mid(pos_ + 2, nameEnd - pos_ - 2);
    qsizetype at = nameEnd;
    while (at < text_.size() && isSpace(text_[at]))
        ++at;
    if (at >= text_.size() || text_[at] != u'>' || open_.empty() || open_.back().qname != qname)
        unsupported();
    closeElement();
    pos_ = at + 1;
    token_ = QXmlStreamReader::EndElement;
}

void FastXmlCursor::startTag()
{
    if (open_.empty() && rootSeen_)
        unsupported(); // a second root
    const qsizetype n = text_.size();
    const qsizetype nameEnd = readName(pos_ + 1);
    const QStringView qname = text_.mid(pos_ + 1, nameEnd - pos_ - 1);
    qsizetype at = nameEnd;
    bool selfClosing = false;
    const std::size_t scopeMark = scope_.size();
    for (;;) {
        const qsizetype before = at;
        while (at < n && isSpace(text_[at]))
            ++at;
        if (at >= n)
            unsupported();
        if (text_[at] == u'>') {
            ++at;
            break;
        }
        if (text_[at] == u'/') {
            if (at + 1 >= n || text_[at + 1] != u'>')
                unsupported();
            at += 2;
            selfClosing = true;
            break;
        }
        if (at == before)
            unsupported(); // attributes must be separated by white space
        const qsizetype attrEnd = readName(at);
        const QStringView attrName = text_.mid(at, attrEnd - at);
        at = attrEnd;
        while (at < n && isSpace(text_[at]))
            ++at;
        if (at >= n || text_[at] != u'=')
            unsupported();
        ++at;
        while (at < n && isSpace(text_[at]))
            ++at;
        if (at >= n || (text_[at] != u'"' && text_[at] != u'\''))
            unsupported();
        const QChar quote = text_[at];
        const qsizetype close = text_.indexOf(quote, at + 1);
        if (close < 0)
            unsupported();
        const QStringView raw = text_.mid(at + 1, close - at - 1);
        bool reference = false, spaces = false;
        for (QChar c : raw) {
            if (c == u'<' || isForbidden(c))
                unsupported();
            reference |= c == u'&';
            spaces |= c == u'\t' || c == u'\n' || c == u'\r';
        }
        at = close + 1;
        if (repeatedAttribute(attrName))
            unsupported();
        const bool declaration = attrName.size() >= 5 && attrName[0] == u'x' && attrName.startsWith(u"xmlns")
                                 && (attrName.size() == 5 || attrName[5] == u':');
        // More declarations on one element than any real document makes go to the full reader.
        if (declaration && declarations_.size() >= MaxDeclarationsPerTag)
            unsupported();
        if (declaration)
            for (const Declaration& d : declarations_)
                if ((d.prefixText.isEmpty() && attrName.size() == 5) || attrName.mid(6) == d.prefixText)
                    unsupported(); // declared twice
        if (declaration) {
            const QStringView prefix = attrName.size() == 5 ? QStringView() : attrName.mid(6);
            // A namespace name with references or line breaks is rare: left to the full reader.
            if ((!prefix.isEmpty() && raw.isEmpty()) || prefix == u"xml" || prefix == u"xmlns" || reference || spaces)
                unsupported();
            declarations_.push_back({prefix, raw});
        } else {
            if (reference)
                decode(raw, true); // every reference must be one this reader knows
            attributes_.push_back({attrName, raw});
        }
    }
    scope_.insert(scope_.end(), declarations_.begin(), declarations_.end());
    // Attribute prefixes must be declared; two attributes may not name the same one through
    // different prefixes (rare enough to leave to the full reader whenever prefixes appear).
    int prefixed = 0;
    for (const Attribute& a : attributes_) {
        const qsizetype colon = a.qname.indexOf(u':');
        if (colon >= 0) {
            resolve(a.qname.left(colon));
            ++prefixed;
        }
    }
    if (prefixed > 1)
        unsupported();
    const qsizetype colon = qname.indexOf(u':');
    const QStringView prefix = colon >= 0 ? qname.left(colon) : QStringView();
    qname_ = qname;
    local_ = colon >= 0 ? qname.mid(colon + 1) : qname;
    uri_ = resolve(prefix);
    if (static_cast<int>(open_.size()) >= MaxXmlDepth)
        unsupported();
    open_.push_back({qname_, local_, uri_, scopeMark});
    rootSeen_ = true;
    pendingEnd_ = selfClosing;
    pos_ = at;
    token_ = QXmlStreamReader::StartElement;
}

bool FastXmlCursor::repeatedAttribute(QStringView name)
{
    // A few attributes are compared one by one; beyond that a set of their names answers.
    constexpr std::size_t FewAttributes = 16;
    if (attributes_.size() < FewAttributes) {
        for (const Attribute& a : attributes_)
            if (a.qname == name)
                return true;
        return false;
    }
    if (attributeNames_.isEmpty())
        for (const Attribute& a : attributes_)
            attributeNames_.insert(a.qname);
    const qsizetype before = attributeNames_.size();
    attributeNames_.insert(name);
    return attributeNames_.size() == before;
}

void FastXmlCursor::skipElement()
{
    const int target = depth() - 1;
    while (depth() > target) {
        if (next() == QXmlStreamReader::EndDocument)
            unsupported();
    }
}

} // namespace zov::host::pptx
