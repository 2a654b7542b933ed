#pragma once
// Drawing one parsed graph on a new slide. The reader hands every finished graph (nested graphs
// that have arcs first, then the top-level graph) to a GraphBuilder, which reads the graph
// straight from the reader's tables: the slide and its title label, every comment, every link
// with the two nodes it joins, and last every concept that no link touches.
//
// The algorithm is shared by two builders: SlideBuilder draws on the host's active window, and
// CheckingBuilder draws nothing but makes the same lookups and reports the same failures, so
// that a checking run prints exactly what an import prints.
#include "cgif/import/SlideNameSet.h"
#include "cgif/reader/GraphModel.h"
#include "cgif/reader/IdTable.h"
#include "cgif/reader/GraphSink.h"
#include "drawing/DrawingSettings.h"
#include "host/Shape.h"
#include "host/Slide.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zov::host {
class Application;
}
namespace zov::platform {
class MessageBoxes;
}

namespace zov::cgif {

class CgifReader;

// One node drawn during the link phase: the id it was drawn for and its shape.
struct ShapeEntry {
    NodeId Id;
    host::Shape Shape;
};

class GraphBuilder : public GraphSink {
public:
    // `settings` is read at the moment each shape is drawn (it is the session's live record).
    GraphBuilder(const drawing::DrawingSettings& settings, platform::MessageBoxes& messages);

    // A failure that ends the build takes the graph's slide away again and is passed on.
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                         int firstLinkIndex, int firstNodeIndex) override;

    // The nodes drawn as link ends by the last build, in drawing order. Emptied when the link
    // phase of a build starts; kept after the build.
    const std::vector<ShapeEntry>& ShapeTable() const { return shapeTable_; }
    // The shape of the first entry drawn for `id`; the empty handle when there is none.
    host::Shape FindShapeById(const NodeId& id) const;

    // Whether a slide (existing, or made by an earlier build) already has this name; a reader
    // uses it so that generated graph names "G" + number skip names in use.
    virtual bool SlideNameInUse(const QString& name) const = 0;

    // Told how far the drawing of a large graph has got, `done` of its `total` arcs: at its
    // start (0), every DrawProgressStep arcs, and once when the build ends, drawn or not
    // (`total`). A graph of fewer than DrawProgressFrom arcs draws in a moment and tells nothing.
    using DrawProgress = std::function<void(std::int64_t done, std::int64_t total)>;
    static constexpr std::size_t DrawProgressFrom = 4096;
    static constexpr std::size_t DrawProgressStep = 1024;
    void SetDrawProgress(DrawProgress progress) { drawProgress_ = std::move(progress); }

    // Whether a node (a concept, relation, actor or comment) was drawn on a slide that was kept,
    // or would have been by a builder that draws nothing: an import that draws none writes
    // nothing, and a check says so as it does.
    bool DrewAnyNode() const { return nodesDrawn_ > 0; }

protected:
    // Adds the graph's slide, shows it in the active window, names it after the graph and puts
    // the title label on it.
    virtual void AddGraphSlide(const QString& slideName, QStringView graphType) = 0;
    // Takes away the slide the last AddGraphSlide added (if it added one), with all drawn on it:
    // called when that graph's build fails.
    virtual void RemoveGraphSlide() = 0;
    // Draws one node shape on the slide in view (CreateNodeShape with the given look).
    virtual host::Shape DrawNode(const drawing::DrawingSettings& look, const QString& name, int autoShapeType,
                                 const QString& label, float left, float top, std::int32_t fillColor) = 0;
    // Draws the arc from `from` to `to`: a straight connector glued at both ends, arrow at `to`.
    virtual void DrawArc(const host::Shape& from, const host::Shape& to) = 0;

    platform::MessageBoxes& Messages() { return messages_; }
    // False for a builder that draws nothing: the build then makes only the lookups that can
    // fail (and report), without the names, labels and looks of shapes nobody sees.
    virtual bool DrawsShapes() const { return true; }

private:
    enum class End { Source, Target };
    struct BuildStopped {}; // a coreference label neither table holds ends the build

    // Tables up to this size are searched in order; larger ones through a hash of each id's
    // first position, which finds the same entry.
    static constexpr std::size_t LinearSearchLimit = 24;

    void DrawGraph(CgifReader& reader, const QString& slideName, QStringView graphType, int firstLinkIndex,
                   int firstNodeIndex);
    // DrawNode, counted.
    host::Shape Draw(const drawing::DrawingSettings& look, const QString& name, int autoShapeType, const QString& label,
                     float left, float top, std::int32_t fillColor);
    void CountDrawn() {
        ++nodesDrawn_;
        ++nodesOnSlide_;
    }
    // A builder that draws nothing looks for what would be drawn only until it has found a node.
    bool StillCounting() const { return !DrawsShapes() && nodesDrawn_ == 0; }
    void ForgetBuild(); // drops what only the build in progress uses
    void ClearEntries();
    // The entry drawn for the node at `node`, the first index holding its id; nullptr if none.
    const ShapeEntry* EntryOfNode(int node) const;
    void AppendEntry(int node, const host::Shape& shape);
    // The first BoundArray index holding `id`, or -1; a quiet lookup (FindNodeById reports).
    int IndexOfId(const NodeId& id) const;
    // Starts fetching what IndexOfId will read for the two ends of `link`.
    void PrefetchIds(const CgifReader& reader, const LinkRecord& link) const;
    std::optional<host::Shape> LinkEndShape(CgifReader& reader, const NodeId& id, End end,
                                            const NodeId& sourceId);
    std::optional<host::Shape> DrawLinkEnd(CgifReader& reader, const NodeRecord& node, int index, End end,
                                           const NodeId& sourceId);
    QString CoreferenceLabel(CgifReader& reader, const NodeRecord& node, int index, End end,
                             bool sourceIsNegation);
    // The concept that defines a coreferent concept's label, and its graph: first in the graph
    // being read below the concept, then among the nested graphs already built. A label found
    // in neither is shown and ends the build (BuildStopped).
    void FindDefiningConcept(CgifReader& reader, const NodeRecord& node, int index, NodeRecord& defining,
                             NodeRecord& graph);
    // The same lookups (and the earlier graphs' last), quietly: false when none finds the label.
    bool TryFindDefiningConcept(CgifReader& reader, const NodeRecord& node, int index, NodeRecord& defining,
                                NodeRecord& graph);
    // `first`: the first index holding the node's id, where its entry goes.
    void DrawUnlinkedCoreferent(CgifReader& reader, int index, int first);

    const drawing::DrawingSettings& settings_;
    platform::MessageBoxes& messages_;
    std::vector<ShapeEntry> shapeTable_;
    // Per BoundArray index (the first holding an id): 1 + the index of the entry drawn for it,
    // or 0. An id is found through its first index, so this dense table stands in for a hash of
    // the drawn ids; it only grows, and only the places the last build set are cleared.
    std::vector<int> entryOfNode_;
    std::vector<int> entryNodes_; // per entry of shapeTable_, its index in entryOfNode_
    const NodeTable* nodes_ = nullptr; // BoundArray of the build in progress
    const CgifReader* reader_ = nullptr;             // the reader whose tables those are
    IdTable firstNode_;                   // a large BoundArray: id -> first index
    DrawProgress drawProgress_;
    std::size_t nodesDrawn_ = 0;   // on the slides kept
    std::size_t nodesOnSlide_ = 0; // on the slide of the build in progress, taken away if it fails
};

// Draws on the slide shown in the application's active window (a new last slide per graph).
class SlideBuilder final : public GraphBuilder {
public:
    SlideBuilder(host::Application& app, const drawing::DrawingSettings& settings,
                 platform::MessageBoxes& messages);
    bool SlideNameInUse(const QString& name) const override;
    // The graphs on the slides of the active presentation, each slide a graph named as the
    // slide, with its concepts that bear a coreference label.
    void AddEarlierGraphs(EarlierGraphs& earlier) override;

protected:
    void AddGraphSlide(const QString& slideName, QStringView graphType) override;
    void RemoveGraphSlide() override;
    host::Shape DrawNode(const drawing::DrawingSettings& look, const QString& name, int autoShapeType,
                         const QString& label, float left, float top, std::int32_t fillColor) override;
    void DrawArc(const host::Shape& from, const host::Shape& to) override;

private:
    host::Application& app_;
    host::Slide started_; // the slide of the build in progress (or of the last build)
};

// Draws nothing. It keeps the names the slides would get in a new presentation, so that a
// graph name used twice fails here exactly as the host refuses the second slide name (and, as
// there, the refused graph gets no slide).
class CheckingBuilder final : public GraphBuilder {
public:
    CheckingBuilder(const drawing::DrawingSettings& settings, platform::MessageBoxes& messages);
    int SlideCount() const { return static_cast<int>(slideNames_.Size()); }
    bool SlideNameInUse(const QString& name) const override { return slideNames_.Contains(name); }

protected:
    void AddGraphSlide(const QString& slideName, QStringView graphType) override;
    void RemoveGraphSlide() override;
    host::Shape DrawNode(const drawing::DrawingSettings&, const QString&, int, const QString&, float, float,
                         std::int32_t) override {
        return host::Shape();
    }
    void DrawArc(const host::Shape&, const host::Shape&) override {}
    bool DrawsShapes() const override { return false; }

private:
    SlideNameSet slideNames_;
    QString started_; // the name the build in progress (or the last build) gave its slide
};

// A concept's label text: its type, or type ":" referent when it has a referent.
QString ConceptLabel(const NodeRecord& node);

} // namespace zov::cgif
