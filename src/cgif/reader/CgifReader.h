#pragma once
// The CGIF reader: a recursive-descent parser with no syntax tree. While it reads one top-level
// graph it fills the node, link and context tables of ReaderTables, and it hands every finished
// graph to a GraphSink: each nested graph that has arcs the moment it closes, then the top-level
// graph when it ends. The tables keep the last graph read until the next one; the editing
// commands use the same object as their parse buffer and node table (set the current line to
// "[Cat]", clear AtEnd and call ReadConcept; the node table rebuild refills the tables with
// ClearReaderTables, AddNode and AddLink).
//
// The grammar routines (scanner, referents, elements, bindings, graphs) are the grammar's in
// cgif/grammar, written once and shared with the quick checker; this class is their model for
// QString lines: it fetches lines from a TextStream, keeps its token in a string of its own and
// the texts of records as RecordTexts cut from its pool, draws node ids, hands graphs to the
// sink and shows messages. Every grammar routine returns a flag and takes the flag it returns
// when its item is absent. Grammar errors are thrown as ParseError whose message ends in
// " (at " + the unread rest of the current line + ")"; the coreference errors 2001 and 2002
// carry their message raw. Errors are caught where the grammar says (ReadGraph shows them and
// stops); whatever escapes ReadCgifStream (a failure while a graph's title comment is read) is
// the caller's to show.
//
// All state lives in this object (one per editor session); nothing is shared between readers.
#include "cgif/grammar/Grammar.h"
#include "cgif/reader/EarlierGraphs.h"
#include "cgif/reader/GraphModel.h"
#include "cgif/reader/GraphSink.h"
#include "cgif/reader/LookupIndex.h"
#include "cgif/reader/ParseError.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <optional>
#include <string>

namespace zov::drawing {
class NodeIdGenerator;
}
namespace zov::platform {
class MessageBoxes;
class TextStream;
} // namespace zov::platform

namespace zov::cgif {

// How the grammar reads this reader's text: UTF-16 code units of QStrings.
struct ReaderText {
    using Char = QChar;
    using String = QStringView;
    using Label = RecordText;
    static constexpr unsigned Code(QChar c) { return c.unicode(); }
};

class CgifReader : public grammar::Grammar<CgifReader, ReaderText> {
    friend class grammar::Grammar<CgifReader, ReaderText>;

public:
    // `ids` makes the eight-letter node ids, `messages` shows the boxes the reader shows itself
    // (title "Error", critical icon), `sink` receives every finished graph.
    CgifReader(drawing::NodeIdGenerator& ids, platform::MessageBoxes& messages, GraphSink& sink);

    // --- tables and state ---------------------------------------------------------------
    // The tables are plain 0-based vectors. Callers may read them at any time and change them
    // between readings (the editor does); while ReadCgifStream runs, only the reader changes
    // them (a sink reads them and must not change them).
    ReaderTables& Tables() { return tables_; }
    const ReaderTables& Tables() const { return tables_; }
    void SetSink(GraphSink& sink) { sink_ = &sink; }
    // What another dialect's reader needs to fill these tables as this reader does: the sink,
    // the node ids, the message boxes, and the keep-reading check between graphs.
    GraphSink& Sink() const { return *sink_; }
    drawing::NodeIdGenerator& Ids() const { return ids_; }
    platform::MessageBoxes& Messages() const { return messages_; }
    bool KeepReadingAfterGraph() const { return !stopAsked_ && (!keepReading_ || keepReading_()); }
    // A reading starts: not stopped, and no stop asked for.
    void BeginReading() {
        stoppedBetweenGraphs_ = false;
        stopAsked_ = false;
    }
    void SetStoppedBetweenGraphs(bool stopped) { stoppedBetweenGraphs_ = stopped; }
    // While one lives, another dialect's reader fills the tables with the lookup indexes in use,
    // as ReadCgifStream does: the reader's lookups and IndexedNodeId answer from indexes kept in
    // step with the tables, so that a large graph, or one with many nested graphs, is read and
    // drawn in linear time. Meanwhile every change of the tables goes through AddNode,
    // KeepInAllBindings, AddToAllBindings, SetNodeName, SetNodeKind and CutBoundArray.
    class IndexedReading {
    public:
        explicit IndexedReading(CgifReader& reader) : reader_(reader) {
            reader_.ResetIndexes();
            reader_.reading_ = true;
        }
        ~IndexedReading() {
            reader_.reading_ = false;
            try {
                reader_.ResetIndexes();
            } catch (...) {
                // the indexes are rebuilt from the start by the next reading
            }
        }
        IndexedReading(const IndexedReading&) = delete;
        IndexedReading& operator=(const IndexedReading&) = delete;

    private:
        CgifReader& reader_;
    };
    // A top-level graph the sink could not draw is told in an error box with OK and Cancel:
    // Cancel stops the reading before the next graph, as the keep-reading check does (a file
    // imported twice would otherwise ask once for every graph in it).
    void GraphNotDrawn(const QString& text);
    // The palette text that a title without "*" takes its graph name from.
    void SetPaletteTextSource(std::function<QString()> source) { paletteText_ = std::move(source); }
    // Tells which names a generated graph name ("G" + number) must not take, for example the
    // names of slides already in the presentation; AddGraphNode skips those numbers.
    void SetGraphNameTaken(std::function<bool(const QString&)> taken) { graphNameTaken_ = std::move(taken); }
    // Asked before each top-level graph after the first: false ends the reading there, between
    // two graphs (ReadCgifStream returns false and shows nothing; StoppedBetweenGraphs tells).
    // Empty: the reading always goes on.
    void SetKeepReading(std::function<bool()> keepReading) { keepReading_ = std::move(keepReading); }
    // True when the last ReadCgifStream ended because the keep-reading check said no.
    bool StoppedBetweenGraphs() const { return stoppedBetweenGraphs_; }
    // Told, now and then while a top-level graph is read, how far into the current line the
    // reading has got (characters), so that a file of one long line shows progress too.
    // Empty: nobody asks.
    void SetPositionInLine(std::function<void(qsizetype)> told) { positionInLine_ = std::move(told); }
    static constexpr unsigned ProgressEvery = 1024; // elements between two tellings (a power of two)

    // The input lines are fetched from. ReadCgifStream sets it and forgets it when it returns;
    // callers that drive the scanner themselves may set it (nullptr: nothing to fetch).
    void SetInputStream(platform::TextStream* stream) { input_ = stream; }
    // The unread rest of the current line.
    QString CurrentLine() const { return line_.mid(pos_); }
    void SetCurrentLine(const QString& text);
    // The text of the last token read.
    QString Token() const { return TokenView().toString(); }
    void SetToken(const QString& text) { token_.assign(QStringView(text).utf16(), static_cast<std::size_t>(text.size())); }
    // Set once the reader has found the input exhausted.
    bool AtEnd() const { return atEnd_; }
    void SetAtEnd(bool atEnd) { atEnd_ = atEnd; }
    // Number of the next graph node; the editor sets it to 1 when it starts. Never reset here.
    int GraphCounter() const { return graphCounter_; }
    void SetGraphCounter(int value) { graphCounter_ = value; }
    // Position taken from the last node comment read.
    float PendingX() const { return pendingX_; }
    float PendingY() const { return pendingY_; }
    const NodeId& CurrentConceptId() const { return currentConceptId_; }
    const NodeId& CurrentRelationId() const { return currentRelationId_; }
    const NodeId& CurrentActorId() const { return currentActorId_; }
    // Name and type of the last graph title split (or of the last nested graph opened).
    const RecordText& GraphTitleName() const { return graphTitleName_; }
    const RecordText& GraphTitleType() const { return graphTitleType_; }
    void SetGraphTitle(const RecordText& name, const RecordText& type);
    // A text as the records this reader reads keep it: cut from the reader's pool, so that
    // keeping it allocates nothing of its own.
    RecordText PooledText(QStringView text) { return texts_.Make(text); }
    // The slide name of a graph node (WriteSlideName) in a buffer of the reader's, written over
    // by the next call: handing a graph on allocates nothing for its name.
    const QString& SlideNameOf(const NodeRecord& graph);

    // MaxNestingDepth (from the grammar): graphs nested deeper stop the reading with ParseError
    // 3001 "Graphs nested too deeply", so that no input can exhaust the stack.
    // While a stream is read, lookups in a table with more nodes than this use hash indexes
    // instead of scanning (same answers, linear reading of large graphs). 0 always indexes,
    // INT_MAX never does; for tests and measurements.
    void SetLookupIndexThreshold(int nodes) { indexThreshold_ = nodes; }

    // --- records ------------------------------------------------------------------------
    void AddNode(const NodeRecord& record);          // appends a copy to the BoundArray
    void AddNode(NodeRecord&& record);
    void AddLink(const LinkRecord& link);            // appends a copy to Links
    void KeepInAllBindings(int index);               // appends a copy of BoundArray(index)
    void AddToAllBindings(const NodeRecord& record); // appends a copy of `record`
    // Every change of a node's Name or Kind and every cut of the BoundArray goes through these,
    // so that the lookup indexes stay in step.
    void SetNodeName(int index, const RecordText& name);
    void SetNodeKind(int index, std::int16_t kind);
    void CutBoundArray(int upperBound);
    void ClearReaderTables();                        // empties all tables but Contexts
    void AddCommentNode();                           // comment node: Token at (PendingX, PendingY)
    // Appends a graph node named `name` (or "G" + GraphCounter) typed `type` (or "Graph"),
    // returns it in `record`, and counts the graph. Always true.
    bool AddGraphNode(NodeRecord& record, const RecordText& type, const RecordText& name);
    // Splits a title "type*name" into GraphTitleType and GraphTitleName (without "*": the name
    // is the palette text and the type "Graph"). Only blanks are trimmed.
    void SplitGraphTitle(QStringView title);

    // --- scanner ------------------------------------------------------------------------
    // MatchChar, ReadIdentifier, ReadNumber, ReadUntil and ExtractTitle come from the grammar.
    [[noreturn]] void ReportParseError(int number, const QString& message);

    // --- referents ----------------------------------------------------------------------
    // ReadReferent, ReadCorefLinks, ReadDefiningLabel, ReadBoundLabel(s), ReadDescriptor,
    // ReadQuantifier, ReadDesignator, ReadCollection(Elements), ReadLiteral and ReadLocator come
    // from the grammar. Each form's text, punctuation included, goes into the Referent of the
    // last node of the BoundArray; coreference labels go into its Name.

    // --- graph elements -----------------------------------------------------------------
    // ReadElement, ReadConcept, ReadRelation, ReadActor, ReadNegation, ReadComment,
    // ReadPositionComment, ReadArguments, ReadNestedGraph and LinkRelationArguments come from
    // the grammar.

    // --- coreference lookups ------------------------------------------------------------
    // The nearest node at or below `startIndex` of the BoundArray named `label`, and the
    // nearest graph node at or before it (`graphNode` unchanged when there is none). Throws
    // ParseError 2001 "Current coreference not found for: " + label (raw) when none matches.
    void FindCurrentCoreference(const RecordText& label, int startIndex, NodeRecord& definingNode,
                                NodeRecord& graphNode) const;
    // The same over AllBindings from its last node down. Throws ParseError 2002 "Graph not
    // found for: " + label (raw) when no node matches or the match has no graph node before it.
    void FindExternalCoreference(const RecordText& label, NodeRecord& definingNode, NodeRecord& graphNode) const;
    // The same two lookups without a throw: false where they throw (the outputs may have been
    // written then, as the throwing ones write them). For the sinks, which try one lookup after
    // another for every reference they draw.
    bool TryFindCurrentCoreference(const RecordText& label, int startIndex, NodeRecord& definingNode,
                                   NodeRecord& graphNode) const;
    bool TryFindExternalCoreference(const RecordText& label, NodeRecord& definingNode, NodeRecord& graphNode) const;
    // The same over the graphs read before this one from the same file, and the graphs the sink
    // already holds (see EarlierGraphs): false when none has the label.
    bool FindEarlierCoreference(QStringView label, NodeRecord& definingNode, NodeRecord& graphNode) const {
        return earlier_.Find(label, definingNode, graphNode);
    }
    // The first BoundArray node with that id and its index. When there is none it shows "Link
    // node not in bound array", leaves the outputs unchanged and returns false.
    bool FindNodeById(const NodeId& id, NodeRecord& node, int& index) const;
    bool FindNodeById(const QString& id, NodeRecord& node, int& index) const {
        return FindNodeById(NodeId(id), node, index);
    }
    // While a stream is read and the BoundArray is large: the first index holding `id` (-1
    // when none), quietly, from the reader's own lookup index, so that a sink looking up the
    // ids of a large graph needs no index of its own. Otherwise (between readings, a small
    // table, an empty id) nullopt: the caller searches itself.
    std::optional<int> IndexedNodeId(const NodeId& id) const;
    // Starts fetching what IndexedNodeId(id) will read, for a sink that knows the ids it will
    // look up next.
    void PrefetchNodeId(const NodeId& id) const;
    // The first bound label of the last ReadCgifStream that was defined neither in its graph nor
    // in an earlier one, and so was left unbound without a message ("" when there was none): a
    // text the export wrote is not read back whole when it has one.
    const QString& FirstUnboundLabel() const { return firstUnboundLabel_; }
    // Whether a concept of the same graph defines that label before it: a reference to a concept
    // of its own graph, which the 2001 dialect leaves unbound (ISO CGIF binds it).
    bool FirstUnboundLabelInItsGraph() const { return firstUnboundInItsGraph_; }
    // The ISO reader binds its labels its own way (a label may still be bound when its context
    // closes) and says which it left unbound.
    void SetFirstUnboundLabel(QString label) {
        firstUnboundLabel_ = std::move(label);
        firstUnboundInItsGraph_ = false;
    }
    // The first bound label of the last ReadCgifStream that named a node other than a concept:
    // one written after a referent ("[Cat: 'Tom' ?x]") names the empty graph node that the
    // referent's descriptor appended, so the concept is left without its coreference, without a
    // message ("" when there was none).
    const QString& FirstLabelOffConcept() const { return firstLabelOffConcept_; }
    // The first defining label of the last ReadCgifStream that a later label of the same concept
    // replaced ("[Mat: *m *x1]" keeps only x1), and the label that replaced it, without a message
    // (both "" when there was none).
    // The relation or actor the input of the last ReadCgifStream ended inside, which was left
    // out without a message: "the relation On", "a relation" when it ended before the type
    // ("" when there was none).
    const QString& ElementCutShortAtEnd() const { return elementCutShort_; }
    const QString& FirstLabelReplaced() const { return firstLabelReplaced_; }
    const QString& FirstLabelReplacing() const { return firstLabelReplacing_; }
    // The first line of the last ReadCgifStream that continued a quoted text, comment or title
    // and lost the blanks it began with (the dialect drops them without a message), from its
    // first character that is no blank (nothing when there was none).
    const std::optional<QString>& FirstIndentDropped() const { return firstIndentDropped_; }
    // The text the last ReadCgifStream left unread after its last graph, from the character
    // that ended the reading to the end of its line, and when that line holds nothing one can
    // see (a tab alone), a line break and the first later line that does ("" when nothing one
    // can see is left: blanks, NULs and Ctrl+Z pad files): text where no element starts ends a
    // file without a message, so a file read "whole" may have lost everything after it.
    const QString& UnreadText() const { return unreadText_; }
    // Where IndexedNodeId answers: true when no two nodes of the BoundArray have had the same
    // id, so that a node is the first with its id without a lookup.
    bool IndexedIdsUnique() const;
    // ResolveBoundLabel (from the grammar) binds a bound label read in a concept (the last node
    // of the BoundArray).

    // --- graphs and files ---------------------------------------------------------------
    // Reads every graph of the stream, handing each to the sink. True when the whole input was
    // read; false when an error stopped the reading (it has been shown). A failure while a
    // graph's title comment is read is thrown (ParseError, or the stream's own exception).
    // The stream stays open; the caller closes it.
    bool ReadCgifStream(platform::TextStream& stream);
    // ReadGraph (from the grammar) reads one top-level graph and hands it to the sink.

private:
    // A nested graph with nothing in it whose title names an earlier graph stands for that
    // graph: the container is joined to a graph node of that name, drawn as the reference.
    void ReadGraphReference(int container, int graphIndex);
    // The id a relation's argument stands for: the container of a graph reference instead of
    // the reference's own graph node (both bear the graph's name).
    const NodeId& ArgumentId(int index) const;
    // --- what the grammar needs of this reader (see cgif/grammar/Grammar.h) ---------------
    const QChar* LineData() const { return line_.constData(); }
    std::ptrdiff_t LineEnd() const { return line_.size(); }
    // Most items end a few characters on: those are looked at in place, and only a longer
    // search (a long comment) calls the string library's.
    std::ptrdiff_t FindInLine(QChar c) const {
        const QChar* data = line_.constData();
        const std::ptrdiff_t size = line_.size();
        const std::ptrdiff_t near = std::min<std::ptrdiff_t>(size, pos_ + 32);
        for (std::ptrdiff_t i = pos_; i < near; ++i)
            if (data[i] == c)
                return i;
        return near >= size ? -1 : line_.indexOf(c, near);
    }
    bool HasInput() const { return input_ != nullptr; }
    bool InputExhausted() const;
    void NextInputLine();
    void DropLine() {
        line_.clear();
        pos_ = 0;
    }
    void AssignToken(const QChar* text, std::ptrdiff_t size) { AssignToken(QStringView(text, size)); }
    void AppendToken(const QChar* text, std::ptrdiff_t size) {
        token_.append(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(size));
    }
    void AppendLineBreak() { token_.append(u"\r\n"); }
    bool TokenEmpty() const { return token_.empty(); }
    const QChar* TokenData() const { return reinterpret_cast<const QChar*>(token_.data()); }
    std::ptrdiff_t TokenSize() const { return static_cast<std::ptrdiff_t>(token_.size()); }
    QStringView TokenView() const { return QStringView(token_.data(), TokenSize()); }
    // A title is copied out of the token into a buffer of its own, written over in place, so
    // that the token's buffer stays unshared and neither allocates.
    QStringView TitleFromToken() {
        title_.resize(0);
        title_.append(TokenView());
        return title_;
    }
    struct SavedLine {
        QString line;
        std::ptrdiff_t pos;
    };
    SavedLine SaveLine() { return {std::move(line_), pos_}; }
    // The token is copied into a line buffer kept for titles; RestoreLine takes the buffer back,
    // so a title costs no allocation.
    void LineFromToken() {
        titleLine_.resize(0);
        titleLine_.append(TokenView());
        line_ = std::move(titleLine_);
        pos_ = 0;
    }
    static std::ptrdiff_t Room(const SavedLine& saved) { return saved.pos; }
    QChar* WritableLine(SavedLine& saved);
    void RestoreLine(SavedLine&& saved, std::ptrdiff_t pos) {
        if (line_.isDetached())
            titleLine_ = std::move(line_);
        line_ = std::move(saved.line);
        pos_ = pos;
    }
    void RebuildWithoutRoom(const QChar* text, std::ptrdiff_t size, bool closed, SavedLine&& saved);
    [[noreturn]] void Fail(int number, const char* message) { ReportParseError(number, QString::fromLatin1(message)); }
    [[noreturn]] void InputPastEnd(QChar terminator);
    void DefineLabel();
    const RecordText& TokenLabel() { return SharedToken(); }
    // The token as a record keeps it: the copy kept of a recent short token, or a copy cut from
    // the reader's pool of record texts.
    const RecordText& SharedToken();
    // A short text (at most MaxSharedTokenSize characters) as records keep it: the copy kept
    // the last time the same text was kept.
    const RecordText& SharedText(QStringView text);
    bool SetQuantifierReferent();
    void SetDesignatorReferent();
    void PrefixToken(QChar c) { token_.insert(token_.begin(), c.unicode()); }
    void WrapToken(QChar open, QChar close) {
        token_.insert(token_.begin(), open.unicode());
        token_.push_back(close.unicode());
    }
    void CountedCollectionToken(QChar open, QChar close);
    static QString NewList() { return {}; }
    void AddToList(QString& list, bool comma) {
        list += TokenView();
        if (comma)
            list += u',';
    }
    void TokenFromList(QString&& list) { SetToken(list); }
    int LastIndex() const { return UpperBound(tables_.BoundArray); }
    int AddElementNode(std::int16_t kind, const RecordText& type);
    int AddConcept();
    int AddRelation();
    int AddActor();
    void ElementCutShort(int index);
    void IndentDropped(const QChar* rest, std::ptrdiff_t size) {
        if (!firstIndentDropped_)
            firstIndentDropped_ = QString(rest, size);
    }
    int AddNegation();
    std::vector<NodeId>& PendingArgs() { return tables_.PendingArgs; }
    LinkTable& Links() { return tables_.Links; }
    bool AddLabelArgument();
    void ClearPendingPosition() {
        pendingX_ = 0;
        pendingY_ = 0;
    }
    void NoteWriterPosition(QChar terminator);
    void TakeTitlePosition(QStringView title);
    void PlaceNodeComment(int nodeIndex);
    void PlaceNegation(int index);
    void AddStandaloneComment();
    void ClearGraphTitle() {
        graphTitleType_.clear();
        graphTitleName_.clear();
    }
    NodeId AddNestedGraphNode();
    void OpenContext();
    ContextRecord CloseContext();
    bool NamesEarlierGraph(int graphIndex) const;
    bool HandOnNestedGraph(const ContextRecord& context);
    void NameContainer(int container, int graphIndex);
    const NodeId& IdAt(int index) const { return tables_.BoundArray[static_cast<std::size_t>(index)].Id; }
    void MarkCoreferent(int index) { SetNodeKind(index, NodeKind::CoreferentConcept); }
    void BindToEarlierGraph(const RecordText& label);
    void NoteBoundLabelTarget(const RecordText& label);
    void LinkNodeMissing() const;
    static bool TableGone();
    bool BindingFailed() const;
    void BeginGraph();
    void AddTopGraphNode();
    void HandOnGraph();
    bool GraphFailed();
    bool KeepReadingBetweenGraphs();
    void NoteProgress() {
        // Every so many elements: a look at the position costs a call, an element far less.
        if (positionInLine_ && (++elementsRead_ & (ProgressEvery - 1)) == 0)
            positionInLine_(pos_);
    }
    static constexpr qsizetype LongLine = 64 * 1024;
    void ReserveForLine(qsizetype characters);
    QString UnreadRest();
    void KeepCurrentLine() noexcept;
    void AssignToken(QStringView text) { token_.assign(text.utf16(), static_cast<std::size_t>(text.size())); }
    void ClearToken() { token_.clear(); }
    NodeRecord& LastNode();
    ContextRecord& TopContext();
    void ShowError(const QString& text) const;
    // The lookups of the public Find routines as indexes, without copies, messages or throws:
    // -1 when absent; `graph` gets the graph node's index (-1 when there is none).
    int FindCurrentIndex(const RecordText& label, int startIndex, int& graph) const;
    int FindExternalIndex(const RecordText& label, int& graph) const;
    int IndexOfId(const NodeId& id) const;
    const BoundArrayIndex* BoundIndex() const;
    const AllBindingsIndex* BindingsIndex() const;
    void ResetIndexes();

    drawing::NodeIdGenerator& ids_;
    platform::MessageBoxes& messages_;
    GraphSink* sink_;
    std::function<QString()> paletteText_;
    std::function<bool(const QString&)> graphNameTaken_;
    bool GeneratedNameTaken(const QString& name) const;
    std::function<bool()> keepReading_;
    std::function<void(qsizetype)> positionInLine_;
    unsigned elementsRead_ = 0;
    bool stoppedBetweenGraphs_ = false;
    bool stopAsked_ = false; // Cancel in a box of GraphNotDrawn
    ReaderTables tables_;
    EarlierGraphs earlier_;                      // filled while a stream is read
    // The concept that a bound label made a reference to an earlier graph's concept; a defining
    // label that follows in the same concept makes it a definition of its own again.
    NodeId earlierReferenceId_;
    QString firstUnboundLabel_; // since ReadCgifStream began; empty: every label was bound
    bool firstUnboundInItsGraph_ = false;
    QString firstLabelOffConcept_; // since ReadCgifStream began; empty: every label named a concept
    QString firstLabelReplaced_;   // since ReadCgifStream began; empty: no concept lost a label
    QString elementCutShort_;      // since ReadCgifStream began; empty: the input ended between elements
    QString firstLabelReplacing_;
    std::optional<QString> firstIndentDropped_; // since ReadCgifStream began
    QString unreadText_;
    int graphsRead_ = 0;                         // top-level graphs of this stream read whole
    QHash<NodeId, NodeId> referenceContainers_; // graph reference node id -> container id

    platform::TextStream* input_ = nullptr;
    QString line_;        // CurrentLine is line_ from pos_ on: consuming moves pos_ only
    // The token is a buffer of the reader's own, written over in place: setting it is a copy of
    // its characters, with no reference count to look at and no call into the string library.
    std::u16string token_;
    QString title_; // the last title taken from the token
    QString titleLine_; // the buffer a title is read from, while it is not the current line
    int graphCounter_ = 1;
    float pendingX_ = 0;
    float pendingY_ = 0;
    NodeId currentConceptId_;
    NodeId currentRelationId_;
    NodeId currentActorId_;
    RecordText graphTitleName_;
    RecordText graphTitleType_;

    RecordTextPool texts_; // where the texts of the records read are cut from
    static constexpr qsizetype MaxSharedTokenSize = 16;
    std::array<RecordText, 256> recentTokens_; // short tokens read recently, by a hash of their text
    RecordText longToken_; // the last long token kept
    QString generatedName_; // the last generated graph name, asked about before it is kept
    QString slideName_;     // the last slide name handed to the sink

    bool reading_ = false; // inside ReadCgifStream: the indexes may be used
    int indexThreshold_ = 48;
    mutable BoundArrayIndex boundIndex_;
    mutable AllBindingsIndex bindingsIndex_;
};

} // namespace zov::cgif
