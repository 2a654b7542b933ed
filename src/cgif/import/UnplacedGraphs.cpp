#include "cgif/import/UnplacedGraphs.h"

#include "cgif/reader/CgifReader.h"
#include "host/HostError.h"

#include <algorithm>

namespace zov::cgif::importer {

void UnplacedGraphs::BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                                     int firstLinkIndex, int firstNodeIndex) {
    const NodeTable& nodes = reader.Tables().BoundArray;
    const auto first = nodes.begin() + std::clamp<std::ptrdiff_t>(firstNodeIndex, 0, std::ssize(nodes));
    // A comment is placed even when the text gives it no position (a stand-alone one at a fixed
    // place): only the graph's other nodes tell whether the text placed them.
    const bool placed = std::any_of(first, nodes.end(), [](const NodeRecord& node) {
        return node.Kind != NodeKind::Comment && (node.X != 0 || node.Y != 0);
    });
    ForwardingGraphSink::BuildGraphSlide(reader, slideName, graphType, firstLinkIndex, firstNodeIndex);
    if (placed)
        return;
    // The builder leaves the graph's new slide in view.
    try {
        slides_.push_back(application_.ActiveWindow().View().Slide());
    } catch (const host::HostError&) {
    }
}

} // namespace zov::cgif::importer
