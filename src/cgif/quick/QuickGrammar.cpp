// The quick checker's grammar: referents, graph elements, nested graphs and the graphs of a
// file. Each routine follows the reader's routine of the same name step by step; where the
// reader shows a message, throws, or copies text in a way not followed here, this one throws
// Unsure.
#include "cgif/quick/QuickReader.h"

#include "cgif/quick/InputText.h"

#include <algorithm>

namespace zov::cgif::quick {

namespace {
constexpr int MaxNestingDepth = 200; // the reader's limit; deeper input is its error

// Cuts a table back so that its upper bound is `upperBound`; never lengthens it.
template <typename Table>
void CutBack(Table& table, int upperBound) {
    const auto size = static_cast<std::size_t>(upperBound < 0 ? 0 : upperBound + 1);
    if (size < table.size())
        table.resize(size);
}
} // namespace

// --- referents -------------------------------------------------------------------------

bool QuickReader::ReadReferent() {
    if (ReadCorefLinks(false)) {
        ReadDescriptor();
    } else {
        ReadDescriptor();
        ReadCorefLinks(true);
    }
    return true;
}

bool QuickReader::ReadCorefLinks(bool optional) {
    bool result = false;
    if (ReadDefiningLabel(false)) {
        result = true;
    } else if (ReadBoundLabels(false)) {
        // A bound label in a concept: first among the nested graphs already built, then among
        // the enclosing graphs; found nowhere, it stays unbound without a message.
        const NodeName label = NodeName::Of(token_);
        int graph = -1;
        if (FindExternalIndex(label, graph) >= 0 && graph >= 0) {
            SetNodeName(Upper(), label);
            SetNodeKind(Upper(), CoreferentConcept);
        } else {
            const int defining = FindCurrentIndex(label, TopContext().GraphIndex - 1);
            // An earlier graph of the file may define it; the full reader resolves that.
            if (defining < 0 && afterFirstGraph_)
                throw Unsure{};
            if (defining >= 0) {
                const int index = IndexOfId(bound_[static_cast<std::size_t>(defining)].Id);
                if (index < 0)
                    throw Unsure{};
                SetNodeKind(index, CoreferentConcept);
                SetNodeName(Upper(), label);
            }
        }
        result = true;
    }
    return optional ? true : result;
}

bool QuickReader::ReadDefiningLabel(bool optional) {
    if (!MatchChar('*', false))
        return optional;
    if (!ReadIdentifier(false))
        return optional;
    const int target = IndexOfId(currentConceptId_);
    if (target < 0)
        throw Unsure{}; // an orphan label node, which has no id
    SetNodeName(target, NodeName::Of(token_));
    return true;
}

bool QuickReader::ReadBoundLabel() {
    if (!MatchChar('?', false))
        return false;
    if (!ReadIdentifier(false))
        throw Unsure{}; // "Missing label indentifier"
    return true;
}

bool QuickReader::ReadBoundLabels(bool optional) {
    bool any = false;
    while (ReadBoundLabel())
        any = true;
    return any ? true : optional;
}

bool QuickReader::ReadDescriptor() {
    if (ReadQuantifier(false))
        return ReadNestedGraph(true);
    ReadDesignator();
    return ReadNestedGraph(true);
}

bool QuickReader::ReadQuantifier(bool optional) {
    if (!MatchChar('@', false))
        return optional;
    ReadIdentifier(true);
    if (token_.empty())
        ReadNumber(true);
    return true;
}

bool QuickReader::ReadDesignator() {
    // Sets and sequences build their text in ways not followed here.
    if (MatchChar('{', false) || MatchChar('<', false))
        throw Unsure{};
    if (!ReadLiteral(false))
        ReadLocator(false);
    return true;
}

bool QuickReader::ReadLiteral(bool optional) {
    if (ReadNumber(false))
        return true;
    if (MatchChar('"', false)) {
        ReadUntil('"');
        MatchChar('"', false);
        return true;
    }
    return optional;
}

bool QuickReader::ReadLocator(bool optional) {
    if (MatchChar('\'', false)) {
        ReadUntil('\'');
        MatchChar('\'', false);
        return true;
    }
    if (MatchChar('#', false)) {
        ReadIdentifier(true);
        if (token_.empty())
            ReadNumber(true);
        return true;
    }
    return optional;
}

// --- graph elements --------------------------------------------------------------------

bool QuickReader::ReadElement(bool defaultResult, bool allowComment) {
    if (ReadConcept(false) || ReadRelation() || ReadActor() || ReadNegation(false))
        return true;
    if (allowComment && ReadComment(false, true))
        return true;
    return defaultResult;
}

bool QuickReader::ReadPositionComment(char terminator, bool optional) {
    positionOnlyComment_ = false;
    bool result = false;
    if (MatchChar(';', false) && ReadUntil(terminator)) {
        if (token_.empty() || token_.front() != '%') {
            positionOnlyComment_ = IsWriterPosition(token_, terminator == '>');
            return true;
        }
        const std::string_view title = ExtractTitle(false);
        MatchChar(';', false);
        result = ReadUntil(terminator);
        if (result && title.empty())
            positionOnlyComment_ = IsWriterPosition(token_, terminator == '>');
    }
    return optional ? true : result;
}

void QuickReader::PlaceNodeComment() {
    if (!positionOnlyComment_)
        AddCommentNode();
}

bool QuickReader::ReadConcept(bool optional) {
    bool result = false;
    if (MatchChar('[', false)) {
        ReadIdentifier(true);
        const std::uint32_t id = NewNodeId();
        currentConceptId_ = id;
        AddNode({}, id, Concept);
        for (int segments = 1;; ++segments) {
            if (MatchChar(':', false))
                ReadReferent();
            else
                ReadCorefLinks(true);
            if (ReadPositionComment(';', false)) {
                MatchChar(';', false);
                PlaceNodeComment();
                if (!MatchChar(']', false))
                    throw Unsure{}; // "Expected terminating ] for concept"
                break;
            }
            if (MatchChar(']', false))
                break;
            if (segments == 2)
                throw Unsure{}; // "Cannot find ] terminator for concept"
        }
        result = true;
    }
    return optional ? true : result;
}

bool QuickReader::ReadArguments() {
    while (!atEnd_) {
        if (ReadConcept(false)) {
            args_.push_back(currentConceptId_);
        } else if (ReadBoundLabel()) {
            const int defining = FindCurrentIndex(NodeName::Of(token_), Upper() - 1);
            if (defining < 0)
                throw Unsure{}; // "Current coreference not found for: "
            args_.push_back(bound_[static_cast<std::size_t>(defining)].Id);
        } else {
            break;
        }
    }
    return !atEnd_;
}

bool QuickReader::LinkRelationArguments() {
    if (args_.empty())
        return false;
    const int argBase = TopContext().ArgBase;
    links_.push_back({currentRelationId_, args_.back()});
    for (int i = argBase + 1; i < static_cast<int>(args_.size()) - 1; ++i)
        links_.push_back({args_[static_cast<std::size_t>(i)], currentRelationId_});
    CutBack(args_, argBase);
    return true;
}

bool QuickReader::ReadRelation() {
    if (!MatchChar('(', false))
        return false;
    ReadIdentifier(false);
    currentRelationId_ = NewNodeId();
    AddNode({}, currentRelationId_, Relation);
    if (!ReadArguments())
        return false;
    if (ReadPositionComment(';', false)) {
        MatchChar(';', false);
        PlaceNodeComment();
    }
    if (!MatchChar(')', false))
        throw Unsure{}; // "Expected ) at end of relation"
    if (!LinkRelationArguments())
        throw Unsure{}; // "Relation with no concepts"
    return true;
}

void QuickReader::LinkPendingArgs(bool fromActor, std::uint32_t actorId) {
    const int argBase = TopContext().ArgBase;
    for (int i = argBase + 1; i < static_cast<int>(args_.size()); ++i) {
        const std::uint32_t arg = args_[static_cast<std::size_t>(i)];
        links_.push_back(fromActor ? Link{actorId, arg} : Link{arg, actorId});
    }
    CutBack(args_, argBase);
}

bool QuickReader::ReadActor() {
    if (!MatchChar('<', false))
        return false;
    ReadIdentifier(false);
    currentActorId_ = NewNodeId();
    AddNode({}, currentActorId_, Actor);
    if (!ReadArguments())
        return false;
    if (!MatchChar('|', false))
        throw Unsure{}; // "| separator missing"
    LinkPendingArgs(false, currentActorId_);
    if (!ReadArguments())
        return false;
    if (ReadPositionComment('>', false))
        PlaceNodeComment();
    if (!MatchChar('>', false))
        return false;
    LinkPendingArgs(true, currentActorId_);
    return true;
}

bool QuickReader::ReadNegation(bool optional) {
    if (!MatchChar('~', false))
        return optional;
    currentRelationId_ = NewNodeId();
    AddNode({}, currentRelationId_, Relation);
    const bool opened = MatchChar('[', false);
    const bool nested = ReadNestedGraph(false);
    const bool closed = MatchChar(']', false);
    if (!opened || !nested || !closed)
        throw Unsure{}; // "Missing concept for negation"
    return true;
}

bool QuickReader::ReadComment(bool defaultResult, bool addNode) {
    if (!MatchChar(';', false))
        return defaultResult;
    ReadUntil(';');
    MatchChar(';', false);
    if (addNode)
        AddCommentNode();
    return true;
}

bool QuickReader::ReadNestedGraph(bool optional) {
    if (nestingDepth_ >= MaxNestingDepth)
        throw Unsure{}; // "Graphs nested too deeply"
    struct Guard {
        int& depth;
        explicit Guard(int& d) : depth(d) { ++depth; }
        ~Guard() { --depth; }
    } guard(nestingDepth_);

    const int container = Upper();
    if (ReadComment(false, false)) {
        const std::string_view title = ExtractTitle(true);
        if (title.empty())
            return optional;
        SplitGraphTitle(title);
    } else {
        graphTitleName_ = {};
    }
    AddGraphNode(graphTitleName_);
    const std::uint32_t graphId = bound_.back().Id;

    contexts_.push_back(Context{Upper(), Graph, static_cast<int>(links_.size()) - 1,
                                static_cast<int>(args_.size()) - 1, currentConceptId_, currentRelationId_});
    while (!atEnd_ && ReadElement(false, false)) {
    }
    const Context context = TopContext();
    contexts_.pop_back();

    if (static_cast<int>(links_.size()) - 1 <= context.LinkBase) {
        SetNodeKind(context.GraphIndex, context.GraphKind);
        return optional;
    }
    BuildGraph(context.LinkBase + 1, context.GraphIndex);

    Spend(bound_.size() - static_cast<std::size_t>(context.GraphIndex));
    all_.insert(all_.end(), bound_.begin() + context.GraphIndex, bound_.end());
    CutBack(bound_, context.GraphIndex);

    // The containing node takes the name of its own nested graph.
    SetNodeName(container, bound_[static_cast<std::size_t>(context.GraphIndex)].Name);
    CutBack(links_, context.LinkBase);
    links_.push_back({bound_[static_cast<std::size_t>(container)].Id, graphId});
    CutBack(args_, context.ArgBase);
    currentConceptId_ = context.SavedConceptId;
    currentRelationId_ = context.SavedRelationId;
    return true;
}

// --- graphs and files ------------------------------------------------------------------

bool QuickReader::ReadGraph() {
    bound_.clear();
    all_.clear();
    links_.clear();
    args_.clear();
    contexts_.clear();
    contexts_.push_back(Context{});
    nestingDepth_ = 0;

    std::string_view title;
    if (ReadComment(false, false))
        title = ExtractTitle(true);
    if (title.empty())
        graphTitleName_ = {};
    else
        SplitGraphTitle(title);
    AddGraphNode(graphTitleName_);
    contexts_[0] = Context{0, bound_[0].NodeKind, -1, -1, 0, 0};

    while (!atEnd_ && ReadElement(false, true)) {
    }
    if (bound_.at(0).NodeKind == Graph)
        BuildGraph(0, 0);
    return true;
}

bool QuickReader::ReadCgifStream() {
    atEnd_ = false;
    for (;;) {
        if (!ReadGraph()) {
            atEnd_ = true;
            return false;
        }
        if (!MatchChar('.', false)) {
            atEnd_ = true;
            return true;
        }
        atEnd_ = false;
        afterFirstGraph_ = true;
    }
}

} // namespace zov::cgif::quick
