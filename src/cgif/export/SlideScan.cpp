#include "cgif/export/SlideScan.h"

#include "drawing/GraphEncoding.h"

namespace zov::cgif::exporter {

void SlideScan::Clear() {
    nodes_.clear();
    pentagons_.clear();
    firstIndexByName_.clear();
}

int SlideScan::FindSlideNode(const host::Shape& shape) const {
    return firstIndexByName_.value(shape.Name(), -1);
}

void SlideScan::AddSlideNode(const NodeArcs& record) {
    const QString name = record.Node.Name();
    if (!firstIndexByName_.contains(name))
        firstIndexByName_.insert(name, static_cast<int>(nodes_.size()));
    nodes_.push_back(record);
}

void SlideScan::ScanSlide(const host::Presentation& presentation, int slideIndex) {
    Clear();
    const host::Shapes shapes = presentation.Slides().Item(slideIndex).Shapes();
    const int count = shapes.Count();
    for (int k = 1; k <= count; ++k) {
        const host::Shape shape = shapes.Item(k);
        const int type = shape.AutoShapeType();
        if (type == drawing::ArcShapeType) {
            readArc(shape);
        } else if (type == drawing::CommentShapeType || type == drawing::ConceptShapeType) {
            // Appended even when an earlier arc already made a record for the same concept.
            AddSlideNode(NodeArcs{shape, {}, {}});
        } else if (type == drawing::CoreferentConceptShapeType) {
            pentagons_.push_back(shape);
        }
        // Relations and actors get their records through their arcs; pentagons live only in
        // arc lists; title labels, actor marks and foreign shapes are not part of the graph.
    }
}

namespace {

// How far from a shape's box a loose arc end may lie and still count as lying on the shape.
constexpr double EndTolerance = 2.0;

// The graph node shape an arc end lies on when the host does not report the end as glued: a
// file may glue it to a site the host does not follow (an index beyond the shape's sites), yet
// the shape is still a graph shape. The topmost such shape under the end
// point; nothing when no graph node shape is there (a picture, empty slide area).
host::Shape NodeUnderEnd(const host::Shapes& shapes, const QPointF& end) {
    for (int k = shapes.Count(); k >= 1; --k) {
        const host::Shape shape = shapes.Item(k);
        if (shape.Connector() || !drawing::IsGraphNodeShapeType(shape.AutoShapeType()))
            continue;
        if (end.x() >= shape.Left() - EndTolerance && end.x() <= shape.Left() + shape.Width() + EndTolerance &&
            end.y() >= shape.Top() - EndTolerance && end.y() <= shape.Top() + shape.Height() + EndTolerance)
            return shape;
    }
    return host::Shape();
}

} // namespace

void SlideScan::readArc(const host::Shape& arc) {
    const host::ConnectorFormatView connector = arc.ConnectorFormat();
    const host::Shapes shapes = arc.Parent().Shapes();
    const host::Shape from =
        connector.BeginConnected() ? connector.BeginConnectedShape() : NodeUnderEnd(shapes, arc.data().begin);
    const host::Shape to =
        connector.EndConnected() ? connector.EndConnectedShape() : NodeUnderEnd(shapes, arc.data().end);
    // An arc that joins no graph node at one of its ends carries no meaning; nor does an arc
    // into a shape of a foreign type (a picture, a triangle). One into a title label is
    // written as an empty concept.
    if (from.IsNothing() || to.IsNothing() ||
        !(drawing::IsGraphNodeShapeType(to.AutoShapeType()) || to.AutoShapeType() == drawing::TitleLabelShapeType))
        return;
    switch (from.AutoShapeType()) {
    case drawing::ConceptShapeType:
    case drawing::CoreferentConceptShapeType: {
        const int i = FindSlideNode(to);
        if (i < 0)
            AddSlideNode(NodeArcs{to, {from}, {}});
        else
            nodes_[static_cast<size_t>(i)].InArcs.push_back(from);
        break;
    }
    case drawing::RelationShapeType: {
        const int i = FindSlideNode(from);
        if (i < 0)
            AddSlideNode(NodeArcs{from, {}, {to}});
        else
            nodes_[static_cast<size_t>(i)].OutArcs = {to}; // a relation has one output: the last wins
        break;
    }
    case drawing::ActorShapeType: {
        const int i = FindSlideNode(from);
        if (i < 0)
            AddSlideNode(NodeArcs{from, {}, {to}});
        else
            nodes_[static_cast<size_t>(i)].OutArcs.push_back(to);
        break;
    }
    default:
        break; // arcs from comments, titles, actor marks and foreign shapes carry no meaning
    }
}

} // namespace zov::cgif::exporter
