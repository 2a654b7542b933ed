#include "cgif/iso/IsoReader.h"

#include "cgif/iso/GraphNotes.h"
#include "cgif/iso/IsoText.h"
#include "cgif/iso/LayoutNotes.h"
#include "cgif/iso/NameTable.h"
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/EarlierGraphs.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QSet>
#include <algorithm>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace zov::cgif::iso {

namespace {

// An argument of a relation or actor, bound when its context closes.
struct Arc {
    enum class Kind { Node, Label, Constant };
    Kind kind = Kind::Node;
    NodeId id;         // a node's id
    QString text;      // a constant
    QStringView label; // a bound label, in the text being read (which outlives the arc)
    qsizetype at = 0;
};

// The arguments of a relation are the arcs [inputsFrom, arcsEnd) of its context: every argument
// of a relation; of an actor, the inputs up to outputsFrom and the outputs after.
struct RelationRead {
    NodeId id;
    bool actor = false;
    std::size_t inputsFrom = 0;
    std::size_t outputsFrom = 0;
    std::size_t arcsEnd = 0;
    // Or, with no id, a link already bound: a holder to the graph nested in it, kept among the
    // relations so that the links come in the order of the text, as the 2001 reader makes them.
    LinkRecord holding;
};

// One graph being read: the top-level graph or a context nested in it. The reader keeps the
// contexts it used and clears one for the next graph at its depth, so that reading many small
// graphs does not allocate their tables again and again.
struct Context {
    int graphIndex = 0;      // index of its graph node in the BoundArray
    int containerIndex = -1; // the concept or negation that holds it (-1 at the top level)
    bool negation = false;
    NameTable labels;        // defining label -> concept id, at each place it is defined
    NameTable graphNames;    // name of a negated graph -> its graph id
    NameTable constants;     // constant -> id of the first concept holding it
    std::vector<RelationRead> relations;
    std::vector<Arc> arcs; // the arguments of the relations, one run each, in the order read
    // Concepts whose bound label named no concept when they were read: the BoundArray index
    // and the label, bound when the context closes.
    std::vector<std::pair<int, QString>> unboundConcepts;

    void Reset(int graph, int container, bool negated) {
        graphIndex = graph;
        containerIndex = container;
        negation = negated;
        labels.Clear();
        graphNames.Clear();
        constants.Clear();
        relations.clear();
        arcs.clear();
        unboundConcepts.clear();
    }
};

const QString ErrorTitle = QStringLiteral("Error");

// What a message about an unexpected character adds when it is a typographic quote, as a word
// processor puts in ("‘John’").
QString TypographicQuoteNote(QChar c) {
    switch (c.unicode()) {
    case 0x2018: case 0x2019: case 0x201A: case 0x201B: case 0x201C: case 0x201D: case 0x201E: case 0x201F:
    case 0x00AB: case 0x00BB: case 0x2039: case 0x203A:
        return QStringLiteral(" (a typographic quote: CGIF takes only the plain quotes ' and \")");
    default:
        return QString();
    }
}

// Where each line of the text starts, and the position to tell once the reading reaches it.
struct LineMarks {
    std::vector<qsizetype> starts;
    std::vector<qint64> positions; // the characters of the lines up to this one, line ends as one
};

class IsoGraphReader {
public:
    IsoGraphReader(CgifReader& reader, QString text, LineMarks lines = {}, ReadingPosition position = {})
        : reader_(reader), text_(std::move(text)), lines_(std::move(lines)), position_(std::move(position)) {}
    bool ReadAll();

private:
    ReaderTables& Tables() { return reader_.Tables(); }
    int LastIndex() { return UpperBound(Tables().BoundArray); }
    Context& Current() { return contexts_[depth_ - 1]; }
    void OpenContext(int graphIndex, int containerIndex, bool negation);
    void ShowError(const QString& text) { reader_.Messages().inform(text, ErrorTitle, platform::MessageIcon::Critical); }

    bool ReadTopLevelGraph();
    void ReadElements(bool topLevel);
    NodeId ReadConcept();
    // At "[": the label of "[?x]", a concept that is nothing but a bound label, read up to its
    // "]"; otherwise nothing, and nothing consumed.
    std::optional<QStringView> ReadBareBoundLabel();
    void ReadRelation(QChar closer);
    void ReadNegation();
    void ReadContext(int containerIndex, bool negation, qsizetype start);
    void CloseContext();
    // Adds the links of the context's relations and actors and of its holders to their graphs.
    void BindArcs(Context& context);
    void HandOn(const NodeRecord& graph, int firstLinkIndex, int firstNodeIndex);
    NodeId Bind(const Arc& arc, Context& context);
    bool DefinedInAnotherForm(const Arc& arc) const;
    NodeId ConstantConcept(const QString& name, Context& context);
    void AddComment(const QString& text, float x, float y);
    void PlaceNode(int index, const LayoutNote& note);
    // A note among a graph's elements: the export's graph note names the graph (and places a
    // nested graph's pentagon), a layout note in a negation places its oval. False for a comment.
    bool ReadGraphLevelNote(QStringView comment);
    QString ReadQuantifier();
    QString ReadLabel(qsizetype start) { return ReadLabelView(start).toString(); }
    QStringView ReadLabelView(qsizetype start);
    bool StartsElement() const;
    bool StartsSequenceMarker(qsizetype ahead = 0) const;
    QString ReadSequenceMarker();
    // Tells the position of the lines the reading has reached since it was last told.
    void TellPosition();
    // Coreference with the graphs read before this one (from this text, or drawn before it):
    // whether a node of the graph being read, or of a nested graph handed on, bears `label`.
    bool NamedInTables(const QString& label);
    bool NamedInNestedGraphs(const QString& label);
    // When no node of this reading bears `label` and an earlier graph defines it: a copy of the
    // defining node (after its graph node) goes to AllBindings, where the lookups of the reader
    // and of the slide builder find it as they find a nested graph's node. False otherwise.
    bool BringEarlierDefinition(const QString& label);
    // Binds the concepts of `context` whose bound labels were unbound when read: to a node of a
    // nested graph handed on since, or of an earlier graph; the concept refers to it.
    void BindLateConcepts(Context& context);

    CgifReader& reader_;
    IsoText text_;
    std::vector<Context> contexts_; // the open ones are the first depth_
    std::size_t depth_ = 0;
    std::vector<NodeId> boundInputs_; // BindArcs: the ids of one relation's arguments
    LineMarks lines_;
    ReadingPosition position_;
    std::size_t linesReached_ = 0;
    EarlierGraphs earlier_;
    int graphsRead_ = 0;
    QSet<QString> keptNames_;       // the names in AllBindings up to keptNamesFrom_
    std::size_t keptNamesFrom_ = 0;
};

bool IsoGraphReader::NamedInNestedGraphs(const QString& label) {
    // AllBindings only grows while a top-level graph is read, and is emptied for the next.
    const NodeTable& kept = Tables().AllBindings;
    if (keptNamesFrom_ > kept.size()) {
        keptNames_.clear();
        keptNamesFrom_ = 0;
    }
    for (; keptNamesFrom_ < kept.size(); ++keptNamesFrom_)
        if (!kept[keptNamesFrom_].Name.isEmpty())
            keptNames_.insert(kept[keptNamesFrom_].Name.ToString());
    return keptNames_.contains(label);
}

bool IsoGraphReader::NamedInTables(const QString& label) {
    if (NamedInNestedGraphs(label))
        return true;
    for (const NodeRecord& node : Tables().BoundArray)
        if (node.Name == label)
            return true;
    return false;
}

bool IsoGraphReader::BringEarlierDefinition(const QString& label) {
    NodeRecord defining;
    NodeRecord graph;
    // The earlier graphs first: they are indexed, and most labels are not theirs.
    if (!earlier_.Find(label, defining, graph) || NamedInTables(label))
        return false;
    reader_.AddToAllBindings(graph);
    if (defining.Kind != NodeKind::Graph)
        reader_.AddToAllBindings(defining);
    return true;
}

void IsoGraphReader::BindLateConcepts(Context& context) {
    for (const auto& [index, label] : context.unboundConcepts) {
        if (!Tables().BoundArray.at(static_cast<std::size_t>(index)).Name.isEmpty())
            continue;
        if (NamedInNestedGraphs(label) || BringEarlierDefinition(label)) {
            reader_.SetNodeName(index, reader_.PooledText(label));
            reader_.SetNodeKind(index, NodeKind::CoreferentConcept);
        } else if (reader_.FirstUnboundLabel().isEmpty()) {
            reader_.SetFirstUnboundLabel(label); // drawn as a concept of its own, without a message
        }
    }
}

void IsoGraphReader::TellPosition() {
    if (!position_)
        return;
    const std::size_t before = linesReached_;
    while (linesReached_ < lines_.starts.size() && lines_.starts[linesReached_] <= text_.Place())
        ++linesReached_;
    if (linesReached_ > before)
        position_(lines_.positions[linesReached_ - 1]);
}

void IsoGraphReader::OpenContext(int graphIndex, int containerIndex, bool negation) {
    if (depth_ == contexts_.size())
        contexts_.emplace_back();
    contexts_[depth_++].Reset(graphIndex, containerIndex, negation);
}

// A sequence marker: "..." and a name, standing for a sequence of arguments.
bool IsoGraphReader::StartsSequenceMarker(qsizetype ahead) const {
    return text_.PeekIs('.', ahead) && text_.PeekIs('.', ahead + 1) && text_.PeekIs('.', ahead + 2) &&
           text_.StartsNameAt(ahead + 3);
}

QString IsoGraphReader::ReadSequenceMarker() {
    text_.Advance(3);
    return QStringLiteral("...") + text_.ReadName();
}

bool IsoGraphReader::StartsElement() const {
    const QChar c = text_.Peek();
    if (c == u'[' || c == u'(' || c == u'~')
        return true;
    return c == u'<' && text_.StartsNameAt(1);
}

QStringView IsoGraphReader::ReadLabelView(qsizetype start) {
    text_.Advance(); // "*" or "?"
    const qsizetype from = text_.Place();
    if (StartsSequenceMarker())
        text_.Advance(3); // "..." and the name: both in the label
    text_.ReadNameView();
    const QStringView label = text_.Since(from);
    if (label.isEmpty())
        text_.Fail(QStringLiteral("a coreference label with no name"), start);
    return label;
}

std::optional<QStringView> IsoGraphReader::ReadBareBoundLabel() {
    const qsizetype open = text_.Place();
    text_.Advance(); // "["
    text_.SkipBlanks();
    const qsizetype at = text_.Place();
    if (text_.PeekIs('?') && (text_.StartsNameAt(1) || StartsSequenceMarker(1))) {
        const QStringView label = ReadLabelView(at);
        text_.SkipBlanks();
        if (text_.PeekIs(']')) {
            text_.Advance();
            return label;
        }
    }
    text_.Rewind(open);
    return std::nullopt;
}

QString IsoGraphReader::ReadQuantifier() {
    QString out = QStringLiteral("@");
    text_.Advance();
    if (text_.StartsNumber())
        out += text_.ReadNumber();
    else
        out += text_.ReadName();
    if (text_.PeekIs('%')) {
        out += u'%';
        text_.Advance();
    }
    if (text_.PeekIs('{'))
        out += text_.ReadCollection();
    return out;
}

void IsoGraphReader::AddComment(const QString& text, float x, float y) {
    NodeRecord comment;
    comment.Type = reader_.PooledText(text);
    comment.Kind = NodeKind::Comment;
    comment.Id = reader_.Ids().NewId();
    comment.X = x;
    comment.Y = y;
    reader_.AddNode(std::move(comment));
}

void IsoGraphReader::PlaceNode(int index, const LayoutNote& note) {
    if (!note.hasPosition || (note.x <= 0 && note.y <= 0))
        return;
    NodeRecord& node = Tables().BoundArray.at(static_cast<std::size_t>(index));
    node.X = note.x;
    node.Y = note.y;
}

bool IsoGraphReader::ReadGraphLevelNote(QStringView comment) {
    if (const GraphNote graph = ReadGraphNote(comment); graph.isNote) {
        reader_.SetNodeName(Current().graphIndex, reader_.PooledText(graph.name));
        NodeRecord& node = Tables().BoundArray.at(static_cast<std::size_t>(Current().graphIndex));
        node.Type = reader_.PooledText(graph.type.isEmpty() ? QStringLiteral("Graph") : graph.type);
        if (graph.hasPosition) {
            node.X = graph.x;
            node.Y = graph.y;
        }
        return true;
    }
    const LayoutNote layout = ReadLayoutNote(comment);
    if (layout.isNote && Current().negation && Current().containerIndex >= 0)
        PlaceNode(Current().containerIndex, layout);
    return layout.isNote;
}

// "[" [type] [":"] {referent part} [graph] [";" comment] "]", in any order the tools write.
NodeId IsoGraphReader::ReadConcept() {
    const qsizetype start = text_.Place();
    text_.Advance(); // "["
    NodeRecord conceptNode;
    conceptNode.Kind = NodeKind::Concept;
    conceptNode.Id = reader_.Ids().NewId();
    QStringList parts;     // the referent: quantifier, names, numerals, literals
    QStringList constants; // the names arguments may refer to it by
    QString boundLabel;
    QStringList comments;
    LayoutNote layout;
    bool typeDone = false;
    // A ":" follows the type and its coreference labels, once, before the referent ("[: John]"
    // has no type; older tools write "[Cat *x: 'Yojo']"); one anywhere else is a mistake, such
    // as a type of two words without its quotes.
    bool colonAllowed = true;
    bool colonSeen = false;
    QString wordAfterType;
    bool quotedFirst = false; // a quoted name came first, before any type: the type if a ":" follows
    int index = -1; // in the BoundArray once added
    auto add = [&] {
        if (index >= 0)
            return;
        conceptNode.Referent = reader_.PooledText(parts.join(u' '));
        reader_.AddNode(conceptNode);
        index = LastIndex();
    };
    while (true) {
        text_.SkipBlanks();
        const qsizetype at = text_.Place();
        const QChar c = text_.Peek();
        if (text_.AtEnd())
            text_.Fail(QStringLiteral("a concept with no closing \"]\""), start);
        if (c == u']') {
            text_.Advance();
            break;
        }
        const bool blockComment = c == u'/' && text_.PeekIs('*', 1);
        if (blockComment || c == u';') {
            text_.Advance(blockComment ? 2 : 1);
            QString endComment;
            const QStringView comment =
                blockComment ? text_.ReadBlockComment(at) : QStringView(endComment = text_.ReadEndComment(u']', at));
            const LayoutNote note = ReadLayoutNote(comment);
            if (note.isNote)
                layout = note.hasPosition ? note : layout;
            else if (!comment.isEmpty())
                comments << comment.toString();
            continue;
        }
        if (c == u':' && !colonSeen && quotedFirst && parts.size() == 1) {
            // ["Black Cat" *x: Yojo]: the quoted name and its labels before the ":" are the type's.
            conceptNode.Type = reader_.PooledText(IsoText::Unquoted(parts.front()));
            parts.clear();
            constants.clear();
            colonAllowed = true;
        }
        if (c == u':') {
            if (!colonAllowed && !wordAfterType.isEmpty() && parts.size() == 1)
                text_.Fail(QStringLiteral("a type of two words, %1 %2, needs quotes: [\"%1 %2\": ...]").arg(conceptNode.Type.View(), wordAfterType), at);
            if (colonSeen)
                text_.Fail(QStringLiteral("a second \":\" in a concept"), at);
            if (!colonAllowed)
                text_.Fail(QStringLiteral("a \":\" after the referent of a concept"), at);
            text_.Advance();
            typeDone = true;
            colonAllowed = false;
            colonSeen = true;
            continue;
        }
        if (c == u'*') {
            // Known at once: a graph nested in this concept may refer to it.
            const QString label = ReadLabel(at);
            conceptNode.Name = reader_.PooledText(label);
            Current().labels.Define(label, conceptNode.Id, at);
            typeDone = true;
            continue;
        }
        if (c == u'?') {
            boundLabel = ReadLabel(at);
            typeDone = true;
            continue;
        }
        if (c == u'@') {
            parts << ReadQuantifier();
            typeDone = true;
            colonAllowed = false;
            continue;
        }
        if (c == u'#') {
            text_.Advance();
            QString marker = QStringLiteral("#");
            if (text_.PeekIs('?')) {
                marker += u'?';
                text_.Advance();
            }
            marker += text_.StartsNumber() ? text_.ReadNumber() : text_.ReadName();
            if (!typeDone && marker.startsWith(QLatin1String("#?"))) {
                conceptNode.Type = reader_.PooledText(marker); // a bound type label
            } else {
                parts << marker;
                constants << marker;
                colonAllowed = false;
            }
            typeDone = true;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            const QString quoted = text_.ReadQuoted();
            // A quoted name before the ":" is the type: a type that is no identifier ("Big Cat").
            if (!typeDone && c == u'"' && text_.NextIs(':')) {
                conceptNode.Type = reader_.PooledText(IsoText::Unquoted(quoted));
                typeDone = true;
                continue;
            }
            quotedFirst = !typeDone && c == u'"' && parts.isEmpty();
            parts << quoted;
            constants << quoted << quoted.mid(1, quoted.size() - 2);
            typeDone = true;
            colonAllowed = false;
            continue;
        }
        if (text_.StartsNumber()) {
            const QString number = text_.ReadNumber();
            parts << number;
            constants << number;
            typeDone = true;
            colonAllowed = false;
            continue;
        }
        if (c == u'{' || (c == u'<' && !text_.StartsNameAt(1))) {
            QString collection = text_.ReadCollection();
            if (text_.PeekIs('@'))
                collection += ReadQuantifier();
            parts << collection;
            constants << collection;
            typeDone = true;
            colonAllowed = false;
            continue;
        }
        if (StartsElement()) {
            add();
            ReadContext(index, false, at);
            colonAllowed = false;
            quotedFirst = false;
            continue;
        }
        if (StartsSequenceMarker()) {
            const QString marker = ReadSequenceMarker();
            parts << marker;
            constants << marker;
            typeDone = true;
            colonAllowed = false;
            continue;
        }
        if (text_.StartsNameAt()) {
            const QString name = text_.ReadName();
            if (!typeDone) {
                conceptNode.Type = reader_.PooledText(name);
                typeDone = true;
            } else {
                if (colonAllowed && parts.isEmpty())
                    wordAfterType = name;
                parts << name;
                constants << name;
                colonAllowed = false;
            }
            continue;
        }
        text_.Fail(QStringLiteral("unexpected \"%1\" in a concept%2").arg(text_.CharacterHere(), TypographicQuoteNote(c)), at);
    }
    const NodeId id = conceptNode.Id;
    const bool named = !conceptNode.Name.isEmpty();
    if (index < 0) {
        // Added now, as the last node: moved, not copied.
        conceptNode.Referent = reader_.PooledText(parts.join(u' '));
        reader_.AddNode(std::move(conceptNode));
        index = LastIndex();
    } else {
        NodeRecord& added = Tables().BoundArray.at(static_cast<std::size_t>(index));
        added.Referent = reader_.PooledText(parts.join(u' '));
        if (added.Name.isEmpty())
            reader_.SetNodeName(index, conceptNode.Name);
    }
    PlaceNode(index, layout);
    Context& context = Current();
    for (const QString& constant : std::as_const(constants))
        if (!constant.isEmpty())
            context.constants.AddIfAbsent(constant, id);
    if (!boundLabel.isEmpty() && !named && index == LastIndex() && context.labels.Find(boundLabel) != nullptr) {
        // A concept of this very graph defines the label: this concept is a reference to it,
        // drawn as a pentagon beside it. The arguments that name the label still go to the
        // concept that defines it.
        reader_.SetNodeName(index, reader_.PooledText(boundLabel));
        reader_.SetNodeKind(index, NodeKind::CoreferentConcept);
    } else if (!boundLabel.isEmpty() && !named && index == LastIndex()) {
        // Otherwise the bound label binds the concept the 2001 way while the concept is the last
        // node. Bound so, it is the label's nearest concept for the arguments of its graph, as in
        // the 2001 reader, whose slide builder finds the defining concept through it.
        bool open = false;
        for (std::size_t i = 0; i < depth_ && !open; ++i)
            open = contexts_[i].labels.Find(boundLabel) != nullptr || contexts_[i].graphNames.Find(boundLabel) != nullptr;
        if (!open)
            BringEarlierDefinition(boundLabel);
        reader_.ResolveBoundLabel(boundLabel);
        if (Tables().BoundArray.at(static_cast<std::size_t>(index)).Name == boundLabel)
            context.labels.Define(boundLabel, id, start);
        else
            context.unboundConcepts.emplace_back(index, boundLabel);
    }
    for (const QString& comment : std::as_const(comments))
        AddComment(comment, 0, 0);
    return id;
}

// "(" [type] {argument} ["|" {argument}] [";" comment] ")", or the 2001 actor "<" … ">".
void IsoGraphReader::ReadRelation(QChar closer) {
    const qsizetype start = text_.Place();
    const bool angle = closer == u'>';
    text_.Advance();
    QStringList comments;
    LayoutNote layout;
    auto readComment = [&](qsizetype at, bool block) {
        QString endComment;
        const QStringView comment = block ? text_.ReadBlockComment(at) : QStringView(endComment = text_.ReadEndComment(closer, at));
        const LayoutNote note = ReadLayoutNote(comment);
        if (note.isNote)
            layout = note.hasPosition ? note : layout;
        else if (!comment.isEmpty())
            comments << comment.toString();
    };
    text_.SkipBlanks();
    while (text_.PeekIs('/') && text_.PeekIs('*', 1)) {
        const qsizetype at = text_.Place();
        text_.Advance(2);
        readComment(at, true);
        text_.SkipBlanks();
    }
    QString type;
    if (text_.PeekIs('#') && text_.PeekIs('?', 1)) {
        text_.Advance(2);
        type = QStringLiteral("#?") + text_.ReadName();
    } else if (text_.PeekIs('"')) {
        type = IsoText::Unquoted(text_.ReadQuoted()); // a type that is no identifier ("Sits on")
    } else {
        type = text_.ReadName();
    }
    if (type.isEmpty())
        text_.Fail(angle ? QStringLiteral("an actor with no type") : QStringLiteral("a relation with no type"),
                   text_.Place());
    NodeRecord node;
    node.Type = reader_.PooledText(type);
    node.Kind = angle ? NodeKind::Actor : NodeKind::Relation;
    node.Id = reader_.Ids().NewId();
    reader_.AddNode(node);
    const int index = LastIndex();
    const std::size_t firstArc = Current().arcs.size();
    RelationRead relation{node.Id, angle, firstArc, firstArc, firstArc, {}};
    bool outputs = false;
    // Arguments go to the arcs of the current context, fetched anew after each nested read (a
    // concept with a nested graph may add contexts, moving them).
    const auto addNode = [this](const NodeId& id, qsizetype at) {
        Current().arcs.push_back(Arc{Arc::Kind::Node, id, QString(), QStringView(), at});
    };
    const auto addConstant = [this](QString text, qsizetype at) {
        Current().arcs.push_back(Arc{Arc::Kind::Constant, NodeId(), std::move(text), QStringView(), at});
    };
    while (true) {
        text_.SkipBlanks();
        const qsizetype at = text_.Place();
        const QChar c = text_.Peek();
        if (text_.AtEnd())
            text_.Fail(QStringLiteral("a relation with no closing \"%1\"").arg(closer), start);
        if (c == closer) {
            // "<Add ?a ?b [Number: *c]>": without the bar every argument is an input, and the
            // actor would be drawn with no output.
            if (angle && !outputs)
                text_.Fail(QStringLiteral("an actor with no \"|\" before its outputs"), at);
            text_.Advance();
            break;
        }
        if (c == u'|' && !outputs) {
            text_.Advance();
            outputs = true;
            relation.actor = true;
            relation.outputsFrom = Current().arcs.size();
            continue;
        }
        if (c == u'/' && text_.PeekIs('*', 1)) {
            text_.Advance(2);
            readComment(at, true);
            continue;
        }
        if (c == u';') {
            text_.Advance();
            readComment(at, false);
            continue;
        }
        if (c == u'?') {
            const QStringView label = ReadLabelView(at);
            Current().arcs.push_back(Arc{Arc::Kind::Label, NodeId(), QString(), label, at});
            continue;
        }
        if (c == u'*') {
            // A defining label as an argument: a concept of no type that it names.
            const QString label = ReadLabel(at);
            NodeRecord conceptNode;
            conceptNode.Kind = NodeKind::Concept;
            conceptNode.Name = reader_.PooledText(label);
            conceptNode.Id = reader_.Ids().NewId();
            reader_.AddNode(conceptNode);
            Current().labels.Define(label, conceptNode.Id, at);
            addNode(conceptNode.Id, at);
            continue;
        }
        if (c == u'[') {
            // "[?x]" is the concept the label names, as "?x" is: the same argument, and no
            // concept of its own (which would stand beside that one with nothing to join them).
            if (const std::optional<QStringView> label = ReadBareBoundLabel()) {
                Current().arcs.push_back(Arc{Arc::Kind::Label, NodeId(), QString(), *label, at});
                continue;
            }
            addNode(ReadConcept(), at);
            continue;
        }
        if (c == u'\'' || c == u'"') {
            addConstant(text_.ReadQuoted(), at);
            continue;
        }
        if (text_.StartsNumber()) {
            addConstant(text_.ReadNumber(), at);
            continue;
        }
        if (c == u'{' || (c == u'<' && !text_.StartsNameAt(1))) {
            QString collection = text_.ReadCollection();
            if (text_.PeekIs('@'))
                collection += ReadQuantifier();
            addConstant(std::move(collection), at);
            continue;
        }
        if (c == u'#') {
            text_.Advance();
            addConstant(u'#' + (text_.StartsNumber() ? text_.ReadNumber() : text_.ReadName()), at);
            continue;
        }
        if (text_.StartsNameAt()) {
            addConstant(text_.ReadName(), at);
            continue;
        }
        if (StartsSequenceMarker()) {
            addConstant(ReadSequenceMarker(), at);
            continue;
        }
        text_.Fail(QStringLiteral("unexpected \"%1\" in the arguments of %2%3").arg(text_.CharacterHere(), type, TypographicQuoteNote(c)), at);
    }
    relation.arcsEnd = Current().arcs.size();
    // A relation of no arguments has nothing to draw its arcs to, and would be lost without a word.
    if (relation.arcsEnd == firstArc)
        text_.Fail(angle || relation.actor ? QStringLiteral("an actor with no arguments")
                                           : QStringLiteral("a relation with no arguments"),
                   start);
    // An actor's outputs are its arcs going out: one with none could not be written back.
    if (relation.actor && relation.outputsFrom == relation.arcsEnd)
        text_.Fail(QStringLiteral("an actor with no output after its \"|\""), start);
    if (!outputs)
        relation.outputsFrom = relation.arcsEnd;
    if (relation.actor && !angle)
        reader_.SetNodeKind(index, NodeKind::Actor);
    PlaceNode(index, layout);
    Current().relations.push_back(std::move(relation));
    for (const QString& comment : std::as_const(comments))
        AddComment(comment, 0, 0);
}

// "~" "[" graph "]": a negation node joined to the graph it negates, drawn on its own slide.
void IsoGraphReader::ReadNegation() {
    const qsizetype start = text_.Place();
    text_.Advance(); // "~"
    if (!text_.Match('['))
        text_.Fail(QStringLiteral("a \"~\" not followed by \"[\""), start);
    NodeRecord negation;
    negation.Type = reader_.PooledText(u"Neg");
    negation.Kind = NodeKind::Relation;
    negation.Id = reader_.Ids().NewId();
    reader_.AddNode(negation);
    const int index = LastIndex();
    ReadContext(index, true, start);
    // What may follow the graph inside the brackets: comments, then "]".
    while (true) {
        text_.SkipBlanks();
        const qsizetype at = text_.Place();
        if (text_.PeekIs(']')) {
            text_.Advance();
            return;
        }
        if (text_.PeekIs(';')) {
            text_.Advance();
            const QString comment = text_.ReadEndComment(u']', at);
            if (!comment.isEmpty() && !ReadLayoutNote(comment).isNote)
                AddComment(comment, 0, 0);
            continue;
        }
        text_.Fail(QStringLiteral("a negation with no closing \"]\""), start);
    }
}

// A graph nested in a concept or a negation: read up to the "]" or ";" that ends it, then
// closed (CloseContext).
void IsoGraphReader::ReadContext(int containerIndex, bool negation, qsizetype start) {
    if (static_cast<int>(depth_) > CgifReader::MaxNestingDepth)
        text_.Fail(QStringLiteral("graphs nested too deeply"), start);
    NodeRecord graph;
    reader_.AddGraphNode(graph, QString(), QString());
    const int graphIndex = LastIndex();
    Tables().Contexts.push_back(ContextRecord{graphIndex, NodeKind::Graph, UpperBound(Tables().Links),
                                              UpperBound(Tables().PendingArgs), NodeId(), NodeId()});
    OpenContext(graphIndex, containerIndex, negation);
    ReadElements(false);
    CloseContext();
}

NodeId IsoGraphReader::ConstantConcept(const QString& name, Context& context) {
    for (std::size_t i = depth_; i-- > 0;)
        if (const NodeId* found = contexts_[i].constants.Find(name))
            return *found;
    // A constant that no concept holds: a concept of its own, "[: name]".
    NodeRecord conceptNode;
    conceptNode.Kind = NodeKind::Concept;
    conceptNode.Referent = reader_.PooledText(name);
    conceptNode.Id = reader_.Ids().NewId();
    reader_.AddNode(conceptNode);
    context.constants.AddIfAbsent(name, conceptNode.Id);
    return conceptNode.Id;
}

NodeId IsoGraphReader::Bind(const Arc& arc, Context& context) {
    switch (arc.kind) {
    case Arc::Kind::Node:
        return arc.id;
    case Arc::Kind::Constant:
        return ConstantConcept(arc.text, context);
    case Arc::Kind::Label:
        // In the innermost graph that defines the label (or negates a graph of that name): the
        // definition nearest before the argument, as in the 2001 dialect, where a label may be
        // defined again and again; else the first after it.
        for (std::size_t i = depth_; i-- > 0;) {
            if (const NodeId* found = contexts_[i].labels.FindNearest(arc.label, arc.at))
                return *found;
            if (const NodeId* found = contexts_[i].graphNames.Find(arc.label))
                return *found;
        }
        if (const QString label = arc.label.toString(); BringEarlierDefinition(label)) {
            // Defined in an earlier graph: the argument is a concept that refers to it.
            NodeRecord reference;
            reference.Id = reader_.Ids().NewId();
            reference.Name = reader_.PooledText(label);
            reference.Kind = NodeKind::CoreferentConcept;
            reader_.AddNode(reference);
            return reference.Id;
        }
        text_.Fail(QStringLiteral("a bound label ?%1 with no defining label *%1 before the end of its graph%2")
                       .arg(arc.label, DefinedInAnotherForm(arc) ? QStringLiteral(
                                                                       " (a defining label that looks the same is there, but "
                                                                       "its accented letters are other Unicode characters: "
                                                                       "composed in one, decomposed in the other)")
                                                                 : QString()),
                   arc.at);
    }
    return NodeId();
}

// Whether a label of an open graph is `arc`'s label with its accented letters written as other
// Unicode characters (é as one character in one, e and a combining accent in the other), which
// look the same in the message and bind nothing.
bool IsoGraphReader::DefinedInAnotherForm(const Arc& arc) const {
    const QString label = arc.label.toString();
    for (const auto form : {QString::NormalizationForm_C, QString::NormalizationForm_D}) {
        const QString other = label.normalized(form);
        if (other == label)
            continue;
        for (std::size_t i = depth_; i-- > 0;)
            if (contexts_[i].labels.Find(other) != nullptr)
                return true;
    }
    return false;
}

// The links of a context's relations and actors, as the 2001 reader makes them: an input points
// at its relation or actor, a relation at its last argument, an actor at its outputs; a holder
// points at its nested graph. In the order of the text.
void IsoGraphReader::BindArcs(Context& context) {
    for (const RelationRead& relation : context.relations) {
        if (relation.id.IsEmpty()) {
            reader_.AddLink(relation.holding);
            continue;
        }
        if (relation.actor) {
            for (std::size_t i = relation.inputsFrom; i < relation.outputsFrom; ++i)
                reader_.AddLink(LinkRecord{Bind(context.arcs[i], context), relation.id});
            for (std::size_t i = relation.outputsFrom; i < relation.arcsEnd; ++i)
                reader_.AddLink(LinkRecord{relation.id, Bind(context.arcs[i], context)});
            continue;
        }
        boundInputs_.clear();
        for (std::size_t i = relation.inputsFrom; i < relation.arcsEnd; ++i)
            boundInputs_.push_back(Bind(context.arcs[i], context));
        if (boundInputs_.empty())
            continue;
        reader_.AddLink(LinkRecord{relation.id, boundInputs_.back()});
        for (std::size_t i = 0; i + 1 < boundInputs_.size(); ++i)
            reader_.AddLink(LinkRecord{boundInputs_[i], relation.id});
    }
}

// Hands a graph to the sink, under the slide name "name/id" the slide builder takes apart.
void IsoGraphReader::HandOn(const NodeRecord& graph, int firstLinkIndex, int firstNodeIndex) {
    reader_.Sink().BuildGraphSlide(reader_, reader_.SlideNameOf(graph), graph.Type, firstLinkIndex, firstNodeIndex);
}

// Binds the arcs of the nested graph just read and, when it has arcs (or belongs to a
// negation), hands it to the sink and moves its nodes to AllBindings, as the 2001 reader does.
void IsoGraphReader::CloseContext() {
    Context& context = Current();
    const int firstLink = static_cast<int>(Tables().Links.size());
    BindLateConcepts(context);
    BindArcs(context);
    Tables().Contexts.pop_back();
    const int graphIndex = context.graphIndex;
    const int containerIndex = context.containerIndex;
    const bool negation = context.negation;
    const bool ownSlide = context.negation || static_cast<int>(Tables().Links.size()) > firstLink;
    --depth_;
    if (!ownSlide)
        return; // its nodes stay in the enclosing graph
    const NodeRecord graph = Tables().BoundArray.at(static_cast<std::size_t>(graphIndex));
    HandOn(graph, firstLink, graphIndex + 1);
    for (int i = graphIndex; i <= LastIndex(); ++i)
        reader_.KeepInAllBindings(i);
    reader_.CutBoundArray(graphIndex);
    CutBack(Tables().Links, firstLink - 1);
    // The holder takes the graph's name, as in the 2001 reader (a defining label it had is still
    // bound for the arguments of its own graph, which go by id).
    reader_.SetNodeName(containerIndex, graph.Name);
    const NodeId containerId = Tables().BoundArray.at(static_cast<std::size_t>(containerIndex)).Id;
    Current().relations.push_back(RelationRead{NodeId(), false, 0, 0, 0, LinkRecord{containerId, graph.Id}});
    // A negated graph's name, as an argument of the graph around it, stands for that graph (as
    // in the 2001 reader, where a graph's name is found like a label).
    if (negation && !graph.Name.isEmpty())
        Current().graphNames.AddIfAbsent(graph.Name.ToString(), graph.Id);
}

// The elements of one graph, up to the end of the text, a "." between top-level graphs, or the
// "]" or ";" that ends a nested graph.
void IsoGraphReader::ReadElements(bool topLevel) {
    while (true) {
        text_.SkipBlanks();
        TellPosition();
        if (text_.AtEnd())
            return;
        const qsizetype at = text_.Place();
        const QChar c = text_.Peek();
        if (c == u'[') {
            ReadConcept();
        } else if (c == u'(') {
            ReadRelation(u')');
        } else if (c == u'<' && text_.StartsNameAt(1)) {
            ReadRelation(u'>');
        } else if (c == u'~') {
            ReadNegation();
        } else if (c == u'/' && text_.PeekIs('*', 1)) {
            text_.Advance(2);
            const QStringView comment = text_.ReadBlockComment(at);
            if (!comment.isEmpty() && !ReadGraphLevelNote(comment))
                AddComment(comment.toString(), 200, 100);
        } else if (topLevel && c == u';') {
            text_.Advance();
            const QString comment = text_.ReadStandaloneComment();
            if (!comment.isEmpty())
                AddComment(comment, 200, 100);
        } else if (topLevel && c == u'.' && !text_.StartsNumber()) {
            return;
        } else if (!topLevel && (c == u']' || c == u';')) {
            return;
        } else if (topLevel && text_.StartsNameAt()) {
            // A name standing alone: kept on the slide as a concept of its own, "[: name]".
            ConstantConcept(text_.ReadName(), Current());
        } else if (!topLevel && (c == u')' || c == u'>')) {
            // Inside a concept's or negation's graph a ")" closes nothing there: the graph's own
            // "]" is what is missing ("[Proposition: [Cat] (On ?x [Mat]))").
            text_.Fail(QStringLiteral("a \"%1\" where the graph inside a concept or negation needs its closing \"]\"").arg(c), at);
        } else if (c == u']' || c == u')' || c == u'>') {
            text_.Fail(QStringLiteral("a \"%1\" that closes nothing").arg(c), at);
        } else {
            text_.Fail(QStringLiteral("unexpected \"%1\" where a concept, relation or comment was expected%2")
                           .arg(text_.CharacterHere(), TypographicQuoteNote(c)),
                       at);
        }
    }
}

// One top-level graph: read, bound and handed on. False when an error stopped the reading.
bool IsoGraphReader::ReadTopLevelGraph() {
    // Later graphs may refer to the graphs read before (and the nested graphs they handed on).
    if (graphsRead_++ > 0) {
        earlier_.Add(Tables().AllBindings);
        earlier_.AddTopLevelGraph(Tables().BoundArray);
    }
    reader_.ClearReaderTables();
    keptNames_.clear();
    keptNamesFrom_ = 0;
    Tables().Contexts.assign(1, ContextRecord{});
    depth_ = 0;
    NodeRecord graph;
    reader_.AddGraphNode(graph, QString(), QString());
    Tables().Contexts[0] = ContextRecord{0, NodeKind::Graph, -1, -1, NodeId(), NodeId()};
    OpenContext(0, -1, false);
    try {
        ReadElements(true);
        BindLateConcepts(Current());
        BindArcs(Current());
    } catch (const IsoSyntaxError& failure) {
        ShowError(failure.message());
        return false;
    } catch (const ParseError& failure) {
        ShowError(failure.message());
        return false;
    } catch (const std::bad_alloc&) {
        reader_.ClearReaderTables();
        ShowError(QStringLiteral("Not enough memory to read this graph; the graphs before it are kept"));
        return false;
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()));
        return false;
    }
    const NodeRecord& graphNode = Tables().BoundArray.at(0);
    if (graphNode.Kind != NodeKind::Graph)
        return true;
    const QString name = graphNode.Name.ToString();
    try {
        HandOn(graphNode, 0, 1);
    } catch (const std::bad_alloc&) {
        reader_.ClearReaderTables();
        reader_.GraphNotDrawn(QStringLiteral("Graph %1 could not be drawn: not enough memory").arg(name));
    } catch (const std::exception& failure) {
        reader_.GraphNotDrawn(
            QStringLiteral("Graph %1 could not be drawn: %2").arg(name, QString::fromUtf8(failure.what())));
    }
    return true;
}

bool IsoGraphReader::ReadAll() {
    const CgifReader::IndexedReading indexed(reader_);
    reader_.BeginReading();
    reader_.Sink().AddEarlierGraphs(earlier_);
    for (bool first = true;; first = false) {
        if (!first && !reader_.KeepReadingAfterGraph()) {
            reader_.SetStoppedBetweenGraphs(true);
            return false;
        }
        if (!ReadTopLevelGraph())
            return false;
        // A "." separates graphs; nothing but blanks after it ends the file.
        const bool more = text_.Match('.');
        text_.SkipBlanks();
        TellPosition();
        if (!more || text_.AtEnd())
            return true;
    }
}

} // namespace

bool ReadIsoCgifText(CgifReader& reader, QString text) {
    reader.SetFirstUnboundLabel({});
    IsoGraphReader graphs(reader, std::move(text));
    return graphs.ReadAll();
}

bool ReadIsoCgifStream(CgifReader& reader, platform::TextStream& stream, const ReadingPosition& position) {
    // Lines joined by CR LF: text spanning lines keeps them, as in the 2001 reader.
    QString text;
    LineMarks lines;
    qint64 characters = 0;
    for (bool first = true; !stream.AtEndOfStream(); first = false) {
        if (!first)
            text += QLatin1String("\r\n");
        const QStringView line = stream.ReadLineView();
        if (position) {
            characters += line.size() + 1;
            lines.starts.push_back(text.size());
            lines.positions.push_back(characters);
        }
        text += line;
    }
    reader.SetFirstUnboundLabel({});
    IsoGraphReader graphs(reader, std::move(text), std::move(lines), position);
    return graphs.ReadAll();
}

} // namespace zov::cgif::iso
