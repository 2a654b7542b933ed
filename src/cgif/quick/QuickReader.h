#pragma once
// The quick checker's reader: the CGIF reader's grammar routines, one for one and under the same
// names, over the bytes of the input. Only what can decide whether a message appears is kept:
// node names, kinds and ids, the links, the pending arguments, the contexts, the graph counter
// and the slide names the checking builder hands out. Anything that would show a message, and
// anything this reader does not follow step by step, throws Unsure.
#include <cstddef>
#include <cstdint>
#include "cgif/quick/LargeMemory.h"
#include "cgif/quick/NodeName.h"
#include "cgif/quick/SlideNames.h"

#include <string>
#include <string_view>
#include <vector>

namespace zov::cgif::quick {

struct Unsure {};

class QuickReader {
public:
    // `text` must stay alive and is written to (comments put back into their line).
    QuickReader(char* text, std::size_t size, std::size_t start);

    // True when every graph was read and nothing was shown; throws Unsure otherwise.
    bool ReadCgifStream();

private:
    enum Kind : std::int8_t { Graph = 0, Concept = 1, Relation = 2, Actor = 3, CoreferentConcept = 4, Comment = 5 };
    struct Node {
        NodeName Name;
        std::uint32_t Id = 0;
        Kind NodeKind = Graph;
        std::uint32_t DrawnInBuild = 0; // the checking builder found the node as a link end in that build
    };
    struct Link {
        std::uint32_t From;
        std::uint32_t To;
    };
    struct Context {
        int GraphIndex = 0;
        Kind GraphKind = Graph;
        int LinkBase = -1;
        int ArgBase = -1;
        std::uint32_t SavedConceptId = 0;
        std::uint32_t SavedRelationId = 0;
    };

    // scanner
    bool LineEmpty() const { return pos_ >= lineEnd_; }
    char Front() const { return text_[pos_]; }
    void SkipSpaces() {
        while (pos_ < lineEnd_ && text_[pos_] == ' ')
            ++pos_;
    }
    bool MatchChar(char c, bool defaultResult) {
        if (LineEmpty() && !FetchLine())
            return false;
        if (Front() != c)
            return defaultResult;
        ++pos_;
        SkipSpaces();
        return true;
    }
    bool FetchLine();
    void NextInputLine();
    bool ReadIdentifier(bool optional);
    bool ReadNumber(bool optional);
    bool ReadUntil(char terminator);
    std::string_view ExtractTitle(bool keep);
    void RebuildLine(std::string_view text, bool asComment, bool closed, std::size_t savedBegin, std::size_t savedEnd,
                     std::size_t savedPos);

    // referents
    bool ReadReferent();
    bool ReadCorefLinks(bool optional);
    bool ReadDefiningLabel(bool optional);
    bool ReadBoundLabel();
    bool ReadBoundLabels(bool optional);
    bool ReadDescriptor();
    bool ReadQuantifier(bool optional);
    bool ReadDesignator();
    bool ReadLiteral(bool optional);
    bool ReadLocator(bool optional);

    // elements
    bool ReadElement(bool defaultResult, bool allowComment);
    bool ReadConcept(bool optional);
    bool ReadRelation();
    bool ReadActor();
    bool ReadNegation(bool optional);
    bool ReadComment(bool defaultResult, bool addNode);
    bool ReadPositionComment(char terminator, bool optional);
    bool ReadArguments();
    bool ReadNestedGraph(bool optional);
    bool LinkRelationArguments();
    void LinkPendingArgs(bool fromActor, std::uint32_t actorId);
    void PlaceNodeComment();
    bool ReadGraph();

    // tables and lookups
    std::uint32_t NewNodeId() { return ++lastId_; }
    void AddNode(NodeName name, std::uint32_t id, Kind kind) { bound_.push_back(Node{name, id, kind, 0}); }
    void AddCommentNode() { AddNode({}, NewNodeId(), Comment); }
    void AddGraphNode(NodeName name);
    void SplitGraphTitle(std::string_view title);
    int Upper() const { return static_cast<int>(bound_.size()) - 1; }
    Context& TopContext();
    void SetNodeName(int index, NodeName name);
    void SetNodeKind(int index, Kind kind);
    int FindCurrentIndex(const NodeName& label, int startIndex);
    int FindExternalIndex(const NodeName& label, int& graph);
    int GraphAtOrBefore(const std::vector<Node, LargeAllocator<Node>>& table, int index);
    int IndexOfId(std::uint32_t id) const;
    void Spend(std::size_t steps);
    void BuildGraph(int firstLinkIndex, int graphIndex);
    bool SlideNameInUse(const NodeName& name) const { return slideNames_.Contains(name); }

    char* text_;
    std::size_t size_;
    std::size_t next_;      // start of the next input line
    std::size_t lineBegin_; // the current line is text_[lineBegin_, lineEnd_), read from pos_
    std::size_t lineEnd_;
    std::size_t pos_;
    std::string_view token_;
    bool atEnd_ = false;
    bool afterFirstGraph_ = false; // a top-level graph was read before the current one

    template <typename T>
    using Table = std::vector<T, LargeAllocator<T>>;
    Table<Node> bound_;
    Table<Node> all_;
    Table<Link> links_;
    Table<std::uint32_t> args_;
    std::vector<Context> contexts_;
    std::uint32_t lastId_ = 0;
    std::uint32_t currentConceptId_ = 0;
    std::uint32_t currentRelationId_ = 0;
    std::uint32_t currentActorId_ = 0;
    NodeName graphTitleName_;
    int graphCounter_ = 1;
    int nestingDepth_ = 0;
    bool positionOnlyComment_ = false;

    SlideNames slideNames_;
    std::uint32_t buildNumber_ = 0;
    std::size_t stepsLeft_; // lookups scan tables in order; past this budget the full reader decides
};

} // namespace zov::cgif::quick
