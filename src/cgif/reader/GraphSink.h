#pragma once
// Where the reader hands each finished graph: the slide builder draws it, a checking run draws
// nothing. The sink reads the graph from the reader's tables: the nodes from firstNodeIndex to
// the end of BoundArray and the links from firstLinkIndex to the end of Links.
#include <QString>

namespace zov::cgif {

class CgifReader;

class GraphSink {
public:
    virtual ~GraphSink() = default;
    // slideName is the graph node's Name + "/" + its Id; graphType its Type. A failure may be
    // thrown (any std::exception); the reader reports it and does not retry the graph.
    virtual void BuildGraphSlide(CgifReader& reader, const QString& slideName, const QString& graphType,
                                 int firstLinkIndex, int firstNodeIndex) = 0;
};

// A sink that draws nothing (validation runs).
class NullGraphSink : public GraphSink {
public:
    void BuildGraphSlide(CgifReader&, const QString&, const QString&, int, int) override {}
};

} // namespace zov::cgif
