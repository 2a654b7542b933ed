#pragma once
// Where the reader hands each finished graph: the slide builder draws it, a checking run draws
// nothing. The sink reads the graph from the reader's tables: the nodes from firstNodeIndex to
// the end of BoundArray (the graph node itself is just before them) and the links from
// firstLinkIndex to the end of Links. A nested graph is handed on the moment it closes, before
// the graph that holds it; a top-level graph when it ends. While it draws, the sink may use the
// reader's lookups (FindNodeById, FindCurrentCoreference, FindExternalCoreference) but must not
// change the tables.
#include <QString>

namespace zov::cgif {

class CgifReader;
class EarlierGraphs;

class GraphSink {
public:
    virtual ~GraphSink() = default;
    // slideName is the graph node's Name + "/" + its Id; graphType its Type. A failure may be
    // thrown (any std::exception); the reader never retries the graph. For a top-level graph it
    // shows "Graph <name> could not be drawn: <what>" and reads on; for a nested graph the
    // failure stops the reading of the file like any failure inside a graph (its text shown).
    virtual void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                                 int firstLinkIndex, int firstNodeIndex) = 0;
    // Called when a stream's reading starts: adds the graphs the sink already holds (the
    // slides of the presentation it draws into), so that labels and graph names of the file
    // may refer to them. By default there are none.
    virtual void AddEarlierGraphs(EarlierGraphs&) {}
};

// A sink that hands everything on to another: the base of sinks that only look at the graphs on
// their way (which were drawn, which had positions), so that no call is lost on the way.
class ForwardingGraphSink : public GraphSink {
public:
    explicit ForwardingGraphSink(GraphSink& next) : next_(next) {}
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType, int firstLinkIndex,
                         int firstNodeIndex) override {
        next_.BuildGraphSlide(reader, slideName, graphType, firstLinkIndex, firstNodeIndex);
    }
    void AddEarlierGraphs(EarlierGraphs& earlier) override { next_.AddEarlierGraphs(earlier); }

private:
    GraphSink& next_;
};

// A sink that draws nothing (validation runs).
class NullGraphSink : public GraphSink {
public:
    void BuildGraphSlide(CgifReader&, const QString&, QStringView, int, int) override {}
};

} // namespace zov::cgif
