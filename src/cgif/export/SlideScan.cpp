#include "cgif/export/SlideScan.h"

#include "drawing/GraphEncoding.h"

namespace zov::cgif::exporter {

void SlideScan::Clear() {
    nodes_.clear();
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
        }
        // Relations and actors get their records through their arcs; pentagons live only in
        // arc lists; title labels, actor marks and foreign shapes are not part of the graph.
    }
}

void SlideScan::readArc(const host::Shape& arc) {
    const host::ConnectorFormatView connector = arc.ConnectorFormat();
    const host::Shape from = connector.BeginConnectedShape();
    const host::Shape to = connector.EndConnectedShape();
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
