#pragma once
// Fitting a laid-out graph and its comments into the free area of a slide. Pure geometry: no
// host, no Graphviz.
//
// The graph arrives as a compact layered layout (node centres with small separations). Each
// connected part keeps its shape; the centre distances are scaled, the same for every part:
//   1. spread out evenly as far as the area allows, up to `maxSpread`;
//   2. when even the compact layout is too large, squeezed along the layers' direction, down to
//      the point where boxes of different layers keep `minRankGap` apart;
//   3. then squeezed across the layers as well, keeping `minNodeGap` between neighbours.
// Scaling never lets two boxes of a part come closer than those gaps. The parts are packed into
// the area, tallest first, each as high and then as far left as it goes. Comments stand in
// columns beside the graph, or in rows below it when that lets the graph fit better.
//
// A graph that does not fit that way at all can still be put in rows (PlaceInRows): its boxes
// go across the area and then down, like words on a page, at the largest gaps that fit.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <utility>
#include <vector>

namespace zov::editor::arrange {

struct FitSpacing {
    double maxSpread = 1.5;    // the most the compact layout's centre distances are stretched
    double minRankGap = 8;     // the least room between boxes of successive layers (points)
    double minNodeGap = 4;     // the least room between neighbours in one layer
    double partGap = 24;       // between connected parts of the graph
    double commentGap = 10;    // between comments in a column and between columns
    double besideGap = 24;     // between the graph and the comment columns
};

struct FitRequest {
    std::vector<QSizeF> nodeSizes;  // points
    std::vector<QPointF> centres;   // the compact layout, one per node
    std::vector<int> part;          // connected part of each node (ConnectedParts)
    bool layersDown = true;         // layers follow each other down the page (else across)
    std::vector<QSizeF> commentSizes;
    QRectF area;                    // the free area of the slide, points
    FitSpacing spacing;
};

// How a placement came about, best first.
enum class FitQuality {
    Spread,        // as laid out or spread out
    SqueezedAlong, // squeezed along the layers' direction
    SqueezedAcross,// squeezed both ways
    Rows,          // in rows (PlaceInRows)
    TooLarge,      // squeezed both ways and still larger than the area
};

struct Placement {
    FitQuality quality = FitQuality::Spread;
    std::vector<QPointF> nodeTopLefts;    // one per node
    std::vector<QPointF> commentTopLefts; // one per comment
    double scaleX = 1, scaleY = 1;        // applied to the compact layout's centre distances
    bool fits = false;                    // everything lies inside the area
    bool commentsBelow = false;           // comments in rows below the graph, not beside it
    QRectF bounds;                        // what the nodes and comments cover (empty if none)
};

// For each node, the number of its connected part (edges taken both ways), numbered 0, 1, ...
// in the order of each part's first node. Edges naming nodes out of range are ignored.
std::vector<int> ConnectedParts(int nodeCount, const std::vector<std::pair<int, int>>& edges);

// The least scales of the compact layout's centre distances that keep every two boxes of one
// part the least gaps apart (steps 2 and 3 above): along the layers' direction with the scale
// across at 1, then across with the first applied; each in [0, 1]. Found without looking at
// every pair: a large part has millions.
struct LeastScale {
    double along = 1;
    double across = 1;
};
LeastScale LeastScales(const FitRequest& request);

// Places every node and comment. When the graph cannot fit even squeezed to the least gaps,
// that squeezed placement is returned with `fits` false: it starts at the area's top-left
// corner and runs past its right or bottom edge. Boxes never overlap in either case.
Placement PlaceInArea(const FitRequest& request);

// The orders in which PlaceInRows takes the boxes. Each keeps the layered layout's reading
// order (layer by layer, left to right) as far as it can; comments come after the nodes.
enum class RowOrder {
    Layers,       // each layer of the layout starts a row; a layer too long wraps onto more rows
    Reading,      // rows filled up in reading order, layers running on into each other, every
                  // second row right to left
    TallestFirst, // tallest boxes first, reading order among equal heights: the least height lost
    Packed,       // in the order of TallestFirst, each box as high and then as far left as it
                  // goes: shorter boxes fill the height beside taller ones instead of a row each
};

// The least room any placement leaves between two boxes (rows at their tightest), points.
constexpr double LeastGap = 2;

// Places the nodes, then the comments, in rows across the area, each row centred, the boxes of
// a row centred on its middle line. The gap between neighbours is the largest of 16, 12, 8, 6,
// 4 and LeastGap points with which the rows fit; the rows then share the height left over, up to 36
// points between two rows. `centres` must be a top-to-bottom layout (`layersDown`). When no
// gap fits, the rows at the least gap are returned with `fits` false. Boxes never overlap.
// RowOrder::Packed places the boxes packed instead of in rows, at the same gaps.
Placement PlaceInRows(const FitRequest& request, RowOrder order);

} // namespace zov::editor::arrange
