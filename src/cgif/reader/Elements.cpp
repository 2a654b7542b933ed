// The reader's side of the graph elements: the grammar (cgif/grammar/Elements.h) reads them,
// and these make their node records, place their positions and hand finished nested graphs on.
#include "cgif/reader/CgifReader.h"
#include "cgif/grammar/WriterPosition.h"
#include "cgif/reader/PositionText.h"
#include "drawing/NodeId.h"

namespace zov::cgif {

namespace {
constexpr float CommentAboveNode = 50;
constexpr float NegationOffset = 100;
constexpr float StandaloneCommentX = 200;
constexpr float StandaloneCommentY = 100;
} // namespace

int CgifReader::AddElementNode(std::int16_t kind, const RecordText& type) {
    NodeRecord node;
    node.Id = ids_.NewId();
    node.Type = type;
    node.Kind = kind;
    NodeId& current = kind == NodeKind::Concept ? currentConceptId_
                       : kind == NodeKind::Actor ? currentActorId_
                                                 : currentRelationId_;
    current = node.Id;
    AddNode(std::move(node));
    return UpperBound(tables_.BoundArray);
}

int CgifReader::AddConcept() { return AddElementNode(NodeKind::Concept, SharedToken()); }
int CgifReader::AddRelation() { return AddElementNode(NodeKind::Relation, SharedToken()); }
int CgifReader::AddActor() { return AddElementNode(NodeKind::Actor, SharedToken()); }
int CgifReader::AddNegation() { return AddElementNode(NodeKind::Relation, SharedText(u"Neg")); }

void CgifReader::ElementCutShort(int index) {
    if (!elementCutShort_.isEmpty() || index < 0 || static_cast<std::size_t>(index) >= tables_.BoundArray.size())
        return;
    const NodeRecord& node = tables_.BoundArray[static_cast<std::size_t>(index)];
    // Cut right after its bracket, it has no type yet: "a relation".
    const bool actor = node.Kind == NodeKind::Actor;
    elementCutShort_ = node.Type.isEmpty() ? (actor ? QStringLiteral("an actor") : QStringLiteral("a relation"))
                                           : (actor ? QStringLiteral("the actor ") : QStringLiteral("the relation ")) + node.Type.View();
}

void CgifReader::NoteWriterPosition(QChar terminator) {
    const auto written =
        grammar::WriterPosition<ReaderText>(TokenData(), TokenSize(), terminator == u'>');
    if (written) {
        pendingX_ = written->X;
        pendingY_ = written->Y;
        positionOnlyComment_ = true;
    }
}

void CgifReader::TakeTitlePosition(QStringView title) {
    const PositionValue fromTitle = PositionFromTitle(title);
    pendingX_ = fromTitle.X;
    pendingY_ = fromTitle.Y;
}

void CgifReader::PlaceNodeComment(int nodeIndex) {
    NodeRecord& node = tables_.BoundArray.at(static_cast<std::size_t>(nodeIndex));
    if (pendingX_ > 0 || pendingY_ > 0) {
        node.X = pendingX_;
        node.Y = pendingY_;
    }
    if (pendingY_ > 0)
        pendingY_ -= CommentAboveNode;
    if (!positionOnlyComment_)
        AddCommentNode();
}

// The position of the nested graph read last, moved up and left, is the negation's own.
void CgifReader::PlaceNegation(int index) {
    if (pendingX_ > 0 || pendingY_ > 0) {
        NodeRecord& node = tables_.BoundArray.at(static_cast<std::size_t>(index));
        node.X = pendingX_ - NegationOffset;
        node.Y = pendingY_ - NegationOffset;
    }
}

void CgifReader::AddStandaloneComment() {
    pendingX_ = StandaloneCommentX;
    pendingY_ = StandaloneCommentY;
    AddCommentNode();
}

// The argument is the node that defines the label anywhere in the graph read so far.
bool CgifReader::AddLabelArgument() {
    int graph = -1;
    const RecordText label = SharedToken();
    const int defining = FindCurrentIndex(label, UpperBound(tables_.BoundArray) - 1, graph);
    if (defining >= 0) {
        tables_.PendingArgs.push_back(ArgumentId(defining));
        return true;
    }
    // Defined in an earlier graph: the argument is a coreferent concept of its own, as
    // "[?label]" would make it, which the slide shows as a reference to that graph.
    NodeRecord earlierNode;
    NodeRecord earlierGraph;
    if (!earlier_.Find(label, earlierNode, earlierGraph)) {
        ShowError(QStringLiteral("Current coreference not found for: ") + TokenView());
        return false;
    }
    NodeRecord reference;
    reference.Id = ids_.NewId();
    reference.Name = label;
    reference.Kind = NodeKind::CoreferentConcept;
    tables_.PendingArgs.push_back(reference.Id);
    AddNode(std::move(reference));
    return true;
}

NodeId CgifReader::AddNestedGraphNode() {
    NodeRecord graph;
    AddGraphNode(graph, graphTitleType_, graphTitleName_);
    graphTitleType_ = graph.Type;
    graphTitleName_ = graph.Name;
    return graph.Id;
}

void CgifReader::OpenContext() {
    tables_.Contexts.push_back(ContextRecord{UpperBound(tables_.BoundArray), tables_.BoundArray.back().Kind,
                                             UpperBound(tables_.Links), UpperBound(tables_.PendingArgs),
                                             currentConceptId_, currentRelationId_});
}

ContextRecord CgifReader::CloseContext() {
    const ContextRecord context = TopContext();
    tables_.Contexts.pop_back();
    return context;
}

bool CgifReader::NamesEarlierGraph(int graphIndex) const {
    return earlier_.FindGraph(tables_.BoundArray[static_cast<std::size_t>(graphIndex)].Name) != nullptr;
}

// The sink takes the nested graph; its nodes are kept in AllBindings and leave the BoundArray,
// all but its graph node.
bool CgifReader::HandOnNestedGraph(const ContextRecord& context) {
    auto& nodes = tables_.BoundArray;
    const NodeRecord graphNode = nodes.at(static_cast<std::size_t>(context.GraphIndex));
    sink_->BuildGraphSlide(*this, SlideNameOf(graphNode), graphNode.Type, context.LinkBase + 1,
                           context.GraphIndex + 1);

    int n = context.GraphIndex;
    try {
        for (; n <= UpperBound(nodes); ++n)
            KeepInAllBindings(n);
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()) + QStringLiteral(" after n = '") + QString::number(n) +
                  u'\'');
        return false;
    }
    CutBoundArray(context.GraphIndex);
    return true;
}

void CgifReader::NameContainer(int container, int graphIndex) {
    const RecordText name = tables_.BoundArray.at(static_cast<std::size_t>(graphIndex)).Name;
    SetNodeName(container, name);
}

void CgifReader::ReadGraphReference(int container, int graphIndex) {
    NodeRecord& graph = tables_.BoundArray.at(static_cast<std::size_t>(graphIndex));
    // The writer puts the reference's own position right after the title, before the
    // position of the concept that holds it: "x@y" followed by another comment.
    if (!LineEmpty() && Front() == u';') {
        const qsizetype close = line_.indexOf(u';', pos_ + 1);
        if (close > 0) {
            qsizetype next = close + 1;
            while (next < line_.size() && line_[next] == u' ')
                ++next;
            const auto written =
                grammar::WriterPosition<ReaderText>(line_.constData() + pos_ + 1, close - pos_ - 1, false);
            if (written && next < line_.size() && line_[next] == u';') {
                graph.X = written->X;
                graph.Y = written->Y;
                pos_ = next;
            }
        }
    }
    const NodeId graphId = graph.Id;
    SetNodeName(container, graph.Name);
    const NodeId containerId = tables_.BoundArray[static_cast<std::size_t>(container)].Id;
    tables_.Links.push_back({containerId, graphId});
    referenceContainers_.insert(graphId, containerId);
}

const NodeId& CgifReader::ArgumentId(int index) const {
    const NodeId& id = tables_.BoundArray[static_cast<std::size_t>(index)].Id;
    const auto container = referenceContainers_.constFind(id);
    return container == referenceContainers_.constEnd() ? id : container.value();
}

} // namespace zov::cgif
