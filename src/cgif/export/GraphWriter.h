#pragma once
// Writes the graphs of a presentation as CGIF text: one graph per slide that holds nodes, in
// slide order, each element copied straight from its shapes. Node positions travel in comments
// ";left@top;" and coreference in the labels kept in shape names.
//
// Beyond the fixed text forms, the output is made to read back as the same graphs: a concept
// without a coreference label that is referred to again gets a made-up label (see FreshLabels)
// in the text only, and a concept record that an arc of the same graph has already written
// writes nothing more.
#include "cgif/export/FreshLabels.h"
#include "cgif/export/SlideScan.h"
#include "host/Presentation.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace zov::cgif::exporter {

class GraphWriter {
public:
    GraphWriter(host::Presentation presentation, platform::MessageBoxes& messages);

    // Writes every slide that has nodes. True when at least one graph was written; false when
    // none was or a host error stopped the export (what was written stays in the stream).
    bool WriteGraphs(platform::TextStream& out);

    // Writes the records of the last scan. False when a relation or actor without out-arc
    // ended the slide early (after its message box).
    bool WriteGraphBody(platform::TextStream& out);
    // One concept in full, or "?" and its label when it has been written before.
    void WriteConcept(const host::Shape& shape, platform::TextStream& out);
    void WriteLabel(const host::Shape& shape, platform::TextStream& out);
    void WritePosition(const host::Shape& shape, platform::TextStream& out);
    void WriteComment(const QString& text, platform::TextStream& out);

    // The concepts written in full so far, by name. The export empties it before the first
    // graph; it is not emptied between graphs.
    void ClearWrittenConcepts();
    const std::vector<host::Shape>& WrittenConcepts() const { return written_; }
    bool IsWritten(const QString& name) const { return writtenNames_.contains(name); }

    SlideScan& Scan() { return scan_; }
    const SlideScan& Scan() const { return scan_; }

    // Why the first slide written whose title the 2001 title comment ";%TYPE*NAME%;" cannot
    // hold as it is reads back under another name or type (a ";", "%" or line break in either,
    // a "*" in the type, blanks at either end, no name): "" when there was none.
    const QString& FirstTitleNotKept() const { return firstTitleNotKept_; }

    // The type part of a graph title "name is type"; "Graph" when the text has no " is ".
    static QString TitleType(const QString& titleText);
    // The text of a slide's first shape, its title label; a host error naming the shape when it
    // has no text (a connector, a picture, a table put first on the slide).
    static QString TitleText(const host::Slide& slide);

private:
    bool writeAllSlides(platform::TextStream& out);
    // "type*name" for a title comment, noting the first that will not read back as it is.
    QString titleText(const QString& type, const QString& name);
    // One argument of a relation or actor: the concept, remembered as written by an arc.
    void writeArc(const host::Shape& shape, platform::TextStream& out);
    void markWritten(const host::Shape& shape);
    QString referenceLabel(const QString& name);
    void writeCoreferentConcept(const host::Shape& shape, platform::TextStream& out);
    void reportMissingOutArcs(const host::Shape& node);
    // A concept with an arc into a pentagon that names another slide's graph (as the import
    // draws a concept whose referent is a nested graph) is written with that graph as its
    // referent: an empty nested graph titled like the slide, the pentagon's position after it.
    void findGraphReferences();
    // The labels a graph written after this slide may refer to: its name and its concepts'.
    void noteDefinedLabels(const host::Slide& slide);
    QString graphType(const QString& graphName) const;
    void writeGraphReference(const host::Shape& container, const host::Shape& pentagon, platform::TextStream& out);
    // Pentagons that no arc touches, written as coreferent concepts at the end of the graph.
    void writeUnlinkedPentagons(platform::TextStream& out);

    host::Presentation presentation_;
    platform::MessageBoxes& messages_;
    SlideScan scan_;

    std::vector<host::Shape> written_;
    QSet<QString> writtenNames_;
    QSet<QString> arcsOfThisGraph_;
    QSet<QString> writtenThisGraph_; // names written in full on this slide
    QSet<QString> earlierLabels_;    // labels defined by the slides written so far
    std::size_t madeUpNoted_ = 0;    // how many of madeUpLabels_ (oldest first) are in earlierLabels_
    QHash<QString, host::Shape> graphReferences_; // concept name -> the graph pentagon it holds // names written as a relation's or actor's argument on this slide

    // Concepts without a label that are written again; found by a silent first pass.
    QSet<QString> referredAgain_;
    MadeUpLabels madeUpLabels_;
    bool silent_ = false; // the first pass: no message boxes, no output
    QString firstTitleNotKept_; // the reason, for the export's read-back box
};

} // namespace zov::cgif::exporter
