#include "host/pptx/Opc.h"

#include "host/pptx/Namespaces.h"
#include "host/pptx/XmlCursor.h"
#include "host/pptx/XmlTree.h"

#include <QUrl>

namespace zov::host::pptx {

QString relsPartName(const QString& sourcePart)
{
    const qsizetype slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return sourcePart.left(slash + 1) + QStringLiteral("_rels/") + sourcePart.mid(slash + 1) + QStringLiteral(".rels");
}

QString resolveTarget(const QString& sourcePart, const QString& target)
{
    QString t = QUrl::fromPercentEncoding(target.toUtf8());
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype hash = t.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        t.truncate(hash);
    QStringList parts;
    if (!t.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'));
        parts.removeLast(); // the source's own file name
    }
    for (const QString& seg : t.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (seg == QLatin1String("."))
            continue;
        if (seg == QLatin1String("..")) {
            if (parts.isEmpty())
                return {};
            parts.removeLast();
        } else {
            parts << seg;
        }
    }
    return parts.join(QLatin1Char('/'));
}

QString relativeTarget(const QString& sourcePart, const QString& part)
{
    QStringList from = sourcePart.split(QLatin1Char('/'));
    from.removeLast();
    const QStringList to = part.split(QLatin1Char('/'));
    int common = 0;
    while (common < from.size() && common < to.size() - 1 && from[common] == to[common])
        ++common;
    QStringList out;
    for (int i = common; i < from.size(); ++i)
        out << QStringLiteral("..");
    for (int i = common; i < to.size(); ++i)
        out << to[i];
    return out.join(QLatin1Char('/'));
}

std::vector<Relationship> parseRelationships(const QByteArray& xml, const QString& partName)
{
    std::vector<Relationship> rels;
    XmlCursor cursor(decodeXml(xml), partName);
    auto& r = cursor.reader();
    while (!cursor.atEnd()) {
        if (cursor.next() != QXmlStreamReader::StartElement)
            continue;
        if (cursor.depth() == 1 && r.namespaceUri() != ns::PkgRels)
            cursor.fail(QStringLiteral("not a relationships part"));
        if (r.name() == QLatin1String("Relationship")) {
            const auto a = r.attributes();
            rels.push_back({a.value(QLatin1String("Id")).toString(), a.value(QLatin1String("Type")).toString(),
                            a.value(QLatin1String("Target")).toString(),
                            a.value(QLatin1String("TargetMode")) == QLatin1String("External")});
        }
    }
    return rels;
}

namespace {
// The text in UTF-8, in a block of its own size: the conversion makes room for three bytes a
// character, and a part is kept until the next save.
QByteArray utf8MadeToMeasure(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.squeeze();
    return bytes;
}
} // namespace

QByteArray writeRelationships(const std::vector<Relationship>& rels)
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (const auto& rel : rels) {
        out += QStringLiteral("<Relationship Id=\"%1\" Type=\"%2\" Target=\"%3\"")
                   .arg(escapeXmlAttr(rel.id), escapeXmlAttr(rel.type), escapeXmlAttr(rel.target));
        if (rel.external)
            out += QStringLiteral(" TargetMode=\"External\"");
        out += QStringLiteral("/>");
    }
    out += QStringLiteral("</Relationships>");
    return utf8MadeToMeasure(out);
}

QString ContentTypes::typeOf(const QString& part) const
{
    if (const auto it = index_.constFind(part.toLower()); it != index_.constEnd())
        return overrides_[*it].second;
    const QString ext = part.mid(part.lastIndexOf(QLatin1Char('.')) + 1);
    for (const auto& [e, type] : defaults)
        if (e.compare(ext, Qt::CaseInsensitive) == 0)
            return type;
    return {};
}

bool ContentTypes::hasOverride(const QString& part) const
{
    return index_.contains(part.toLower());
}

void ContentTypes::setOverride(const QString& part, const QString& type)
{
    removeOverride(part);
    index_.insert(part.toLower(), overrides_.size());
    overrides_.emplace_back(part, type);
}

void ContentTypes::removeOverride(const QString& part)
{
    const auto it = index_.constFind(part.toLower());
    if (it == index_.constEnd())
        return;
    overrides_[*it] = {};
    index_.erase(it);
    if (++holes_ <= overrides_.size() / 2)
        return;
    std::erase_if(overrides_, [](const auto& o) { return o.first.isEmpty(); });
    holes_ = 0;
    index_.clear();
    for (std::size_t i = 0; i < overrides_.size(); ++i)
        index_.insert(overrides_[i].first.toLower(), i);
}

std::vector<std::pair<QString, QString>> ContentTypes::overrides() const
{
    std::vector<std::pair<QString, QString>> live;
    live.reserve(overrides_.size() - holes_);
    for (const auto& o : overrides_)
        if (!o.first.isEmpty())
            live.push_back(o);
    return live;
}

ContentTypes parseContentTypes(const QByteArray& xml)
{
    ContentTypes types;
    XmlCursor cursor(decodeXml(xml), QStringLiteral("[Content_Types].xml"));
    auto& r = cursor.reader();
    while (!cursor.atEnd()) {
        if (cursor.next() != QXmlStreamReader::StartElement)
            continue;
        if (r.namespaceUri() != ns::ContentTypes)
            cursor.fail(QStringLiteral("not a content types part"));
        const auto a = r.attributes();
        if (r.name() == QLatin1String("Default"))
            types.defaults.emplace_back(a.value(QLatin1String("Extension")).toString(), a.value(QLatin1String("ContentType")).toString());
        else if (r.name() == QLatin1String("Override")) {
            QString name = a.value(QLatin1String("PartName")).toString();
            if (name.startsWith(QLatin1Char('/')))
                name.remove(0, 1);
            // A part named twice keeps its first type; one without a name types nothing.
            if (!name.isEmpty() && !types.hasOverride(name))
                types.setOverride(name, a.value(QLatin1String("ContentType")).toString());
        }
    }
    return types;
}

QByteArray writeContentTypes(const ContentTypes& types)
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                                 "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">");
    for (const auto& [ext, type] : types.defaults)
        out += QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>").arg(escapeXmlAttr(ext), escapeXmlAttr(type));
    for (const auto& [part, type] : types.overrides())
        out += QStringLiteral("<Override PartName=\"/%1\" ContentType=\"%2\"/>").arg(escapeXmlAttr(part), escapeXmlAttr(type));
    out += QStringLiteral("</Types>");
    return utf8MadeToMeasure(out);
}

} // namespace zov::host::pptx
