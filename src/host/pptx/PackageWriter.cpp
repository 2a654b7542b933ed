#include "host/pptx/PackageWriter.h"

#include "host/geometry/Geometry.h"
#include "host/model/Touch.h"
#include "host/pptx/Namespaces.h"
#include "host/pptx/Opc.h"
#include "host/pptx/PackageLists.h"
#include "host/pptx/Parallel.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/ShapeIdTable.h"
#include "host/pptx/ShapeWriter.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/Template.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlCursor.h"
#include "host/pptx/XmlTree.h"
#include "host/pptx/ZipArchive.h"

#include <QRegularExpression>
#include <QSet>

#include <deque>
#include <map>
#include <unordered_map>

namespace zov::host::pptx {
namespace {

constexpr const char* Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const QString SlideContentType = QStringLiteral("application/vnd.openxmlformats-officedocument.presentationml.slide+xml");
const QString P14 = QStringLiteral("http://schemas.microsoft.com/office/powerpoint/2010/main");

const NamespaceScope& standardScope()
{
    static const NamespaceScope scope{{QStringLiteral("a"), ns::A}, {QStringLiteral("r"), ns::R}, {QStringLiteral("p"), ns::P}};
    return scope;
}

// A slide's jump to a slide that was deleted ("Place in this document") now jumps to the slide it
// is on, where it goes nowhere: a relationship to a missing part makes the package invalid, and
// a new slide that took the deleted slide's part name would silently become the jump's target.
// The relationship keeps its id, so the slide's own XML, which refers to it, stays as it is.
void retargetJumpsToRemovedSlides(PartSet& parts, const QSet<QString>& slides)
{
    const QString slideType = ns::relType("slide");
    for (const QString& slide : slides) {
        std::vector<Relationship> rels = readRelationships(parts, slide);
        bool changed = false;
        for (Relationship& rel : rels) {
            if (rel.external || rel.type != slideType || parts.contains(resolveTarget(slide, rel.target)))
                continue;
            rel.target = relativeTarget(slide, slide);
            changed = true;
        }
        if (changed)
            parts.set(relsPartName(slide), writeRelationships(rels));
    }
}

// Every part reachable from the package's relationships.
QSet<QString> reachableParts(const PartSet& parts)
{
    QSet<QString> seen;
    std::deque<QString> queue{QString()};
    while (!queue.empty()) {
        const QString part = queue.front();
        queue.pop_front();
        for (const auto& rel : readRelationships(parts, part)) {
            if (rel.external)
                continue;
            const QString target = resolveTarget(part, rel.target).toLower();
            if (target.isEmpty() || seen.contains(target) || !parts.contains(target))
                continue;
            seen.insert(target);
            queue.push_back(target);
        }
    }
    return seen;
}

QString prefixOf(const QString& qname)
{
    const qsizetype colon = qname.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : qname.left(colon);
}

bool isElement(const XmlNode& n, const QString& uri, QLatin1StringView local)
{
    return n.kind == XmlNode::Kind::Element && n.ns == uri && n.local == local;
}

void collect(XmlNode& node, const QString& uri, QLatin1StringView local, std::vector<XmlNode*>& out)
{
    for (auto& c : node.children) {
        if (c->kind != XmlNode::Kind::Element)
            continue;
        if (isElement(*c, uri, local))
            out.push_back(c.get());
        collect(*c, uri, local, out);
    }
}

// The relationship id an element refers to through an r:id attribute (any prefix).
QString relIdAttr(const XmlNode& node)
{
    for (const auto& [k, v] : node.attrs)
        if (k.endsWith(QLatin1String(":id")) && !k.startsWith(QLatin1String("xmlns")))
            return v;
    return {};
}

struct SlideEntry {
    std::uint32_t id;
    QString relId;
};

// Rewrites presentation.xml for a changed slide list or page size; everything else in it stays.
QByteArray patchPresentation(const QByteArray& xml, const QString& partName, const std::vector<SlideEntry>& slides,
                             const QSet<QString>& removedRelIds, bool sizeChanged, std::int64_t cx, std::int64_t cy)
{
    auto root = parseXmlTree(decodeXml(xml), partName);
    const QString p = prefixOf(root->qname);
    QString r;
    bool haveR = false;
    for (const auto& [k, v] : root->attrs)
        if (v == ns::R && k.startsWith(QLatin1String("xmlns:"))) {
            r = k.mid(6);
            haveR = true;
        }
    if (!haveR) {
        r = QStringLiteral("zovr");
        root->setAttr(QStringLiteral("xmlns:zovr"), ns::R);
    }

    // The slide list, reusing the element of each slide that stays.
    XmlNode* oldList = nullptr;
    size_t listIndex = root->children.size();
    for (size_t i = 0; i < root->children.size(); ++i)
        if (isElement(*root->children[i], ns::P, QLatin1String("sldIdLst"))) {
            oldList = root->children[i].get();
            listIndex = i;
        }
    std::map<QString, std::unique_ptr<XmlNode>> kept;
    auto list = makeElement(p, ns::P, QStringLiteral("sldIdLst"));
    if (oldList) {
        list->qname = oldList->qname;
        list->attrs = oldList->attrs;
        for (auto& c : oldList->children)
            if (isElement(*c, ns::P, QLatin1String("sldId")))
                kept.emplace(relIdAttr(*c), std::move(c));
        root->children.erase(root->children.begin() + static_cast<std::ptrdiff_t>(listIndex));
    } else {
        listIndex = root->children.size();
        for (size_t i = 0; i < root->children.size(); ++i) {
            const XmlNode& c = *root->children[i];
            if (c.kind != XmlNode::Kind::Element)
                continue;
            if (!isElement(c, ns::P, QLatin1String("sldMasterIdLst")) && !isElement(c, ns::P, QLatin1String("notesMasterIdLst"))
                && !isElement(c, ns::P, QLatin1String("handoutMasterIdLst"))) {
                listIndex = i;
                break;
            }
        }
    }
    for (const SlideEntry& s : slides) {
        std::unique_ptr<XmlNode> node;
        if (auto it = kept.find(s.relId); it != kept.end() && it->second)
            node = std::move(it->second);
        if (!node) {
            node = makeElement(p, ns::P, QStringLiteral("sldId"));
            node->setAttr(QStringLiteral("id"), QString::number(s.id));
            node->setAttr(r + QStringLiteral(":id"), s.relId);
        }
        node->setAttr(QStringLiteral("id"), QString::number(s.id));
        list->children.push_back(std::move(node));
    }
    if (!slides.empty())
        root->insert(listIndex, std::move(list));

    if (sizeChanged) {
        XmlNode* size = nullptr;
        for (auto& c : root->children)
            if (isElement(*c, ns::P, QLatin1String("sldSz")))
                size = c.get();
        if (!size) {
            size_t at = root->children.size();
            for (size_t i = 0; i < root->children.size(); ++i) {
                const XmlNode& c = *root->children[i];
                if (c.kind == XmlNode::Kind::Element && !isElement(c, ns::P, QLatin1String("sldMasterIdLst"))
                    && !isElement(c, ns::P, QLatin1String("notesMasterIdLst")) && !isElement(c, ns::P, QLatin1String("handoutMasterIdLst"))
                    && !isElement(c, ns::P, QLatin1String("sldIdLst"))) {
                    at = i;
                    break;
                }
            }
            size = root->insert(at, makeElement(p, ns::P, QStringLiteral("sldSz")));
        }
        size->setAttr(QStringLiteral("cx"), QString::number(cx));
        size->setAttr(QStringLiteral("cy"), QString::number(cy));
        size->removeAttr(QLatin1String("type")); // a named paper size no longer applies
    }

    // Custom shows lose the slides that are gone.
    if (!removedRelIds.isEmpty()) {
        std::vector<XmlNode*> lists;
        collect(*root, ns::P, QLatin1String("sldLst"), lists);
        for (XmlNode* l : lists)
            std::erase_if(l->children, [&](const std::unique_ptr<XmlNode>& c) {
                return isElement(*c, ns::P, QLatin1String("sld")) && removedRelIds.contains(relIdAttr(*c));
            });
    }

    // Sections list every slide once, in slide order, each section a run of consecutive
    // slides: a slide stays in its section unless a move put it behind a later section's slides
    // (it then joins that section), and a new slide joins the section of the slide before it.
    std::vector<XmlNode*> sections;
    collect(*root, P14, QLatin1String("section"), sections);
    if (!sections.empty()) {
        std::unordered_map<std::uint32_t, size_t> sectionOf;
        std::vector<XmlNode*> lists;
        for (size_t i = 0; i < sections.size(); ++i) {
            std::vector<XmlNode*> ids;
            collect(*sections[i], P14, QLatin1String("sldId"), ids);
            for (XmlNode* id : ids)
                sectionOf.emplace(id->attr(QLatin1String("id")).toUInt(), i);
            XmlNode* idList = nullptr;
            for (auto& c : sections[i]->children)
                if (isElement(*c, P14, QLatin1String("sldIdLst")))
                    idList = c.get();
            if (!idList)
                idList = sections[i]->insert(0, makeElement(prefixOf(sections[i]->qname), P14, QStringLiteral("sldIdLst")));
            idList->children.clear();
            lists.push_back(idList);
        }
        size_t current = 0;
        for (const SlideEntry& s : slides) {
            if (const auto it = sectionOf.find(s.id); it != sectionOf.end())
                current = std::max(current, it->second);
            auto id = makeElement(prefixOf(lists[current]->qname), P14, QStringLiteral("sldId"));
            id->setAttr(QStringLiteral("id"), QString::number(s.id));
            lists[current]->children.push_back(std::move(id));
        }
    }

    QString out = QString::fromLatin1(Declaration);
    writeXmlTree(*root, out);
    return out.toUtf8();
}

// The start tag of p:cSld with the slide's name in it (or without a name when it is empty).
QByteArray cSldTag(const QString& original, const QString& name)
{
    // One pattern per thread: compiling it is far dearer than matching one tag with it.
    thread_local const QRegularExpression nameAttr(QStringLiteral("\\sname\\s*=\\s*(\"[^\"]*\"|'[^']*')"));
    QString tag = original;
    const QString attr = name.isEmpty() ? QString() : QStringLiteral(" name=\"") + escapeXmlAttr(name) + QLatin1Char('"');
    const auto match = nameAttr.match(tag);
    if (match.hasMatch()) {
        tag.replace(match.capturedStart(), match.capturedLength(), attr);
    } else if (!attr.isEmpty()) {
        qsizetype at = 1;
        while (at < tag.size() && !tag[at].isSpace() && tag[at] != QLatin1Char('>') && tag[at] != QLatin1Char('/'))
            ++at;
        tag.insert(at, attr);
    }
    return tag.toUtf8();
}

// The pieces of a new slide part: a blank slide of the master's layout.
SlidePieces freshPieces()
{
    SlidePieces pieces;
    pieces.head = QByteArray(Declaration) + "<p:sld xmlns:a=\"" + ns::A.toUtf8() + "\" xmlns:r=\"" + ns::R.toUtf8()
                  + "\" xmlns:p=\"" + ns::P.toUtf8() + "\">";
    pieces.cSldTag = QStringLiteral("<p:cSld>");
    pieces.middle = "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
                    "<p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/><a:chOff x=\"0\" y=\"0\"/>"
                    "<a:chExt cx=\"0\" cy=\"0\"/></a:xfrm></p:grpSpPr>";
    pieces.tail = "</p:spTree></p:cSld><p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr></p:sld>";
    pieces.scope = standardScope();
    pieces.maxId = 1;
    return pieces;
}

class SlideWriter {
public:
    SlideWriter(const SlideData& slide, const QString& partName, const TextDefaults& defaults)
        : slide_(slide), partName_(partName), defaults_(defaults)
    {
    }

    // Writes the slide; `cached` is the package's cut of the slide part, used when it was made
    // from exactly the slide's source (else the source is read again).
    QByteArray write(SaveResult::SlideState& state, const SlidePieces* cached)
    {
        SlidePieces pieces;
        if (!slide_.sourceXml.isEmpty()) {
            if (cached && cached->source == slide_.sourceXml)
                pieces = *cached;
            else
                pieces = piecesOf(scanSlide(slide_.sourceXml, partName_, nullptr), slide_.sourceXml);
        }
        if (pieces.source.isEmpty())
            pieces = freshPieces();
        const NamespaceScope& scope = pieces.scope;
        const Prefixes prefixes = Prefixes::forScope(scope);
        const std::uint32_t maxId = assignIds(pieces.maxId);
        WriteIds ids;
        ids.idOf = [this](const ShapeData* s) { return ids_.Find(s); };
        ids.wasGlued = [this, &scope](const GlueRef& ref) { return wasGlued(ref, scope); };

        const bool renamed = slide_.name != pieces.name || pieces.hasName == slide_.name.isEmpty();
        const QByteArray tag = renamed ? cSldTag(pieces.cSldTag, slide_.name) : pieces.cSldTag.toUtf8();
        // Every shape is written straight into the part: a slide of half a million shapes is
        // hundreds of megabytes, and a copy of each shape's XML beside it would double that.
        // A large part grows in place (the allocator remaps it), so growing copies nothing.
        state.shapes.reserve(slide_.shapes.size());
        std::vector<qsizetype> starts;
        starts.reserve(slide_.shapes.size() + 1);
        QByteArray out;
        XmlBytes shapeXml; // a new shape's XML, written apart and then appended whole
        out += pieces.head;
        out += tag;
        out += pieces.middle;
        for (const auto& shape : slide_.shapes) {
            const std::uint32_t id = ids_.Find(shape.get());
            const qsizetype at = out.size();
            makeRoom(out, std::max(shape->sourceXml.size(), RoomForNewShape));
            if (isVerbatim(*shape) && !glueTargetRenumbered(*shape)) {
                out += shape->sourceXml;
            } else if (!shape->sourceXml.isEmpty()) {
                const ParsedShape before = readShapeXml(QString::fromUtf8(shape->sourceXml), scope, defaults_);
                out += patchShape(*shape, shape->sourceXml, before, id, ids, scope);
            } else if (shape->kind != ShapeKind::Foreign) {
                shapeXml.Clear();
                writeNewShape(shapeXml, *shape, id, ids, prefixes);
                shapeXml.AppendTo(out);
            } else {
                continue; // nothing to write for a foreign shape without XML
            }
            starts.push_back(at);
            state.shapes.push_back({shape, id, QByteArray()});
        }
        starts.push_back(out.size());
        out += pieces.tail;
        // Made to measure: the part is kept until the next save, and room to spare would stay
        // taken with it (a third of a small graph's slide).
        out.squeeze();
        // Each shape's XML becomes a view of its place in the part, which adoptSaved makes the
        // shape's source: the part is kept anyway, so a copy of each shape would only double it.
        for (std::size_t i = 0; i < state.shapes.size(); ++i)
            state.shapes[i].xml = QByteArray::fromRawData(out.constData() + starts[i], starts[i + 1] - starts[i]);

        // The cut of what was written, for the next save.
        pieces.source = out;
        pieces.cSldTag = QString::fromUtf8(tag);
        pieces.name = slide_.name;
        pieces.hasName = !slide_.name.isEmpty();
        pieces.maxId = maxId;
        state.pieces = std::make_shared<const SlidePieces>(std::move(pieces));
        return out;
    }

private:
    static bool isVerbatim(const ShapeData& s) { return !s.modified && !s.sourceXml.isEmpty(); }

    // More than a new shape's XML takes, unless its text is long.
    static constexpr qsizetype RoomForNewShape = 16 * 1024;

    // Room for `extra` more bytes. Growing through reserve reallocates the block; growing by
    // appending past the end copies the whole part into a new block while the old one is still
    // held. A small part's block is doubled, since the heap copies it to grow it; a block of
    // LargePart bytes or more is mapped on its own and remapped in place, which copies nothing,
    // so it grows by a quarter: the room to spare, taken until the part is finished, stays a
    // quarter of the part rather than up to its whole size (a slide of half a million shapes
    // is hundreds of megabytes).
    static void makeRoom(QByteArray& out, qsizetype extra)
    {
        if (out.capacity() - out.size() >= extra)
            return;
        constexpr qsizetype LargePart = qsizetype(32) << 20;
        const qsizetype grown = out.capacity() >= LargePart ? out.capacity() + out.capacity() / 4 : 2 * out.capacity();
        out.reserve(std::max({out.size() + extra, grown, RoomForNewShape}));
    }

    // A shape written as it was keeps its id (repeated ids included: they are the file's); a
    // changed one keeps its id unless another shape has it; a new one gets the next free id.
    // Returns the largest id in use afterwards.
    std::uint32_t assignIds(std::uint32_t maxId)
    {
        maxId = std::max<std::uint32_t>(maxId, 1);
        ids_.Reserve(slide_.shapes.size());
        // Only ids kept from the file can be taken twice: a new id is above all of them.
        QSet<std::uint32_t> kept;
        for (const auto& s : slide_.shapes) {
            maxId = std::max(maxId, s->fileId);
            if (isVerbatim(*s)) {
                ids_.Set(s.get(), s->fileId);
                kept.insert(s->fileId);
            }
        }
        for (const auto& s : slide_.shapes) {
            if (isVerbatim(*s))
                continue;
            std::uint32_t id = s->fileId;
            if (s->sourceXml.isEmpty() || id < 2 || kept.contains(id))
                id = ++maxId;
            else
                kept.insert(id);
            ids_.Set(s.get(), id);
        }
        return maxId;
    }

    // A connector written as it was names its shapes by their old ids; when one of them got
    // another id it has to be rewritten.
    bool glueTargetRenumbered(const ShapeData& s) const
    {
        if (s.kind != ShapeKind::Connector)
            return false;
        for (const GlueEnd* end : {&s.beginGlue, &s.endGlue}) {
            const auto target = end->shape.lock();
            if (!target || end->site <= 0)
                continue;
            const std::uint32_t id = ids_.Find(target.get()); // 0: not written on the slide
            if (id == 0 || id != target->fileId)
                return true;
        }
        return false;
    }

    // Whether a stored reference was one the model followed when the slide was read: it named
    // a shape that is still on the slide, whose original XML this host glues to at that site,
    // or a shape that is gone.
    bool wasGlued(const GlueRef& ref, const NamespaceScope& scope)
    {
        for (const auto& s : slide_.shapes) {
            if (s->fileId != ref.id || s->sourceXml.isEmpty() || s->kind == ShapeKind::Connector)
                continue;
            auto it = gluable_.find(s.get());
            if (it == gluable_.end()) {
                const ParsedShape original = readShapeXml(QString::fromUtf8(s->sourceXml), scope, defaults_);
                const int sites = isGlueTarget(original.data) ? connectionSiteCount(original.data) : 0;
                it = gluable_.emplace(s.get(), sites).first;
            }
            return ref.idx >= 0 && ref.idx < it->second;
        }
        // No shape of the slide has that id: one inside a shape kept as stored (a group's) is
        // one the model never followed, and its reference stays; a shape deleted since the
        // slide was read takes the reference with it, so that none names a missing id.
        const QByteArray idAttribute = " id=\"" + QByteArray::number(ref.id) + '"';
        for (const auto& s : slide_.shapes)
            if (s->kind != ShapeKind::Connector && s->sourceXml.contains(idAttribute))
                return false;
        return true;
    }

    const SlideData& slide_;
    QString partName_;
    const TextDefaults& defaults_;
    ShapeIdTable ids_;
    std::unordered_map<const ShapeData*, int> gluable_;
};

bool needsWriting(const SlideData& slide)
{
    if (slide.modified || slide.sourceXml.isEmpty())
        return true;
    for (const auto& s : slide.shapes)
        if (s->modified || s->sourceXml.isEmpty())
            return true;
    return false;
}

// Puts the parts a slide related to back into a package that lost them: a slide deleted before
// a save and then brought back (undo) comes back with its pictures, notes, charts and comments.
// Parts still present with the same content are shared (layouts, a picture other slides show);
// per-slide parts (notes, comments) and parts whose name now holds something else are copied
// under a free name. Relationships follow the new names; a part renamed nowhere keeps its
// relationships part byte for byte.
class RelatedParts {
public:
    RelatedParts(const Package& origin, PartSet& parts, ContentTypes& types, const QSet<QString>& claimed)
        : origin_(origin), parts_(parts), types_(types), claimed_(claimed)
    {
        if (const QByteArray* ct = origin.parts.find(QStringLiteral("[Content_Types].xml"))) {
            try {
                originTypes_ = parseContentTypes(*ct);
            } catch (const PptxError&) {
                // parts come back with the types the package already knows
            }
        }
    }

    // The relationships of the slide, once at `oldPart` in the origin, now written as `newPart`.
    QByteArray bringBackSlide(const QString& oldPart, const QString& newPart, const QByteArray& relsXml)
    {
        newName_.insert(oldPart.toLower(), newPart);
        return relationshipsOf(oldPart, newPart, relsXml);
    }

    bool typesChanged() const { return typesChanged_; }

private:
    static bool perSlide(const QString& relType)
    {
        return relType == ns::relType("notesSlide") || relType == ns::relType("comments");
    }

    bool taken(const QString& name) const
    {
        return parts_.contains(name) || claimed_.contains(name.toLower()) || usedNames_.contains(name.toLower());
    }

    QString freeNameLike(const QString& name) const
    {
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot <= slash)
            dot = name.size();
        QString stem = name.left(dot);
        while (!stem.isEmpty() && stem.back().isDigit() && stem.size() > slash + 2)
            stem.chop(1);
        for (int n = 1;; ++n) {
            const QString candidate = stem + QString::number(n) + name.mid(dot);
            if (!taken(candidate))
                return candidate;
        }
    }

    QByteArray relationshipsOf(const QString& oldPart, const QString& newPart, const QByteArray& relsXml)
    {
        std::vector<Relationship> rels;
        try {
            rels = parseRelationships(relsXml, relsPartName(newPart));
        } catch (const PptxError&) {
            return relsXml; // unreadable: kept as it was, as a slide read from a file keeps it
        }
        bool retargeted = false;
        for (Relationship& rel : rels) {
            if (rel.external)
                continue;
            const QString oldTarget = resolveTarget(oldPart, rel.target);
            if (oldTarget.isEmpty())
                continue;
            const QString newTarget = bringBack(oldTarget, rel.type);
            if (resolveTarget(newPart, rel.target).compare(newTarget, Qt::CaseInsensitive) != 0) {
                rel.target = relativeTarget(newPart, newTarget);
                retargeted = true;
            }
        }
        return retargeted ? writeRelationships(rels) : relsXml;
    }

    // The name the origin's part `oldName` has in the package from now on.
    QString bringBack(const QString& oldName, const QString& relType)
    {
        if (const auto it = newName_.constFind(oldName.toLower()); it != newName_.constEnd())
            return *it;
        const QByteArray* data = origin_.parts.find(oldName);
        if (!data)
            return oldName; // it was dangling in the origin too
        const QByteArray* present = parts_.find(oldName);
        if (present && !perSlide(relType) && *present == *data) {
            newName_.insert(oldName.toLower(), parts_.spelling(oldName));
            return parts_.spelling(oldName);
        }
        const QString newName = taken(oldName) ? freeNameLike(oldName) : origin_.parts.spelling(oldName);
        newName_.insert(oldName.toLower(), newName);
        usedNames_.insert(newName.toLower());
        parts_.set(newName, *data);
        const QString type = originTypes_.typeOf(oldName);
        if (!type.isEmpty() && types_.typeOf(newName) != type) {
            types_.setOverride(newName, type);
            typesChanged_ = true;
        }
        if (const QByteArray* rels = origin_.parts.find(relsPartName(oldName)))
            parts_.set(relsPartName(newName), relationshipsOf(oldName, newName, *rels));
        return newName;
    }

    const Package& origin_;
    PartSet& parts_;
    ContentTypes& types_;
    const QSet<QString>& claimed_;
    ContentTypes originTypes_;
    QHash<QString, QString> newName_; // lower-case origin name -> name in the package
    QSet<QString> usedNames_;
    bool typesChanged_ = false;
};

} // namespace

SaveResult writePackage(const PresentationData& presentation, std::optional<PackageKind> kind, MacrosLost macrosLost,
                        int compressionLevel)
{
    std::shared_ptr<Package> base = packageOf(presentation);
    if (!base)
        base = makeTemplatePackage(presentation.slideWidth, presentation.slideHeight);
    SaveResult result;
    result.package = std::make_shared<Package>(*base);
    Package& pkg = *result.package;
    PartSet& parts = pkg.parts;
    const QString presPart = pkg.presentationPart;
    const QString presRelsPart = relsPartName(presPart);
    std::vector<Relationship> presRels = readRelationships(parts, presPart);
    const QByteArray* ctXml = parts.find(QStringLiteral("[Content_Types].xml"));
    ContentTypes types = ctXml ? parseContentTypes(*ctXml) : ContentTypes{};
    bool relsChanged = false, typesChanged = false;
    if (kind && setPackageKind(types, presPart, presRels, *kind, macrosLost))
        typesChanged = true;

    // Slides that stay, and slides that are gone.
    QSet<QString> staying;
    for (const auto& slide : presentation.slides)
        if (!slide->partName.isEmpty() && base->slideRelIds.contains(slide->partName))
            staying.insert(slide->partName);
    QSet<QString> removedRelIds;
    QSet<QString> reachableBefore;
    for (const QString& part : base->slideOrder) {
        if (staying.contains(part))
            continue;
        if (reachableBefore.isEmpty())
            reachableBefore = reachableParts(parts);
        const QString relId = base->slideRelIds.value(part);
        removedRelIds.insert(relId);
        std::erase_if(presRels, [&](const Relationship& r) { return r.id == relId; });
        parts.remove(part);
        parts.remove(relsPartName(part));
        types.removeOverride(part);
        relsChanged = typesChanged = true;
    }

    if (!removedRelIds.isEmpty())
        retargetJumpsToRemovedSlides(parts, staying);

    // Every slide, new ones into new parts.
    pkg.slideRelIds.clear();
    pkg.slideOrder.clear();
    pkg.slideIds.clear();
    QString newLayout;
    QString newSlideLayoutTarget; // the layout target of the relationships new slides share
    QByteArray newSlideRels;
    const QString slideRelType = ns::relType("slide"); // one text that every slide's entry shares
    QSet<QString> usedParts;
    const QString slideFolder = presPart.left(presPart.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral("slides/");
    int nextSlideNumber = 1, nextRelNumber = 1;
    std::vector<SlideEntry> entries;
    QSet<QString> presRelIds; // the ids presRels uses, so that a new one is found without a search
    for (const Relationship& rel : presRels)
        presRelIds.insert(rel.id);
    for (const auto& slide : presentation.slides) {
        SaveResult::SlideState state;
        state.slide = slide;
        QString relId;
        const bool existing = staying.contains(slide->partName) && !usedParts.contains(slide->partName.toLower());
        std::shared_ptr<const TextDefaults> newDefaults = pkg.defaultsForNewSlides;
        if (existing) {
            state.partName = slide->partName;
            relId = base->slideRelIds.value(slide->partName);
        } else {
            // A slide read or saved before that is no longer in the package (deleted before a
            // save, then brought back) returns with its own relationships and related parts.
            const auto origin = std::static_pointer_cast<const Package>(slide->sourcePackage);
            const bool returning = origin && !slide->partName.isEmpty() && !slide->sourceXml.isEmpty() && !slide->relsXml.isEmpty();
            const auto partTaken = [&](const QString& name) { return parts.contains(name) || usedParts.contains(name.toLower()); };
            if (returning && !partTaken(slide->partName)) {
                state.partName = slide->partName;
            } else {
                while (partTaken(slideFolder + QStringLiteral("slide%1.xml").arg(nextSlideNumber)))
                    ++nextSlideNumber;
                state.partName = slideFolder + QStringLiteral("slide%1.xml").arg(nextSlideNumber++);
            }
            while (presRelIds.contains(QStringLiteral("rId%1").arg(nextRelNumber)))
                ++nextRelNumber;
            relId = QStringLiteral("rId%1").arg(nextRelNumber++);
            presRelIds.insert(relId);
            presRels.push_back({relId, slideRelType, relativeTarget(presPart, state.partName), false});
            types.setOverride(state.partName, SlideContentType);
            if (returning) {
                QSet<QString> claimed = usedParts;
                claimed.insert(state.partName.toLower());
                RelatedParts related(*origin, parts, types, claimed);
                state.relsXml = related.bringBackSlide(slide->partName, state.partName, slide->relsXml);
                if (const auto defaults = origin->defaultsBySlide.value(slide->partName))
                    newDefaults = defaults;
            } else {
                if (newLayout.isEmpty())
                    newLayout = layoutForNewSlides(parts, presPart, presRels);
                // New slides in one folder have the same relationships: they share one text.
                const QString layoutTarget = relativeTarget(state.partName, newLayout);
                if (layoutTarget != newSlideLayoutTarget) {
                    newSlideLayoutTarget = layoutTarget;
                    newSlideRels = writeRelationships({{QStringLiteral("rId1"), ns::relType("slideLayout"), layoutTarget, false}});
                }
                state.relsXml = newSlideRels;
            }
            parts.set(relsPartName(state.partName), state.relsXml);
            relsChanged = typesChanged = true;
        }
        usedParts.insert(state.partName.toLower());
        if (existing && !needsWriting(*slide)) {
            state.xml = slide->sourceXml;
            // The part as last saved may be a later version of the slide than the one the model
            // holds now (a change saved, then undone): the model's XML wins.
            const QByteArray* inPackage = parts.find(state.partName);
            if (!inPackage || (inPackage->constData() != state.xml.constData() && *inPackage != state.xml))
                parts.set(state.partName, state.xml);
        } else
            state.rewritten = true; // written below, with the other changed slides
        if (existing)
            if (const QByteArray* rels = parts.find(relsPartName(state.partName)))
                state.relsXml = *rels;
        if (!existing)
            pkg.defaultsBySlide.insert(state.partName, newDefaults);
        pkg.slideRelIds.insert(state.partName, relId);
        pkg.slideOrder << state.partName;
        pkg.slideIds.push_back(slide->slideId);
        entries.push_back({slide->slideId, relId});
        result.slides.push_back(std::move(state));
    }
    for (const QString& gone : base->slideOrder) {
        if (!staying.contains(gone) && !usedParts.contains(gone.toLower())) {
            pkg.defaultsBySlide.remove(gone);
            pkg.piecesBySlide.remove(gone);
        }
    }

    // The changed and new slides, written on a few threads: each reads only its own slide.
    std::vector<SaveResult::SlideState*> toWrite;
    for (auto& state : result.slides)
        if (state.rewritten)
            toWrite.push_back(&state);
    // A package that could not be read back is refused before the slides are written: with no
    // parts to be dropped, the new slide parts only add to the count the archive is checked for.
    if (reachableBefore.isEmpty()) {
        std::int64_t partsAfter = static_cast<std::int64_t>(parts.size());
        for (const SaveResult::SlideState* state : toWrite)
            partsAfter += parts.contains(state->partName) ? 0 : 1;
        if (const QString why = ZipLimits().refusal(partsAfter, 0, 0, 0); !why.isEmpty())
            refuseToWrite(why);
    }
    runJobs(toWrite.size(), [&](std::size_t i) {
        SaveResult::SlideState& state = *toWrite[i];
        SlideWriter writer(*state.slide, state.partName, pkg.defaultsFor(state.partName));
        state.xml = writer.write(state, base->piecesBySlide.value(state.slide->partName).get());
    });
    for (const SaveResult::SlideState* state : toWrite) {
        parts.set(state->partName, state->xml);
        pkg.piecesBySlide.insert(state->partName, state->pieces);
    }

    if (relsChanged)
        parts.set(presRelsPart, writeRelationships(presRels));

    // Parts that only the removed slides reached (their notes, comments, media) go with them.
    if (!reachableBefore.isEmpty()) {
        const QSet<QString> reachableAfter = reachableParts(parts);
        for (const QString& part : reachableBefore) {
            if (reachableAfter.contains(part) || !parts.contains(part))
                continue;
            parts.remove(part);
            parts.remove(relsPartName(part));
            types.removeOverride(part);
            typesChanged = true;
        }
    }

    // presentation.xml: rewritten only when the slide list or the page size changed.
    const std::int64_t cx = std::clamp<std::int64_t>(pointsToEmu(presentation.slideWidth), 914400, 51206400);
    const std::int64_t cy = std::clamp<std::int64_t>(pointsToEmu(presentation.slideHeight), 914400, 51206400);
    const bool sizeChanged = presentation.slideWidth != base->slideWidth || presentation.slideHeight != base->slideHeight;
    const bool listChanged = pkg.slideOrder != base->slideOrder || pkg.slideIds != base->slideIds;
    if (sizeChanged || listChanged) {
        const QByteArray* xml = parts.find(presPart);
        if (!xml)
            throw PptxError(QStringLiteral("the presentation part \"%1\" is missing").arg(presPart));
        parts.set(presPart, patchPresentation(*xml, presPart, entries, removedRelIds, sizeChanged, cx, cy));
        if (sizeChanged) {
            pkg.slideWidth = presentation.slideWidth;
            pkg.slideHeight = presentation.slideHeight;
        }
    }
    // docProps/app.xml: its count of slides follows the slide list.
    if (listChanged)
        countSlidesInProperties(parts, static_cast<qsizetype>(pkg.slideOrder.size()));
    if (typesChanged) {
        bool haveRels = false, haveXml = false;
        for (const auto& [ext, type] : types.defaults) {
            haveRels |= ext.compare(QLatin1String("rels"), Qt::CaseInsensitive) == 0;
            haveXml |= ext.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0;
        }
        if (!haveRels)
            types.defaults.emplace_back(QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        if (!haveXml)
            types.defaults.emplace_back(QStringLiteral("xml"), QStringLiteral("application/xml"));
        parts.set(QStringLiteral("[Content_Types].xml"), writeContentTypes(types));
    }

    // The archive: content types first, as packages conventionally begin.
    std::vector<std::pair<QString, const QByteArray*>> entriesToZip;
    entriesToZip.reserve(parts.size());
    for (const Part& part : parts.all())
        if (part.name == QLatin1String("[Content_Types].xml"))
            entriesToZip.emplace_back(part.name, &part.data);
    for (const Part& part : parts.all())
        if (part.name != QLatin1String("[Content_Types].xml"))
            entriesToZip.emplace_back(part.name, &part.data);
    result.bytes = writeZip(entriesToZip, compressionLevel);
    return result;
}

void adoptSaved(PresentationData& presentation, SaveResult&& saved)
{
    presentation.package = saved.package;
    for (auto& state : saved.slides) {
        SlideData& slide = *state.slide;
        slide.partName = state.partName;
        slide.sourceXml = state.xml;
        slide.relsXml = state.relsXml;
        slide.sourcePackage = saved.package;
        slide.modified = false;
        markRewritten(slide);
        for (auto& shape : state.shapes) {
            shape.shape->sourceXml = std::move(shape.xml);
            shape.shape->sourceXmlOwner = state.xml; // the part the view lies in
            shape.shape->fileId = shape.id;
            shape.shape->modified = false;
            markRewritten(*shape.shape);
        }
    }
}

} // namespace zov::host::pptx
