// The layered layout through Graphviz, and the fitting of a layout into a slide's free area: the
// requests of tests/cases/arrange/fit.case, and the layers arcs cross (crossed.case).
#include "editor/arrange/LayeredLayout.h"
#include "editor/arrange/QuickLayers.h"
#include "editor/arrange/SlideFit.h"
#include "support/CaseFiles.h"

#include <QRectF>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
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

QString number(double v) { return QString::number(std::round(v * 100) / 100); }

// "X Y W H" as a rectangle, "WxH" as a size.
QRectF rectangle(const QString& text) {
    const QStringList f = text.simplified().split(u' ');
    return QRectF(f.value(0).toDouble(), f.value(1).toDouble(), f.value(2).toDouble(), f.value(3).toDouble());
}
QSizeF size(const QString& text) { return QSizeF(text.section(u'x', 0, 0).toDouble(), text.section(u'x', 1).toDouble()); }

// The request a case describes (see tests/cases/arrange/fit.case).
FitRequest request(const QString& input, QString& rows) {
    QStringList parts = input.split(u';');
    for (QString& part : parts)
        part = part.trimmed();
    FitRequest r;
    r.area = rectangle(parts.value(0));
    std::vector<std::pair<int, int>> edges;
    const QStringList nodes = parts.value(1).split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        const QString& n = nodes[i];
        if (n == u"column") { // column N WxH STEP
            const QSizeF box = size(nodes.value(i + 2));
            const int first = static_cast<int>(r.centres.size()), step = nodes.value(i + 3).toInt();
            for (int k = 0; k < nodes.value(i + 1).toInt(); ++k) {
                r.nodeSizes.push_back(box);
                r.centres.emplace_back(box.width() / 2, box.height() / 2 + step * k);
                if (k > 0)
                    edges.emplace_back(first + k - 1, first + k);
            }
            i += 3;
        } else {
            r.nodeSizes.push_back(size(n.section(u'@', 0, 0)));
            r.centres.emplace_back(n.section(u'@', 1).section(u',', 0, 0).toDouble(), n.section(u',', 1).toDouble());
        }
    }
    r.part = ConnectedParts(static_cast<int>(r.centres.size()), edges);
    for (const QString& c : parts.value(2).split(u' ', Qt::SkipEmptyParts))
        r.commentSizes.push_back(size(c));
    rows = parts.value(3);
    if (rows == u"across") {
        r.layersDown = false;
        for (std::size_t i = 0; i < r.centres.size(); ++i) {
            r.centres[i] = QPointF(r.centres[i].y(), r.centres[i].x());
            r.nodeSizes[i].transpose();
        }
    }
    return r;
}

// The nodes of each row, top row first, each row left to right: "0 | 12 11 10 | ...".
QString rowsOf(const std::vector<QRectF>& boxes, std::size_t nodes) {
    std::map<long long, std::map<double, int>> rows;
    for (std::size_t i = 0; i < nodes; ++i)
        rows[std::llround(boxes[i].center().y())][boxes[i].left()] = static_cast<int>(i);
    QStringList out;
    for (const auto& [middle, row] : rows) {
        QStringList line;
        for (const auto& [left, node] : row)
            line << QString::number(node);
        out << line.join(u' ');
    }
    return out.join(QStringLiteral(" | "));
}

// The least room between two boxes, along the axis that separates them; negative if they overlap.
double leastGap(const std::vector<QRectF>& boxes) {
    double least = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            const QRectF &p = boxes[a], &q = boxes[b];
            least = std::min(least, std::max(std::max(q.left() - p.right(), p.left() - q.right()),
                                              std::max(q.top() - p.bottom(), p.top() - q.bottom())));
        }
    return least;
}

TEST(SlideFit, EachRequestIsPlacedAsItsCaseSays) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("arrange"), QStringLiteral("fit.case"))) {
        QString option;
        const FitRequest r = request(c.input, option);
        const Placement p = option.startsWith(QStringLiteral("rows "))
            ? PlaceInRows(r, static_cast<RowOrder>(QStringList{"layers", "reading", "tallest", "packed"}.indexOf(option.mid(5))))
            : PlaceInArea(r);
        std::vector<QRectF> boxes;
        for (std::size_t i = 0; i < r.nodeSizes.size(); ++i)
            boxes.emplace_back(p.nodeTopLefts[i], r.nodeSizes[i]);
        QStringList comments;
        for (std::size_t i = 0; i < r.commentSizes.size(); ++i) {
            boxes.emplace_back(p.commentTopLefts[i], r.commentSizes[i]);
            comments << number(p.commentTopLefts[i].x()) + u',' + number(p.commentTopLefts[i].y());
            EXPECT_TRUE(!p.fits || r.area.contains(boxes.back())) << c.where() << ": comment " << i;
        }
        for (std::size_t i = 0; i < r.nodeSizes.size(); ++i)
            EXPECT_TRUE(!p.fits || r.area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(boxes[i])) << c.where() << ": node " << i;
        const QStringList got{
            QStringLiteral("%1 quality %2 scale %3 %4").arg(QLatin1String(p.fits ? "fits" : "does not fit")).arg(int(p.quality)).arg(number(p.scaleX), number(p.scaleY)),
            QStringLiteral("bounds %1,%2 %3x%4 least gap %5").arg(number(p.bounds.x()), number(p.bounds.y()), number(p.bounds.width()),
                                                                  number(p.bounds.height()), number(leastGap(boxes))),
            QStringLiteral("rows ") + rowsOf(boxes, r.nodeSizes.size()), QStringLiteral("comments ") + comments.join(u' ')};
        EXPECT_EQ(test::Lines(got), test::Lines(c.expected)) << c.where();
    }
}

TEST(LayeredLayout, ArcsCrossAsManyLayersAsEachCaseSays) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("arrange"), QStringLiteral("crossed.case"))) {
        const QStringList parts = c.input.split(u';');
        ASSERT_EQ(parts.size(), 2) << c.where();
        std::vector<std::pair<int, int>> arcs;
        for (const QString& arc : parts[1].split(u' ', Qt::SkipEmptyParts)) {
            const QStringList ends = arc.split(u'>');
            ASSERT_EQ(ends.size(), 2) << c.where() << ": " << arc.toStdString();
            arcs.emplace_back(ends[0].toInt(), ends[1].toInt());
        }
        const std::size_t crossed = LayersCrossed(parts[0].trimmed().toInt(), arcs);
        EXPECT_EQ(test::Lines({QStringLiteral("crossed %1").arg(crossed)}), test::Lines(c.expected)) << c.where();
    }
}

TEST(LayeredLayout, ASmallGraphWithArcsAcrossManyLayersIsLaidOutWithoutOverlap) {
    // A chain with an arc from its first node to every other: at 57 nodes 1,540 layers crossed,
    // which dot lays out with fewer rounds (in full such a graph took a second, and minutes at
    // twice the size); at 121 nodes 7,140, which the quick layers lay out.
    for (const int chain : {57, 121}) {
        LayeredGraph graph;
        for (int i = 0; i < chain; ++i)
            graph.nodeSizes.emplace_back(60, 24);
        for (int i = 1; i < chain; ++i) {
            graph.edges.emplace_back(i - 1, i);
            graph.edges.emplace_back(0, i);
        }
        const std::vector<QPointF> centres = LayOutLayered(graph, LayeredLayoutOptions{});
        ASSERT_EQ(centres.size(), graph.nodeSizes.size());
        std::vector<QRectF> boxes;
        for (const QPointF& centre : centres)
            boxes.emplace_back(centre - QPointF(30, 12), QSizeF(60, 24));
        EXPECT_EQ(overlappingPairs(boxes), 0) << chain;
        // Down the chain, each node below the one before it.
        for (int i = 1; i < chain; ++i)
            EXPECT_GT(centres[static_cast<std::size_t>(i)].y(), centres[static_cast<std::size_t>(i - 1)].y()) << chain << ": " << i;
    }
}

// The least scales as defined: every pair of boxes of a part looked at.
LeastScale LeastScalesOfEveryPair(const FitRequest& request) {
    const bool down = request.layersDown;
    const FitSpacing& gap = request.spacing;
    struct Pair {
        double dRank, dAcross, needRank, needAcross;
    };
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i < request.nodeSizes.size(); ++i)
        for (std::size_t j = i + 1; j < request.nodeSizes.size(); ++j) {
            if (request.part[i] != request.part[j])
                continue;
            const double dx = std::abs(request.centres[i].x() - request.centres[j].x());
            const double dy = std::abs(request.centres[i].y() - request.centres[j].y());
            const double needX = (request.nodeSizes[i].width() + request.nodeSizes[j].width()) / 2;
            const double needY = (request.nodeSizes[i].height() + request.nodeSizes[j].height()) / 2;
            pairs.push_back(down ? Pair{dy, dx, needY + gap.minRankGap, needX + gap.minNodeGap}
                                 : Pair{dx, dy, needX + gap.minRankGap, needY + gap.minNodeGap});
        }
    LeastScale least{0, 0};
    for (const Pair& p : pairs)
        if (p.dAcross < p.needAcross)
            least.along = std::max(least.along, p.dRank > 0 ? p.needRank / p.dRank : 1.0);
    least.along = std::clamp(least.along, 0.0, 1.0);
    for (const Pair& p : pairs)
        if (p.dRank * least.along < p.needRank - 1e-9)
            least.across = std::max(least.across, p.dAcross > 0 ? p.needAcross / p.dAcross : 1.0);
    least.across = std::clamp(least.across, 0.0, 1.0);
    return least;
}

// The least scales are found without looking at every pair, and come out exactly as if every
// pair were: on layouts in layers (spread so that they must be squeezed), in one column, in one
// row, with boxes on top of each other, in several parts, either way round.
TEST(SlideFit, LeastScalesAreExactlyThoseOfEveryPair) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    int squeezed = 0;
    for (int round = 0; round < 400; ++round) {
        FitRequest request;
        request.layersDown = round % 2 == 0;
        const int count = 1 + static_cast<int>(next(120));
        const int shape = round % 5; // 0, 1: layers; 2: one column; 3: one row; 4: a pile
        const int parts = 1 + static_cast<int>(next(3));
        const double spread = 10 + next(150);
        for (int i = 0; i < count; ++i) {
            request.nodeSizes.push_back(QSizeF(10 + next(80), 10 + next(40)));
            const double layer = shape == 3 ? 0 : shape == 2 ? i * spread : next(8) * spread;
            const double across = shape == 2 ? 0 : shape == 3 ? i * spread : shape == 1 ? i * 40.0 + next(30) : next(400);
            const QPointF centre = shape == 4 ? QPointF(next(4) * 5.0, next(4) * 5.0) : QPointF(across, layer);
            request.centres.push_back(request.layersDown ? centre : QPointF(centre.y(), centre.x()));
            request.part.push_back(static_cast<int>(next(static_cast<std::uint32_t>(parts))));
        }
        const LeastScale fast = LeastScales(request);
        const LeastScale every = LeastScalesOfEveryPair(request);
        EXPECT_EQ(fast.along, every.along) << "round " << round;
        EXPECT_EQ(fast.across, every.across) << "round " << round;
        squeezed += (fast.along > 0 && fast.along < 1 ? 1 : 0) + (fast.across > 0 && fast.across < 1 ? 1 : 0);
    }
    EXPECT_GT(squeezed, 100) << "enough scales that are squeezed, neither not at all nor to the full";
}

} // namespace
} // namespace zov::editor::arrange
