#pragma once
// Graphs read without positions: hands each graph on to the slide builder and notes the slides
// of those whose nodes (other than comments) all came at 0,0, so that they can be arranged once
// the reading is over instead of lying piled in the slide's corner. The palette's Import and
// `zovedit import` both read through it.
#include "cgif/reader/GraphSink.h"
#include "host/Application.h"

#include <vector>

namespace zov::cgif::importer {

class UnplacedGraphs : public ForwardingGraphSink {
public:
    UnplacedGraphs(GraphSink& builder, host::Application& application)
        : ForwardingGraphSink(builder), application_(application) {}
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType, int firstLinkIndex,
                         int firstNodeIndex) override;
    // The slides noted, in the order they were drawn.
    const std::vector<host::Slide>& Slides() const { return slides_; }

private:
    host::Application& application_;
    std::vector<host::Slide> slides_;
};

} // namespace zov::cgif::importer
