#include "editor/arrange/SlideFit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace zov::editor::arrange {

namespace {

// Union-find over node indexes.
int rootOf(std::vector<int>& parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        const int up = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        parent[static_cast<std::size_t>(i)] = up;
        i = up;
    }
    return i;
}

struct Part {
    std::vector<int> nodes; // indexes into the request's nodes, in order
    int first = 0;          // smallest node index, for a stable order
};

struct Scale {
    double x = 1, y = 1;
};

// A part's boxes at one scale: top-left of each node relative to the part's own corner, and
// the part's size.
struct ScaledPart {
    std::vector<QPointF> topLefts;
    QSizeF size;
};

ScaledPart scalePart(const FitRequest& request, const Part& part, Scale scale) {
    ScaledPart out;
    out.topLefts.reserve(part.nodes.size());
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool first = true;
    for (int i : part.nodes) {
        const auto k = static_cast<std::size_t>(i);
        const QSizeF s = request.nodeSizes[k];
        const QPointF tl(request.centres[k].x() * scale.x - s.width() / 2, request.centres[k].y() * scale.y - s.height() / 2);
        out.topLefts.push_back(tl);
        if (first || tl.x() < minX) minX = tl.x();
        if (first || tl.y() < minY) minY = tl.y();
        if (first || tl.x() + s.width() > maxX) maxX = tl.x() + s.width();
        if (first || tl.y() + s.height() > maxY) maxY = tl.y() + s.height();
        first = false;
    }
    for (QPointF& p : out.topLefts)
        p -= QPointF(minX, minY);
    out.size = QSizeF(maxX - minX, maxY - minY);
    return out;
}

// Packing rectangles into a strip of the given width: each one, in order, goes where its top
// is highest, then leftmost (a skyline of the space used so far). Rectangles wider than the
// strip start at its left edge and stick out.
struct Packing {
    std::vector<QPointF> corners; // per rectangle, relative to the packing's corner
    QSizeF size;
};

Packing packSkyline(const std::vector<QSizeF>& sizes, double widthLimit, double gap) {
    struct Segment {
        double x, width, y; // the space above y is free from x to x + width
    };
    double stripWidth = widthLimit;
    for (const QSizeF& s : sizes)
        stripWidth = std::max(stripWidth, s.width());
    std::vector<Segment> skyline{{0, stripWidth, 0}};
    constexpr double eps = 1e-9;

    Packing out;
    out.corners.resize(sizes.size());
    double width = 0, height = 0;
    for (std::size_t r = 0; r < sizes.size(); ++r) {
        const double w = sizes[r].width(), h = sizes[r].height();
        // The rectangle and the gap to its right must lie above the skyline.
        double bestX = 0, bestY = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < skyline.size(); ++i) {
            const double x = skyline[i].x;
            if (x > 0 && x + w > stripWidth + eps)
                break;
            const double reach = std::min(x + w + gap, stripWidth);
            double y = 0;
            for (std::size_t j = i; j < skyline.size() && skyline[j].x < reach - eps; ++j)
                y = std::max(y, skyline[j].y);
            if (y < bestY - eps) {
                bestY = y;
                bestX = x;
            }
        }
        out.corners[r] = QPointF(bestX, bestY);
        width = std::max(width, bestX + w);
        height = std::max(height, bestY + h);

        // Raise the skyline over the rectangle and the gap to its right (all of it lay at or
        // below bestY) to the rectangle's bottom plus the gap.
        const double from = bestX, to = std::min(bestX + w + gap, stripWidth), top = bestY + h + gap;
        std::vector<Segment> raised;
        raised.reserve(skyline.size() + 2);
        bool inserted = false;
        for (const Segment& seg : skyline) {
            const double end = seg.x + seg.width;
            if (end <= from + eps) {
                raised.push_back(seg);
                continue;
            }
            if (seg.x < from - eps)
                raised.push_back({seg.x, from - seg.x, seg.y});
            if (!inserted && seg.x < to - eps) {
                raised.push_back({from, to - from, top});
                inserted = true;
            }
            if (end > to + eps)
                raised.push_back({std::max(seg.x, to), end - std::max(seg.x, to), seg.y});
        }
        skyline.clear();
        for (const Segment& seg : raised) {
            if (seg.width <= eps)
                continue;
            if (!skyline.empty() && skyline.back().y == seg.y)
                skyline.back().width = seg.x + seg.width - skyline.back().x;
            else
                skyline.push_back(seg);
        }
    }
    out.size = QSizeF(width, sizes.empty() ? 0 : height);
    return out;
}

struct GraphPlacement {
    std::vector<QPointF> topLefts; // per node, relative to the graph's corner
    QSizeF size;
};

GraphPlacement placeGraph(const FitRequest& request, const std::vector<Part>& parts, Scale scale, double widthLimit) {
    std::vector<ScaledPart> scaled;
    scaled.reserve(parts.size());
    std::vector<QSizeF> sizes;
    sizes.reserve(parts.size());
    for (const Part& part : parts) {
        scaled.push_back(scalePart(request, part, scale));
        sizes.push_back(scaled.back().size);
    }
    const Packing packing = packSkyline(sizes, widthLimit, request.spacing.partGap);
    GraphPlacement out;
    out.topLefts.resize(request.nodeSizes.size());
    for (std::size_t p = 0; p < parts.size(); ++p)
        for (std::size_t j = 0; j < parts[p].nodes.size(); ++j)
            out.topLefts[static_cast<std::size_t>(parts[p].nodes[j])] = packing.corners[p] + scaled[p].topLefts[j];
    out.size = packing.size;
    return out;
}

// The largest value(a, b) over the pairs of boxes of one part that `admits` takes, found without
// looking at every pair: the pairs it takes lie less than `band` apart in coordinate u, and
// value(a, b) is at most `reach` over their distance in coordinate v (1 at distance 0). The
// boxes go into bands of u that wide, each band sorted by v; a box meets the boxes after it in
// its own band and those of the next band, nearest in v first, only while their distance in v
// could still give more than the largest value so far. Nothing above 1 is used (scales are at
// most 1), so a value of 1 ends the search. A pair left out could not have raised the result.
template <typename Admits, typename Value>
double largestOverClosePairs(const std::vector<int>& nodes, const std::vector<double>& u, const std::vector<double>& v,
                             double band, double reach, Admits admits, Value value, double best) {
    struct Entry {
        std::int64_t band;
        double v;
        int node;
    };
    // A margin on the band: two boxes less than `band` apart are never two bands apart.
    const double width = band * (1 + 1e-6);
    const bool banded = std::isfinite(width) && width > 0;
    double low = std::numeric_limits<double>::infinity();
    for (int i : nodes)
        low = std::min(low, u[static_cast<std::size_t>(i)]);
    std::vector<Entry> entries;
    entries.reserve(nodes.size());
    for (int i : nodes) {
        const auto at = static_cast<std::size_t>(i);
        const double index = banded ? std::floor((u[at] - low) / width) : 0;
        entries.push_back({static_cast<std::int64_t>(std::clamp(index, 0.0, 9e15)), v[at], i});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.band != b.band ? a.band < b.band : a.v < b.v;
    });
    // Whether a box at `distance` in v could still give more than `best`.
    const auto worthALook = [&](double distance) { return distance == 0 || reach / distance > best; };
    const auto meet = [&](const Entry& a, const Entry& b) {
        if (admits(a.node, b.node))
            best = std::max(best, value(a.node, b.node));
        return best < 1;
    };
    // The entries of the band after the current one: [nextBand, bandEnd), empty when the next
    // band holds no box.
    std::size_t nextBand = 0, bandEnd = 0;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const Entry& a = entries[k];
        for (std::size_t m = k + 1; m < entries.size() && entries[m].band == a.band; ++m) {
            if (!worthALook(std::abs(entries[m].v - a.v)))
                break;
            if (!meet(a, entries[m]))
                return best;
        }
        if (k == 0 || entries[k - 1].band != a.band) { // the first box of its band
            nextBand = k;
            while (nextBand < entries.size() && entries[nextBand].band == a.band)
                ++nextBand;
            bandEnd = nextBand;
            while (bandEnd < entries.size() && entries[bandEnd].band == a.band + 1)
                ++bandEnd;
        }
        if (nextBand == bandEnd)
            continue;
        const auto from = std::lower_bound(entries.begin() + static_cast<std::ptrdiff_t>(nextBand),
                                           entries.begin() + static_cast<std::ptrdiff_t>(bandEnd), a.v,
                                           [](const Entry& e, double value) { return e.v < value; }) -
                          entries.begin();
        for (auto m = static_cast<std::size_t>(from); m < bandEnd; ++m) {
            if (!worthALook(std::abs(entries[m].v - a.v)))
                break;
            if (!meet(a, entries[m]))
                return best;
        }
        for (auto m = static_cast<std::size_t>(from); m-- > nextBand;) {
            if (!worthALook(std::abs(entries[m].v - a.v)))
                break;
            if (!meet(a, entries[m]))
                return best;
        }
    }
    return best;
}

// The least scales that keep every pair of boxes of a part the least gaps apart: first along
// the layers' direction with the other scale at 1, then across the layers with the first one
// at its least.
struct Squeeze {
    double rank = 1;   // least scale along the layers' direction
    double across = 1; // least scale across, with `rank` applied
};

Squeeze leastScales(const FitRequest& request, const std::vector<Part>& parts) {
    const bool down = request.layersDown;
    const FitSpacing& spacing = request.spacing;
    const std::size_t count = request.nodeSizes.size();
    // Per box: its centre along and across the layers, and its size the same ways.
    std::vector<double> rankAt(count), acrossAt(count);
    double rankSize = 0, acrossSize = 0;
    for (std::size_t i = 0; i < count; ++i) {
        rankAt[i] = down ? request.centres[i].y() : request.centres[i].x();
        acrossAt[i] = down ? request.centres[i].x() : request.centres[i].y();
        rankSize = std::max(rankSize, down ? request.nodeSizes[i].height() : request.nodeSizes[i].width());
        acrossSize = std::max(acrossSize, down ? request.nodeSizes[i].width() : request.nodeSizes[i].height());
    }
    struct Pair {
        double dRank, dAcross, needRank, needAcross;
    };
    const auto pair = [&](int a, int b) {
        const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
        const double dx = std::abs(request.centres[i].x() - request.centres[j].x());
        const double dy = std::abs(request.centres[i].y() - request.centres[j].y());
        const double needX = (request.nodeSizes[i].width() + request.nodeSizes[j].width()) / 2;
        const double needY = (request.nodeSizes[i].height() + request.nodeSizes[j].height()) / 2;
        return down ? Pair{dy, dx, needY + spacing.minRankGap, needX + spacing.minNodeGap}
                    : Pair{dx, dy, needX + spacing.minRankGap, needY + spacing.minNodeGap};
    };
    // The most any pair needs along and across the layers: every gap a pair needs is at most this.
    const double rankReach = rankSize + spacing.minRankGap;
    const double acrossReach = acrossSize + spacing.minNodeGap;

    // Along the layers: pairs that overlap across them (closer than acrossReach there) need
    // their distance along them kept.
    Squeeze squeeze;
    squeeze.rank = 0;
    for (const Part& part : parts)
        squeeze.rank = largestOverClosePairs(
            part.nodes, acrossAt, rankAt, acrossReach, rankReach,
            [&](int a, int b) {
                const Pair p = pair(a, b);
                return p.dAcross < p.needAcross; // else kept apart across the layers whatever the scale along them
            },
            [&](int a, int b) {
                const Pair p = pair(a, b);
                return p.dRank > 0 ? p.needRank / p.dRank : 1.0;
            },
            squeeze.rank);
    squeeze.rank = std::clamp(squeeze.rank, 0.0, 1.0);

    // Across the layers, with that scale along them: pairs then closer along them than they need
    // (within rankReach / rank) need their distance across kept.
    const double rankBand = squeeze.rank > 0 ? rankReach / squeeze.rank : std::numeric_limits<double>::infinity();
    squeeze.across = 0;
    for (const Part& part : parts)
        squeeze.across = largestOverClosePairs(
            part.nodes, rankAt, acrossAt, rankBand, acrossReach,
            [&](int a, int b) {
                const Pair p = pair(a, b);
                return p.dRank * squeeze.rank < p.needRank - 1e-9;
            },
            [&](int a, int b) {
                const Pair p = pair(a, b);
                return p.dAcross > 0 ? p.needAcross / p.dAcross : 1.0;
            },
            squeeze.across);
    squeeze.across = std::clamp(squeeze.across, 0.0, 1.0);
    return squeeze;
}

// Comments in columns from the top of the area down, a new column when the next comment would
// pass the area's bottom.
struct CommentBlock {
    std::vector<QPointF> topLefts; // relative to the block's corner
    QSizeF size;
};

CommentBlock stackComments(const std::vector<QSizeF>& sizes, double heightLimit, double gap) {
    CommentBlock out;
    out.topLefts.resize(sizes.size());
    double x = 0, y = 0, columnWidth = 0, height = 0;
    bool columnEmpty = true;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const QSizeF s = sizes[i];
        if (!columnEmpty && y + gap + s.height() > heightLimit) {
            x += columnWidth + gap;
            y = 0;
            columnWidth = 0;
            columnEmpty = true;
        }
        if (!columnEmpty)
            y += gap;
        out.topLefts[i] = QPointF(x, y);
        y += s.height();
        columnWidth = std::max(columnWidth, s.width());
        height = std::max(height, y);
        columnEmpty = false;
    }
    out.size = QSizeF(sizes.empty() ? 0 : x + columnWidth, height);
    return out;
}

bool within(QSizeF size, QSizeF limit) {
    constexpr double slack = 1e-6;
    return size.width() <= limit.width() + slack && size.height() <= limit.height() + slack;
}


std::vector<Part> sortedParts(const FitRequest& request) {
    // Parts, tallest first (the main graph at the top left, lone nodes filling in after it).
    std::vector<Part> parts;
    for (std::size_t i = 0; i < request.nodeSizes.size(); ++i) {
        const auto p = static_cast<std::size_t>(i < request.part.size() ? std::max(request.part[i], 0) : 0);
        if (p >= parts.size())
            parts.resize(p + 1);
        if (parts[p].nodes.empty())
            parts[p].first = static_cast<int>(i);
        parts[p].nodes.push_back(static_cast<int>(i));
    }
    parts.erase(std::remove_if(parts.begin(), parts.end(), [](const Part& p) { return p.nodes.empty(); }), parts.end());
    std::vector<double> heights;
    std::vector<std::size_t> order(parts.size());
    std::iota(order.begin(), order.end(), 0);
    for (const Part& part : parts)
        heights.push_back(scalePart(request, part, {}).size.height());
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (heights[a] != heights[b])
            return heights[a] > heights[b];
        return parts[a].first < parts[b].first;
    });
    std::vector<Part> sorted;
    sorted.reserve(parts.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(parts[i]));
    return sorted;
}

struct GraphFit {
    GraphPlacement graph;
    Scale scale;
    FitQuality quality = FitQuality::Spread;
};

// The graph at the best scale for `limit` (see the header for the order of trials).
GraphFit fitGraph(const FitRequest& request, const std::vector<Part>& parts, QSizeF limit) {
    GraphFit fit;
    auto fitsAt = [&](Scale at, GraphPlacement& out) {
        out = placeGraph(request, parts, at, limit.width());
        return within(out.size, limit);
    };
    // The largest t in [lo, hi] for which `at(t)` fits, given that `at(lo)` fits (its placement
    // in fit.graph). Packing is close enough to monotone in the scale that bisection finds it;
    // every scale kept has been checked to fit.
    auto largestFitting = [&](double lo, double hi, auto at) {
        GraphPlacement trial;
        if (fitsAt(at(hi), trial)) {
            fit.graph = std::move(trial);
            return hi;
        }
        for (int step = 0; step < 14; ++step) {
            const double mid = (lo + hi) / 2;
            if (fitsAt(at(mid), trial)) {
                lo = mid;
                fit.graph = std::move(trial);
            } else {
                hi = mid;
            }
        }
        return lo;
    };
    auto oriented = [&](double rank, double across) {
        return request.layersDown ? Scale{across, rank} : Scale{rank, across};
    };

    if (fitsAt({}, fit.graph)) {
        const double s = largestFitting(1, std::max(request.spacing.maxSpread, 1.0), [](double t) { return Scale{t, t}; });
        fit.scale = {s, s};
        return fit;
    }
    const Squeeze least = leastScales(request, parts);
    if (fitsAt(oriented(least.rank, 1), fit.graph)) {
        const double r = largestFitting(least.rank, 1, [&](double t) { return oriented(t, 1); });
        fit.scale = oriented(r, 1);
        fit.quality = FitQuality::SqueezedAlong;
        return fit;
    }
    // Squeezing across the layers helps only when the graph is too broad across them; a graph
    // that is too long along its layers would only be crowded by it.
    const QSizeF along = fit.graph.size;
    const bool tooWideAcross = request.layersDown ? along.width() > limit.width() : along.height() > limit.height();
    if (tooWideAcross) {
        if (fitsAt(oriented(least.rank, least.across), fit.graph)) {
            const double a = largestFitting(least.across, 1, [&](double t) { return oriented(least.rank, t); });
            fit.scale = oriented(least.rank, a);
            fit.quality = FitQuality::SqueezedAcross;
            return fit;
        }
        fit.scale = oriented(least.rank, least.across);
    } else {
        fit.scale = oriented(least.rank, 1);
    }
    fit.graph = placeGraph(request, parts, fit.scale, limit.width());
    fit.quality = FitQuality::TooLarge;
    return fit;
}

// Comments in rows, left to right, a new row when the next comment would pass `widthLimit`.
CommentBlock flowComments(const std::vector<QSizeF>& sizes, double widthLimit, double gap) {
    CommentBlock out;
    out.topLefts.resize(sizes.size());
    double x = 0, y = 0, rowHeight = 0, width = 0;
    bool rowEmpty = true;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const QSizeF s = sizes[i];
        if (!rowEmpty && x + gap + s.width() > widthLimit) {
            y += rowHeight + gap;
            x = 0;
            rowHeight = 0;
            rowEmpty = true;
        }
        if (!rowEmpty)
            x += gap;
        out.topLefts[i] = QPointF(x, y);
        x += s.width();
        rowHeight = std::max(rowHeight, s.height());
        width = std::max(width, x);
        rowEmpty = false;
    }
    out.size = QSizeF(width, sizes.empty() ? 0 : y + rowHeight);
    return out;
}

constexpr double RowGaps[] = {16, 12, 8, 6, 4, LeastGap};

// The boxes (nodes, then comments) packed in the order given at the largest of RowGaps with
// which they fit (else at the least).
Placement placePacked(const FitRequest& request, const std::vector<std::size_t>& sequence) {
    const std::size_t nodeCount = request.nodeSizes.size();
    std::vector<QSizeF> sizes;
    sizes.reserve(sequence.size());
    for (std::size_t k : sequence)
        sizes.push_back(k < nodeCount ? request.nodeSizes[k] : request.commentSizes[k - nodeCount]);
    const QRectF area = request.area;
    Packing packing;
    bool fits = false;
    for (double gap : RowGaps) {
        packing = packSkyline(sizes, area.width(), gap);
        if ((fits = within(packing.size, area.size())))
            break;
    }
    Placement result;
    result.quality = fits ? FitQuality::Rows : FitQuality::TooLarge;
    result.fits = fits;
    result.commentsBelow = !request.commentSizes.empty();
    result.nodeTopLefts.resize(nodeCount);
    result.commentTopLefts.resize(request.commentSizes.size());
    QRectF bounds;
    for (std::size_t pos = 0; pos < sequence.size(); ++pos) {
        const std::size_t k = sequence[pos];
        const QPointF corner = area.topLeft() + packing.corners[pos];
        (k < nodeCount ? result.nodeTopLefts[k] : result.commentTopLefts[k - nodeCount]) = corner;
        bounds |= QRectF(corner, sizes[pos]);
    }
    result.bounds = bounds;
    return result;
}

} // namespace

LeastScale LeastScales(const FitRequest& request) {
    std::vector<Part> parts;
    for (std::size_t i = 0; i < request.nodeSizes.size(); ++i) {
        const auto p = static_cast<std::size_t>(i < request.part.size() ? std::max(request.part[i], 0) : 0);
        if (p >= parts.size())
            parts.resize(p + 1);
        parts[p].nodes.push_back(static_cast<int>(i));
    }
    const Squeeze squeeze = leastScales(request, parts);
    return {squeeze.rank, squeeze.across};
}

std::vector<int> ConnectedParts(int nodeCount, const std::vector<std::pair<int, int>>& edges) {
    const auto n = static_cast<std::size_t>(std::max(nodeCount, 0));
    std::vector<int> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto& [a, b] : edges) {
        if (a < 0 || b < 0 || a >= nodeCount || b >= nodeCount)
            continue;
        const int ra = rootOf(parent, a);
        const int rb = rootOf(parent, b);
        if (ra != rb)
            parent[static_cast<std::size_t>(std::max(ra, rb))] = std::min(ra, rb);
    }
    std::vector<int> number(n, -1);
    std::vector<int> part(n);
    int next = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto root = static_cast<std::size_t>(rootOf(parent, static_cast<int>(i)));
        if (number[root] < 0)
            number[root] = next++;
        part[i] = number[root];
    }
    return part;
}

Placement PlaceInArea(const FitRequest& request) {
    const std::size_t nodeCount = request.nodeSizes.size();
    const QRectF area = request.area;
    const FitSpacing& spacing = request.spacing;
    const std::vector<Part> parts = sortedParts(request);
    const bool haveNodes = nodeCount > 0;
    const bool haveComments = !request.commentSizes.empty();

    // Puts the graph at the area's corner and the comments at `commentsCorner` (relative to it).
    auto assemble = [&](const GraphFit& fit, const CommentBlock& comments, QPointF commentsCorner, bool fits) {
        Placement result;
        result.scaleX = fit.scale.x;
        result.scaleY = fit.scale.y;
        result.fits = fits;
        result.quality = fits ? fit.quality : FitQuality::TooLarge;
        QRectF bounds;
        result.nodeTopLefts.reserve(nodeCount);
        for (std::size_t i = 0; i < nodeCount; ++i) {
            const QPointF tl = area.topLeft() + fit.graph.topLefts[i];
            result.nodeTopLefts.push_back(tl);
            bounds |= QRectF(tl, request.nodeSizes[i]);
        }
        result.commentTopLefts.reserve(request.commentSizes.size());
        for (std::size_t i = 0; i < request.commentSizes.size(); ++i) {
            const QPointF tl = area.topLeft() + commentsCorner + comments.topLefts[i];
            result.commentTopLefts.push_back(tl);
            bounds |= QRectF(tl, request.commentSizes[i]);
        }
        result.bounds = bounds;
        return result;
    };

    // Comments in columns beside the graph.
    const CommentBlock columns = stackComments(request.commentSizes, area.height(), spacing.commentGap);
    const double besideWidth = haveComments && haveNodes ? columns.size.width() + spacing.besideGap : columns.size.width();
    const GraphFit beside = haveNodes ? fitGraph(request, parts, QSizeF(std::max(area.width() - besideWidth, 1.0), area.height()))
                                      : GraphFit{};
    const double graphWidth = beside.graph.size.width();
    const bool besideFits = beside.quality != FitQuality::TooLarge && within(columns.size, area.size()) &&
                            besideWidth + graphWidth <= area.width() + 1e-6;
    Placement placement =
        assemble(beside, columns, QPointF(haveNodes ? graphWidth + spacing.besideGap : 0, 0), besideFits);
    if (!haveNodes || !haveComments || placement.quality == FitQuality::Spread)
        return placement;

    // When the columns leave the graph too little room, rows of comments below it may do better.
    const CommentBlock rows = flowComments(request.commentSizes, area.width(), spacing.commentGap);
    const double belowHeight = rows.size.height() + spacing.besideGap;
    const GraphFit above = fitGraph(request, parts, QSizeF(area.width(), std::max(area.height() - belowHeight, 1.0)));
    const bool belowFits = above.quality != FitQuality::TooLarge && rows.size.width() <= area.width() + 1e-6 &&
                           above.graph.size.height() + belowHeight <= area.height() + 1e-6;
    Placement below =
        assemble(above, rows, QPointF(0, above.graph.size.height() + spacing.besideGap), belowFits);
    if (below.quality < placement.quality) {
        below.commentsBelow = true;
        return below;
    }
    return placement;
}

Placement PlaceInRows(const FitRequest& request, RowOrder order) {
    const std::size_t nodeCount = request.nodeSizes.size();
    const std::size_t total = nodeCount + request.commentSizes.size();
    auto sizeOf = [&](std::size_t k) { return k < nodeCount ? request.nodeSizes[k] : request.commentSizes[k - nodeCount]; };
    const QRectF area = request.area;

    // The layered layout's reading order: layer by layer (nodes of one layer share the height
    // of their centre), left to right within a layer.
    auto layerOf = [&](std::size_t k) {
        return k < request.centres.size() ? std::llround(request.centres[k].y() * 4) : 0LL;
    };
    auto across = [&](std::size_t k) { return k < request.centres.size() ? request.centres[k].x() : 0.0; };
    std::vector<std::size_t> sequence(nodeCount);
    std::iota(sequence.begin(), sequence.end(), std::size_t{0});
    std::stable_sort(sequence.begin(), sequence.end(), [&](std::size_t a, std::size_t b) {
        const long long la = layerOf(a), lb = layerOf(b);
        return la != lb ? la < lb : across(a) < across(b);
    });
    std::vector<bool> breakBefore(total, false);
    if (order == RowOrder::Layers)
        for (std::size_t pos = 1; pos < nodeCount; ++pos)
            breakBefore[pos] = layerOf(sequence[pos]) != layerOf(sequence[pos - 1]);
    for (std::size_t k = nodeCount; k < total; ++k)
        sequence.push_back(k);
    if (order == RowOrder::Layers && nodeCount > 0 && total > nodeCount)
        breakBefore[nodeCount] = true; // comments start a row of their own
    if (order == RowOrder::TallestFirst || order == RowOrder::Packed)
        std::stable_sort(sequence.begin(), sequence.end(),
                         [&](std::size_t a, std::size_t b) { return sizeOf(a).height() > sizeOf(b).height(); });
    if (order == RowOrder::Packed)
        return placePacked(request, sequence);

    struct Row {
        std::size_t begin = 0, end = 0; // positions in `sequence`
        double width = 0, height = 0;
    };
    auto rowsAt = [&](double gap) {
        std::vector<Row> rows;
        for (std::size_t pos = 0; pos < total; ++pos) {
            const QSizeF s = sizeOf(sequence[pos]);
            if (rows.empty() || breakBefore[pos] || rows.back().width + gap + s.width() > area.width() + 1e-6)
                rows.push_back({pos, pos, -gap, 0});
            Row& row = rows.back();
            row.end = pos + 1;
            row.width += gap + s.width();
            row.height = std::max(row.height, s.height());
        }
        return rows;
    };
    // The height the rows need with `gap` between them, and whether each fits across.
    auto heightAt = [&](const std::vector<Row>& rows, double gap, bool& narrowEnough) {
        double height = 0;
        narrowEnough = true;
        for (const Row& row : rows) {
            height += row.height;
            narrowEnough = narrowEnough && row.width <= area.width() + 1e-6;
        }
        return height + gap * static_cast<double>(rows.empty() ? 0 : rows.size() - 1);
    };

    const auto& Gaps = RowGaps;
    constexpr double MostBetweenRows = 36;
    double gap = Gaps[std::size(Gaps) - 1];
    std::vector<Row> rows;
    bool fits = false;
    for (double trial : Gaps) {
        std::vector<Row> candidate = rowsAt(trial);
        bool narrowEnough = false;
        if (heightAt(candidate, trial, narrowEnough) <= area.height() + 1e-6 && narrowEnough) {
            gap = trial;
            rows = std::move(candidate);
            fits = true;
            break;
        }
    }
    if (!fits)
        rows = rowsAt(gap);
    // The height left over goes between the rows, within limits.
    double betweenRows = gap;
    if (fits && rows.size() > 1) {
        bool narrowEnough = false;
        const double contents = heightAt(rows, 0, narrowEnough);
        // Rounded down to a thousandth of a point, so that the sum cannot pass the area's bottom.
        const double share = std::floor((area.height() - contents) / static_cast<double>(rows.size() - 1) * 1000) / 1000;
        betweenRows = std::clamp(share, gap, std::max(gap, MostBetweenRows));
    }

    Placement result;
    result.quality = fits ? FitQuality::Rows : FitQuality::TooLarge;
    result.fits = fits;
    result.commentsBelow = total > nodeCount;
    result.nodeTopLefts.resize(nodeCount);
    result.commentTopLefts.resize(total - nodeCount);
    QRectF bounds;
    double y = area.top();
    double aboveLeft = area.left(), aboveRight = area.right(); // where the row above begins and ends
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        // In reading order every second row of nodes runs right to left, so that a chain goes
        // on below where the row above ended instead of crossing back over the slide: a row
        // that runs back ends under the end of the row above, the next one starts under its
        // start. Other rows are centred.
        const bool serpentine = order == RowOrder::Reading && r > 0 && sequence[row.begin] < nodeCount;
        const bool backwards = serpentine && r % 2 == 1;
        double x = area.left() + std::max((area.width() - row.width) / 2, 0.0);
        if (backwards)
            x = std::max(area.left(), aboveRight - row.width);
        else if (serpentine)
            x = std::max(area.left(), std::min(aboveLeft, area.right() - row.width));
        aboveLeft = x;
        aboveRight = x + row.width;
        for (std::size_t step = row.begin; step < row.end; ++step) {
            const std::size_t pos = backwards ? row.end - 1 - (step - row.begin) : step;
            const std::size_t k = sequence[pos];
            const QSizeF s = sizeOf(k);
            const QPointF corner(x, y + (row.height - s.height()) / 2);
            if (k < nodeCount)
                result.nodeTopLefts[k] = corner;
            else
                result.commentTopLefts[k - nodeCount] = corner;
            bounds |= QRectF(corner, s);
            x += s.width() + gap;
        }
        y += row.height + betweenRows;
    }
    result.bounds = bounds;
    return result;
}

} // namespace zov::editor::arrange
