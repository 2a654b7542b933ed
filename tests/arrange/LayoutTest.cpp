// The layered layout through Graphviz and the fitting of a layout into a slide's free area.
#include "editor/arrange/LayeredLayout.h"
#include "editor/arrange/SlideFit.h"

#include <QRectF>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <map>

namespace zov::editor::arrange {
namespace {

int overlappingPairs(const std::vector<QRectF>& boxes, double gap = 0) {
    int count = 0;
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b)
            if (boxes[a].adjusted(-gap / 2, -gap / 2, gap / 2, gap / 2)
                    .intersects(boxes[b].adjusted(-gap / 2 + 0.01, -gap / 2 + 0.01, gap / 2 - 0.01, gap / 2 - 0.01)))
                ++count;
    return count;
}

TEST(LayeredLayout, ArcsPointDownTheLayersOrAcrossThem) {
    // concept -> relation -> concept, and a second relation from the first concept.
    LayeredGraph graph{{{80, 30}, {50, 30}, {120, 30}, {50, 30}, {60, 30}}, {{0, 1}, {1, 2}, {0, 3}, {3, 4}}};
    const std::vector<QPointF> down = LayOutLayered(graph);
    ASSERT_EQ(down.size(), 5u);
    for (const auto& [from, to] : graph.edges)
        EXPECT_LT(down[static_cast<std::size_t>(from)].y(), down[static_cast<std::size_t>(to)].y());

    LayeredLayoutOptions across;
    across.direction = RankDirection::LeftToRight;
    const std::vector<QPointF> right = LayOutLayered(graph, across);
    for (const auto& [from, to] : graph.edges)
        EXPECT_LT(right[static_cast<std::size_t>(from)].x(), right[static_cast<std::size_t>(to)].x());
}

TEST(LayeredLayout, LargeGraphsAreLaidOutInLayersWithoutOverlapInEitherDirection) {
    // Too large for dot within a bounded time: the quick layers lay it out. Arcs from each node to
    // later ones (an acyclic graph), and one arc back that closes a cycle.
    LayeredGraph graph;
    for (int i = 0; i < 2500; ++i) {
        graph.nodeSizes.push_back(QSizeF(20 + i % 7 * 10, 20 + i % 3 * 8));
        if (i > 0)
            graph.edges.push_back({(i * 7919) % i, i});
    }
    graph.edges.push_back({2499, 0});
    for (RankDirection direction : {RankDirection::TopToBottom, RankDirection::LeftToRight}) {
        LayeredLayoutOptions options;
        options.direction = direction;
        const std::vector<QPointF> centres = LayOutLayered(graph, options);
        ASSERT_EQ(centres.size(), graph.nodeSizes.size());
        std::vector<QRectF> boxes;
        for (std::size_t i = 0; i < centres.size(); ++i)
            boxes.push_back(QRectF(centres[i] - QPointF(graph.nodeSizes[i].width() / 2, graph.nodeSizes[i].height() / 2),
                                   graph.nodeSizes[i]));
        EXPECT_EQ(overlappingPairs(boxes, options.nodeSeparation), 0);
        for (std::size_t e = 0; e + 1 < graph.edges.size(); ++e) {
            const auto [from, to] = graph.edges[e];
            const QPointF a = centres[static_cast<std::size_t>(from)], b = centres[static_cast<std::size_t>(to)];
            EXPECT_LT(direction == RankDirection::TopToBottom ? a.y() : a.x(), direction == RankDirection::TopToBottom ? b.y() : b.x());
        }
    }
}

TEST(LayeredLayout, OddInputsAreLaidOutOrRefusedClearly) {
    EXPECT_TRUE(LayOutLayered(LayeredGraph{}).empty());

    // Sizes that are not finite or absurd, and arcs to nodes that do not exist.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    LayeredGraph odd{{{nan, 20}, {0, 0}, {1e9, -5}, {30, std::numeric_limits<double>::infinity()}},
                     {{0, 1}, {1, 7}, {-1, 2}, {2, 3}}};
    const std::vector<QPointF> centres = LayOutLayered(odd);
    ASSERT_EQ(centres.size(), 4u);
    for (const QPointF& c : centres)
        EXPECT_TRUE(std::isfinite(c.x()) && std::isfinite(c.y()));

    LayeredGraph huge;
    huge.nodeSizes.assign(static_cast<std::size_t>(MaxLayeredNodes) + 1, QSizeF(10, 10));
    try {
        LayOutLayered(huge);
        FAIL() << "a graph beyond the limit was laid out";
    } catch (const ArrangeError& error) {
        EXPECT_NE(std::string(error.what()).find("at most"), std::string::npos) << error.what();
    }
}

TEST(SlideFit, ConnectedPartsAreNumberedInOrderOfTheirFirstNode) {
    EXPECT_EQ(ConnectedParts(6, {{4, 5}, {0, 2}, {2, 4}, {9, 1}, {-1, 3}}), (std::vector<int>{0, 1, 0, 2, 0, 0}));
    EXPECT_EQ(ConnectedParts(3, {}), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(ConnectedParts(0, {{0, 1}}).empty());
}

FitRequest chain(int nodes, QRectF area) {
    FitRequest request;
    std::vector<std::pair<int, int>> edges;
    for (int i = 0; i < nodes; ++i) {
        request.nodeSizes.emplace_back(60, 24);
        request.centres.emplace_back(30, 12 + 44 * i); // a column, 20 points apart
        if (i > 0)
            edges.emplace_back(i - 1, i);
    }
    request.part = ConnectedParts(nodes, edges);
    request.area = area;
    return request;
}

std::vector<QRectF> placedBoxes(const FitRequest& request, const Placement& placement) {
    std::vector<QRectF> boxes;
    for (std::size_t i = 0; i < request.nodeSizes.size(); ++i)
        boxes.emplace_back(placement.nodeTopLefts[i], request.nodeSizes[i]);
    for (std::size_t i = 0; i < request.commentSizes.size(); ++i)
        boxes.emplace_back(placement.commentTopLefts[i], request.commentSizes[i]);
    return boxes;
}

TEST(SlideFit, AGraphThatFitsIsSpreadAsFarAsTheAreaAllowsFromItsCorner) {
    // Three boxes take the most spread; ten only as much as fills the area's height.
    const QRectF roomy(18, 60, 684, 462), tight(0, 0, 500, 44 * 9 + 24 + 30);
    const FitRequest small = chain(3, roomy);
    const Placement spread = PlaceInArea(small);
    EXPECT_TRUE(spread.fits);
    EXPECT_DOUBLE_EQ(spread.scaleX, small.spacing.maxSpread);
    EXPECT_DOUBLE_EQ(spread.scaleY, small.spacing.maxSpread);
    EXPECT_EQ(spread.bounds.topLeft(), roomy.topLeft());
    EXPECT_NEAR(spread.nodeTopLefts[1].y() - spread.nodeTopLefts[0].y(), 44 * small.spacing.maxSpread, 1e-9);

    const FitRequest tall = chain(10, tight);
    const Placement placement = PlaceInArea(tall);
    EXPECT_TRUE(placement.fits);
    EXPECT_GT(placement.scaleY, 1);
    EXPECT_LT(placement.scaleY, tall.spacing.maxSpread);
    EXPECT_DOUBLE_EQ(placement.scaleX, placement.scaleY);
    EXPECT_LE(placement.bounds.bottom(), tight.bottom() + 1e-6);
    EXPECT_GT(placement.bounds.bottom(), tight.bottom() - 1) << "the spread stopped short of the area";
}

TEST(SlideFit, AGraphTooTallIsSqueezedAlongItsLayersKeepingTheLeastGap) {
    // As laid out the chain is 420 points tall; squeezed to gaps of 10 it is 330.
    const QRectF area(0, 0, 500, 380);
    const FitRequest request = chain(10, area);
    const Placement placement = PlaceInArea(request);
    EXPECT_TRUE(placement.fits);
    EXPECT_LT(placement.scaleY, 1);
    EXPECT_DOUBLE_EQ(placement.scaleX, 1);
    EXPECT_GT(placement.bounds.bottom(), area.bottom() - 1) << "squeezed more than needed";
    EXPECT_EQ(overlappingPairs(placedBoxes(request, placement), request.spacing.minRankGap), 0);

    // Layers running across squeeze across.
    FitRequest across = request;
    across.layersDown = false;
    for (std::size_t i = 0; i < across.centres.size(); ++i) {
        across.centres[i] = QPointF(across.centres[i].y(), across.centres[i].x());
        across.nodeSizes[i].transpose();
    }
    across.area = QRectF(0, 0, 380, 500);
    const Placement turned = PlaceInArea(across);
    EXPECT_TRUE(turned.fits);
    EXPECT_LT(turned.scaleX, 1);
    EXPECT_DOUBLE_EQ(turned.scaleY, 1);
}

TEST(SlideFit, SmallPartsFillTheRoomBesideATallOne) {
    FitRequest request;
    std::vector<std::pair<int, int>> edges;
    // A tall part: a column of eight boxes 300 wide.
    for (int i = 0; i < 8; ++i) {
        request.nodeSizes.emplace_back(300, 30);
        request.centres.emplace_back(150, 15 + 50 * i);
        if (i > 0)
            edges.emplace_back(i - 1, i);
    }
    for (int i = 0; i < 6; ++i) {
        request.nodeSizes.emplace_back(100, 24);
        request.centres.emplace_back(400 + 120 * i, 12);
    }
    request.part = ConnectedParts(14, edges);
    request.area = QRectF(0, 0, 684, 600);
    const Placement placement = PlaceInArea(request);
    ASSERT_TRUE(placement.fits);
    const double tallBottom = placement.nodeTopLefts[7].y() + 30;
    for (std::size_t i = 8; i < 14; ++i) {
        EXPECT_GE(placement.nodeTopLefts[i].x(), 300 + request.spacing.partGap) << i;
        EXPECT_LT(placement.nodeTopLefts[i].y(), tallBottom) << i;
    }
    EXPECT_EQ(overlappingPairs(placedBoxes(request, placement), request.spacing.partGap), 0);
}

TEST(SlideFit, CommentsStandInColumnsBesideTheGraph) {
    FitRequest request = chain(3, QRectF(18, 60, 684, 200));
    for (int i = 0; i < 7; ++i)
        request.commentSizes.emplace_back(90 + 10 * i, 40);
    const Placement placement = PlaceInArea(request);
    ASSERT_TRUE(placement.fits);
    double graphRight = 0;
    for (std::size_t i = 0; i < request.nodeSizes.size(); ++i)
        graphRight = std::max(graphRight, placement.nodeTopLefts[i].x() + request.nodeSizes[i].width());
    double firstColumn = placement.commentTopLefts[0].x();
    EXPECT_DOUBLE_EQ(firstColumn, graphRight + request.spacing.besideGap);
    EXPECT_DOUBLE_EQ(placement.commentTopLefts[0].y(), request.area.top());
    // 200 points take four comments of 40 with gaps of 10; the fifth starts a new column.
    EXPECT_DOUBLE_EQ(placement.commentTopLefts[3].x(), firstColumn);
    EXPECT_GT(placement.commentTopLefts[4].x(), firstColumn);
    EXPECT_DOUBLE_EQ(placement.commentTopLefts[4].y(), request.area.top());
    EXPECT_TRUE(request.area.contains(placement.bounds));
    EXPECT_EQ(overlappingPairs(placedBoxes(request, placement)), 0);
}

TEST(SlideFit, CommentsAloneStartAtTheAreaCornerAndOneTallerThanTheAreaDoesNotFit) {
    FitRequest request;
    request.commentSizes = {{100, 40}, {120, 40}};
    request.area = QRectF(18, 60, 684, 462);
    const Placement placement = PlaceInArea(request);
    EXPECT_TRUE(placement.fits);
    EXPECT_EQ(placement.commentTopLefts[0], request.area.topLeft());
    EXPECT_EQ(placement.commentTopLefts[1], request.area.topLeft() + QPointF(0, 50));

    FitRequest tall = chain(2, QRectF(18, 60, 684, 100));
    tall.commentSizes = {{100, 140}};
    EXPECT_FALSE(PlaceInArea(tall).fits);
}

// Three layers of a layered layout: one box, a long layer of twelve (node 6 narrow and tall),
// two boxes; a comment.
FitRequest threeLayers(QRectF area) {
    FitRequest request;
    request.nodeSizes.emplace_back(80, 30);
    request.centres.emplace_back(400, 15);
    for (int i = 0; i < 12; ++i) {
        request.nodeSizes.emplace_back(i == 5 ? 40 : 70, i == 5 ? 50 : 30);
        request.centres.emplace_back(900 - 75 * i, 75); // listed right to left
    }
    request.nodeSizes.emplace_back(60, 30);
    request.centres.emplace_back(300, 135);
    request.nodeSizes.emplace_back(60, 30);
    request.centres.emplace_back(200, 135);
    request.commentSizes = {{150, 40}};
    request.area = area;
    return request;
}

// The nodes of each row, top row first, each row left to right.
std::vector<std::vector<int>> rowsOf(const std::vector<QRectF>& boxes, std::size_t nodes) {
    std::map<long long, std::map<double, int>> rows;
    for (std::size_t i = 0; i < nodes; ++i)
        rows[std::llround(boxes[i].center().y())][boxes[i].left()] = static_cast<int>(i);
    std::vector<std::vector<int>> out;
    for (const auto& [middle, row] : rows) {
        out.emplace_back();
        for (const auto& [left, node] : row)
            out.back().push_back(node);
    }
    return out;
}

TEST(SlideFit, RowsWrapLongLayersFillUpOrTakeTheTallestFirst) {
    // 300 points take three boxes with gaps of 16, or four with node 6 among them. The long
    // layer reads 12, 11, ... 1.
    const QRectF area(18, 60, 300, 400);
    const FitRequest request = threeLayers(area);
    using Rows = std::vector<std::vector<int>>;
    struct Case {
        RowOrder order;
        Rows rows;
    };
    const Case cases[] = {
        {RowOrder::Layers, Rows{{0}, {12, 11, 10}, {9, 8, 7, 6}, {5, 4, 3}, {2, 1}, {14, 13}}},
        {RowOrder::Reading, Rows{{0, 12, 11}, {10, 9, 8}, {7, 6, 5, 4}, {3, 2, 1}, {14, 13}}},
        // Node 6 and the comment, the tallest, share the first row.
        {RowOrder::TallestFirst, Rows{{6}, {0, 12, 11}, {10, 9, 8}, {7, 5, 4}, {3, 2, 1}, {14, 13}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.order));
        const Placement placement = PlaceInRows(request, c.order);
        ASSERT_TRUE(placement.fits);
        EXPECT_EQ(placement.quality, FitQuality::Rows);
        const std::vector<QRectF> boxes = placedBoxes(request, placement);
        for (const QRectF& box : boxes)
            EXPECT_TRUE(area.contains(box)) << box.x() << "," << box.y();
        EXPECT_EQ(overlappingPairs(boxes, 16), 0) << "the widest gap fits";
        EXPECT_EQ(rowsOf(boxes, request.nodeSizes.size()), c.rows);
    }
}

TEST(SlideFit, RowsTooTallForTheAreaRunPastItAtTheLeastGap) {
    const FitRequest request = threeLayers(QRectF(0, 0, 300, 120));
    const Placement placement = PlaceInRows(request, RowOrder::Reading);
    EXPECT_FALSE(placement.fits);
    EXPECT_EQ(placement.quality, FitQuality::TooLarge);
    EXPECT_GT(placement.bounds.bottom(), 120);
    EXPECT_EQ(overlappingPairs(placedBoxes(request, placement), 2), 0);
}

} // namespace
} // namespace zov::editor::arrange
