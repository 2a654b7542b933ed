#include "host/pptx/PackageReader.h"

#include "host/AutoShapeType.h"
#include "host/geometry/Geometry.h"
#include "host/model/SlideIds.h"
#include "host/pptx/Namespaces.h"
#include "host/pptx/Opc.h"
#include "host/pptx/Package.h"
#include "host/pptx/Parallel.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/Units.h"
#include "host/pptx/XmlCursor.h"

#include <QSet>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace zov::host::pptx {
namespace {

[[noreturn]] void fail(const QString& reason)
{
    throw PptxError(reason);
}

struct SlideRef {
    std::uint32_t id = 0;
    QString relId;
};

struct PresentationPart {
    std::vector<SlideRef> slides;
    std::int64_t cx = 9144000, cy = 6858000;
};

PresentationPart readPresentationPart(const QByteArray& xml, const QString& partName)
{
    PresentationPart out;
    XmlCursor cursor(decodeXml(xml), partName);
    auto& r = cursor.reader();
    bool inSlideList = false;
    while (!cursor.atEnd()) {
        const auto token = cursor.next();
        if (token == QXmlStreamReader::EndElement) {
            if (cursor.depth() < 2)
                inSlideList = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const int depth = cursor.depth();
        if (depth == 1) {
            if (r.namespaceUri().startsWith(ns::StrictPrefix))
                fail(QStringLiteral("Strict Office Open XML is not supported (only the Transitional form)"));
            if (r.namespaceUri() != ns::P || r.name() != u"presentation")
                fail(QStringLiteral("not a presentation (its main part is \"%1\")").arg(r.qualifiedName()));
            continue;
        }
        if (depth == 2 && r.namespaceUri() == ns::P) {
            if (r.name() == u"sldIdLst") {
                inSlideList = true;
            } else if (r.name() == u"sldSz") {
                const auto a = r.attributes();
                bool okX = false, okY = false;
                const qint64 cx = a.value(QLatin1String("cx")).toLongLong(&okX);
                const qint64 cy = a.value(QLatin1String("cy")).toLongLong(&okY);
                if (okX && okY && cx > 0 && cy > 0 && cx <= (1ll << 34) && cy <= (1ll << 34)) {
                    out.cx = cx;
                    out.cy = cy;
                }
            }
            continue;
        }
        if (depth == 3 && inSlideList && r.namespaceUri() == ns::P && r.name() == u"sldId") {
            const auto a = r.attributes();
            SlideRef ref;
            bool ok = false;
            const qint64 id = a.value(QLatin1String("id")).toLongLong(&ok);
            ref.id = ok && id >= FirstSlideId && id <= LastSlideId ? static_cast<std::uint32_t>(id) : 0;
            ref.relId = a.value(ns::R, QLatin1String("id")).toString();
            out.slides.push_back(ref);
        }
    }
    return out;
}

// The byte offsets in a slide part of the places its scan found shapes at, in the decoded text.
// Valid only when the text encodes back to exactly the part's bytes (any valid UTF-8 without a
// byte order mark does), so that a shape's bytes are the part's bytes between its offsets.
class ByteOffsets {
public:
    ByteOffsets() = default;
    ByteOffsets(const SlideScan& scan, const QByteArray& part)
    {
        if (!encodesToUtf8(scan.text, part))
            return;
        places_.reserve(2 * scan.shapes.size());
        for (const ScannedShape& sh : scan.shapes) {
            places_.push_back(sh.begin);
            places_.push_back(sh.end);
        }
        std::sort(places_.begin(), places_.end());
        places_.erase(std::unique(places_.begin(), places_.end()), places_.end());
        // One pass over the text: the UTF-8 length of each UTF-16 unit (a surrogate pair is four
        // bytes, counted at its first unit).
        bytes_.reserve(places_.size());
        qsizetype unit = 0, byte = 0;
        for (const qsizetype place : places_) {
            for (; unit < place; ++unit) {
                const char16_t c = scan.text.at(unit).unicode();
                byte += c < 0x80 ? 1 : c < 0x800 ? 2 : QChar::isHighSurrogate(c) ? 4 : QChar::isLowSurrogate(c) ? 0 : 3;
            }
            bytes_.push_back(byte);
        }
        valid_ = true;
    }
    bool valid() const { return valid_; }
    // `place` is one of the scan's shape bounds.
    qsizetype at(qsizetype place) const
    {
        return bytes_[static_cast<std::size_t>(std::lower_bound(places_.begin(), places_.end(), place) - places_.begin())];
    }

private:
    bool valid_ = false;
    std::vector<qsizetype> places_; // ascending
    std::vector<qsizetype> bytes_;  // the offset of each
};

const Relationship* findRelOfType(const std::vector<Relationship>& rels, const QString& type)
{
    for (const auto& rel : rels)
        if (rel.type == type && !rel.external)
            return &rel;
    return nullptr;
}

// Relationships of a part; none when it has no relationships part or that part is unreadable
// (a broken relationship to something we do not need must not stop the presentation).
std::vector<Relationship> relsOf(const PartSet& parts, const QString& part, bool required)
{
    const QByteArray* xml = parts.find(relsPartName(part));
    if (!xml) {
        if (required)
            fail(QStringLiteral("missing part \"%1\"").arg(relsPartName(part)));
        return {};
    }
    if (required)
        return parseRelationships(*xml, relsPartName(part));
    try {
        return parseRelationships(*xml, relsPartName(part));
    } catch (const PptxError&) {
        return {};
    }
}

// The defaults of the slide's master, built once per master.
class DefaultsCache {
public:
    DefaultsCache(const PartSet& parts, const QByteArray* presentationXml) : parts_(parts), presentation_(presentationXml) {}

    // The defaults of the slide's layout: its master's, with the layout's placeholders.
    std::shared_ptr<const TextDefaults> forSlide(const QString& slidePart)
    {
        QString layoutPart, master;
        const auto slideRels = relsOf(parts_, slidePart, false);
        if (const Relationship* layout = findRelOfType(slideRels, ns::relType("slideLayout"))) {
            layoutPart = resolveTarget(slidePart, layout->target);
            // Kept in a variable: the relationship found points into the list.
            const auto layoutRels = relsOf(parts_, layoutPart, false);
            if (const Relationship* m = findRelOfType(layoutRels, ns::relType("slideMaster")))
                master = resolveTarget(layoutPart, m->target);
        }
        const QByteArray* layoutXml = layoutPart.isEmpty() ? nullptr : parts_.find(layoutPart);
        if (!layoutXml)
            return forMaster(master);
        const QString key = layoutPart.toLower();
        if (const auto it = layouts_.constFind(key); it != layouts_.constEnd())
            return *it;
        auto d = std::make_shared<TextDefaults>(*forMaster(master));
        d->layoutPlaceholders = readPlaceholderBoxes(*layoutXml, layoutPart);
        std::shared_ptr<const TextDefaults> shared = std::move(d);
        layouts_.insert(key, shared);
        return shared;
    }

    std::shared_ptr<const TextDefaults> forMaster(const QString& master)
    {
        const QString key = master.toLower();
        if (const auto it = cache_.constFind(key); it != cache_.constEnd())
            return *it;
        const QByteArray* masterXml = master.isEmpty() ? nullptr : parts_.find(master);
        const QByteArray* themeXml = nullptr;
        if (masterXml) {
            const auto masterRels = relsOf(parts_, master, false); // the relationship found points into it
            if (const Relationship* t = findRelOfType(masterRels, ns::relType("theme")))
                themeXml = parts_.find(resolveTarget(master, t->target));
        }
        auto d = std::make_shared<TextDefaults>(buildTextDefaults(themeXml, masterXml, presentation_));
        if (masterXml)
            d->masterPlaceholders = readPlaceholderBoxes(*masterXml, master);
        std::shared_ptr<const TextDefaults> shared = std::move(d);
        cache_.insert(key, shared);
        return shared;
    }

private:
    const PartSet& parts_;
    const QByteArray* presentation_;
    QHash<QString, std::shared_ptr<const TextDefaults>> cache_;   // by master
    QHash<QString, std::shared_ptr<const TextDefaults>> layouts_; // by layout
};

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

void resolveGlue(SlideData& slide, const std::vector<const ParsedShape*>& parsed)
{
    // Ids are only meaningful within one slide; when a file repeats an id, the last shape with
    // it is the one a reference reaches.
    std::unordered_map<std::uint32_t, size_t> byId;
    for (size_t i = 0; i < slide.shapes.size(); ++i)
        if (slide.shapes[i]->kind != ShapeKind::Connector)
            byId[slide.shapes[i]->fileId] = i;
    for (size_t i = 0; i < slide.shapes.size(); ++i) {
        ShapeData& c = *slide.shapes[i];
        if (c.kind != ShapeKind::Connector)
            continue;
        auto glue = [&](const GlueRef& ref, bool atBegin) {
            if (!ref.present || ref.idx < 0)
                return;
            const auto it = byId.find(ref.id);
            // The model's shape: the parsed one has handed its texts (the preset among them) over.
            if (it == byId.end() || !isGlueTarget(*slide.shapes[it->second]))
                return; // dangling, or a shape whose sites this host does not know: kept as stored
            const auto& target = slide.shapes[it->second];
            if (ref.idx >= connectionSiteCount(*target))
                return;
            glueConnectorEnd(slide.shapes[i], atBegin, target, ref.idx + 1);
        };
        glue(parsed[i]->begin, true);
        glue(parsed[i]->end, false);
        if (!c.beginGlue.isGlued() && !c.endGlue.isGlued())
            continue;
        const QPointF oldBegin = c.begin, oldEnd = c.end;
        const float l = c.left, t = c.top, w = c.width, h = c.height;
        updateGluedEnds(c);
        if (distance(oldBegin, c.begin) > 0.5 || distance(oldEnd, c.end) > 0.5) {
            c.modified = true; // the stored box is stale: saving writes the recomputed one
            slide.modified = true;
        } else {
            c.begin = oldBegin;
            c.end = oldEnd;
            c.left = l;
            c.top = t;
            c.width = w;
            c.height = h;
        }
    }
}

void nameUnnamedSlides(PresentationData& presentation)
{
    QSet<QString> used;
    for (const auto& s : presentation.slides)
        if (!s->name.isEmpty())
            used.insert(s->name);
    std::vector<SlideData*> pending;
    for (const auto& s : presentation.slides) {
        if (!s->name.isEmpty())
            continue;
        for (const auto& shape : s->shapes) {
            if (shape->autoShapeType != ShapeNoSymbol || !shape->hasTextFrame)
                continue;
            const QString title = shape->paragraphs.join(QLatin1Char('\r'));
            // The title label's own name "NAME/ID" holds the graph's name whole, also one with
            // " is " in it, which the title's text alone would cut at its first " is ".
            const qsizetype slash = shape->name.lastIndexOf(QLatin1Char('/'));
            const QString labelled = slash > 0 ? shape->name.left(slash) : QString();
            const qsizetype is = !labelled.isEmpty() && title.startsWith(labelled + QLatin1String(" is "))
                ? labelled.size()
                : title.indexOf(QLatin1String(" is "));
            if (is > 0) {
                const QString name = title.left(is);
                if (!used.contains(name)) {
                    s->name = name;
                    used.insert(name);
                }
            }
            break;
        }
        if (s->name.isEmpty())
            pending.push_back(s.get());
    }
    for (SlideData* s : pending) {
        const auto position = std::find_if(presentation.slides.begin(), presentation.slides.end(),
                                           [&](const auto& p) { return p.get() == s; });
        int number = static_cast<int>(position - presentation.slides.begin()) + 1;
        while (used.contains(QStringLiteral("Slide") + QString::number(number)))
            ++number;
        s->name = QStringLiteral("Slide") + QString::number(number);
        used.insert(s->name);
    }
}

std::shared_ptr<PresentationData> readPackage(QByteArray bytes, const ZipLimits& limits)
{
    auto pkg = std::make_shared<Package>();
    for (auto& entry : readZip(bytes, limits))
        pkg->parts.set(entry.name, std::move(entry.data));
    bytes = QByteArray(); // the file's own bytes go (when the caller let them go) before the slides are read
    PartSet& parts = pkg->parts;

    if (!parts.contains(QStringLiteral("[Content_Types].xml")))
        fail(QStringLiteral("not an Office Open XML package (the part \"[Content_Types].xml\" is missing)"));
    parseContentTypes(*parts.find(QStringLiteral("[Content_Types].xml"))); // must at least be readable
    const QByteArray* rootRelsXml = parts.find(QStringLiteral("_rels/.rels"));
    if (!rootRelsXml)
        fail(QStringLiteral("not an Office Open XML package (the part \"_rels/.rels\" is missing)"));
    const auto rootRels = parseRelationships(*rootRelsXml, QStringLiteral("_rels/.rels"));
    const Relationship* main = findRelOfType(rootRels, ns::relType("officeDocument"));
    if (!main) {
        for (const auto& rel : rootRels)
            if (rel.type.startsWith(ns::StrictPrefix))
                fail(QStringLiteral("Strict Office Open XML is not supported (only the Transitional form)"));
        fail(QStringLiteral("not a presentation (the package names no main document)"));
    }
    pkg->presentationPart = parts.spelling(resolveTarget(QString(), main->target));
    const QByteArray* presentationXml = parts.find(pkg->presentationPart);
    if (!presentationXml)
        fail(QStringLiteral("missing part \"%1\" (the presentation)").arg(resolveTarget(QString(), main->target)));
    const PresentationPart pres = readPresentationPart(*presentationXml, pkg->presentationPart);
    const auto presRels = relsOf(parts, pkg->presentationPart, !pres.slides.empty());

    auto data = std::make_shared<PresentationData>();
    data->slideWidth = emuToPoints(pres.cx);
    data->slideHeight = emuToPoints(pres.cy);
    pkg->slideWidth = data->slideWidth;
    pkg->slideHeight = data->slideHeight;

    DefaultsCache defaults(parts, presentationXml);
    if (const Relationship* master = findRelOfType(presRels, ns::relType("slideMaster")))
        pkg->defaultsForNewSlides = defaults.forMaster(resolveTarget(pkg->presentationPart, master->target));
    else
        pkg->defaultsForNewSlides = defaults.forMaster(QString());

    // Find every slide part first, then read the slides (the costly part) on a few threads.
    struct SlideJob {
        QString partName;
        QString relId;
        std::uint32_t id = 0;
        const QByteArray* xml = nullptr;
        std::shared_ptr<const TextDefaults> defaults;
        SlideScan scan;
        std::shared_ptr<const SlidePieces> pieces;
        ByteOffsets offsets;
    };
    std::vector<SlideJob> jobs;
    jobs.reserve(pres.slides.size());
    QSet<QString> slidePartsSeen;
    // Every slide names its relationship: looked up by id, so that opening stays linear in the slides.
    QHash<QString, const Relationship*> presRelById;
    presRelById.reserve(static_cast<qsizetype>(presRels.size()));
    for (const Relationship& rel : presRels)
        if (!presRelById.contains(rel.id)) // the first of a repeated id, as a search in order finds
            presRelById.insert(rel.id, &rel);
    for (const SlideRef& ref : pres.slides) {
        const int number = static_cast<int>(jobs.size()) + 1;
        const Relationship* rel = presRelById.value(ref.relId, nullptr);
        if (!rel || rel->external || rel->type != ns::relType("slide"))
            fail(QStringLiteral("damaged package: slide %1 refers to relationship \"%2\", which %3")
                     .arg(number)
                     .arg(ref.relId, rel ? QStringLiteral("is not a slide") : QStringLiteral("does not exist")));
        const QString partName = parts.spelling(resolveTarget(pkg->presentationPart, rel->target));
        const QByteArray* xml = partName.isEmpty() ? nullptr : parts.find(partName);
        if (!xml)
            fail(QStringLiteral("missing part \"%1\" (slide %2)").arg(resolveTarget(pkg->presentationPart, rel->target)).arg(number));
        if (slidePartsSeen.contains(partName.toLower()))
            fail(QStringLiteral("damaged package: the slide part \"%1\" is listed twice").arg(partName));
        slidePartsSeen.insert(partName.toLower());
        jobs.push_back({partName, rel->id, ref.id, xml, defaults.forSlide(partName), {}, {}, {}});
    }
    QSet<std::uint32_t> slideIds;
    QSet<std::uint32_t> listedIds;
    std::uint32_t maxSlideId = FirstSlideId - 1;
    for (const SlideRef& ref : pres.slides) {
        maxSlideId = std::max(maxSlideId, ref.id);
        listedIds.insert(ref.id);
    }
    // A slide listed without a usable id, or with another's, gets the next one; past the last
    // id a slide may have, the lowest that no slide is listed with.
    const auto newSlideId = [&] {
        if (maxSlideId < LastSlideId)
            return ++maxSlideId;
        return LowestFreeSlideId([&](std::uint32_t id) { return slideIds.contains(id) || listedIds.contains(id); });
    };
    // The slides are scanned a batch at a time, and each batch becomes the model before the next
    // is scanned: a scanned shape is held twice until then (as read, and as the model takes it),
    // and scanning every slide first would hold all of them at once.
    constexpr std::size_t ScanBatch = 256;
    for (std::size_t first = 0; first < jobs.size(); first += ScanBatch) {
        const std::size_t batchEnd = std::min(jobs.size(), first + ScanBatch);
        runJobs(batchEnd - first, [&](std::size_t i) {
            SlideJob& job = jobs[first + i];
            job.scan = scanSlide(*job.xml, job.partName, job.defaults.get());
            job.pieces = std::make_shared<const SlidePieces>(piecesOf(job.scan, *job.xml));
            job.offsets = ByteOffsets(job.scan, *job.xml);
            // The shapes take their XML from the part; the decoded text (twice the part's size)
            // need not wait for them.
            if (job.offsets.valid())
                job.scan.text = QString();
        });

        for (std::size_t j = first; j < batchEnd; ++j) {
            SlideJob& job = jobs[j];
            SlideScan& scan = job.scan;
            auto slide = std::make_shared<SlideData>();
            slide->presentation = data.get();
            slide->slideId = job.id != 0 && !slideIds.contains(job.id) ? job.id : newSlideId();
            slideIds.insert(slide->slideId);
            slide->name = scan.name;
            slide->partName = job.partName;
            slide->sourceXml = *job.xml;
            if (const QByteArray* rels = parts.find(relsPartName(job.partName)))
                slide->relsXml = *rels;
            slide->modified = false;
            slide->sourcePackage = pkg;
            std::vector<const ParsedShape*> parsed;
            slide->shapes.reserve(scan.shapes.size());
            parsed.reserve(scan.shapes.size());
            const ByteOffsets& offsets = job.offsets;
            for (ScannedShape& sh : scan.shapes) {
                auto shape = std::make_shared<ShapeData>(std::move(sh.parsed.data));
                shape->slide = slide.get();
                if (offsets.valid()) {
                    // A view of the part, which the shape holds: no copy of each shape's XML.
                    const qsizetype from = offsets.at(sh.begin);
                    shape->sourceXml = QByteArray::fromRawData(slide->sourceXml.constData() + from, offsets.at(sh.end) - from);
                    shape->sourceXmlOwner = slide->sourceXml;
                } else {
                    shape->sourceXml = QStringView(scan.text).mid(sh.begin, sh.end - sh.begin).toUtf8();
                }
                shape->modified = false;
                slide->shapes.push_back(std::move(shape));
                parsed.push_back(&sh.parsed);
            }
            resolveGlue(*slide, parsed);
            data->slides.push_back(slide);

            pkg->slideRelIds.insert(job.partName, job.relId);
            pkg->slideOrder << job.partName;
            pkg->slideIds.push_back(job.id);
            pkg->defaultsBySlide.insert(job.partName, job.defaults);
            if (!job.pieces->source.isEmpty())
                pkg->piecesBySlide.insert(job.partName, job.pieces);
            scan = SlideScan(); // its text and shapes are no longer needed
        }
    }
    nameUnnamedSlides(*data);
    data->package = pkg;
    data->saved = true;
    return data;
}

} // namespace zov::host::pptx
