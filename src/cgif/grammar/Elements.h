#pragma once
// The graph element routines of the grammar: concepts, relations, actors, negations, comments
// and nested graphs, with the links between them. The model makes the nodes and holds the
// tables; the links and pending arguments are built here from its tables.
#include "cgif/grammar/Grammar.h"

namespace zov::cgif::grammar {

namespace detail {
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
} // namespace detail

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadElement(bool defaultResult, bool allowComment) {
    if (ReadConcept(false) || ReadRelation() || ReadActor() || ReadNegation(false))
        return true;
    if (allowComment && ReadComment(false, true))
        return true;
    return defaultResult;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadPositionComment(Char terminator, bool optional) {
    positionOnlyComment_ = false;
    bool result = false;
    if (MatchChar(Char(u';'), false) && ReadUntil(terminator)) {
        if (Self().TokenEmpty() || Self().TokenData()[0] != Char(u'%')) {
            // No title: putting the text back as a comment and reading it again (below) would
            // give the same text and leave the line at the same terminator, so skip that.
            Self().ClearPendingPosition();
            Self().NoteWriterPosition(terminator);
            return true;
        }
        const String title = ExtractTitle(false);
        Self().TakeTitlePosition(title);
        MatchChar(Char(u';'), false);
        result = ReadUntil(terminator);
        if (result && title.size() == 0)
            Self().NoteWriterPosition(terminator);
    }
    return optional ? true : result;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadConcept(bool optional) {
    bool result = false;
    if (MatchChar(Char(u'['), false)) {
        ReadIdentifier(true);
        const int conceptIndex = Self().AddConcept();
        for (int segments = 1;; ++segments) {
            if (MatchChar(Char(u':'), false))
                ReadReferent();
            else
                ReadCorefLinks(true);
            Self().ClearPendingPosition();
            if (ReadPositionComment(Char(u';'), false)) {
                MatchChar(Char(u';'), false);
                // The writer's "x@y" is the concept's own position, also when a referent and a
                // label have put an empty graph node after the concept; a title position goes to
                // the last node read.
                Self().PlaceNodeComment(positionOnlyComment_ ? conceptIndex : Self().LastIndex());
                if (!MatchChar(Char(u']'), false))
                    Self().Fail(1012, "Expected terminating ] for concept");
                break;
            }
            if (MatchChar(Char(u']'), false))
                break;
            if (segments == 2)
                Self().Fail(1012, "Cannot find ] terminator for concept");
        }
        result = true;
    }
    return optional ? true : result;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadArguments() {
    while (!atEnd_) {
        if (ReadConcept(false)) {
            Self().PendingArgs().push_back(Self().currentConceptId_);
        } else if (ReadBoundLabel()) {
            if (!Self().AddLabelArgument())
                return false;
        } else {
            break;
        }
    }
    return !atEnd_;
}

// The relation's last argument is what it points at; the others point at the relation.
template <typename Model, typename Text>
bool Grammar<Model, Text>::LinkRelationArguments() {
    auto& args = Self().PendingArgs();
    if (args.empty())
        return false;
    auto& links = Self().Links();
    const auto& relation = Self().currentRelationId_;
    const int argBase = Self().TopContext().ArgBase;
    links.push_back({relation, args.back()});
    for (int i = argBase + 1; i < UpperBound(args); ++i)
        links.push_back({args[static_cast<std::size_t>(i)], relation});
    CutBack(args, argBase);
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadRelation() {
    if (!MatchChar(Char(u'('), false))
        return false;
    ReadIdentifier(false);
    const int index = Self().AddRelation();
    if (!ReadArguments()) {
        if (atEnd_)
            Self().ElementCutShort(index);
        return false;
    }
    Self().ClearPendingPosition();
    if (ReadPositionComment(Char(u';'), false)) {
        MatchChar(Char(u';'), false);
        Self().PlaceNodeComment(index);
    }
    if (!MatchChar(Char(u')'), false))
        Self().Fail(1015, "Expected ) at end of relation");
    if (!LinkRelationArguments())
        Self().Fail(1014, "Relation with no concepts");
    return true;
}

// Links the pending arguments of the current context to the actor (inputs) or from it
// (outputs), then drops them.
template <typename Model, typename Text>
void Grammar<Model, Text>::LinkPendingArgs(bool fromActor) {
    auto& args = Self().PendingArgs();
    auto& links = Self().Links();
    const auto& actor = Self().currentActorId_;
    const int argBase = Self().TopContext().ArgBase;
    for (int i = argBase + 1; i <= UpperBound(args); ++i) {
        const auto& arg = args[static_cast<std::size_t>(i)];
        if (fromActor)
            links.push_back({actor, arg});
        else
            links.push_back({arg, actor});
    }
    CutBack(args, argBase);
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadActor() {
    if (!MatchChar(Char(u'<'), false))
        return false;
    ReadIdentifier(false);
    const int index = Self().AddActor();
    // The input ending inside the actor leaves it out without a message, as any other way of
    // missing its end; the model hears of it.
    const auto cutShort = [&] {
        if (atEnd_)
            Self().ElementCutShort(index);
        return false;
    };
    if (!ReadArguments())
        return cutShort();
    if (!MatchChar(Char(u'|'), false))
        Self().Fail(1029, "| separator missing");
    LinkPendingArgs(false);
    if (!ReadArguments())
        return cutShort();
    Self().ClearPendingPosition();
    if (ReadPositionComment(Char(u'>'), false))
        Self().PlaceNodeComment(index);
    if (!MatchChar(Char(u'>'), false))
        return cutShort();
    LinkPendingArgs(true);
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadNegation(bool optional) {
    if (!MatchChar(Char(u'~'), false))
        return optional;
    const int index = Self().AddNegation();
    // All three steps run before the result is judged.
    const bool opened = MatchChar(Char(u'['), false);
    Self().ClearPendingPosition();
    const bool nested = ReadNestedGraph(false);
    const bool closed = MatchChar(Char(u']'), false);
    if (!opened || !nested || !closed)
        Self().Fail(2014, "Missing concept for negation");
    Self().PlaceNegation(index);
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadComment(bool defaultResult, bool addNode) {
    if (!MatchChar(Char(u';'), false))
        return defaultResult;
    if (!ReadUntil(Char(u';')))
        Self().Fail(1012, "No comment string with ; at end");
    MatchChar(Char(u';'), false);
    if (addNode)
        Self().AddStandaloneComment();
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadNestedGraph(bool optional) {
    if (nestingDepth_ >= MaxNestingDepth)
        Self().Fail(3001, "Graphs nested too deeply");
    detail::NestingGuard guard(nestingDepth_);

    const int container = Self().LastIndex();
    bool titled = false;
    if (ReadComment(false, false)) {
        const String title = ExtractTitle(true);
        if (title.size() == 0)
            return optional;
        Self().SplitGraphTitle(title);
        titled = true;
    } else {
        Self().ClearGraphTitle();
    }
    const auto graphId = Self().AddNestedGraphNode();
    Self().OpenContext();
    while (!atEnd_ && ReadElement(false, false)) {
    }
    const auto context = Self().CloseContext();

    if (UpperBound(Self().Links()) <= context.LinkBase) {
        Self().SetNodeKind(context.GraphIndex, context.GraphKind);
        if (titled && container >= 0 && context.GraphIndex == Self().LastIndex() &&
            Self().NamesEarlierGraph(context.GraphIndex)) {
            Self().ReadGraphReference(container, context.GraphIndex);
            return true;
        }
        return optional;
    }
    if (!Self().HandOnNestedGraph(context))
        return false;

    // The containing node takes the name of its own nested graph (a graph opened inside this
    // one has made graph nodes since, and left its own title as the last one read).
    Self().NameContainer(container, context.GraphIndex);
    auto& links = Self().Links();
    CutBack(links, context.LinkBase);
    links.push_back({Self().IdAt(container), graphId});
    CutBack(Self().PendingArgs(), context.ArgBase);
    Self().currentConceptId_ = context.SavedConceptId;
    Self().currentRelationId_ = context.SavedRelationId;
    return true;
}

} // namespace zov::cgif::grammar
