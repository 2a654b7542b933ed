#include "host/pptx/XmlTree.h"

#include "host/pptx/FastXml.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/XmlCursor.h"

namespace zov::host::pptx {

bool isXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF;
}

namespace {

bool needsSanitizing(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 || c >= 0xD800) {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                ++i;
                continue;
            }
            if (!isXmlChar(c))
                return true;
        }
    }
    return false;
}

} // namespace

XmlNode* XmlNode::child(const QString& uri, QLatin1StringView name) const
{
    for (const auto& c : children)
        if (c->kind == Kind::Element && c->local == name && c->ns == uri)
            return c.get();
    return nullptr;
}

QString XmlNode::attr(QLatin1StringView name) const
{
    for (const auto& [k, v] : attrs)
        if (k == name)
            return v;
    return {};
}

void XmlNode::setAttr(const QString& name, const QString& value)
{
    for (auto& [k, v] : attrs)
        if (k == name) {
            v = value;
            return;
        }
    attrs.emplace_back(name, value);
}

void XmlNode::removeAttr(QLatin1StringView name)
{
    std::erase_if(attrs, [&](const auto& a) { return a.first == name; });
}

XmlNode* XmlNode::insert(size_t index, std::unique_ptr<XmlNode> node)
{
    index = std::min(index, children.size());
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    return children[index].get();
}

std::unique_ptr<XmlNode> cloneTree(const XmlNode& node)
{
    auto copy = std::make_unique<XmlNode>();
    copy->kind = node.kind;
    copy->qname = node.qname;
    copy->ns = node.ns;
    copy->local = node.local;
    copy->attrs = node.attrs;
    copy->text = node.text;
    copy->children.reserve(node.children.size());
    for (const auto& c : node.children)
        copy->children.push_back(cloneTree(*c));
    return copy;
}

std::unique_ptr<XmlNode> makeElement(const QString& prefix, const QString& uri, const QString& local)
{
    auto node = std::make_unique<XmlNode>();
    node->qname = prefix.isEmpty() ? local : prefix + QLatin1Char(':') + local;
    node->ns = uri;
    node->local = local;
    return node;
}

namespace {

void addAttributes(XmlCursor& cursor, XmlNode& node)
{
    for (const auto& a : cursor.reader().attributes())
        node.attrs.emplace_back(a.qualifiedName().toString(), a.value().toString());
}

void addAttributes(FastXmlCursor& cursor, XmlNode& node)
{
    cursor.attributes().forEach(
        [&](QStringView name, QStringView value) { node.attrs.emplace_back(name.toString(), value.toString()); });
}

// A node for a token other than an element's start or end; nullptr for one the tree leaves out.
std::unique_ptr<XmlNode> otherNode(XmlCursor& cursor, QXmlStreamReader::TokenType token)
{
    auto& r = cursor.reader();
    auto node = std::make_unique<XmlNode>();
    if (token == QXmlStreamReader::Characters && !r.isCDATA()) {
        node->kind = XmlNode::Kind::Text;
        node->text = r.text().toString();
    } else if (token == QXmlStreamReader::Characters) {
        node->kind = XmlNode::Kind::Raw;
        node->text = QStringLiteral("<![CDATA[") + r.text().toString() + QStringLiteral("]]>");
    } else if (token == QXmlStreamReader::Comment) {
        node->kind = XmlNode::Kind::Raw;
        node->text = QStringLiteral("<!--") + r.text().toString() + QStringLiteral("-->");
    } else if (token == QXmlStreamReader::ProcessingInstruction) {
        node->kind = XmlNode::Kind::Raw;
        node->text = QStringLiteral("<?") + r.processingInstructionTarget().toString() + QLatin1Char(' ')
                     + r.processingInstructionData().toString() + QStringLiteral("?>");
    } else {
        return nullptr;
    }
    return node;
}

// The quick reader keeps no comment or instruction: a part with one is left to the full reader.
std::unique_ptr<XmlNode> otherNode(FastXmlCursor& cursor, QXmlStreamReader::TokenType token)
{
    if (token != QXmlStreamReader::Characters)
        throw FastXmlUnsupported();
    auto node = std::make_unique<XmlNode>();
    node->kind = XmlNode::Kind::Text;
    node->text = cursor.text().toString();
    return node;
}

// The tree of the elements below depth `base` (the scope wrapper's depth, or 0).
template <typename Cursor>
std::unique_ptr<XmlNode> buildTree(Cursor& cursor, int base)
{
    auto& r = cursor.reader();
    std::vector<XmlNode*> stack;
    std::unique_ptr<XmlNode> root;
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::StartElement) {
            if (cursor.depth() <= base)
                continue;
            auto node = std::make_unique<XmlNode>();
            node->qname = r.qualifiedName().toString();
            node->ns = r.namespaceUri().toString();
            node->local = r.name().toString();
            for (const auto& d : r.namespaceDeclarations())
                node->attrs.emplace_back(d.prefix().isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + d.prefix().toString(),
                                         d.namespaceUri().toString());
            addAttributes(cursor, *node);
            XmlNode* raw = node.get();
            if (stack.empty()) {
                if (root)
                    cursor.fail(QStringLiteral("more than one root element"));
                root = std::move(node);
            } else {
                stack.back()->children.push_back(std::move(node));
            }
            stack.push_back(raw);
        } else if (token == QXmlStreamReader::EndElement) {
            if (!stack.empty() && cursor.depth() < base + static_cast<int>(stack.size()))
                stack.pop_back();
        } else if (!stack.empty()) {
            if (auto node = otherNode(cursor, token))
                stack.back()->children.push_back(std::move(node));
        }
    }
    if (!root)
        cursor.fail(QStringLiteral("no root element"));
    return root;
}

// The tree of `source` read with the full reader, which accepts what the standard allows and
// words every error.
std::unique_ptr<XmlNode> fullTree(const QString& source, const QString& partName, int base)
{
    XmlCursor cursor(source, partName);
    return buildTree(cursor, base);
}

} // namespace

QString inNamespaceScope(const QString& text, const std::vector<std::pair<QString, QString>>& scope)
{
    QString wrapped = QStringLiteral("<zov-scope");
    for (const auto& [prefix, uri] : scope)
        wrapped += (prefix.isEmpty() ? QStringLiteral(" xmlns") : QStringLiteral(" xmlns:") + prefix)
                   + QStringLiteral("=\"") + escapeXmlAttr(uri) + QLatin1Char('"');
    return wrapped + QLatin1Char('>') + text + QStringLiteral("</zov-scope>");
}

std::unique_ptr<XmlNode> parseXmlTree(const QString& text, const QString& partName,
                                      const std::vector<std::pair<QString, QString>>& scope)
{
    const QString source = scope.empty() ? text : inNamespaceScope(text, scope);
    const int base = scope.empty() ? 0 : 1;
    // The quick reader first, as for reading a slide (a save reads every shape it rewrites
    // again); what it does not take, the full reader reads, and words the error when there is one.
    try {
        FastXmlCursor cursor(source, partName);
        return buildTree(cursor, base);
    } catch (const FastXmlUnsupported&) {
    } catch (const PptxError&) {
    }
    return fullTree(source, partName, base);
}

std::unique_ptr<XmlNode> parseXmlTreeFully(const QString& text, const QString& partName,
                                           const std::vector<std::pair<QString, QString>>& scope)
{
    return scope.empty() ? fullTree(text, partName, 0) : fullTree(inNamespaceScope(text, scope), partName, 1);
}

namespace {

// The entity or character reference a character is written as, or nullptr for one written as
// it is: text escapes "&", "<", ">" and CR (a reader would read CR LF as LF); an attribute value
// also the quote and the characters a reader would read as blanks.
const char* escapeOf(char16_t c, bool attribute)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '"': return attribute ? "&quot;" : nullptr;
    case '\t': return attribute ? "&#9;" : nullptr;
    case '\n': return attribute ? "&#10;" : nullptr;
    default: return nullptr;
    }
}

// Appends the text escaped, the runs between escapes whole.
void appendEscaped(QString& out, QStringView raw, bool attribute)
{
    QString sanitized;
    QStringView text = raw;
    if (needsSanitizing(raw)) {
        sanitized = sanitizeXmlChars(raw);
        text = sanitized;
    }
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > '>')
            continue;
        if (const char* escape = escapeOf(c, attribute)) {
            out.append(text.mid(run, i - run));
            out.append(QLatin1String(escape));
            run = i + 1;
        }
    }
    out.append(text.mid(run));
}

} // namespace

QString escapeXmlText(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    appendEscaped(out, raw, false);
    return out;
}

QString escapeXmlAttr(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    appendEscaped(out, raw, true);
    return out;
}

QString sanitizeXmlChars(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[i + 1];
            ++i;
        } else if (isXmlChar(c)) {
            out += text[i];
        }
    }
    return out;
}

void writeXmlTree(const XmlNode& node, QString& out)
{
    switch (node.kind) {
    case XmlNode::Kind::Text: appendEscaped(out, node.text, false); return;
    case XmlNode::Kind::Raw: out += node.text; return;
    case XmlNode::Kind::Element: break;
    }
    out += u'<';
    out += node.qname;
    for (const auto& [k, v] : node.attrs) {
        out += u' ';
        out += k;
        out += QLatin1String("=\"");
        appendEscaped(out, v, true);
        out += u'"';
    }
    if (node.children.empty()) {
        out += QLatin1String("/>");
        return;
    }
    out += u'>';
    for (const auto& c : node.children)
        writeXmlTree(*c, out);
    out += QLatin1String("</");
    out += node.qname;
    out += u'>';
}

} // namespace zov::host::pptx
