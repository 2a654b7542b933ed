#include "editor/arrange/Arrange.h"

#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "drawing/NodeId.h"
#include "editor/arrange/SlideFit.h"
#include "host/HostError.h"
#include "platform/MessageBox.h"

#include <QHash>
#include <algorithm>
#include <unordered_set>

namespace zov::editor {

namespace {

using namespace arrange;

// Room kept free around the graph, and between the title label and the graph (points).
constexpr double SlideMargin = 18;
constexpr double TitleGap = 12;
// The compact layout's separations; the fit spreads them out as far as the slide allows, or
// squeezes them when the slide is too small.
constexpr double CompactNodeSeparation = 8;
constexpr double CompactRankSeparation = 18;

bool isNodeShapeType(int type) {
    return drawing::IsConceptShapeType(type) || type == drawing::RelationShapeType ||
           type == drawing::ActorShapeType || type == drawing::ActorMarkShapeType;
}

// A shape the editor drew for a node or comment is named by its node id (eight letters A to Z),
// after its label and "/" when it has one; a rectangle or text box of an ordinary slide ("Title
// 1", "TextBox 3") is not, and stays where it is.
bool hasNodeName(const host::Shape& shape) {
    return drawing::NodeId::Pack(drawing::IdPart(shape.Name())) != 0;
}

// The slide's graph shapes, sorted by role, in slide order.
struct SlideGraph {
    host::Shape title;
    std::vector<host::Shape> nodes;
    std::vector<host::Shape> comments;
    std::vector<host::Shape> connectors;
    std::vector<std::pair<int, int>> edges; // node indexes, begin -> end
};

SlideGraph readSlideGraph(const host::Slide& slide) {
    SlideGraph graph;
    const host::Shapes shapes = slide.Shapes();
    const int count = shapes.Count();
    QHash<const host::ShapeData*, int> nodeIndex;
    for (int i = 1; i <= count; ++i) {
        const host::Shape shape = shapes.Item(i);
        if (shape.Connector()) {
            graph.connectors.push_back(shape);
            continue;
        }
        const int type = shape.AutoShapeType();
        if (i == 1 && type == drawing::TitleLabelShapeType) {
            graph.title = shape;
        } else if (isNodeShapeType(type) && hasNodeName(shape)) {
            nodeIndex.insert(shape.lock().get(), static_cast<int>(graph.nodes.size()));
            graph.nodes.push_back(shape);
        } else if (type == drawing::CommentShapeType && hasNodeName(shape)) {
            graph.comments.push_back(shape);
        }
    }
    for (const host::Shape& connector : graph.connectors) {
        const host::ConnectorFormatView glue = connector.ConnectorFormat();
        if (!glue.BeginConnected() || !glue.EndConnected())
            continue;
        const auto from = nodeIndex.constFind(glue.BeginConnectedShape().lock().get());
        const auto to = nodeIndex.constFind(glue.EndConnectedShape().lock().get());
        if (from != nodeIndex.constEnd() && to != nodeIndex.constEnd())
            graph.edges.emplace_back(*from, *to);
    }
    return graph;
}

std::vector<QSizeF> sizesOf(const std::vector<host::Shape>& shapes) {
    std::vector<QSizeF> sizes;
    sizes.reserve(shapes.size());
    for (const host::Shape& s : shapes)
        sizes.emplace_back(s.Width(), s.Height());
    return sizes;
}

// How far a placement passes its area: 1 or less when it fits.
double overflow(const Placement& placement, const QRectF& area) {
    if (placement.bounds.isEmpty())
        return 0;
    return std::max(placement.bounds.width() / std::max(area.width(), 1.0),
                    placement.bounds.height() / std::max(area.height(), 1.0));
}

void moveTo(host::Shape shape, QPointF topLeft) {
    const auto x = static_cast<float>(topLeft.x());
    const auto y = static_cast<float>(topLeft.y());
    if (shape.Left() != x)
        shape.SetLeft(x);
    if (shape.Top() != y)
        shape.SetTop(y);
}

QString slideDescription(const host::Slide& slide) {
    QString text = QStringLiteral("slide ") + QString::number(slide.SlideIndex());
    const QString name = slide.Name();
    if (!name.isEmpty())
        text += QStringLiteral(" \"") + name + u'"';
    return text;
}

} // namespace

QRectF GraphArea(const host::Slide& slide) {
    const host::SlideData& slideData = slide.data();
    const double slideWidth = slideData.presentation ? slideData.presentation->slideWidth : 720;
    const double slideHeight = slideData.presentation ? slideData.presentation->slideHeight : 540;
    const host::Shapes shapes = slide.Shapes();
    double top = SlideMargin;
    if (shapes.Count() > 0) {
        const host::Shape first = shapes.Item(1);
        if (!first.Connector() && first.AutoShapeType() == drawing::TitleLabelShapeType)
            top = first.Height() + TitleGap; // the title label goes to the top-left corner
    }
    return QRectF(SlideMargin, top, std::max(slideWidth - 2 * SlideMargin, 1.0), std::max(slideHeight - SlideMargin - top, 1.0));
}

ArrangeResult ArrangeSlide(const host::Slide& slide) {
    const SlideGraph graph = readSlideGraph(slide);
    ArrangeResult result;
    result.arcs = static_cast<int>(graph.edges.size());
    if (graph.nodes.empty() && graph.comments.empty())
        return result;

    // The title label goes to the top-left corner; the graph takes the slide below it.
    const QPointF titleCorner(0, 0);
    const QRectF area = GraphArea(slide);

    LayeredGraph layered{sizesOf(graph.nodes), graph.edges};
    FitRequest request;
    request.nodeSizes = layered.nodeSizes;
    request.part = ConnectedParts(static_cast<int>(graph.nodes.size()), graph.edges);
    request.commentSizes = sizesOf(graph.comments);
    request.area = area;

    LayeredLayoutOptions options;
    options.nodeSeparation = CompactNodeSeparation;
    options.rankSeparation = CompactRankSeparation;
    request.centres = LayOutLayered(layered, options);
    Placement placement = PlaceInArea(request);

    double boxArea = 0;
    for (const QSizeF& s : request.nodeSizes)
        boxArea += s.width() * s.height();
    for (const QSizeF& s : request.commentSizes)
        boxArea += s.width() * s.height();
    result.beyondRoom = boxArea > area.width() * area.height();

    // Layers that run down the slide read best; when they only fit squeezed, or not at all,
    // layers running across may do better. Neither can fit when the boxes alone cover more
    // than the area.
    if (placement.quality != FitQuality::Spread && !graph.nodes.empty() && !result.beyondRoom) {
        const FitRequest down = request;
        options.direction = RankDirection::LeftToRight;
        request.centres = LayOutLayered(layered, options);
        request.layersDown = false;
        Placement across = PlaceInArea(request);
        const bool better = across.quality < placement.quality ||
                            (!placement.fits && !across.fits && overflow(across, area) < overflow(placement, area));
        if (better) {
            placement = std::move(across);
            result.layout = ArrangeLayout::LayersAcross;
        }
        // Neither fits: the boxes go in rows, first keeping the layers apart, then filling the
        // rows up, then the tallest first so that rows of mixed heights lose the least, and at
        // last packed, shorter boxes beside taller ones.
        for (const auto& [order, layout] : {std::pair{RowOrder::Layers, ArrangeLayout::LayersInRows},
                                           std::pair{RowOrder::Reading, ArrangeLayout::Rows},
                                           std::pair{RowOrder::TallestFirst, ArrangeLayout::Rows},
                                           std::pair{RowOrder::Packed, ArrangeLayout::Rows}}) {
            if (placement.fits)
                break;
            Placement rows = PlaceInRows(down, order);
            if (rows.fits) {
                placement = std::move(rows);
                result.layout = layout;
            }
        }
    }

    // Only now, with every position known, does the slide change.
    std::unordered_set<const host::ShapeData*> moved;
    for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
        moveTo(graph.nodes[i], placement.nodeTopLefts[i]);
        moved.insert(graph.nodes[i].lock().get());
    }
    for (std::size_t i = 0; i < graph.comments.size(); ++i) {
        moveTo(graph.comments[i], placement.commentTopLefts[i]);
        moved.insert(graph.comments[i].lock().get());
    }
    if (!graph.title.IsNothing()) {
        result.titleMoved = graph.title.Left() != static_cast<float>(titleCorner.x()) ||
                            graph.title.Top() != static_cast<float>(titleCorner.y());
        moveTo(graph.title, titleCorner);
        moved.insert(graph.title.lock().get());
    }
    // Glued ends followed their shapes; now each connector takes the nearest pair of sites.
    for (host::Shape connector : graph.connectors) {
        const host::ConnectorFormatView glue = connector.ConnectorFormat();
        const bool beginMoved = glue.BeginConnected() && moved.count(glue.BeginConnectedShape().lock().get()) > 0;
        const bool endMoved = glue.EndConnected() && moved.count(glue.EndConnectedShape().lock().get()) > 0;
        if (beginMoved || endMoved)
            connector.RerouteConnections();
    }

    result.nodes = static_cast<int>(graph.nodes.size());
    result.comments = static_cast<int>(graph.comments.size());
    result.fits = placement.fits;
    result.scaleX = placement.scaleX;
    result.scaleY = placement.scaleY;
    return result;
}

QString ArrangeFailedMessage(const host::Slide& slide, const QString& reason) {
    return QStringLiteral("Cannot arrange ") + slideDescription(slide) + QStringLiteral(": ") + reason;
}

QString ArrangeTooLargeMessage(const host::Slide& slide, bool beyondRoom) {
    if (beyondRoom)
        return QStringLiteral("The graph on ") + slideDescription(slide) +
               QStringLiteral(" is too large for the slide: its shapes cover more than the room below the title, so "
                              "some lie past the slide's edge");
    return QStringLiteral("The graph on ") + slideDescription(slide) +
           QStringLiteral(" could not be fitted into the slide; some shapes lie past its edge");
}

bool ArrangeSlides(const host::Presentation& presentation, int first, int last, platform::MessageBoxes& messages,
                   const std::function<void(int arranged)>& arranged) {
    bool allArranged = true;
    const host::Slides slides = presentation.Slides();
    last = std::min(last, slides.Count());
    for (int i = std::max(first, 1); i <= last; ++i) {
        const host::Slide slide = slides.Item(i);
        try {
            const ArrangeResult result = ArrangeSlide(slide);
            if (!result.fits)
                messages.inform(ArrangeTooLargeMessage(slide, result.beyondRoom), QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
        } catch (const ArrangeError& error) {
            messages.inform(ArrangeFailedMessage(slide, QString::fromStdString(error.what())), QStringLiteral("Error"),
                            platform::MessageIcon::Critical);
            allArranged = false;
        } catch (const host::HostError& error) {
            messages.inform(ArrangeFailedMessage(slide, QString::fromStdString(error.what())), QStringLiteral("Error"),
                            platform::MessageIcon::Critical);
            allArranged = false;
        }
        if (arranged)
            arranged(i - std::max(first, 1) + 1);
    }
    return allArranged;
}

bool ArrangeEachSlide(const host::Presentation& presentation, const std::vector<host::Slide>& slides,
                      platform::MessageBoxes& messages, const std::function<void(int arranged)>& arranged) {
    bool allArranged = true;
    int done = 0;
    for (const host::Slide& slide : slides) {
        int index = 0;
        try {
            index = slide.SlideIndex();
        } catch (const host::HostError&) {
            // deleted meanwhile
        }
        if (index > 0)
            allArranged = ArrangeSlides(presentation, index, index, messages) && allArranged;
        if (arranged)
            arranged(++done);
    }
    return allArranged;
}

} // namespace zov::editor
