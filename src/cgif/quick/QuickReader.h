#pragma once
// The quick checker's reader: the grammar the full reader runs (cgif/grammar, the same code),
// instantiated over the bytes of the input with tokens as views into them. This class is the
// grammar's model: it finds the input lines and keeps only what can decide whether a message
// appears: node names, kinds and ids (serial numbers), the links, the pending arguments, the
// contexts, the graph counter and the slide names the checking builder hands out. Where the
// full reader would show a message, and where this model does not follow the full reader's
// records (text over line ends, labels defined in earlier graphs, orphan labels), it throws
// Unsure.
#include "cgif/grammar/Grammar.h"
#include "cgif/quick/NameIndex.h"
#include "cgif/quick/NodeName.h"
#include "cgif/quick/SlideNames.h"
#include "memory/LargeMemory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov::cgif::quick {

using memory::LargeAllocator;

struct Unsure {};

// How the grammar reads the quick checker's text: bytes.
struct ByteText {
    using Char = char;
    using String = std::string_view;
    using Label = NodeName;
    static constexpr unsigned Code(char c) { return static_cast<unsigned char>(c); }
};

class QuickReader : private grammar::Grammar<QuickReader, ByteText> {
    friend class grammar::Grammar<QuickReader, ByteText>;

public:
    // `text` must stay alive and is written to (comments put back into their line).
    QuickReader(char* text, std::size_t size, std::size_t start);

    // True when every graph was read and nothing was shown; throws Unsure otherwise.
    bool ReadCgifStream();
    // Whether a graph built had an arc, so that an import would draw its ends. (Nodes without
    // arcs are drawn too, but what the builder draws of them is not followed here: a file
    // without any arc is left to the full reader, which says when an import would draw nothing.)
    bool DrewAnArc() const { return drewAnArc_; }
    // True when the reading left nothing of the input but blanks, NULs and Ctrl+Z: text after
    // the last graph that is neither "." nor an element (a tab among them) ends the reading
    // early, and the full program tells the user so.
    bool LeftNothingUnread() const {
        for (std::ptrdiff_t at = pos_; at < static_cast<std::ptrdiff_t>(size_); ++at) {
            const char c = text_[at];
            if (c != ' ' && (c < '\t' || c > '\r') && c != '\0' && c != '\x1a')
                return false;
        }
        return true;
    }

private:
    enum Kind { Graph = 0, Concept = 1, Relation = 2, Actor = 3, CoreferentConcept = 4, Comment = 5 };
    // 16 bytes: a long line holds a node for every 11 bytes or so.
    struct Node {
        NodeName Name;
        std::uint32_t Id = 0;
        std::uint32_t DrawnInBuild : 29 = 0; // the checking builder found the node as a link end in that build
        Kind NodeKind : 3 = Graph;
    };
    static_assert(sizeof(Node) == 16);
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

    // --- what the grammar needs of this reader (see cgif/grammar/Grammar.h) ---------------
    const char* LineData() const { return text_; }
    std::ptrdiff_t LineEnd() const { return lineEnd_; }
    std::ptrdiff_t FindInLine(char c) const {
        // Comments and strings are short: a plain loop beats a library search here.
        std::ptrdiff_t at = pos_;
        while (at < lineEnd_ && text_[at] != c)
            ++at;
        return at < lineEnd_ ? at : -1;
    }
    static bool HasInput() { return true; }
    bool InputExhausted() const { return next_ >= size_; }
    void NextInputLine();
    void DropLine() { lineEnd_ = pos_; }
    void ClearToken() { token_ = {}; }
    void AssignToken(const char* text, std::ptrdiff_t size) { token_ = std::string_view(text, static_cast<std::size_t>(size)); }
    // Only items that end on the line they start on are followed here.
    [[noreturn]] static void AppendToken(const char*, std::ptrdiff_t) { throw Unsure{}; }
    [[noreturn]] static void AppendLineBreak() { throw Unsure{}; }
    bool TokenEmpty() const { return token_.empty(); }
    const char* TokenData() const { return token_.data(); }
    std::ptrdiff_t TokenSize() const { return static_cast<std::ptrdiff_t>(token_.size()); }
    std::string_view TitleFromToken() const { return token_; }
    // A comment is put back into the text where it was read, over its own consumed end.
    struct SavedLine {
        std::ptrdiff_t begin;
        std::ptrdiff_t end;
        std::ptrdiff_t pos;
    };
    SavedLine SaveLine() const { return {lineBegin_, lineEnd_, pos_}; }
    void LineFromToken() {
        lineBegin_ = pos_ = token_.data() - text_;
        lineEnd_ = lineBegin_ + TokenSize();
    }
    static std::ptrdiff_t Room(const SavedLine& saved) { return saved.pos - saved.begin; }
    char* WritableLine(SavedLine&) { return text_; }
    void RestoreLine(SavedLine&& saved, std::ptrdiff_t pos) {
        lineBegin_ = saved.begin;
        lineEnd_ = saved.end;
        pos_ = pos;
    }
    // There always is room unless the comment ran over a line end, which is not followed here.
    [[noreturn]] static void RebuildWithoutRoom(const char*, std::ptrdiff_t, bool, SavedLine&&) { throw Unsure{}; }
    [[noreturn]] static void Fail(int, const char*) { throw Unsure{}; }
    [[noreturn]] static void InputPastEnd(char) { throw Unsure{}; }

    // referents: what the grammar's routines record here
    void DefineLabel();
    NodeName TokenLabel() const { return NodeName::Of(text_, token_); }
    static bool SetQuantifierReferent() { return true; }
    static void SetDesignatorReferent() {}
    static void PrefixToken(char) {}
    static void WrapToken(char, char) {}
    static void CountedCollectionToken(char, char) {}
    struct NoList {};
    static NoList NewList() { return {}; }
    static void AddToList(NoList&, bool) {}
    static void TokenFromList(NoList&&) {}

    // elements: what the grammar's routines record here
    int LastIndex() const { return Upper(); }
    int AddElementNode(Kind kind, std::uint32_t& current) {
        current = NewNodeId();
        AddNode({}, current, kind);
        return Upper();
    }
    int AddConcept() { return AddElementNode(Concept, currentConceptId_); }
    int AddRelation() { return AddElementNode(Relation, currentRelationId_); }
    int AddActor() { return AddElementNode(Actor, currentActorId_); }
    // The full program tells the user of an element the input cut short.
    [[noreturn]] static void ElementCutShort(int) { throw Unsure{}; }
    // A reading loses such blanks without a message: nothing to tell.
    static void IndentDropped(const char*, std::ptrdiff_t) {}
    int AddNegation() { return AddElementNode(Relation, currentRelationId_); }
    auto& PendingArgs() { return args_; }
    auto& Links() { return links_; }
    bool AddLabelArgument();
    static void ClearPendingPosition() {}
    void NoteWriterPosition(char terminator);
    static void TakeTitlePosition(std::string_view) {}
    void PlaceNodeComment(int) {
        if (!positionOnlyComment_)
            AddCommentNode();
    }
    static void PlaceNegation(int) {}
    void AddStandaloneComment() { AddCommentNode(); }
    void ClearGraphTitle() { graphTitleName_ = {}; }
    std::uint32_t AddNestedGraphNode() {
        AddGraphNode(graphTitleName_);
        return bound_.back().Id;
    }
    void OpenContext() {
        contexts_.push_back(Context{Upper(), Graph, static_cast<int>(links_.size()) - 1,
                                    static_cast<int>(args_.size()) - 1, currentConceptId_, currentRelationId_});
    }
    Context CloseContext() {
        const Context context = TopContext();
        contexts_.pop_back();
        return context;
    }
    bool NamesEarlierGraph(int) const;
    [[noreturn]] static void ReadGraphReference(int, int) { throw Unsure{}; }
    bool HandOnNestedGraph(const Context& context);
    void NameContainer(int container, int graphIndex) {
        SetNodeName(container, bound_.at(static_cast<std::size_t>(graphIndex)).Name);
    }
    std::uint32_t IdAt(int index) const { return bound_.at(static_cast<std::size_t>(index)).Id; }

    // bindings and graphs: what the grammar's routines record here
    int FindCurrentIndex(const NodeName& label, int startIndex, int&) { return FindCurrentIndex(label, startIndex); }
    void MarkCoreferent(int index) { SetNodeKind(index, CoreferentConcept); }
    // Where a bound label falls matters to the export's read-back check only.
    static void NoteBoundLabelTarget(const NodeName&) {}
    // An earlier graph of the file may define the label; the full reader resolves that.
    void BindToEarlierGraph(const NodeName&) const {
        if (afterFirstGraph_)
            throw Unsure{};
    }
    [[noreturn]] static void LinkNodeMissing() { throw Unsure{}; }
    static bool TableGone() { return false; }
    static bool BindingFailed() { return false; }
    void BeginGraph();
    void AddTopGraphNode();
    void HandOnGraph() {
        if (bound_.at(0).NodeKind == Graph)
            BuildGraph(0, 0);
    }
    static bool GraphFailed() { return false; }
    static void NoteProgress() {}
    bool KeepReadingBetweenGraphs() {
        afterFirstGraph_ = true;
        return true;
    }

    // tables and lookups
    std::uint32_t NewNodeId() { return ++lastId_; }
    void AddNode(NodeName name, std::uint32_t id, Kind kind) {
        bound_.push_back(Node{name, id, 0, kind});
        names_.Add(name, Upper());
    }
    // Cuts the node table back to `upperBound`, forgetting the names of the nodes cut.
    void CutBoundTable(int upperBound);
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
    std::ptrdiff_t size_;
    std::ptrdiff_t next_;      // start of the next input line
    std::ptrdiff_t lineBegin_; // the current line is text_[lineBegin_, lineEnd_), read from pos_
    std::ptrdiff_t lineEnd_;
    std::string_view token_;
    bool afterFirstGraph_ = false; // a top-level graph was read before the current one
    bool drewAnArc_ = false;

    template <typename T>
    using Table = std::vector<T, LargeAllocator<T>>;
    Table<Node> bound_;
    InputNames input_{text_};
    NameIndex names_{text_}; // of bound_, once it is larger than IndexFrom nodes
    static constexpr std::size_t IndexFrom = 48;
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

    SlideNames slideNames_;
    std::uint32_t buildNumber_ = 0;
    std::size_t stepsLeft_; // lookups scan tables in order; past this budget the full reader decides
};

} // namespace zov::cgif::quick
