#include "cgif/export/IsoGraphWriter.h"

#include "cgif/export/GraphWriter.h"
#include "cgif/export/IsoText.h"
#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "host/HostError.h"

#include <utility>

namespace zov::cgif::exporter {

namespace {

const QString NegationType = QStringLiteral("Neg");

QString shapeText(const host::Shape& shape) {
    if (!shape.HasTextFrame())
        throw host::HostError("the shape \"" + shape.Name().toStdString() + "\" has no text");
    return shape.TextFrame().TextRange().Text();
}

QString layoutOf(NoteKind kind, const host::Shape& shape) {
    return LayoutNote(kind, shape.Left(), shape.Top());
}

// "Proposition (NAME)", blanks before "(" or none.
bool namesProposition(const QString& text, const QString& name) {
    static const QString type = QStringLiteral("Proposition");
    if (!text.startsWith(type))
        return false;
    const QStringView rest = QStringView(text).mid(type.size()).trimmed();
    return rest.size() == name.size() + 2 && rest.front() == u'(' && rest.back() == u')' &&
           rest.mid(1, name.size()) == name;
}

bool hasLabelledPentagon(const SlideScan& scan) {
    for (const host::Shape& pentagon : scan.Pentagons())
        if (!drawing::LabelPart(pentagon.Name()).isEmpty())
            return true;
    return false;
}

bool isConcept(const host::Shape& shape) { return shape.AutoShapeType() == drawing::ConceptShapeType; }

// Calls visit(shape) for a record's node, then the shapes its arcs come from and go to.
template <typename Visit>
void forEachShapeOf(const NodeArcs& record, Visit visit) {
    visit(record.Node);
    for (const host::Shape& shape : record.InArcs)
        visit(shape);
    for (const host::Shape& shape : record.OutArcs)
        visit(shape);
}

// A relation or actor is written only with an out arc (else it is reported and left out).
bool writesArguments(const NodeArcs& record) {
    const int type = record.Node.AutoShapeType();
    return (type == drawing::RelationShapeType || type == drawing::ActorShapeType) && !record.OutArcs.empty();
}

} // namespace

IsoGraphWriter::IsoGraphWriter(host::Presentation presentation, platform::MessageBoxes& messages)
    : presentation_(std::move(presentation)), messages_(messages) {}

bool IsoGraphWriter::WriteGraphs(platform::TextStream& out) {
    scanSlides();
    QString current;
    bool any = false;
    try {
        findHoldings();
        // Graphs no other graph holds, in slide order; then any held graph whose holder did
        // not take it (a holder left out after "No out arcs", graphs that hold each other).
        for (int pass = 0; pass < 2; ++pass) {
            for (int g = 0; g < static_cast<int>(graphs_.size()); ++g) {
                if (graphs_[g].written || graphs_[g].empty || (pass == 0 && heldGraphs_.contains(g)))
                    continue;
                current = graphs_[g].name;
                const QString text = writeGraph(g, true);
                if (any)
                    out.WriteLine(QStringLiteral("."));
                out.Write(text);
                any = true;
            }
        }
    } catch (const host::HostError& error) {
        failedSlide_ = current;
        failure_ = QString::fromUtf8(error.what());
    }
    if (!failure_.isEmpty()) {
        messages_.inform(QStringLiteral("The export stopped at slide %1: %2").arg(failedSlide_, failure_),
                         QStringLiteral("Error"), platform::MessageIcon::Critical);
        return false;
    }
    return any;
}

void IsoGraphWriter::scanSlides() {
    graphs_.clear();
    QString name;
    try {
        const int slideCount = presentation_.Slides().Count();
        for (int s = 1; s <= slideCount; ++s) {
            const host::Slide slide = presentation_.Slides().Item(s);
            name = slide.Name();
            scan_.ScanSlide(presentation_, s);
            // A slide without nodes is written only inside a negation that holds it (an empty
            // negated graph), so it is kept when its title can be read.
            Graph graph;
            graph.empty = !scan_.HasSlideNodes() && !hasLabelledPentagon(scan_);
            if (graph.empty && (slide.Shapes().Count() < 1 || !slide.Shapes().Item(1).HasTextFrame()))
                continue;
            graph.name = name;
            graph.type = GraphWriter::TitleType(GraphWriter::TitleText(slide));
            graph.records = scan_.SlideNodes();
            graph.pentagons = scan_.Pentagons();
            graphs_.push_back(std::move(graph));
        }
    } catch (const host::HostError& error) {
        failedSlide_ = name;
        failure_ = QString::fromUtf8(error.what());
    }
}

int IsoGraphWriter::graphNamed(const QString& name) const {
    for (int g = 0; g < static_cast<int>(graphs_.size()); ++g)
        if (graphs_[g].name == name)
            return g;
    return -1;
}

void IsoGraphWriter::findHoldings() {
    heldByConcept_.clear();
    heldByNegation_.clear();
    heldGraphs_.clear();
    for (int g = 0; g < static_cast<int>(graphs_.size()); ++g) {
        for (const NodeArcs& record : graphs_[g].records) {
            const host::Shape& node = record.Node;
            // A concept's arc into a pentagon whose text is its label and names a slide: the
            // concept holds that slide's graph.
            if (node.AutoShapeType() == drawing::CoreferentConceptShapeType) {
                const QString label = drawing::LabelPart(node.Name());
                const int held = label.isEmpty() || shapeText(node) != label ? -1 : graphNamed(label);
                if (held < 0 || held == g || heldGraphs_.contains(held) || graphs_[held].empty)
                    continue;
                for (const host::Shape& container : record.InArcs) {
                    if (isConcept(container) && !heldByConcept_.contains(container.Name())) {
                        heldByConcept_.insert(container.Name(), Holding{held, node});
                        heldGraphs_.insert(held);
                        break;
                    }
                }
            }
            // An oval "Neg" whose one arc goes to a pentagon "Proposition (NAME)" named NAME (as
            // the import draws it; "Proposition(NAME)" as typing "Proposition ?NAME" draws it).
            if (node.AutoShapeType() == drawing::RelationShapeType && record.InArcs.empty() &&
                record.OutArcs.size() == 1 && shapeText(node) == NegationType) {
                const host::Shape& pentagon = record.OutArcs.front();
                const QString label = drawing::LabelPart(pentagon.Name());
                if (pentagon.AutoShapeType() != drawing::CoreferentConceptShapeType ||
                    !namesProposition(shapeText(pentagon), label))
                    continue;
                const int held = graphNamed(label);
                if (held < 0 || held == g || heldGraphs_.contains(held))
                    continue;
                heldByNegation_.insert(node.Name(), Holding{held, pentagon});
                heldGraphs_.insert(held);
            }
        }
    }
}

std::optional<IsoGraphWriter::Holding> IsoGraphWriter::holdingToWrite(const QHash<QString, Holding>& holdings,
                                                                       const QString& name) const {
    const auto it = holdings.constFind(name);
    if (it == holdings.constEnd() || graphs_[it->graph].written)
        return std::nullopt;
    for (const int open : writing_)
        if (open == it->graph)
            return std::nullopt;
    return *it;
}

void IsoGraphWriter::findLabelsNeeded(const Graph& graph) {
    // The shapes this graph writes, in the order of the text: the first use of a concept writes
    // it in full, defining its label; a later use as an argument writes its bound label, which a
    // reader binds to the nearest definition before it. (A later record of its own writes
    // nothing; a pentagon as an argument writes a bound label the reader may take as the label's
    // nearest concept.)
    std::vector<std::pair<const host::Shape*, bool>> uses; // shape, as an argument
    for (const NodeArcs& record : graph.records) {
        if (isConcept(record.Node)) {
            uses.emplace_back(&record.Node, false);
        } else if (writesArguments(record)) {
            for (const host::Shape& shape : record.InArcs)
                uses.emplace_back(&shape, true);
            const bool actor = record.Node.AutoShapeType() == drawing::ActorShapeType;
            for (std::size_t i = 0; i < (actor ? record.OutArcs.size() : 1); ++i) // a relation writes one
                uses.emplace_back(&record.OutArcs[i], true);
        }
    }
    // An unlabelled concept used again needs a label. A labelled one whose label another
    // concept defines again between its definition and a use (a 2001 file may define *b again
    // and again) gets a label of its own; as that may uncover an earlier concept's label, the
    // text is followed again until no concept changes.
    labelsNeeded_.clear();
    relabelled_.clear();
    // A pentagon whose label a concept of this graph defines is bound to that concept (which is
    // written first) and is no nearer definition for the arguments after it.
    QSet<QString> ownLabels;
    for (const auto& [shape, asArgument] : uses)
        if (isConcept(*shape))
            if (const QString label = drawing::LabelPart(shape->Name()); !label.isEmpty())
                ownLabels.insert(label);
    for (bool changed = true; changed;) {
        changed = false;
        QSet<QString> seen;
        QHash<QString, QString> nearest; // label -> the concept a bound label would mean here
        for (const auto& [shape, asArgument] : uses) {
            const QString label = drawing::LabelPart(shape->Name());
            if (shape->AutoShapeType() == drawing::CoreferentConceptShapeType) {
                if (asArgument && !label.isEmpty() && !ownLabels.contains(label))
                    nearest.insert(label, QString());
                continue;
            }
            if (!isConcept(*shape))
                continue;
            const QString name = shape->Name();
            if (!seen.contains(name)) {
                seen.insert(name);
                if (!label.isEmpty() && !relabelled_.contains(name))
                    nearest.insert(label, name);
            } else if (asArgument && label.isEmpty()) {
                labelsNeeded_.insert(name);
            } else if (asArgument && !relabelled_.contains(name) && nearest.value(label) != name) {
                relabelled_.insert(name);
                changed = true;
            }
        }
    }
}

QString IsoGraphWriter::writeGraph(int index, bool topLevel) {
    Graph& graph = graphs_[index];
    graph.written = true;
    writing_.push_back(index);
    // A graph written inside another sees the concepts written around it: it refers to them.
    const QSet<QString> outerWritten = writtenHere_;
    QSet<QString> concepts;
    for (const NodeArcs& record : graph.records)
        forEachShapeOf(record, [&](const host::Shape& shape) {
            if (isConcept(shape))
                concepts.insert(shape.Name());
        });
    const QSet<QString> outerConcepts = std::exchange(conceptsHere_, concepts);
    // What the graph around this one defined ahead of it is referred to here.
    const QSet<QString> outerDefined = definedAround_;
    const QSet<QString> outerDefinedHere = std::exchange(definedHere_, {});
    definedAround_ |= outerDefinedHere;
    const QSet<QString> outerRelabelled = relabelled_;
    const QSet<QString> outerNeeded = labelsNeeded_;
    findLabelsNeeded(graph);
    QSet<QString> negated; // the graphs the negations of this graph hold, by name
    for (const NodeArcs& record : graph.records)
        if (const auto holding = holdingToWrite(heldByNegation_, record.Node.Name()))
            negated.insert(graphs_[static_cast<std::size_t>(holding->graph)].name);
    const QSet<QString> outerNegated = std::exchange(negatedHere_, negated);

    QStringList elements;
    QStringList comments; // of a nested graph: after its nodes (see nestedGraphText)
    if (topLevel)
        elements << GraphNote(graph.name, graph.type);
    writeSharedConcepts(graph, elements);
    writeConceptsReferredHere(graph, elements);
    QSet<QString> linked;
    for (const NodeArcs& record : graph.records) {
        linked.insert(record.Node.Name());
        for (const host::Shape& shape : record.InArcs)
            linked.insert(shape.Name());
        for (const host::Shape& shape : record.OutArcs)
            linked.insert(shape.Name());
        const host::Shape& node = record.Node;
        switch (node.AutoShapeType()) {
        case drawing::RelationShapeType:
            if (const auto holding = holdingToWrite(heldByNegation_, node.Name()))
                elements << negationText(record, *holding);
            else if (!record.OutArcs.empty())
                elements << relationText(record);
            else
                reportMissingOutArcs(node);
            break;
        case drawing::ActorShapeType:
            if (!record.OutArcs.empty())
                elements << actorText(record);
            else
                reportMissingOutArcs(node);
            break;
        case drawing::CommentShapeType:
            // An empty comment says nothing (and an ISO reader draws none).
            if (const QString text = shapeText(node); !text.trimmed().isEmpty())
                (topLevel ? elements : comments) << IsoComment(text);
            break;
        case drawing::ConceptShapeType:
            if (!writtenHere_.contains(node.Name()))
                elements << conceptText(node);
            break;
        default:
            break; // a pentagon or foreign shape an arc from a concept points to
        }
    }
    for (const host::Shape& pentagon : graph.pentagons)
        if (!linked.contains(pentagon.Name()) && !drawing::LabelPart(pentagon.Name()).isEmpty() &&
            !writtenHere_.contains(pentagon.Name()))
            elements << coreferentText(pentagon);

    elements << comments;
    writtenHere_ = outerWritten;
    conceptsHere_ = outerConcepts;
    definedAround_ = outerDefined;
    definedHere_ = outerDefinedHere;
    relabelled_ = outerRelabelled;
    labelsNeeded_ = outerNeeded;
    negatedHere_ = outerNegated;
    writing_.pop_back();
    if (!topLevel) // one element a line, indented by the depth of the graph
        return elements.join(QStringLiteral("\r\n") + QString(2 * static_cast<int>(writing_.size()), u' '));
    QString text;
    for (const QString& element : elements)
        text += element + QStringLiteral("\r\n");
    return text;
}

std::vector<int> IsoGraphWriter::graphsHeldBy(const NodeArcs& record) const {
    std::vector<int> held;
    if (const auto holding = holdingToWrite(heldByNegation_, record.Node.Name()))
        held.push_back(holding->graph);
    forEachShapeOf(record, [&](const host::Shape& shape) {
        if (isConcept(shape) && !writtenHere_.contains(shape.Name()))
            if (const auto holding = holdingToWrite(heldByConcept_, shape.Name()))
                held.push_back(holding->graph);
    });
    return held;
}

void IsoGraphWriter::collectConcepts(int graph, QSet<QString>& names, QSet<QString>& labels, QSet<int>& visited) const {
    if (visited.contains(graph))
        return;
    visited.insert(graph);
    const auto take = [&](const host::Shape& shape) {
        if (!isConcept(shape))
            return;
        names.insert(shape.Name());
        if (const QString label = drawing::LabelPart(shape.Name()); !label.isEmpty())
            labels.insert(label);
    };
    const auto into = [&](const QHash<QString, Holding>& holdings, const host::Shape& shape) {
        if (const auto it = holdings.constFind(shape.Name()); it != holdings.constEnd())
            collectConcepts(it->graph, names, labels, visited);
    };
    for (const NodeArcs& record : graphs_[static_cast<std::size_t>(graph)].records) {
        into(heldByNegation_, record.Node);
        forEachShapeOf(record, [&](const host::Shape& shape) {
            take(shape);
            into(heldByConcept_, shape);
        });
    }
}

void IsoGraphWriter::writeConceptsReferredHere(const Graph& graph, QStringList& elements) {
    QSet<QString> referred; // the labels of the graph's pentagons
    const auto notePentagon = [&](const host::Shape& shape) {
        if (shape.AutoShapeType() == drawing::CoreferentConceptShapeType)
            if (const QString label = drawing::LabelPart(shape.Name()); !label.isEmpty())
                referred.insert(label);
    };
    for (const NodeArcs& record : graph.records)
        forEachShapeOf(record, notePentagon);
    for (const host::Shape& pentagon : graph.pentagons)
        notePentagon(pentagon);
    if (referred.isEmpty())
        return;
    // A label that several concepts of the graph define (a 2001 file may define "*x" again and
    // again) means the nearest definition before each use: those keep their order.
    QHash<QString, int> definers;
    for (const QString& name : std::as_const(conceptsHere_))
        if (const QString label = drawing::LabelPart(name); referred.contains(label))
            ++definers[label];
    const auto writeFirst = [&](const host::Shape& shape) {
        const QString name = shape.Name();
        if (!isConcept(shape) || !conceptsHere_.contains(name) || writtenHere_.contains(name))
            return;
        const QString label = drawing::LabelPart(name);
        if (definers.value(label) == 1 && definingLabel(name) == label && !definedAround_.contains(label))
            elements << conceptText(shape);
    };
    for (const NodeArcs& record : graph.records)
        forEachShapeOf(record, writeFirst);
}

void IsoGraphWriter::writeSharedConcepts(const Graph& graph, QStringList& elements) {
    std::vector<int> held;
    for (const NodeArcs& record : graph.records)
        for (const int g : graphsHeldBy(record))
            held.push_back(g);
    if (held.empty())
        return;
    QSet<QString> inside, insideLabels;
    QSet<int> visited(writing_.begin(), writing_.end());
    for (const int g : held)
        collectConcepts(g, inside, insideLabels, visited);
    // A label that a concept of this graph shares by its very shape with a graph inside is that
    // concept's; only other labels are shared by label alone.
    QSet<QString> sharedShapeLabels;
    for (const QString& name : std::as_const(conceptsHere_))
        if (inside.contains(name))
            sharedShapeLabels.insert(drawing::LabelPart(name));
    // In the order of the graph's own records: what this graph has and the held graphs use, each
    // once. A concept the import drew on both slides is one shape name; a concept inside that
    // the graph's pentagon refers to ("Cat(Cat in G4)"), or one of the same label, is one label.
    const auto share = [&](const host::Shape& shape) {
        const QString name = shape.Name();
        if (writtenHere_.contains(name))
            return;
        const QString label = drawing::LabelPart(name);
        const bool labelShared = !label.isEmpty() && insideLabels.contains(label) && !sharedShapeLabels.contains(label) &&
                                 !definedAround_.contains(label) && !definedHere_.contains(label);
        if (shape.AutoShapeType() == drawing::CoreferentConceptShapeType) {
            if (labelShared && shapeText(shape) != label) { // a pentagon naming a graph is no concept
                elements << definingPentagonText(shape);
                definedHere_.insert(label);
            }
            return;
        }
        if (!isConcept(shape) || !conceptsHere_.contains(name) || (!inside.contains(name) && !labelShared))
            return;
        if (definingLabel(name).isEmpty())
            madeUpLabels_.labelFor(name, presentation_); // referred to inside, so it needs a label
        elements << conceptText(shape);
        if (!label.isEmpty() && definingLabel(name) == label)
            definedHere_.insert(label);
    };
    for (const NodeArcs& other : graph.records)
        forEachShapeOf(other, share);
    for (const host::Shape& pentagon : graph.pentagons)
        share(pentagon);
    // Another concept of this graph with a label defined here for the graphs inside would define
    // it again and take their references: it gets a label of its own.
    for (const QString& name : std::as_const(conceptsHere_))
        if (!writtenHere_.contains(name) && definedHere_.contains(drawing::LabelPart(name)))
            relabelled_.insert(name);
}

QString IsoGraphWriter::definingPentagonText(const host::Shape& pentagon) {
    // Written in full here, the pentagon is referred to by its label from then on.
    writtenHere_.insert(pentagon.Name());
    return coreferentText(pentagon, u'*');
}

QString IsoGraphWriter::relationText(const NodeArcs& record) {
    QString text = u'(' + layoutOf(NoteKind::Relation, record.Node) + u' ' + IsoTypeName(shapeText(record.Node));
    for (const host::Shape& in : record.InArcs)
        text += u' ' + argumentText(in);
    text += u' ' + argumentText(record.OutArcs.front()); // a relation has one out arc
    return text + u')';
}

QString IsoGraphWriter::actorText(const NodeArcs& record) {
    QString text = u'(' + layoutOf(NoteKind::Actor, record.Node) + u' ' + IsoTypeName(shapeText(record.Node));
    for (const host::Shape& in : record.InArcs)
        text += u' ' + argumentText(in);
    text += QStringLiteral(" |");
    for (const host::Shape& target : record.OutArcs)
        text += u' ' + argumentText(target);
    return text + u')';
}

QString IsoGraphWriter::negationText(const NodeArcs& record, const Holding& holding) {
    return QStringLiteral("~[") + layoutOf(NoteKind::Relation, record.Node) + u' ' + nestedGraphText(holding, true) +
           u']';
}

QString IsoGraphWriter::nestedGraphText(const Holding& holding, bool negated) {
    const Graph& graph = graphs_[holding.graph];
    const host::Shape& pentagon = holding.pentagon;
    const QString note = GraphNote(graph.name, graph.type, pentagon.Left(), pentagon.Top());
    const QString indent = QStringLiteral("\r\n") + QString(2 * static_cast<int>(writing_.size()), u' ');
    const QString body = writeGraph(holding.graph, false);
    // In a concept, the comments before the first node of its graph would be the concept's own
    // (a reader knows the graph has begun only at its first node): there the graph's note and
    // comments come after its nodes. A negation's graph begins at "~[".
    if (negated)
        return body.isEmpty() ? note : note + indent + body;
    return body.isEmpty() ? QString() : indent + body + indent + note;
}

QString IsoGraphWriter::argumentText(const host::Shape& shape) {
    switch (shape.AutoShapeType()) {
    case drawing::ConceptShapeType:
        if (writtenHere_.contains(shape.Name()))
            return u'?' + IsoName(definingLabel(shape.Name()));
        return conceptText(shape);
    case drawing::CoreferentConceptShapeType:
        // A reference to a graph a negation of this graph holds: the graph's name, which the
        // reader binds to that graph (a concept of its own would come back as the negation's
        // pentagon). A pentagon written ahead as its label's definition is referred to.
        if (const QString label = drawing::LabelPart(shape.Name());
            !label.isEmpty() && (negatedHere_.contains(label) || writtenHere_.contains(shape.Name())))
            return u'?' + IsoName(label);
        return coreferentText(shape);
    default:
        // A title label (or another shape an arc joins): an empty concept where it stands.
        return u'[' + layoutOf(NoteKind::Concept, shape) + u']';
    }
}

QString IsoGraphWriter::conceptText(const host::Shape& shape) {
    writtenHere_.insert(shape.Name());
    const QString text = shapeText(shape);
    const QString type = drawing::TypePart(text);
    // The blanks after the ":" are not the referent's ("Mat: 'a'"): the 2001 reader drops them too.
    const QString referent = drawing::ReferentPart(text).trimmed();
    const QString label = definingLabel(shape.Name());
    // A label defined ahead of this graph (or of the graph holding it) is referred to here.
    const bool definedAround = !label.isEmpty() && label == drawing::LabelPart(shape.Name()) && definedAround_.contains(label);
    QString fields;
    if (!label.isEmpty())
        fields += (definedAround ? QStringLiteral(" ?") : QStringLiteral(" *")) + IsoName(label);
    if (!referent.isEmpty())
        fields += u' ' + IsoReferent(referent);
    if (const auto holding = holdingToWrite(heldByConcept_, shape.Name()))
        fields += nestedGraphText(*holding);
    QString written = u'[' + layoutOf(NoteKind::Concept, shape);
    const QString typeName = type.isEmpty() ? type : IsoTypeName(type);
    if (!type.isEmpty())
        written += u' ' + typeName;
    // A quoted type is followed by ":", which tells it from a quoted name as the referent; a
    // concept of a defining label alone is "[*x]".
    const bool labelAlone = type.isEmpty() && referent.isEmpty() && fields == QStringLiteral(" *") + IsoName(label);
    if (typeName != type || (!fields.isEmpty() && !labelAlone))
        written += u':';
    return written + fields + u']';
}

QString IsoGraphWriter::coreferentText(const host::Shape& shape, QChar sigil) {
    // "Cat(Person in G1)" or "Cat(x)" is the type Cat; a text that is the label alone has none.
    const QString text = shapeText(shape);
    const QString label = drawing::LabelPart(shape.Name());
    if (label.isEmpty())
        return conceptText(shape);
    // "Person:'Mary'(Woman in G3)": type Person, referent 'Mary'.
    QString written = u'[' + layoutOf(NoteKind::Concept, shape);
    QString referent;
    if (text != label) {
        const qsizetype paren = text.indexOf(u'(');
        const QString conceptPart = (paren < 0 ? text : text.left(paren)).trimmed();
        const QString type = drawing::TypePart(conceptPart).trimmed();
        referent = drawing::ReferentPart(conceptPart).trimmed();
        if (!type.isEmpty())
            written += u' ' + IsoTypeName(type) + u':';
        else if (!referent.isEmpty())
            written += u':';
    }
    // The coreference label comes before the referent, as the ISO grammar has it.
    written += u' ' + QString(sigil) + IsoName(label);
    if (!referent.isEmpty())
        written += u' ' + IsoReferent(referent);
    return written + u']';
}

QString IsoGraphWriter::definingLabel(const QString& name) {
    if (const auto made = madeUpLabels_.all().constFind(name); made != madeUpLabels_.all().constEnd())
        return made.value();
    const QString label = drawing::LabelPart(name);
    if (label.isEmpty() ? !labelsNeeded_.contains(name) : !relabelled_.contains(name))
        return label;
    return madeUpLabels_.labelFor(name, presentation_);
}

void IsoGraphWriter::reportMissingOutArcs(const host::Shape& node) {
    messages_.inform(QStringLiteral("No out arcs for ") + shapeText(node) + QLatin1Char('!'), QStringLiteral("Error"),
                     platform::MessageIcon::Critical);
}

} // namespace zov::cgif::exporter
