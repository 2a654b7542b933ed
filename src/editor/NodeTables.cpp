#include "editor/NodeTables.h"

#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "host/HostError.h"

#include <QSet>

namespace zov::editor {

namespace {

const QString TitleSeparator = QStringLiteral(" is ");
constexpr float TitleRecordX = 100;
constexpr float TitleRecordY = 50;

QString TextOf(const host::Shape& shape) {
    return shape.TextFrame().TextRange().Text();
}

} // namespace

std::optional<cgif::NodeRecord> NodeRecordOfShape(const host::Shape& shape, const QString& slideName,
                                                  cgif::CgifReader& reader) {
    namespace kind = cgif::NodeKind;
    const int type = shape.AutoShapeType();
    cgif::NodeRecord record;
    // The texts are cut from the reader's pool: the tables are rebuilt after every command.
    const auto kept = [&reader](QStringView text) { return reader.PooledText(text); };
    switch (type) {
    case drawing::RelationShapeType:
        record.Type = kept(TextOf(shape));
        record.Id = cgif::NodeId(drawing::IdPart(shape.Name()));
        record.Kind = kind::Relation;
        break;
    case drawing::ConceptShapeType: {
        const QString name = shape.Name();
        const QString text = TextOf(shape);
        record.Name = kept(drawing::LabelPartView(name));
        record.Type = kept(drawing::TypePartView(text));
        record.Referent = kept(drawing::ReferentPartView(text));
        record.Id = cgif::NodeId(drawing::IdPart(name));
        record.Kind = kind::Concept;
        break;
    }
    case drawing::ActorShapeType:
        record.Type = kept(drawing::TypePartView(TextOf(shape)));
        record.Id = cgif::NodeId(drawing::IdPart(shape.Name()));
        record.Kind = kind::Actor;
        break;
    case drawing::CoreferentConceptShapeType: {
        const QString name = shape.Name();
        record.Name = kept(drawing::LabelPartView(name));
        record.Type = kept(drawing::TypePartView(TextOf(shape)));
        record.Id = cgif::NodeId(drawing::IdPart(name));
        record.Kind = kind::CoreferentConcept;
        break;
    }
    case drawing::TitleLabelShapeType: {
        const QString text = TextOf(shape);
        const qsizetype at = text.indexOf(TitleSeparator);
        if (at >= 0) {
            record.Name = kept(QStringView(text).left(at));
            record.Type = kept(QStringView(text).mid(at + TitleSeparator.size()));
        } else {
            // Not in the "name is type" form: the slide still is a graph, named by its slide.
            record.Name = kept(slideName);
            record.Type = kept(u"Graph");
        }
        record.Id = cgif::NodeId(shape.Name());
        record.Kind = kind::Graph;
        record.X = TitleRecordX;
        record.Y = TitleRecordY;
        return record;
    }
    case drawing::CommentShapeType:
        record.Type = kept(TextOf(shape));
        record.Id = cgif::NodeId(shape.Name());
        record.Kind = kind::Comment;
        break;
    default:
        return std::nullopt;
    }
    record.X = shape.Left();
    record.Y = shape.Top();
    return record;
}

namespace {

// The number of the slide's title label among its shapes (the first, unless it was brought
// forward or sent back), 0 when it has none.
int TitleLabelNumber(const host::Shapes& shapes, int shapeCount) {
    for (int k = 1; k <= shapeCount; ++k) {
        try {
            if (shapes.Item(k).AutoShapeType() == drawing::TitleLabelShapeType)
                return k;
        } catch (const host::HostError&) {
            // not a title label
        }
    }
    return 0;
}

// The graph of a slide without a title label (a slide added as a blank one and drawn on): named
// after its slide, as Link and Export take it.
cgif::NodeRecord SlideGraphRecord(const QString& slideName, cgif::CgifReader& reader) {
    cgif::NodeRecord record;
    record.Name = reader.PooledText(slideName);
    record.Type = reader.PooledText(u"Graph");
    record.Kind = cgif::NodeKind::Graph;
    record.X = TitleRecordX;
    record.Y = TitleRecordY;
    return record;
}

} // namespace

void RebuildNodeTables(const host::Presentation& presentation, cgif::CgifReader& reader) {
    reader.ClearReaderTables();
    if (presentation.IsNothing())
        return;
    const host::Slides slides = presentation.Slides();
    const int slideCount = slides.Count();
    for (int s = 1; s <= slideCount; ++s) {
        const host::Slide slide = slides.Item(s);
        const QString slideName = slide.Name();
        const host::Shapes shapes = slide.Shapes();
        const int shapeCount = shapes.Count();
        // The slide's graph record comes before its nodes, which belong to the nearest graph
        // record before them: otherwise they would count as nodes of the slide before.
        const int title = TitleLabelNumber(shapes, shapeCount);
        bool graphRecorded = false;
        if (title != 0) {
            try {
                if (auto record = NodeRecordOfShape(shapes.Item(title), slideName, reader)) {
                    reader.AddNode(std::move(*record));
                    graphRecorded = true;
                }
            } catch (const host::HostError&) {
                // a title label without text: the slide's own graph record below
            }
        }
        for (int k = 1; k <= shapeCount; ++k) {
            if (k == title)
                continue;
            try {
                const host::Shape shape = shapes.Item(k);
                if (shape.AutoShapeType() == drawing::ArcShapeType) {
                    if (!shape.Connector())
                        continue;
                    const host::ConnectorFormatView connector = shape.ConnectorFormat();
                    if (!connector.BeginConnected() || !connector.EndConnected())
                        continue;
                    reader.AddLink({cgif::NodeId(connector.BeginConnectedShape().Name()), cgif::NodeId(connector.EndConnectedShape().Name())});
                } else if (auto record = NodeRecordOfShape(shape, slideName, reader)) {
                    if (!graphRecorded) {
                        reader.AddNode(SlideGraphRecord(slideName, reader));
                        graphRecorded = true;
                    }
                    reader.AddNode(std::move(*record));
                }
            } catch (const host::HostError&) {
                // A shape the host cannot read (no text frame where one is needed) is no node.
            }
        }
    }
}

QString NewCoreferenceLabel(const host::Presentation& presentation) {
    QSet<QString> used;
    if (!presentation.IsNothing()) {
        const host::Slides slides = presentation.Slides();
        const int slideCount = slides.Count();
        for (int s = 1; s <= slideCount; ++s) {
            const host::Slide slide = slides.Item(s);
            used.insert(slide.Name());
            const host::Shapes shapes = slide.Shapes();
            const int shapeCount = shapes.Count();
            for (int k = 1; k <= shapeCount; ++k) {
                const QString label = drawing::LabelPart(shapes.Item(k).Name());
                if (!label.isEmpty())
                    used.insert(label);
            }
        }
    }
    for (int number = 1;; ++number) {
        QString label = QStringLiteral("x") + QString::number(number);
        if (!used.contains(label))
            return label;
    }
}

} // namespace zov::editor
