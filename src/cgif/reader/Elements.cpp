// Graph elements: concepts, relations, actors, negations, comments and nested graphs, with the
// node records and links they produce.
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/PositionText.h"
#include "drawing/NodeId.h"

namespace zov::cgif {

namespace {
constexpr float CommentAboveNode = 50;
constexpr float NegationOffset = 100;
constexpr float StandaloneCommentX = 200;
constexpr float StandaloneCommentY = 100;

// Counts open nested graphs so that deeply nested input stops with an error, not a crash.
class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};
} // namespace

bool CgifReader::ReadElement(bool defaultResult, bool allowComment) {
    if (ReadConcept(false) || ReadRelation() || ReadActor() || ReadNegation(false))
        return true;
    if (allowComment && ReadComment(false, true))
        return true;
    return defaultResult;
}

bool CgifReader::ReadPositionComment(QChar terminator, bool optional) {
    positionOnlyComment_ = false;
    bool result = false;
    if (MatchChar(u';', false) && ReadUntil(terminator)) {
        if (token_.isEmpty() || token_.front() != u'%') {
            // No title: putting the text back as a comment and reading it again (below) would
            // give the same text and leave the line at the same terminator, so skip that.
            pendingX_ = 0;
            pendingY_ = 0;
            if (const auto written = WriterPosition(token_, terminator)) {
                pendingX_ = written->X;
                pendingY_ = written->Y;
                positionOnlyComment_ = true;
            }
            return true;
        }
        const QString title = ExtractTitle(false);
        const PositionValue fromTitle = PositionFromTitle(title);
        pendingX_ = fromTitle.X;
        pendingY_ = fromTitle.Y;
        MatchChar(u';', false);
        result = ReadUntil(terminator);
        if (result && title.isEmpty()) {
            if (const auto written = WriterPosition(token_, terminator)) {
                pendingX_ = written->X;
                pendingY_ = written->Y;
                positionOnlyComment_ = true;
            }
        }
    }
    return optional ? true : result;
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

bool CgifReader::ReadConcept(bool optional) {
    bool result = false;
    if (MatchChar(u'[', false)) {
        ReadIdentifier(true);
        NodeRecord conceptNode;
        conceptNode.Id = ids_.NewNodeId();
        conceptNode.Type = token_;
        conceptNode.Kind = NodeKind::Concept;
        currentConceptId_ = conceptNode.Id;
        AddNode(std::move(conceptNode));
        const int conceptIndex = UpperBound(tables_.BoundArray);
        for (int segments = 1;; ++segments) {
            if (MatchChar(u':', false))
                ReadReferent();
            else
                ReadCorefLinks(true);
            pendingX_ = 0;
            pendingY_ = 0;
            if (ReadPositionComment(u';', false)) {
                MatchChar(u';', false);
                // The exporter's "x@y" is the concept's own position, also when a referent and a
                // label have put an empty graph node after the concept; a title position goes to
                // the last node read.
                PlaceNodeComment(positionOnlyComment_ ? conceptIndex : UpperBound(tables_.BoundArray));
                if (!MatchChar(u']', false))
                    ReportParseError(1012, QStringLiteral("Expected terminating ] for concept"));
                break;
            }
            if (MatchChar(u']', false))
                break;
            if (segments == 2)
                ReportParseError(1012, QStringLiteral("Cannot find ] terminator for concept"));
        }
        result = true;
    }
    return optional ? true : result;
}

bool CgifReader::ReadArguments() {
    while (!atEnd_) {
        if (ReadConcept(false)) {
            tables_.PendingArgs.push_back(currentConceptId_);
        } else if (ReadBoundLabel()) {
            // The argument is the node that defines the label anywhere in the graph read so far.
            int graph = -1;
            const int defining = FindCurrentIndex(token_, UpperBound(tables_.BoundArray) - 1, graph);
            if (defining >= 0) {
                tables_.PendingArgs.push_back(ArgumentId(defining));
                continue;
            }
            // Defined in an earlier graph: the argument is a coreferent concept of its own, as
            // "[?label]" would make it, which the slide shows as a reference to that graph.
            NodeRecord earlierNode;
            NodeRecord earlierGraph;
            if (!earlier_.Find(token_, earlierNode, earlierGraph)) {
                ShowError(QStringLiteral("Current coreference not found for: ") + token_);
                return false;
            }
            NodeRecord reference;
            reference.Id = ids_.NewNodeId();
            reference.Name = token_;
            reference.Kind = NodeKind::CoreferentConcept;
            tables_.PendingArgs.push_back(reference.Id);
            AddNode(std::move(reference));
        } else {
            break;
        }
    }
    return !atEnd_;
}

bool CgifReader::LinkRelationArguments() {
    auto& args = tables_.PendingArgs;
    if (args.empty())
        return false;
    const int argBase = TopContext().ArgBase;
    tables_.Links.push_back({currentRelationId_, args.back()});
    for (int i = argBase + 1; i < UpperBound(args); ++i)
        tables_.Links.push_back({args[static_cast<std::size_t>(i)], currentRelationId_});
    CutBack(args, argBase);
    return true;
}

bool CgifReader::ReadRelation() {
    if (!MatchChar(u'(', false))
        return false;
    ReadIdentifier(false);
    NodeRecord relation;
    relation.Id = ids_.NewNodeId();
    relation.Type = token_;
    relation.Kind = NodeKind::Relation;
    currentRelationId_ = relation.Id;
    AddNode(std::move(relation));
    const int index = UpperBound(tables_.BoundArray);
    if (!ReadArguments())
        return false;
    pendingX_ = 0;
    pendingY_ = 0;
    if (ReadPositionComment(u';', false)) {
        MatchChar(u';', false);
        PlaceNodeComment(index);
    }
    if (!MatchChar(u')', false))
        ReportParseError(1015, QStringLiteral("Expected ) at end of relation"));
    if (!LinkRelationArguments())
        ReportParseError(1014, QStringLiteral("Relation with no concepts"));
    return true;
}

// Links the pending arguments of the current context to the actor (inputs) or from it
// (outputs), then drops them.
void CgifReader::LinkPendingArgs(bool fromActor, const QString& actorId) {
    auto& args = tables_.PendingArgs;
    const int argBase = TopContext().ArgBase;
    for (int i = argBase + 1; i <= UpperBound(args); ++i) {
        const QString& arg = args[static_cast<std::size_t>(i)];
        if (fromActor)
            tables_.Links.push_back({actorId, arg});
        else
            tables_.Links.push_back({arg, actorId});
    }
    CutBack(args, argBase);
}

bool CgifReader::ReadActor() {
    if (!MatchChar(u'<', false))
        return false;
    ReadIdentifier(false);
    NodeRecord actor;
    actor.Id = ids_.NewNodeId();
    actor.Type = token_;
    actor.Kind = NodeKind::Actor;
    currentActorId_ = actor.Id;
    AddNode(std::move(actor));
    const int index = UpperBound(tables_.BoundArray);
    if (!ReadArguments())
        return false;
    if (!MatchChar(u'|', false))
        ReportParseError(1029, QStringLiteral("| separator missing"));
    LinkPendingArgs(false, currentActorId_);
    if (!ReadArguments())
        return false;
    pendingX_ = 0;
    pendingY_ = 0;
    if (ReadPositionComment(u'>', false))
        PlaceNodeComment(index);
    if (!MatchChar(u'>', false))
        return false;
    LinkPendingArgs(true, currentActorId_);
    return true;
}

bool CgifReader::ReadNegation(bool optional) {
    if (!MatchChar(u'~', false))
        return optional;
    NodeRecord negation;
    negation.Id = ids_.NewNodeId();
    negation.Type = QStringLiteral("Neg");
    negation.Kind = NodeKind::Relation;
    currentRelationId_ = negation.Id;
    AddNode(std::move(negation));
    const int index = UpperBound(tables_.BoundArray);
    // All three steps run before the result is judged.
    const bool opened = MatchChar(u'[', false);
    pendingX_ = 0;
    pendingY_ = 0;
    const bool nested = ReadNestedGraph(false);
    const bool closed = MatchChar(u']', false);
    if (!opened || !nested || !closed)
        ReportParseError(2014, QStringLiteral("Missing concept for negation"));
    if (pendingX_ > 0 || pendingY_ > 0) {
        NodeRecord& node = tables_.BoundArray.at(static_cast<std::size_t>(index));
        node.X = pendingX_ - NegationOffset;
        node.Y = pendingY_ - NegationOffset;
    }
    return true;
}

bool CgifReader::ReadComment(bool defaultResult, bool addNode) {
    if (!MatchChar(u';', false))
        return defaultResult;
    if (!ReadUntil(u';'))
        ReportParseError(1012, QStringLiteral("No comment string with ; at end"));
    MatchChar(u';', false);
    if (addNode) {
        pendingX_ = StandaloneCommentX;
        pendingY_ = StandaloneCommentY;
        AddCommentNode();
    }
    return true;
}

bool CgifReader::ReadNestedGraph(bool optional) {
    if (nestingDepth_ >= MaxNestingDepth)
        ReportParseError(RuntimeFailure::NestingTooDeep, QStringLiteral("Graphs nested too deeply"));
    NestingGuard guard(nestingDepth_);

    const int container = UpperBound(tables_.BoundArray);
    bool titled = false;
    if (ReadComment(false, false)) {
        const QString title = ExtractTitle(true);
        if (title.isEmpty())
            return optional;
        SplitGraphTitle(title);
        titled = true;
    } else {
        graphTitleType_.clear();
        graphTitleName_.clear();
    }
    NodeRecord graph;
    AddGraphNode(graph, graphTitleType_, graphTitleName_);
    graphTitleType_ = graph.Type;
    graphTitleName_ = graph.Name;
    const QString graphId = graph.Id;

    tables_.Contexts.push_back(ContextRecord{UpperBound(tables_.BoundArray), graph.Kind,
                                             UpperBound(tables_.Links), UpperBound(tables_.PendingArgs),
                                             currentConceptId_, currentRelationId_});
    while (!atEnd_ && ReadElement(false, false)) {
    }
    const ContextRecord context = TopContext();
    tables_.Contexts.pop_back();

    auto& nodes = tables_.BoundArray;
    if (UpperBound(tables_.Links) <= context.LinkBase) {
        SetNodeKind(context.GraphIndex, context.GraphKind);
        if (titled && container >= 0 && context.GraphIndex == UpperBound(nodes) &&
            earlier_.FindGraph(nodes[static_cast<std::size_t>(context.GraphIndex)].Name) != nullptr) {
            ReadGraphReference(container, context.GraphIndex);
            return true;
        }
        return optional;
    }
    const NodeRecord graphNode = nodes.at(static_cast<std::size_t>(context.GraphIndex));
    sink_->BuildGraphSlide(*this, graphNode.Name + u'/' + graphNode.Id, graphNode.Type, context.LinkBase + 1,
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

    // The containing node takes the name of its own nested graph (a graph opened inside this
    // one has made graph nodes since, and left its own title as the last one read).
    SetNodeName(container, graphNode.Name);
    CutBack(tables_.Links, context.LinkBase);
    tables_.Links.push_back({nodes[static_cast<std::size_t>(container)].Id, graphId});
    CutBack(tables_.PendingArgs, context.ArgBase);
    currentConceptId_ = context.SavedConceptId;
    currentRelationId_ = context.SavedRelationId;
    return true;
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
            const auto written = WriterPosition(line_.mid(pos_ + 1, close - pos_ - 1), u';');
            if (written && next < line_.size() && line_[next] == u';') {
                graph.X = written->X;
                graph.Y = written->Y;
                pos_ = next;
            }
        }
    }
    const QString graphId = graph.Id;
    SetNodeName(container, graph.Name);
    const QString containerId = tables_.BoundArray[static_cast<std::size_t>(container)].Id;
    tables_.Links.push_back({containerId, graphId});
    referenceContainers_.insert(graphId, containerId);
}

const QString& CgifReader::ArgumentId(int index) const {
    const QString& id = tables_.BoundArray[static_cast<std::size_t>(index)].Id;
    const auto container = referenceContainers_.constFind(id);
    return container == referenceContainers_.constEnd() ? id : container.value();
}

} // namespace zov::cgif
