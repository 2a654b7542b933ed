#pragma once
// Writes the graphs of a presentation as ISO CGIF (ISO/IEC 24707 Annex B), from the same slide
// scan as the 2001 writer. Every slide with nodes is one graph; a slide whose graph a concept
// holds (the concept's arc into a pentagon named after the slide, as the import draws a nested
// graph) or a negation holds (an oval "Neg" into a pentagon "Proposition (NAME)") is written
// inside that concept or negation as a context and not again on its own.
//
// Forms: concept [Type: *label referent], coreferent concept [Type: ?label], relation
// (Type arg ... out), actor (Type in ... | out ...), negation ~[ ... ], comment /* text */; an
// argument is the concept itself at its first use and its bound label ?label later, so a concept
// without a label that is used again gets a made-up one (FreshLabels), in the text only.
// What the dialect has no syntax for travels in comments (IsoText.h): each node's position as
// the node's leading comment, each graph's slide name and type as the graph's first element.
// Top-level graphs are separated by a line "." as in the 2001 dialect, so that each comes back
// on a slide of its own.
#include "cgif/export/FreshLabels.h"
#include "cgif/export/SlideScan.h"
#include "host/Presentation.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zov::cgif::exporter {

class IsoGraphWriter {
public:
    IsoGraphWriter(host::Presentation presentation, platform::MessageBoxes& messages);

    // Writes every graph. True when at least one graph was written; false when none was or a
    // host error stopped the export (after a message naming the slide; the graphs completed
    // before it stay in the stream).
    bool WriteGraphs(platform::TextStream& out);

private:
    struct Graph {
        QString name;
        QString type;
        std::vector<NodeArcs> records;
        std::vector<host::Shape> pentagons;
        bool empty = false; // no nodes: written only inside a negation
        bool written = false;
    };
    // A graph held by a concept or a negation of another graph, and the pentagon drawn for it.
    struct Holding {
        int graph = -1;
        host::Shape pentagon;
    };

    // Scans every slide; a host error keeps the slides before it and is remembered.
    void scanSlides();
    void findHoldings();
    int graphNamed(const QString& name) const;

    QString writeGraph(int index, bool topLevel);
    void findLabelsNeeded(const Graph& graph);
    QString relationText(const NodeArcs& record);
    QString actorText(const NodeArcs& record);
    QString negationText(const NodeArcs& record, const Holding& holding);
    QString argumentText(const host::Shape& shape);
    QString conceptText(const host::Shape& shape);
    // A pentagon as a concept that refers to its label ("?"), or defines it ("*").
    QString coreferentText(const host::Shape& shape, QChar sigil = u'?');
    QString nestedGraphText(const Holding& holding, bool negated = false);
    QString definingLabel(const QString& name);
    // The graphs a record of a graph writes inside itself: a negation's graph, and the graphs of
    // the concepts among its node and arcs that hold one.
    std::vector<int> graphsHeldBy(const NodeArcs& record) const;
    // The names of the concepts of a graph and of every graph written inside it, and the labels
    // those concepts carry.
    void collectConcepts(int graph, QSet<QString>& names, QSet<QString>& labels, QSet<int>& visited) const;
    // The concepts and pentagons of the graph that the graphs it holds share (the same shape, or
    // the same coreference label on a concept inside): written first, as elements of their own,
    // defining their labels in the graph around those graphs, which refer to them.
    void writeSharedConcepts(const Graph& graph, QStringList& elements);
    // The concept of the graph whose label a pentagon of the same graph refers to ("[Cat: *x]
    // (Near [Animal: ?x] [Dog])" as imported), when it is the only one with that label: written
    // first too, as an element of its own, since ISO CGIF binds a reference to a concept of its
    // own graph only after the definition.
    void writeConceptsReferredHere(const Graph& graph, QStringList& elements);
    // A pentagon written as the concept that defines its label ("Cat(Cat in G4)": [Cat: *x]).
    QString definingPentagonText(const host::Shape& pentagon);
    // The holding of a record's container concept or negation, when its graph can be written
    // inside it now (not written yet and not one of the graphs being written around it).
    std::optional<Holding> holdingToWrite(const QHash<QString, Holding>& holdings, const QString& name) const;
    void reportMissingOutArcs(const host::Shape& node);

    host::Presentation presentation_;
    platform::MessageBoxes& messages_;
    SlideScan scan_;

    std::vector<Graph> graphs_;
    QString failedSlide_; // the slide a host error stopped the scan at, with the reason
    QString failure_;
    QHash<QString, Holding> heldByConcept_;  // concept shape name -> the graph it holds
    QHash<QString, Holding> heldByNegation_; // "Neg" oval shape name -> the graph it negates
    QSet<int> heldGraphs_;
    std::vector<int> writing_; // graphs being written, outermost first

    // State of the graph being written (saved around a nested graph).
    QSet<QString> writtenHere_;   // concepts written in full in this graph or a graph around it
    QSet<QString> conceptsHere_;  // the concepts of the graph being written
    QSet<QString> definedAround_; // labels the graphs around this one defined ahead of it: referred to here
    QSet<QString> definedHere_;   // labels this graph defined ahead of the graphs it holds
    QSet<QString> labelsNeeded_;  // unlabelled concepts referred to again in this graph
    QSet<QString> relabelled_;    // labelled concepts written with a label of their own here
    QSet<QString> negatedHere_;   // names of the graphs this graph's negations hold
    MadeUpLabels madeUpLabels_;
};

} // namespace zov::cgif::exporter
