#include "cgif/export/GraphWriter.h"

#include "cgif/export/PositionText.h"
#include "cgif/grammar/GraphTitle.h"
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/ShownText.h"
#include "drawing/NameParts.h"
#include "drawing/GraphEncoding.h"
#include "host/HostError.h"

namespace zov::cgif::exporter {

namespace {

// Swallows the text of the silent first pass.
class NullTextStream : public platform::TextStream {
public:
    QString ReadLine() override { return {}; }
    bool AtEndOfStream() const override { return true; }
    void Write(const QString&) override {}
    void WriteLine(const QString&) override {}
    void Close() override {}
};

// The text of a shape's text frame; a shape without one fails like any other host call.
QString shapeText(const host::Shape& shape) {
    if (!shape.HasTextFrame())
        throw host::HostError("the shape \"" + shape.Name().toStdString() + "\" has no text");
    return shape.TextFrame().TextRange().Text();
}

// A slide whose only nodes are pentagons (coreference to other slides) is still a graph.
bool hasLabelledPentagon(const SlideScan& scan) {
    for (const host::Shape& pentagon : scan.Pentagons())
        if (!drawing::LabelPart(pentagon.Name()).isEmpty())
            return true;
    return false;
}

} // namespace

GraphWriter::GraphWriter(host::Presentation presentation, platform::MessageBoxes& messages)
    : presentation_(std::move(presentation)), messages_(messages) {}

void GraphWriter::ClearWrittenConcepts() {
    written_.clear();
    writtenNames_.clear();
    madeUpLabels_.clear();
    referredAgain_.clear();
}

namespace {

// Why the title "type*name" does not come back as that type and name from ";%TYPE*NAME%;" (the
// comment ends at the first ";", the title at the first "%", the type at the first "*", the
// reader trims the blanks around both, and an empty name is replaced by a made-up one), or ""
// when it does.
QString TitleNotReadBack(const QString& title, const QString& type, const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("it has no name");
    for (const QChar c : title) {
        if (c == u';' || c == u'%')
            return QStringLiteral("it holds \"%1\"").arg(c);
        if (c == u'\r' || c == u'\n')
            return QStringLiteral("it holds a line break");
    }
    if (type.contains(u'*'))
        return QStringLiteral("its type holds \"*\"");
    const grammar::TitleParts parts = grammar::SplitGraphTitle<ReaderText>(title.constData(), title.size());
    const QStringView text(title);
    if (text.mid(parts.Type.Begin, parts.Type.Size) != type || text.mid(parts.Name.Begin, parts.Name.Size) != name)
        return QStringLiteral("it begins or ends with blanks");
    return QString();
}

} // namespace

QString GraphWriter::titleText(const QString& type, const QString& name) {
    QString title = type + QLatin1Char('*') + name;
    if (!silent_ && firstTitleNotKept_.isEmpty()) {
        if (const QString why = TitleNotReadBack(title, type, name); !why.isEmpty())
            firstTitleNotKept_ = QStringLiteral("the title of slide \"%1\" (graph type \"%2\") cannot be held by a 2001 "
                                                "title comment, as %3, so it reads back as another graph")
                                     .arg(ShownText(name), ShownText(type), why);
    }
    return title;
}

QString GraphWriter::TitleType(const QString& titleText) {
    static const QString separator = QStringLiteral(" is ");
    const qsizetype at = titleText.indexOf(separator);
    if (at < 0)
        return QStringLiteral("Graph");
    return titleText.mid(at + separator.size());
}

QString GraphWriter::TitleText(const host::Slide& slide) {
    const host::Shape first = slide.Shapes().Item(1);
    if (!first.HasTextFrame())
        throw host::HostError("its first shape, \"" + first.Name().toStdString() +
                              "\", has no text, where a graph slide has its title label. Every slide that holds a "
                              "rectangle, an oval or a text box is read as a graph: export a copy of the "
                              "presentation that holds only the graph slides");
    return first.TextFrame().TextRange().Text();
}

bool GraphWriter::WriteGraphs(platform::TextStream& out) {
    // A concept's full form comes before any reference to it, so whether an unlabelled concept
    // needs a made-up label is only known after the fact: a silent pass over the same slides
    // finds those concepts, then the real pass writes.
    const auto savedWritten = written_;
    const auto savedNames = writtenNames_;
    NullTextStream discard;
    silent_ = true;
    writeAllSlides(discard);
    silent_ = false;
    written_ = savedWritten;
    writtenNames_ = savedNames;
    return writeAllSlides(out);
}

bool GraphWriter::writeAllSlides(platform::TextStream& out) {
    bool first = true;
    QString name;
    earlierLabels_.clear();
    madeUpNoted_ = 0;
    try {
        const int slideCount = presentation_.Slides().Count();
        for (int s = 1; s <= slideCount; ++s) {
            const host::Slide slide = presentation_.Slides().Item(s);
            name = slide.Name();
            scan_.ScanSlide(presentation_, s);
            if (!scan_.HasSlideNodes() && !hasLabelledPentagon(scan_))
                continue;
            const QString type = TitleType(TitleText(slide));
            if (!first) {
                out.WriteLine(QStringLiteral(" "));
                out.WriteLine(QStringLiteral(". "));
            }
            first = false;
            out.WriteLine(QStringLiteral(";%") + titleText(type, name) + QStringLiteral("%;"));
            WriteGraphBody(out);
            noteDefinedLabels(slide);
        }
    } catch (const host::HostError& failure) {
        // A shape without text, a shape the host cannot read: the export stops here, keeping
        // what it wrote, and says where it stopped.
        if (!silent_)
            messages_.inform(QStringLiteral("The export stopped at slide %1: %2")
                                 .arg(name, QString::fromUtf8(failure.what())),
                             QStringLiteral("Error"), platform::MessageIcon::Critical);
        return false;
    }
    return !first;
}

bool GraphWriter::WriteGraphBody(platform::TextStream& out) {
    arcsOfThisGraph_.clear();
    writtenThisGraph_.clear();
    findGraphReferences();
    for (const NodeArcs& record : scan_.SlideNodes()) {
        const host::Shape& node = record.Node;
        switch (node.AutoShapeType()) {
        case drawing::RelationShapeType:
            out.Write(QStringLiteral("("));
            WriteLabel(node, out);
            for (const host::Shape& in : record.InArcs)
                writeArc(in, out);
            if (record.OutArcs.empty()) {
                reportMissingOutArcs(node);
                return false;
            }
            writeArc(record.OutArcs.front(), out);
            WritePosition(node, out);
            out.WriteLine(QStringLiteral(")"));
            break;
        case drawing::ActorShapeType:
            out.Write(QStringLiteral("<"));
            WriteLabel(node, out);
            for (const host::Shape& in : record.InArcs)
                writeArc(in, out);
            out.Write(QStringLiteral("|"));
            if (record.OutArcs.empty()) {
                reportMissingOutArcs(node);
                return false;
            }
            for (const host::Shape& target : record.OutArcs)
                writeArc(target, out);
            WritePosition(node, out);
            out.WriteLine(QStringLiteral(">"));
            break;
        case drawing::CommentShapeType:
            WriteComment(shapeText(node), out);
            break;
        case drawing::ConceptShapeType:
            // A concept that a relation or actor of this graph has already written as its
            // argument would come out again as a bare reference between elements, which no
            // reader takes: the argument already stands for it.
            if (arcsOfThisGraph_.contains(node.Name()))
                break;
            WriteConcept(node, out);
            break;
        default:
            break; // a record made for another kind of shape by an arc from a concept
        }
    }
    writeUnlinkedPentagons(out);
    return true;
}

void GraphWriter::noteDefinedLabels(const host::Slide& slide) {
    earlierLabels_.insert(slide.Name());
    const host::Shapes shapes = slide.Shapes();
    for (int k = 1; k <= shapes.Count(); ++k) {
        const host::Shape shape = shapes.Item(k);
        if (shape.AutoShapeType() == drawing::ConceptShapeType)
            earlierLabels_.insert(drawing::LabelPart(shape.Name()));
    }
    // Every label made up so far counts as defined; those noted after an earlier slide are in already.
    const std::vector<QString>& madeUp = madeUpLabels_.inOrder();
    for (; madeUpNoted_ < madeUp.size(); ++madeUpNoted_)
        earlierLabels_.insert(madeUp[madeUpNoted_]);
}

void GraphWriter::findGraphReferences() {
    graphReferences_.clear();
    for (const NodeArcs& record : scan_.SlideNodes()) {
        const host::Shape& pentagon = record.Node;
        if (pentagon.AutoShapeType() != drawing::CoreferentConceptShapeType)
            continue;
        const QString graphName = drawing::LabelPart(pentagon.Name());
        if (graphName.isEmpty() || shapeText(pentagon) != graphName ||
            presentation_.Slides().FindByName(graphName).IsNothing())
            continue;
        for (const host::Shape& container : record.InArcs)
            if (container.AutoShapeType() == drawing::ConceptShapeType && !graphReferences_.contains(container.Name()))
                graphReferences_.insert(container.Name(), pentagon);
    }
}

QString GraphWriter::graphType(const QString& graphName) const {
    const host::Slide slide = presentation_.Slides().FindByName(graphName);
    const host::Shapes shapes = slide.Shapes();
    if (shapes.Count() < 1 || !shapes.Item(1).HasTextFrame())
        return QStringLiteral("Graph");
    return TitleType(shapes.Item(1).TextFrame().TextRange().Text());
}

void GraphWriter::writeGraphReference(const host::Shape& container, const host::Shape& pentagon,
                                      platform::TextStream& out) {
    const QString graphName = drawing::LabelPart(pentagon.Name());
    if (!shapeText(container).contains(QLatin1Char(':')))
        out.Write(QStringLiteral(":"));
    out.Write(QStringLiteral(" ;%") + titleText(graphType(graphName), graphName) + QStringLiteral("%; ;") +
              PositionText(pentagon.Left()) + QLatin1Char('@') + PositionText(pentagon.Top()) + QStringLiteral("; "));
}

void GraphWriter::writeUnlinkedPentagons(platform::TextStream& out) {
    QSet<QString> linked;
    for (const NodeArcs& record : scan_.SlideNodes()) {
        linked.insert(record.Node.Name());
        for (const host::Shape& shape : record.InArcs)
            linked.insert(shape.Name());
        for (const host::Shape& shape : record.OutArcs)
            linked.insert(shape.Name());
    }
    for (const host::Shape& pentagon : scan_.Pentagons())
        if (!linked.contains(pentagon.Name()) && !drawing::LabelPart(pentagon.Name()).isEmpty())
            WriteConcept(pentagon, out);
}

void GraphWriter::WriteConcept(const host::Shape& shape, platform::TextStream& out) {
    const QString name = shape.Name();
    const auto reference = graphReferences_.constFind(name);
    // Written in full on an earlier slide: written in full again, so that this graph holds
    // the concept itself and the label joins the two.
    if (writtenNames_.contains(name) && writtenThisGraph_.contains(name)) {
        QString label = reference != graphReferences_.constEnd() ? drawing::LabelPart(reference.value().Name())
                                                                 : drawing::LabelPart(name);
        if (label.isEmpty())
            label = referenceLabel(name);
        out.Write(QLatin1Char('?') + label);
        return;
    }
    // A pentagon is one concept of its slide: after its full form, its label stands for it.
    // (Only when the label is defined on an earlier slide, where the reader finds it; else the
    // pentagon is written in full each time.)
    if (shape.AutoShapeType() == drawing::CoreferentConceptShapeType && writtenThisGraph_.contains(name) &&
        earlierLabels_.contains(drawing::LabelPart(name))) {
        out.Write(QLatin1Char('?') + drawing::LabelPart(name));
        return;
    }
    out.Write(QStringLiteral("["));
    switch (shape.AutoShapeType()) {
    case drawing::CoreferentConceptShapeType:
        writeCoreferentConcept(shape, out);
        writtenThisGraph_.insert(name);
        break;
    case drawing::TitleLabelShapeType:
        break;
    default: {
        WriteLabel(shape, out);
        markWritten(shape);
        if (reference != graphReferences_.constEnd()) {
            // The concept holds another slide's graph: its referent is that graph, by title.
            writeGraphReference(shape, reference.value(), out);
            break;
        }
        QString label = drawing::LabelPart(name);
        if (label.isEmpty() && !silent_ && referredAgain_.contains(name))
            label = referenceLabel(name);
        if (!label.isEmpty())
            out.Write(QLatin1Char('*') + label);
        break;
    }
    }
    WritePosition(shape, out);
    out.Write(QStringLiteral("]"));
}

void GraphWriter::writeCoreferentConcept(const host::Shape& shape, platform::TextStream& out) {
    const QString label = shapeText(shape);
    const QString coref = drawing::LabelPart(shape.Name());
    if (label == coref) {
        out.Write(QLatin1Char('?') + label);
        return;
    }
    // The type is the text before "(" ("Cat(Person in G1)"); a label without "(" is kept whole.
    const qsizetype paren = label.indexOf(QLatin1Char('('));
    out.Write((paren < 0 ? label : label.left(paren)) + QLatin1Char('?') + coref);
}

void GraphWriter::WriteLabel(const host::Shape& shape, platform::TextStream& out) {
    out.Write(shapeText(shape));
}

void GraphWriter::WritePosition(const host::Shape& shape, platform::TextStream& out) {
    out.Write(QStringLiteral(";"));
    out.Write(PositionText(shape.Left()) + QLatin1Char('@') + PositionText(shape.Top()));
    out.WriteLine(QStringLiteral(";"));
}

void GraphWriter::WriteComment(const QString& text, platform::TextStream& out) {
    out.Write(QStringLiteral(";"));
    out.Write(text);
    out.WriteLine(QStringLiteral(";"));
}

void GraphWriter::writeArc(const host::Shape& shape, platform::TextStream& out) {
    WriteConcept(shape, out);
    arcsOfThisGraph_.insert(shape.Name());
}

void GraphWriter::markWritten(const host::Shape& shape) {
    written_.push_back(shape);
    writtenNames_.insert(shape.Name());
    writtenThisGraph_.insert(shape.Name());
}

// The label that stands for an unlabelled concept in the text. The silent pass only notes
// that one is needed; the real pass makes it up at the concept's first full form.
QString GraphWriter::referenceLabel(const QString& name) {
    if (silent_) {
        referredAgain_.insert(name);
        return {};
    }
    return madeUpLabels_.labelFor(name, presentation_);
}

void GraphWriter::reportMissingOutArcs(const host::Shape& node) {
    if (silent_)
        return;
    messages_.inform(QStringLiteral("No out arcs for ") + shapeText(node) + QLatin1Char('!'),
                     QStringLiteral("Error"), platform::MessageIcon::Critical);
}

} // namespace zov::cgif::exporter
