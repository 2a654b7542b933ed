#include "app/desktop/ShapeClipboard.h"

#include "drawing/GraphEncoding.h"
#include "drawing/GraphTitle.h"
#include "drawing/NameParts.h"
#include "host/HostError.h"
#include "host/ShapeCopy.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace zov::app {

namespace {

constexpr quint32 kMagic = 0x5A4F5653; // "ZOVS"
constexpr quint32 kVersion = 1;
constexpr int kMaxShapes = 100000;
constexpr double kPasteStep = 12; // points right and down for each paste onto occupied places

bool isConnector(const host::ShapeData& s) { return s.kind == host::ShapeKind::Connector; }

void writeShape(QDataStream& out, const host::ShapeData& s, const ShapeSet::Glue& g)
{
    out << static_cast<qint32>(s.kind) << static_cast<qint32>(s.autoShapeType) << s.preset << s.name;
    out << s.left << s.top << s.width << s.height << s.rotation;
    out << s.fillVisible << s.fillSolid << static_cast<quint32>(s.fillRgb);
    out << s.lineVisible << static_cast<quint32>(s.lineRgb) << s.lineWeight << static_cast<qint32>(s.beginArrowhead)
        << static_cast<qint32>(s.endArrowhead);
    out << s.hasTextFrame << s.paragraphs << s.fontName << s.fontSize << s.textColourSet << static_cast<quint32>(s.textRgb)
        << static_cast<qint32>(s.autoSize) << s.wordWrap;
    out << s.marginLeft << s.marginRight << s.marginTop << s.marginBottom;
    out << s.begin << s.end;
    out << static_cast<qint32>(g.begin) << static_cast<qint32>(g.beginSite) << static_cast<qint32>(g.end)
        << static_cast<qint32>(g.endSite);
}

bool readShape(QDataStream& in, host::ShapeData& s, ShapeSet::Glue& g)
{
    qint32 kind = 0, type = 0, beginArrow = 0, endArrow = 0, autoSize = 0;
    quint32 fill = 0, line = 0, text = 0;
    qint32 begin = -1, beginSite = 0, end = -1, endSite = 0;
    in >> kind >> type >> s.preset >> s.name;
    in >> s.left >> s.top >> s.width >> s.height >> s.rotation;
    in >> s.fillVisible >> s.fillSolid >> fill;
    in >> s.lineVisible >> line >> s.lineWeight >> beginArrow >> endArrow;
    in >> s.hasTextFrame >> s.paragraphs >> s.fontName >> s.fontSize >> s.textColourSet >> text >> autoSize >> s.wordWrap;
    in >> s.marginLeft >> s.marginRight >> s.marginTop >> s.marginBottom;
    in >> s.begin >> s.end;
    in >> begin >> beginSite >> end >> endSite;
    if (in.status() != QDataStream::Ok)
        return false;
    if (kind < static_cast<qint32>(host::ShapeKind::AutoShape) || kind > static_cast<qint32>(host::ShapeKind::Connector))
        return false;
    const float numbers[] = {s.left, s.top, s.width, s.height, s.rotation, s.lineWeight, s.fontSize};
    if (!std::all_of(std::begin(numbers), std::end(numbers), [](float v) { return std::isfinite(v); }))
        return false;
    s.kind = static_cast<host::ShapeKind>(kind);
    s.autoShapeType = type;
    s.fillRgb = fill;
    s.lineRgb = line;
    s.textRgb = text;
    s.beginArrowhead = beginArrow;
    s.endArrowhead = endArrow;
    s.autoSize = autoSize;
    g = {begin, beginSite, end, endSite};
    return true;
}

// How far the copies move so that none lands exactly on a shape of the slide.
QPointF pasteOffset(const ShapeSet& set, const host::SlideData& slide)
{
    const auto anchor = std::find_if(set.shapes.begin(), set.shapes.end(), [](const auto& s) { return !isConnector(s); });
    const host::ShapeData& first = anchor != set.shapes.end() ? *anchor : set.shapes.front();
    const auto occupied = [&](double dx, double dy) {
        return std::any_of(slide.shapes.begin(), slide.shapes.end(), [&](const auto& s) {
            return s->kind == first.kind && s->autoShapeType == first.autoShapeType &&
                std::abs(s->left - (first.left + dx)) < 0.5 && std::abs(s->top - (first.top + dy)) < 0.5;
        });
    };
    double step = 0;
    for (int i = 0; i < 100 && occupied(step, step); ++i)
        step += kPasteStep;
    return {step, step};
}

} // namespace

bool IsNodeId(const QString& text)
{
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

ShapeSet CollectShapes(const std::vector<host::Shape>& chosen)
{
    ShapeSet set;
    std::unordered_set<const host::ShapeData*> picked; // asked about every shape of the slide
    const host::SlideData* slide = nullptr;
    for (const host::Shape& shape : chosen) {
        if (!shape.IsAlive())
            continue;
        if (!slide)
            slide = shape.data().slide;
        if (shape.data().slide == slide && shape.data().kind != host::ShapeKind::Foreign)
            picked.insert(&shape.data());
    }
    if (!slide)
        return set;
    const auto isPicked = [&](const host::ShapeData* s) { return picked.count(s) != 0; };

    // The nodes first, so that the connectors' ends can be looked up among them.
    std::unordered_map<const host::ShapeData*, int> index;
    std::vector<const host::ShapeData*> taken;
    for (const auto& s : slide->shapes)
        if (!isConnector(*s) && isPicked(s.get()))
            index.emplace(s.get(), 0);
    const auto endIn = [&](const host::GlueEnd& end) {
        return end.isGlued() && index.count(end.shape.lock().get()) != 0;
    };
    const auto endOut = [&](const host::GlueEnd& end) { return end.isGlued() && !endIn(end); };
    for (const auto& s : slide->shapes) {
        bool take = index.count(s.get()) != 0;
        if (isConnector(*s))
            take = (endIn(s->beginGlue) && endIn(s->endGlue)) ||
                (isPicked(s.get()) && !endOut(s->beginGlue) && !endOut(s->endGlue));
        if (take)
            taken.push_back(s.get());
    }
    for (std::size_t i = 0; i < taken.size(); ++i)
        if (!isConnector(*taken[i]))
            index[taken[i]] = static_cast<int>(i);
    for (const host::ShapeData* s : taken) {
        ShapeSet::Glue glue;
        if (isConnector(*s)) {
            if (endIn(s->beginGlue)) {
                glue.begin = index.at(s->beginGlue.shape.lock().get());
                glue.beginSite = s->beginGlue.site;
            }
            if (endIn(s->endGlue)) {
                glue.end = index.at(s->endGlue.shape.lock().get());
                glue.endSite = s->endGlue.site;
            }
        }
        set.shapes.push_back(host::DetachedShapeRecord(*s));
        set.glue.push_back(glue);
    }
    return set;
}

QByteArray SerializeShapes(const ShapeSet& set)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << static_cast<qint32>(set.shapes.size());
    for (std::size_t i = 0; i < set.shapes.size(); ++i)
        writeShape(out, set.shapes[i], set.glue[i]);
    return bytes;
}

std::optional<ShapeSet> DeserializeShapes(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0;
    qint32 count = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion || count < 0 || count > kMaxShapes)
        return std::nullopt;
    ShapeSet set;
    set.shapes.resize(static_cast<std::size_t>(count));
    set.glue.resize(static_cast<std::size_t>(count));
    for (qint32 i = 0; i < count; ++i)
        if (!readShape(in, set.shapes[static_cast<std::size_t>(i)], set.glue[static_cast<std::size_t>(i)]))
            return std::nullopt;
    // Glue may only name another record that is not a connector.
    const auto valid = [&](int target, int site) {
        return target == -1 || (target >= 0 && target < count && site > 0 &&
                                !isConnector(set.shapes[static_cast<std::size_t>(target)]));
    };
    for (const ShapeSet::Glue& g : set.glue)
        if (!valid(g.begin, g.beginSite) || !valid(g.end, g.endSite))
            return std::nullopt;
    return set;
}

QMimeData* ShapesToMime(const ShapeSet& set)
{
    auto* data = new QMimeData;
    data->setData(ShapesMimeType, SerializeShapes(set));
    QStringList texts;
    for (const host::ShapeData& s : set.shapes)
        if (!isConnector(s) && !s.text().isEmpty())
            texts << s.paragraphs.join(QLatin1Char('\n'));
    if (!texts.isEmpty())
        data->setText(texts.join(QLatin1Char('\n')));
    return data;
}

std::optional<ShapeSet> ShapesFromMime(const QMimeData& data)
{
    if (!data.hasFormat(ShapesMimeType))
        return std::nullopt;
    return DeserializeShapes(data.data(ShapesMimeType));
}

std::vector<host::Shape> PasteShapes(const ShapeSet& set, host::Slide slide, const std::function<QString()>& newNodeId)
{
    std::vector<host::Shape> added;
    if (set.empty())
        return added;
    const QPointF offset = pasteOffset(set, slide.data());
    added.reserve(set.shapes.size());
    for (const host::ShapeData& source : set.shapes) {
        host::Shape copy = host::AddShapeCopy(slide, source, offset);
        const QString id = drawing::IdPart(source.name);
        if (!isConnector(source) && newNodeId && IsNodeId(id)) {
            const QString label = drawing::LabelPart(source.name);
            copy.SetName(label.isEmpty() && !source.name.contains(QLatin1Char('/')) ? newNodeId()
                                                                                  : label + QLatin1Char('/') + newNodeId());
        }
        // A graph's title pasted onto another graph's slide names that graph.
        if (source.autoShapeType == drawing::TitleLabelShapeType && !slide.Name().isEmpty()) {
            if (const std::optional<QString> shown = drawing::GraphNameInTitle(source.text(), drawing::LabelPart(source.name));
                shown && !shown->isEmpty())
                drawing::RenameGraphTitle(copy, *shown, slide.Name());
        }
        added.push_back(copy);
    }
    for (std::size_t i = 0; i < set.shapes.size(); ++i) {
        const ShapeSet::Glue& g = set.glue[i];
        if (!isConnector(set.shapes[i]))
            continue;
        host::ConnectorFormatView connector = added[i].ConnectorFormat();
        try {
            if (g.begin >= 0)
                connector.BeginConnect(added[static_cast<std::size_t>(g.begin)], g.beginSite);
            if (g.end >= 0)
                connector.EndConnect(added[static_cast<std::size_t>(g.end)], g.endSite);
        } catch (const host::HostError&) {
            // A site the copy does not have (a record made elsewhere): the end stays where it is.
        }
    }
    return added;
}

} // namespace zov::app
