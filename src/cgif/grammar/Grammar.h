#pragma once
// The CGIF grammar, written once for both readers of the 2001 dialect: the full reader
// (CgifReader: QString lines, records with strings, messages shown to the user) and the quick
// checker (QuickReader: the bytes of a file, tokens as views, serial node ids, and Unsure
// wherever the full reader would show a message). Each derives from Grammar<itself, Text>.
// Two helpers over the same Text serve both models too: the graph title split (GraphTitle.h)
// and the exporter's "x@y" position comment (WriterPosition.h).
//
// The grammar decides what is read, in which order, and which failure a piece of input is; the
// model (the derived class) holds the current line and the token, fetches input lines, records
// what is read, and decides what a failure does. The model provides, as members the grammar
// can reach (public, or private with the grammar as a friend):
//
//   line:    const Char* LineData() const   the current line; LineData()[pos_] is its front
//            std::ptrdiff_t LineEnd() const  one past its last character
//            std::ptrdiff_t FindInLine(Char c) const  first c at or after pos_, or -1
//   input:   bool HasInput() const           false: nothing can be fetched (a parse buffer)
//            bool InputExhausted() const     no further line
//            void NextInputLine()            the next line becomes current, pos_ at its start
//            void DropLine()                 the input failed: the current line is dropped
//            IndentDropped(const Char*, std::ptrdiff_t)  an item read over several lines lost
//                                            the blanks that began a further line; what the
//                                            item holds of that line follows
//   token:   ClearToken(), AssignToken(const Char*, std::ptrdiff_t),
//            AppendToken(const Char*, std::ptrdiff_t), AppendLineBreak(),
//            bool TokenEmpty() const, const Char* TokenData() const,
//            std::ptrdiff_t TokenSize() const,
//            Text::String TitleFromToken()   the token's text as a title, valid until the next
//                                            title is taken
//   titles:  auto SaveLine()                 takes the current line away, with pos_
//            void LineFromToken()            the token's text becomes the current line
//            std::ptrdiff_t Room(const Saved&)  characters consumed before the saved position
//            Char* WritableLine(Saved&)      where index i of the saved line is written
//            void RestoreLine(Saved&&, std::ptrdiff_t pos)
//            void RebuildWithoutRoom(const Char*, std::ptrdiff_t, bool closed, Saved&&)
//   failure: [[noreturn]] void Fail(int number, const char* message)  a grammar error
//            [[noreturn]] void InputPastEnd(Char terminator)  an item ran off the input
//   referents (the token holds what was just read):
//            DefineLabel()                   a defining label of the concept read last
//            Label TokenLabel()              the token as a label to look up or keep
//            bool SetQuantifierReferent()    the last node's quantifier ("@" + text)
//            SetDesignatorReferent()         the last node's designator
//            PrefixToken(Char), WrapToken(Char open, Char close),
//            CountedCollectionToken(Char open, Char close)  the token becomes open*close@token
//            auto NewList(), AddToList(List&, bool comma), TokenFromList(List&&)
//   elements (index: a node's index in the table of the graph being read):
//            int LastIndex() const           the last node's index, -1 when there is none
//            int AddConcept(), AddRelation(), AddActor(), AddNegation()  a new node (type: the
//                                            token) that becomes the current one; its index
//            currentConceptId_, currentRelationId_, currentActorId_  ids of the current nodes
//            PendingArgs(), Links()          the tables the links are built in (vectors of ids
//                                            and of {from, to})
//            TopContext(), OpenContext(), CloseContext()  the open graph contexts (records with
//                                            GraphIndex, GraphKind, LinkBase, ArgBase,
//                                            SavedConceptId, SavedRelationId)
//            bool AddLabelArgument()         a bound label as an argument; false stops reading
//            ElementCutShort(int)            the input ended inside that relation or actor (it
//                                            is left out without a message)
//            ClearPendingPosition(), NoteWriterPosition(Char terminator),
//            TakeTitlePosition(const String&), PlaceNodeComment(int), PlaceNegation(int),
//            AddStandaloneComment()          positions and comment nodes
//            SplitGraphTitle(const String&), ClearGraphTitle(), AddNestedGraphNode() (its id)
//            SetNodeKind(int, kind), NameContainer(int container, int graph), IdAt(int)
//            bool NamesEarlierGraph(int), ReadGraphReference(int container, int graph)
//            bool HandOnNestedGraph(context)  a finished nested graph with arcs leaves the
//                                            table; false stops reading
//   bindings: FindExternalIndex(label, graph&), FindCurrentIndex(label, start, graph&),
//            IndexOfId(id)                   lookups as indexes, -1 when absent
//            SetNodeName(int, label), MarkCoreferent(int), BindToEarlierGraph(label),
//            LinkNodeMissing()               what a binding records, and its one message
//            NoteBoundLabelTarget(label)     a bound label is about to name the last node
//            bool TableGone(), bool BindingFailed()  called in a catch block: true when the
//                                            exception is handled (shown), false to pass it on
//   graphs:  BeginGraph(), AddTopGraphNode(), HandOnGraph()  one top-level graph's tables
//            bool GraphFailed()              called in a catch block, as BindingFailed
//            bool KeepReadingBetweenGraphs()  asked before each graph after the first
//            NoteProgress()                  after each element of a top-level graph (pos_ has
//                                            moved on: a long line is read element by element)
//
// Text names the character type (Char), the view a title is returned in (String), the
// type a coreference label is looked up by (Label), and how a character's code is read
// (static unsigned Code(Char)).
#include "cgif/grammar/CharClass.h"

#include <cstddef>
#include <utility>

namespace zov::cgif::grammar {

// Index of the last element, -1 for an empty table.
template <typename Table>
int UpperBound(const Table& table) {
    return static_cast<int>(table.size()) - 1;
}

// Cuts a table back so that its upper bound is `upperBound` (-1 empties it); never lengthens it.
template <typename Table>
void CutBack(Table& table, int upperBound) {
    const auto size = static_cast<std::size_t>(upperBound < 0 ? 0 : upperBound + 1);
    if (size < table.size())
        table.resize(size);
}

template <typename Model, typename Text>
class Grammar {
public:
    using Char = typename Text::Char;
    using String = typename Text::String;
    using Label = typename Text::Label;

    // --- scanner ------------------------------------------------------------------------
    // Each consumes one lexical item from the front of the current line (and the blanks after
    // it) and fetches further lines when the line is used up. Every routine returns a flag and
    // takes the flag it returns when its item is absent.
    bool MatchChar(Char c, bool defaultResult) {
        if (LineEmpty() && !FetchLine())
            return false;
        if (Front() != c)
            return defaultResult;
        ++pos_;
        SkipSpaces();
        return true;
    }
    bool ReadIdentifier(bool optional);
    bool ReadNumber(bool optional);
    // The text up to (not including) `terminator` into the token, over line ends if need be
    // (each line end becomes CR LF); the terminator stays at the front. False when the input
    // ends first.
    bool ReadUntil(Char terminator);
    // The comment text is in the token. A title "%title%" at its start is taken out and
    // returned; the rest goes back in front of the line as a comment of its own. With `keep`
    // it goes back complete (its closing ";" was consumed); without, the closing ";" or other
    // terminator is still at the front of the line, so only ";" and the text go back (an
    // empty comment still leaves its ";").
    String ExtractTitle(bool keep);

    // --- referents: what follows the ":" of a concept ------------------------------------
    bool ReadReferent();
    bool ReadCorefLinks(bool optional);
    bool ReadDefiningLabel(bool optional);
    bool ReadBoundLabel();
    bool ReadBoundLabels(bool optional);
    bool ReadDescriptor();
    bool ReadQuantifier(bool optional);
    bool ReadDesignator();
    bool ReadCollection(bool optional);
    bool ReadCollectionElements(Char terminator);
    bool ReadLiteral(bool optional);
    bool ReadLocator(bool optional);

    // --- graph elements -----------------------------------------------------------------
    bool ReadElement(bool defaultResult, bool allowComment);
    bool ReadConcept(bool optional);
    bool ReadRelation();
    bool ReadActor();
    bool ReadNegation(bool optional);
    bool ReadComment(bool defaultResult, bool addNode);
    bool ReadPositionComment(Char terminator, bool optional);
    bool ReadArguments();
    bool ReadNestedGraph(bool optional);
    bool LinkRelationArguments();

    // --- bindings and graphs ------------------------------------------------------------
    // Binds a bound label read in a concept (the last node of the table).
    bool ResolveBoundLabel(const Label& label);
    // Reads one top-level graph and hands it on. False when an error stopped the reading (the
    // model has shown it).
    bool ReadGraph();

    // Graphs nested deeper than this stop the reading with error 3001 "Graphs nested too
    // deeply", so that no input can exhaust the stack.
    static constexpr int MaxNestingDepth = 200;

protected:
    Grammar() = default;

    bool LineEmpty() const { return pos_ >= Self().LineEnd(); }
    Char Front() const { return Self().LineData()[pos_]; }
    void SkipSpaces() {
        const Char* data = Self().LineData();
        const std::ptrdiff_t end = Self().LineEnd();
        while (pos_ < end && data[pos_] == Char(u' '))
            ++pos_;
    }
    // True when the current line has something to read. Gives up at the end of the input; only
    // a call that finds the input already exhausted sets atEnd_.
    bool FetchLine();
    // Puts `text` back in front of the saved rest of a line: nothing when `asComment` is false,
    // else ";" + text, followed by ";" when `closed`.
    template <typename Saved>
    void RebuildLine(const Char* text, std::ptrdiff_t size, bool asComment, bool closed, Saved&& saved);

    void LinkPendingArgs(bool fromActor);
    // Every top-level graph of the input, separated by ".": true when the whole input was read.
    bool ReadGraphs();

    std::ptrdiff_t pos_ = 0;           // the unread rest of the current line starts here
    bool atEnd_ = false;               // set once the input was found exhausted
    bool positionOnlyComment_ = false; // the last node comment was the writer's "x@y"
    int nestingDepth_ = 0;

private:
    Model& Self() { return static_cast<Model&>(*this); }
    const Model& Self() const { return static_cast<const Model&>(*this); }
    static bool IsDigit(Char c) { return charclass::IsDigit(Text::Code(c)); }
};

} // namespace zov::cgif::grammar
