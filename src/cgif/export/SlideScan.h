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
    // Rebuilds the table from the slide with that 1-based index. An arc counts only between
    // graph node shapes; an end the host does not report as glued counts as glued to the graph
    // node shape it lies on, and an arc with an end on no graph node is ignored.
    void ScanSlide(const host::Presentation& presentation, int slideIndex);

    bool HasSlideNodes() const { return !nodes_.empty(); }
    // Lowest index whose record's node has the same Name as `shape`; -1 when none.
    int FindSlideNode(const host::Shape& shape) const;
    void AddSlideNode(const NodeArcs& record);

    const std::vector<NodeArcs>& SlideNodes() const { return nodes_; }
    // Every pentagon of the slide, in shape order, with or without arcs.
    const std::vector<host::Shape>& Pentagons() const { return pentagons_; }
    void Clear();

private:
    void readArc(const host::Shape& arc);

    std::vector<NodeArcs> nodes_;
    std::vector<host::Shape> pentagons_;
    // Name -> lowest record index, so that finding a node does not walk the whole table.
    QHash<QString, int> firstIndexByName_;
};

} // namespace zov::cgif::exporter
