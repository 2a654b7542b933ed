#pragma once
// The CGIF reader: a recursive-descent parser with no syntax tree. It fills the node, link and
// context tables of one top-level graph at a time and hands every finished graph (nested
// graphs with arcs first) to a GraphSink. The editing commands use the same object as their
// parse buffer: set the current line to "[Cat]" and call ReadConcept.
//
// Every grammar routine returns a flag and takes the flag it returns when its item is absent.
// Grammar errors are thrown as ParseError with " (at " + the unread rest of the line + ")".
#include "cgif/reader/GraphModel.h"
#include "cgif/reader/GraphSink.h"
#include "cgif/reader/ParseError.h"

#include <QString>
#include <functional>

namespace zov::drawing {
class NodeIdGenerator;
}
namespace zov::platform {
class MessageBoxes;
class TextStream;
} // namespace zov::platform

namespace zov::cgif {

class CgifReader {
public:
    CgifReader(drawing::NodeIdGenerator& ids, platform::MessageBoxes& messages, GraphSink& sink);

    // --- tables and state ---------------------------------------------------------------
    ReaderTables& Tables() { return tables_; }
    const ReaderTables& Tables() const { return tables_; }
    void SetSink(GraphSink& sink) { sink_ = &sink; }
    // The palette text a title without "*" takes its graph name from.
    void SetPaletteTextSource(std::function<QString()> source) { paletteText_ = std::move(source); }

    QString CurrentLine() const { return line_.mid(pos_); }
    void SetCurrentLine(const QString& text);
    const QString& Token() const { return token_; }
    void SetToken(const QString& text) { token_ = text; }
    bool AtEnd() const { return atEnd_; }
    void SetAtEnd(bool atEnd) { atEnd_ = atEnd; }
    int GraphCounter() const { return graphCounter_; }
    void SetGraphCounter(int value) { graphCounter_ = value; }
    float PendingX() const { return pendingX_; }
    float PendingY() const { return pendingY_; }
    const QString& CurrentConceptId() const { return currentConceptId_; }
    const QString& CurrentRelationId() const { return currentRelationId_; }
    const QString& CurrentActorId() const { return currentActorId_; }
    const QString& GraphTitleName() const { return graphTitleName_; }
    const QString& GraphTitleType() const { return graphTitleType_; }
    void SetGraphTitle(const QString& name, const QString& type);
    // Nested graphs deeper than this raise ParseError NestingTooDeep.
    static constexpr int MaxNestingDepth = 200;

    // --- records ------------------------------------------------------------------------
    void AddNode(const NodeRecord& record);
    void KeepInAllBindings(int index);
    void ClearReaderTables();
    void AddCommentNode();
    bool AddGraphNode(NodeRecord& record, const QString& type, const QString& name);
    void SplitGraphTitle(const QString& title); // sets GraphTitleName/GraphTitleType

    // --- scanner ------------------------------------------------------------------------
    bool MatchChar(QChar c, bool defaultResult);
    bool ReadIdentifier(bool optional);
    bool ReadNumber(bool optional);
    bool ReadUntil(QChar terminator);
    QString ExtractTitle(bool keep);
    [[noreturn]] void ReportParseError(int number, const QString& message);

    // --- referents ----------------------------------------------------------------------
    bool ReadReferent();
    bool ReadCorefLinks(bool optional);
    bool ReadDefiningLabel(bool optional);
    bool ReadBoundLabel();
    bool ReadBoundLabels(bool optional);
    bool ReadDescriptor();
    bool ReadQuantifier(bool optional);
    bool ReadDesignator();
    bool ReadCollection(bool optional);
    bool ReadCollectionElements(QChar terminator);
    bool ReadLiteral(bool optional);
    bool ReadLocator(bool optional);

    // --- graph elements -----------------------------------------------------------------
    bool ReadElement(bool defaultResult, bool allowComment);
    bool ReadConcept(bool optional);
    bool ReadRelation();
    bool ReadActor();
    bool ReadNegation(bool optional);
    bool ReadComment(bool defaultResult, bool addNode);
    bool ReadPositionComment(QChar terminator, bool optional);
    bool ReadArguments();
    bool ReadNestedGraph(bool optional);
    bool LinkRelationArguments();

    // --- coreference lookups ------------------------------------------------------------
    // Throw ParseError 2001 / 2002 (raw messages) when the label is not found.
    void FindCurrentCoreference(const QString& label, int startIndex, NodeRecord& definingNode,
                                NodeRecord& graphNode) const;
    void FindExternalCoreference(const QString& label, NodeRecord& definingNode, NodeRecord& graphNode) const;
    // Shows "Link node not in bound array" and leaves the outputs unchanged when absent.
    bool FindNodeById(const QString& id, NodeRecord& node, int& index) const;
    bool ResolveBoundLabel(const QString& label);

    // --- graphs and files ---------------------------------------------------------------
    // Reads every graph of the stream. False when a parse error stopped the reading (it has
    // been shown). A failure while a graph's title comment is read is thrown to the caller.
    bool ReadCgifStream(platform::TextStream& stream);
    bool ReadGraph();

private:
    bool LineEmpty() const { return pos_ >= line_.size(); }
    QChar Front() const { return line_[pos_]; }
    void SkipSpaces();
    bool FetchLine();
    NodeRecord& LastNode();
    ContextRecord& TopContext();
    void PlaceNodeComment(int nodeIndex);
    void ShowError(const QString& text) const;
    void RebuildLine(const QString& prefix, QString savedLine, qsizetype savedPos);
    void LinkPendingArgs(bool fromActor, const QString& actorId);

    drawing::NodeIdGenerator& ids_;
    platform::MessageBoxes& messages_;
    GraphSink* sink_;
    std::function<QString()> paletteText_;
    ReaderTables tables_;

    platform::TextStream* input_ = nullptr;
    QString line_;        // CurrentLine is line_ from pos_ on: consuming moves pos_ only
    qsizetype pos_ = 0;
    QString token_;
    bool atEnd_ = false;
    int graphCounter_ = 1;
    float pendingX_ = 0;
    float pendingY_ = 0;
    bool positionOnlyComment_ = false; // the last node comment was the writer's "x@y"
    QString currentConceptId_;
    QString currentRelationId_;
    QString currentActorId_;
    QString graphTitleName_;
    QString graphTitleType_;
    int nestingDepth_ = 0;
};

} // namespace zov::cgif
