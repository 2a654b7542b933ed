#include "host/pptx/PackageLists.h"

#include "host/pptx/Namespaces.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/XmlCursor.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>

namespace zov::host::pptx {

namespace {

// The document's extended properties (docProps/app.xml) with their count of slides set to
// `slides`; nothing when they hold no count or it is right already. The rest of the part (the
// titles of the slides other programs list there, which they rebuild on their next save) stays.
std::optional<QByteArray> withSlideCount(const QByteArray& xml, qsizetype slides)
{
    static const QRegularExpression count(QStringLiteral("<((?:[A-Za-z_][\\w.-]*:)?)Slides>\\s*(\\d+)\\s*</\\1Slides>"));
    const QString text = QString::fromUtf8(xml);
    const QRegularExpressionMatch found = count.match(text);
    if (!found.hasMatch() || found.captured(2) == QString::number(slides))
        return std::nullopt;
    QString changed = text;
    changed.replace(found.capturedStart(2), found.capturedLength(2), QString::number(slides));
    return changed.toUtf8();
}

// The relationship ids a part lists in one list element ("sldMasterIdLst" of the presentation,
// "sldLayoutIdLst" of a master), in the list's order; empty when it has none or cannot be read.
QStringList listedRelationshipIds(const QByteArray* xml, const QString& partName, QLatin1StringView list)
{
    QStringList ids;
    if (!xml)
        return ids;
    try {
        XmlCursor cursor(decodeXml(*xml), partName);
        auto& r = cursor.reader();
        int listDepth = 0;
        while (!cursor.atEnd()) {
            const auto token = cursor.next();
            if (token == QXmlStreamReader::EndElement && cursor.depth() < listDepth) {
                listDepth = 0;
            } else if (token == QXmlStreamReader::StartElement) {
                if (cursor.depth() == 2 && r.namespaceUri() == ns::P && r.name() == list)
                    listDepth = 2;
                else if (listDepth != 0 && cursor.depth() == listDepth + 1)
                    ids << r.attributes().value(ns::R, QLatin1String("id")).toString();
            }
        }
    } catch (const PptxError&) {
        // an unreadable part lists nothing: its relationships' order is taken instead
    }
    return ids;
}

// The targets of `owner`'s relationships of one type: in the order its list names them (the order
// the program showing the file uses), then any the list leaves out, in the relationships' order.
QStringList targetsInListedOrder(const PartSet& parts, const QString& owner, const std::vector<Relationship>& rels,
                                 const QString& type, QLatin1StringView list)
{
    QStringList listed;
    QStringList rest;
    const QString spelled = parts.spelling(owner);
    const QStringList order = listedRelationshipIds(spelled.isEmpty() ? nullptr : parts.find(spelled), owner, list);
    std::vector<std::pair<qsizetype, QString>> ranked;
    for (const auto& rel : rels) {
        if (rel.external || rel.type != type)
            continue;
        const QString target = resolveTarget(owner, rel.target);
        const qsizetype at = order.indexOf(rel.id);
        if (at >= 0)
            ranked.emplace_back(at, target);
        else
            rest << target;
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [at, target] : ranked)
        listed << target;
    return listed + rest;
}

// What a layout is to a new graph slide: 2 a blank layout (its type "blank"), 1 one named
// "Blank" (some programs type every layout "obj"), 0 any other; -1 when it cannot be read.
int blankness(const QByteArray& xml, const QString& layout)
{
    try {
        XmlCursor cursor(decodeXml(xml), layout);
        auto& r = cursor.reader();
        while (!cursor.atEnd()) {
            if (cursor.next() != QXmlStreamReader::StartElement)
                continue;
            if (cursor.depth() == 1) {
                if (r.attributes().value(QLatin1String("type")) == u"blank")
                    return 2;
            } else if (cursor.depth() == 2 && r.namespaceUri() == ns::P && r.name() == u"cSld") {
                return r.attributes().value(QLatin1String("name")).compare(QLatin1String("Blank"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            }
        }
        return 0;
    } catch (const PptxError&) {
        return -1; // an unreadable layout is not chosen
    }
}

} // namespace

// The layout new slides are made with: of the first master, in the order the presentation and
// the master list them, its blank layout, else one named "Blank", else its first.
QString layoutForNewSlides(const PartSet& parts, const QString& presentationPart, const std::vector<Relationship>& presRels)
{
    const QStringList masters = targetsInListedOrder(parts, presentationPart, presRels, ns::relType("slideMaster"),
                                                     QLatin1StringView("sldMasterIdLst"));
    for (const QString& master : masters) {
        QString first;
        QString named;
        const QStringList layouts = targetsInListedOrder(parts, master, readRelationships(parts, master), ns::relType("slideLayout"),
                                                         QLatin1StringView("sldLayoutIdLst"));
        for (const QString& target : layouts) {
            const QString layout = parts.spelling(target);
            const QByteArray* xml = layout.isEmpty() ? nullptr : parts.find(layout);
            if (!xml)
                continue;
            const int blank = blankness(*xml, layout);
            if (blank == 2)
                return layout;
            if (blank == 1 && named.isEmpty())
                named = layout;
            if (blank >= 0 && first.isEmpty())
                first = layout;
        }
        if (!named.isEmpty())
            return named;
        if (!first.isEmpty())
            return first;
    }
    throw PptxError(QStringLiteral("the presentation has no slide layout to base new slides on"));
}

void countSlidesInProperties(PartSet& parts, qsizetype slides)
{
    for (const auto& rel : readRelationships(parts, QString())) {
        // Some writers (pandoc) name the type under the package's metadata namespace.
        if (rel.external || !rel.type.endsWith(QLatin1String("/extended-properties")))
            continue;
        const QString props = parts.spelling(resolveTarget(QString(), rel.target));
        const QByteArray* xml = props.isEmpty() ? nullptr : parts.find(props);
        if (!xml)
            continue;
        if (std::optional<QByteArray> counted = withSlideCount(*xml, slides))
            parts.set(props, std::move(*counted));
    }
}

} // namespace zov::host::pptx
