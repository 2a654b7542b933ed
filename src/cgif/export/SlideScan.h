#pragma once
// Rebuilds one slide's graph from its shapes: every node shape with the shapes its arcs come
// from and go to, in the order the writer walks them. Nodes are known by auto-shape type only,
// arcs only by connectors glued at both ends; the slide is read and never changed.
#include "host/Presentation.h"

#include <QHash>
#include <QString>
#include <vector>

namespace zov::cgif::exporter {

// One node of the slide being exported.
struct NodeArcs {
    host::Shape Node;                 // concept, comment, relation or actor
    std::vector<host::Shape> InArcs;  // shapes whose arcs point into Node, in the order met
    std::vector<host::Shape> OutArcs; // shapes Node's arcs point to (a relation keeps one)
};

class SlideScan {
public:
    // Rebuilds the table from the slide with that 1-based index. A connector with a loose end
    // raises host::HostError from the host; the table then holds what was found before it.
    void ScanSlide(const host::Presentation& presentation, int slideIndex);

    bool HasSlideNodes() const { return !nodes_.empty(); }
    // Lowest index whose record's node has the same Name as `shape`; -1 when none.
    int FindSlideNode(const host::Shape& shape) const;
    void AddSlideNode(const NodeArcs& record);

    const std::vector<NodeArcs>& SlideNodes() const { return nodes_; }
    void Clear();

private:
    void readArc(const host::Shape& arc);

    std::vector<NodeArcs> nodes_;
    // Name -> lowest record index, so that finding a node does not walk the whole table.
    QHash<QString, int> firstIndexByName_;
};

} // namespace zov::cgif::exporter
