#include "cgif/import/GraphBuilder.h"

#include "cgif/reader/CgifReader.h"
#include "cgif/reader/EarlierGraphs.h"
#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "drawing/NodeShape.h"
#include "host/Application.h"
#include "host/HostError.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <utility>

namespace zov::cgif {

namespace {

const QString NegationType = QStringLiteral("Neg");

QString PropositionLabel(const RecordText& graphName) {
    return QStringLiteral("Proposition (") + graphName + u')';
}

QString CoreferentName(const NodeRecord& node) {
    QString name = node.Name + drawing::NameSeparator;
    node.Id.AppendTo(name);
    return name;
}

} // namespace

QString ConceptLabel(const NodeRecord& node) {
    if (node.Referent.isEmpty())
        return node.Type.ToString();
    return node.Type + drawing::LabelSeparator + node.Referent;
}

// --- the shared algorithm ---------------------------------------------------------------

GraphBuilder::GraphBuilder(const drawing::DrawingSettings& settings, platform::MessageBoxes& messages)
    : settings_(settings), messages_(messages) {}

void GraphBuilder::BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                                   int firstLinkIndex, int firstNodeIndex) {
    firstNodeIndex = std::max(firstNodeIndex, 0);
    firstLinkIndex = std::max(firstLinkIndex, 0);

    // A failure that ends the build (the host refuses the slide name, a host call fails, memory
    // runs out) takes the graph's slide away again before it goes on to the reader: a graph
    // that could not be drawn leaves no slide behind. A coreference label that cannot be found
    // is not such a failure: the build stops and what it drew stays.
    nodesOnSlide_ = 0;
    try {
        DrawGraph(reader, slideName, graphType, firstLinkIndex, firstNodeIndex);
    } catch (...) {
        nodesDrawn_ -= std::exchange(nodesOnSlide_, 0); // their slide goes
        ForgetBuild();
        ClearEntries();
        try {
            RemoveGraphSlide();
        } catch (...) {
            // the slide could not be taken away; the reader reports the build's own failure
        }
        throw;
    }
    ForgetBuild();
}

void GraphBuilder::ForgetBuild() {
    nodes_ = nullptr;
    reader_ = nullptr;
    firstNode_.Clear();
}

void GraphBuilder::DrawGraph(CgifReader& reader, const QString& slideName, QStringView graphType,
                             int firstLinkIndex, int firstNodeIndex) {
    const ReaderTables& tables = reader.Tables();
    const NodeTable& nodes = tables.BoundArray;

    AddGraphSlide(slideName, graphType);
    const bool draws = DrawsShapes();

    // Comments: all at one fixed place, in a small font of their own. The node font is set
    // aside for them only, on a copy, so the session's settings are untouched whatever happens.
    if (draws) {
        drawing::DrawingSettings commentLook = settings_;
        commentLook.nodeFontName = QStringLiteral("Arial");
        commentLook.nodeFontSize = 12;
        for (std::size_t i = static_cast<std::size_t>(firstNodeIndex); i < nodes.size(); ++i) {
            const NodeRecord& node = nodes[i];
            if (node.Kind == NodeKind::Comment)
                Draw(commentLook, node.Id.ToString(), drawing::CommentShapeType, node.Type.ToString(), 100, 50,
                     settings_.commentColor);
        }
    } else if (StillCounting()) {
        for (std::size_t i = static_cast<std::size_t>(firstNodeIndex); i < nodes.size(); ++i) {
            if (nodes[i].Kind == NodeKind::Comment) {
                CountDrawn();
                break;
            }
        }
    }

    // The reader's tables do not change while a graph is drawn, so for a large graph an index
    // of the node ids stands in for the searches in order, finding the same first node.
    nodes_ = &nodes;
    reader_ = &reader;
    firstNode_.Clear();
    // While the reader reads a stream it answers from its own index; only a build outside a
    // reading makes one here.
    const bool readerIndexes = !nodes.empty() && reader.IndexedNodeId(nodes.front().Id).has_value();
    if (nodes.size() > LinearSearchLimit && !readerIndexes) {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            firstNode_.Add(nodes[i].Id, static_cast<int>(i)); // the first index is kept
    }
    ClearEntries();
    // Room for a shape per node of the graph, the most it usually draws: a large graph's table
    // does not grow by copying.
    const std::size_t graphNodes = nodes.size() - std::min(nodes.size(), static_cast<std::size_t>(firstNodeIndex));
    if (draws)
        shapeTable_.reserve(graphNodes);
    entryNodes_.reserve(graphNodes);
    if (entryOfNode_.size() < nodes.size())
        entryOfNode_.resize(nodes.size(), 0);

    // A large graph tells how far its drawing has got, and that it is over however it ends.
    const LinkTable& links = tables.Links;
    const std::size_t firstLink = std::min(links.size(), static_cast<std::size_t>(std::max(firstLinkIndex, 0)));
    const auto linkCount = static_cast<std::int64_t>(links.size() - firstLink);
    struct TellsProgress {
        const DrawProgress* progress = nullptr;
        std::int64_t total = 0;
        ~TellsProgress() {
            if (progress != nullptr) {
                try {
                    (*progress)(total, total);
                } catch (...) {
                    // a progress display that fails does not stop the import
                }
            }
        }
    } tells;
    if (drawProgress_ && linkCount >= static_cast<std::int64_t>(DrawProgressFrom)) {
        drawProgress_(0, linkCount);
        tells.progress = &drawProgress_;
        tells.total = linkCount;
    }

    try {
        for (std::size_t i = firstLink; i < links.size(); ++i) {
            if (tells.progress != nullptr && i > firstLink && (i - firstLink) % DrawProgressStep == 0)
                drawProgress_(static_cast<std::int64_t>(i - firstLink), linkCount);
            // The ids of a large graph are found through a table too large for the cache: the
            // lookups of a link a few ahead are started now, so that they have arrived by then.
            constexpr std::size_t LinksAhead = 8;
            if (i + LinksAhead < links.size())
                PrefetchIds(reader, links[i + LinksAhead]);
            // Copies: a message box shown below lets other events run before the build goes on.
            const LinkRecord link = links[i];
            const std::optional<host::Shape> source = LinkEndShape(reader, link.From, End::Source, link.From);
            const std::optional<host::Shape> target = LinkEndShape(reader, link.To, End::Target, link.From);
            if (source && target)
                DrawArc(*source, *target);
        }

        // Concepts that no link touches (drawing them cannot fail). A coreferent one is drawn
        // as the pentagon it is when its label's definition is found, and left out otherwise.
        const bool idsUnique = reader.IndexedIdsUnique();
        for (std::size_t i = static_cast<std::size_t>(firstNodeIndex); (draws || StillCounting()) && i < nodes.size(); ++i) {
            const std::int16_t kind = nodes[i].Kind;
            if (kind != NodeKind::CoreferentConcept && kind != NodeKind::Concept)
                continue;
            // A node is found through the first index holding its id (itself, for a node
            // without an id, or when no id is held twice).
            const int found = idsUnique && !nodes[i].Id.IsEmpty() ? static_cast<int>(i) : IndexOfId(nodes[i].Id);
            const int first = found >= 0 ? found : static_cast<int>(i);
            if (EntryOfNode(first) != nullptr)
                continue;
            if (kind == NodeKind::CoreferentConcept) {
                DrawUnlinkedCoreferent(reader, static_cast<int>(i), first);
                continue;
            }
            const NodeRecord node = nodes[static_cast<std::size_t>(first)];
            Draw(settings_, CoreferentName(node), drawing::ConceptShapeType, ConceptLabel(node), node.X, node.Y,
                 settings_.conceptColor);
        }
    } catch (const BuildStopped&) {
        // The failure has been shown; what is drawn stays.
    }
}

host::Shape GraphBuilder::FindShapeById(const NodeId& id) const {
    for (const ShapeEntry& entry : shapeTable_)
        if (entry.Id == id)
            return entry.Shape;
    return host::Shape();
}

void GraphBuilder::ClearEntries() {
    for (const int node : entryNodes_)
        entryOfNode_[static_cast<std::size_t>(node)] = 0;
    entryNodes_.clear();
    shapeTable_.clear();
}

const ShapeEntry* GraphBuilder::EntryOfNode(int node) const {
    if (node < 0)
        return nullptr; // an id the graph does not hold has no entry
    const int entry = entryOfNode_[static_cast<std::size_t>(node)];
    if (entry == 0)
        return nullptr;
    static const ShapeEntry nothingDrawn;
    return DrawsShapes() ? &shapeTable_[static_cast<std::size_t>(entry - 1)] : &nothingDrawn;
}

// Only nodes without an entry get one. A builder that draws nothing only marks the node: a
// table of shapes nobody sees would take as much room as a third of the reader's tables.
void GraphBuilder::AppendEntry(int node, const host::Shape& shape) {
    if (!DrawsShapes()) {
        entryNodes_.push_back(node);
        entryOfNode_[static_cast<std::size_t>(node)] = 1;
        return;
    }
    shapeTable_.push_back(ShapeEntry{(*nodes_)[static_cast<std::size_t>(node)].Id, shape});
    entryNodes_.push_back(node);
    entryOfNode_[static_cast<std::size_t>(node)] = static_cast<int>(shapeTable_.size());
}

int GraphBuilder::IndexOfId(const NodeId& id) const {
    if (nodes_ == nullptr)
        return -1;
    if (reader_ != nullptr) {
        if (const std::optional<int> indexed = reader_->IndexedNodeId(id))
            return *indexed;
    }
    if (firstNode_.Empty()) {
        for (std::size_t i = 0; i < nodes_->size(); ++i)
            if ((*nodes_)[i].Id == id)
                return static_cast<int>(i);
        return -1;
    }
    const int found = firstNode_.Find(id);
    if (found < 0)
        return -1;
    // An index past the end (the tables were cut back meanwhile) counts as not found.
    const auto index = static_cast<std::size_t>(found);
    return index < nodes_->size() && (*nodes_)[index].Id == id ? found : -1;
}

void GraphBuilder::PrefetchIds(const CgifReader& reader, const LinkRecord& link) const {
    for (const NodeId* id : {&link.From, &link.To}) {
        reader.PrefetchNodeId(*id);
        firstNode_.Prefetch(*id);
    }
}

std::optional<host::Shape> GraphBuilder::LinkEndShape(CgifReader& reader, const NodeId& id, End end,
                                                      const NodeId& sourceId) {
    int index = IndexOfId(id);
    NodeRecord missing;
    if (index < 0 && !reader.FindNodeById(id, missing, index)) {
        // Not in the graph: the reader's lookup has said so in a message box. No shape is
        // drawn for this end, and the link gets no arc.
        return std::nullopt;
    }
    if (const ShapeEntry* entry = EntryOfNode(index))
        return entry->Shape;
    std::optional<host::Shape> shape =
        DrawLinkEnd(reader, (*nodes_)[static_cast<std::size_t>(index)], index, end, sourceId);
    if (shape)
        AppendEntry(index, *shape);
    return shape;
}

std::optional<host::Shape> GraphBuilder::DrawLinkEnd(CgifReader& reader, const NodeRecord& node, int index, End end,
                                                     const NodeId& sourceId) {
    if (!DrawsShapes()) {
        // Only a coreferent concept's lookups can fail; nothing is drawn.
        if (node.Kind == NodeKind::CoreferentConcept) {
            NodeRecord defining;
            NodeRecord graph;
            FindDefiningConcept(reader, node, index, defining, graph);
        }
        if (node.Kind == NodeKind::Concept || node.Kind == NodeKind::Relation || node.Kind == NodeKind::Actor ||
            node.Kind == NodeKind::CoreferentConcept || node.Kind == NodeKind::Graph) {
            CountDrawn();
            return host::Shape();
        }
        return std::nullopt;
    }
    const int sourceIndex = IndexOfId(sourceId);
    const bool sourceIsNegation =
        sourceIndex >= 0 && (*nodes_)[static_cast<std::size_t>(sourceIndex)].Type == NegationType;

    switch (node.Kind) {
    case NodeKind::Concept:
        return Draw(settings_, CoreferentName(node), drawing::ConceptShapeType, ConceptLabel(node), node.X,
                    node.Y, settings_.conceptColor);
    case NodeKind::Relation:
        return Draw(settings_, node.Id.ToString(), drawing::RelationShapeType, node.Type.ToString(), node.X, node.Y,
                    settings_.relationColor);
    case NodeKind::Actor:
        return Draw(settings_, node.Id.ToString(), drawing::ActorShapeType, node.Type.ToString(), node.X, node.Y,
                    settings_.actorColor);
    case NodeKind::CoreferentConcept: {
        const QString label = CoreferenceLabel(reader, node, index, end, sourceIsNegation);
        return Draw(settings_, CoreferentName(node), drawing::CoreferentConceptShapeType, label, node.X, node.Y,
                    settings_.conceptColor);
    }
    case NodeKind::Graph: {
        // A nested graph used as an argument: a pentagon that names the graph's own slide.
        const QString label =
            end == End::Target && sourceIsNegation ? PropositionLabel(node.Name) : node.Name.ToString();
        return Draw(settings_, CoreferentName(node), drawing::CoreferentConceptShapeType, label, node.X, node.Y,
                    settings_.conceptColor);
    }
    default:
        // A comment (or anything else) as a link end has no shape of its own; the reader
        // makes no such links.
        return std::nullopt;
    }
}

QString GraphBuilder::CoreferenceLabel(CgifReader& reader, const NodeRecord& node, int index, End end,
                                       bool sourceIsNegation) {
    const QString base = ConceptLabel(node);
    NodeRecord defining;
    NodeRecord graph;
    FindDefiningConcept(reader, node, index, defining, graph);
    if (defining.Kind == NodeKind::Graph) {
        if (end == End::Source)
            return base + u'(' + graph.Name + u')';
        return sourceIsNegation ? PropositionLabel(node.Name) : node.Name.ToString();
    }
    return base + u'(' + defining.Type + QStringLiteral(" in ") + graph.Name + u')';
}

void GraphBuilder::DrawUnlinkedCoreferent(CgifReader& reader, int index, int first) {
    const NodeRecord node = (*nodes_)[static_cast<std::size_t>(index)];
    NodeRecord defining;
    NodeRecord graph;
    if (node.Name.isEmpty() || !TryFindDefiningConcept(reader, node, index, defining, graph))
        return;
    const QString base = ConceptLabel(node);
    const QString label = defining.Kind == NodeKind::Graph
                              ? base + u'(' + graph.Name + u')'
                              : base + u'(' + defining.Type + QStringLiteral(" in ") + graph.Name + u')';
    AppendEntry(first, Draw(settings_, CoreferentName(node), drawing::CoreferentConceptShapeType, label,
                            node.X, node.Y, settings_.conceptColor));
}

void GraphBuilder::FindDefiningConcept(CgifReader& reader, const NodeRecord& node, int index, NodeRecord& defining,
                                       NodeRecord& graph) {
    if (!TryFindDefiningConcept(reader, node, index, defining, graph)) {
        try {
            reader.FindExternalCoreference(node.Name, defining, graph); // fails again, with its message
        } catch (const ParseError& failure) {
            messages_.inform(failure.message(), QStringLiteral("Error"), platform::MessageIcon::Critical);
        }
        throw BuildStopped{};
    }
}

bool GraphBuilder::TryFindDefiningConcept(CgifReader& reader, const NodeRecord& node, int index,
                                          NodeRecord& defining, NodeRecord& graph) {
    if (reader.TryFindCurrentCoreference(node.Name, index - 1, defining, graph)) {
        // A reference to an earlier graph found in this one is itself no definition: every
        // reference to that label names the same concept of the earlier graph.
        NodeRecord earlier;
        NodeRecord earlierGraph;
        if (defining.Kind == NodeKind::CoreferentConcept &&
            reader.FindEarlierCoreference(node.Name, earlier, earlierGraph)) {
            NodeRecord kept;
            NodeRecord keptGraph;
            if (!reader.TryFindExternalCoreference(node.Name, kept, keptGraph)) {
                defining = earlier;
                graph = earlierGraph;
            }
        }
        return true;
    }
    if (reader.TryFindExternalCoreference(node.Name, defining, graph))
        return true;
    // Defined in an earlier graph of the file or on a slide drawn before the import.
    return reader.FindEarlierCoreference(node.Name, defining, graph);
}

// --- drawing on the host ----------------------------------------------------------------

SlideBuilder::SlideBuilder(host::Application& app, const drawing::DrawingSettings& settings,
                           platform::MessageBoxes& messages)
    : GraphBuilder(settings, messages), app_(app) {}

bool SlideBuilder::SlideNameInUse(const QString& name) const {
    const host::Presentation presentation = app_.ActivePresentation();
    return !presentation.IsNothing() && !presentation.Slides().FindByName(name).IsNothing();
}

void SlideBuilder::AddEarlierGraphs(EarlierGraphs& earlier) {
    const host::Presentation presentation = app_.ActivePresentation();
    if (presentation.IsNothing())
        return;
    const host::Slides slides = presentation.Slides();
    for (int s = 1; s <= slides.Count(); ++s) {
        const host::Slide slide = slides.Item(s);
        const host::Shapes shapes = slide.Shapes();
        NodeRecord graph;
        graph.Name = slide.Name();
        graph.Type = QStringLiteral("Graph");
        graph.Kind = NodeKind::Graph;
        earlier.Add(graph);
        for (int k = 1; k <= shapes.Count(); ++k) {
            const host::Shape shape = shapes.Item(k);
            const int type = shape.AutoShapeType();
            if (type != drawing::ConceptShapeType && type != drawing::CoreferentConceptShapeType)
                continue;
            const QString name = shape.Name();
            NodeRecord node;
            node.Name = drawing::LabelPart(name);
            if (node.Name.isEmpty() || !shape.HasTextFrame())
                continue;
            node.Id = NodeId(drawing::IdPart(name));
            node.Type = drawing::TypePart(shape.TextFrame().TextRange().Text());
            node.Kind = type == drawing::ConceptShapeType ? NodeKind::Concept : NodeKind::CoreferentConcept;
            earlier.Add(node);
        }
    }
}

void SlideBuilder::AddGraphSlide(const QString& slideName, QStringView graphType) {
    started_ = host::Slide();
    host::Slides slides = app_.ActivePresentation().Slides();
    // A name the host refuses is refused before the slide is added: a graph that cannot be
    // drawn for it changes nothing (and leaves no step to undo behind).
    slides.CheckNewName(drawing::LabelPart(slideName));
    host::Slide slide = slides.Add(slides.Count() + 1, host::LayoutBlank);
    started_ = slide;
    // Every shape below goes onto the slide in view, so the window must show the new slide.
    app_.ActiveWindow().View().GotoSlide(slides.Count());
    slide.SetName(drawing::LabelPart(slideName));

    host::Shape title = slide.Shapes().AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
    title.SetAutoShapeType(drawing::TitleLabelShapeType);
    title.SetName(slideName);
    host::TextRangeFormat text = title.TextFrame().TextRange();
    text.Characters(1, 0).Select();
    text.SetText(slide.Name() + QStringLiteral(" is ") + graphType.toString());
    text.Font().SetName(drawing::TitleFontName);
    text.Font().SetSize(drawing::TitleFontSize);
    app_.ActiveWindow().Selection().Unselect();
}

void SlideBuilder::RemoveGraphSlide() {
    host::Slide slide = std::exchange(started_, host::Slide());
    if (!slide.IsNothing())
        slide.Delete();
}

host::Shape GraphBuilder::Draw(const drawing::DrawingSettings& look, const QString& name, int autoShapeType,
                               const QString& label, float left, float top, std::int32_t fillColor) {
    host::Shape shape = DrawNode(look, name, autoShapeType, label, left, top, fillColor);
    CountDrawn();
    return shape;
}

host::Shape SlideBuilder::DrawNode(const drawing::DrawingSettings& look, const QString& name, int autoShapeType,
                                   const QString& label, float left, float top, std::int32_t fillColor) {
    return drawing::CreateNodeShape(app_, look, name, autoShapeType, label, left, top, fillColor);
}

void SlideBuilder::DrawArc(const host::Shape& from, const host::Shape& to) {
    host::Shape arc = app_.ActiveWindow().View().Slide().Shapes().AddConnector(
        host::ConnectorStraight, drawing::ArcInitialBeginX, drawing::ArcInitialBeginY, drawing::ArcInitialEndX,
        drawing::ArcInitialEndY);
    arc.Line().SetEndArrowheadStyle(drawing::ArcArrowhead);
    arc.ConnectorFormat().BeginConnect(from, drawing::ArcGlueSite);
    arc.ConnectorFormat().EndConnect(to, drawing::ArcGlueSite);
    arc.RerouteConnections();
}

// --- drawing nothing --------------------------------------------------------------------

CheckingBuilder::CheckingBuilder(const drawing::DrawingSettings& settings, platform::MessageBoxes& messages)
    : GraphBuilder(settings, messages) {}

void CheckingBuilder::AddGraphSlide(const QString& slideName, QStringView) {
    // The host's refusals, with its texts; a refused slide is taken away again, so it keeps no name.
    // started_ keeps its room from one graph to the next: a name taken costs no allocation.
    started_.resize(0);
    const QStringView name = drawing::LabelPartView(slideName);
    if (name.isEmpty())
        throw host::HostError("A slide name cannot be empty");
    if (!slideNames_.Insert(name))
        throw host::HostError("Slide name is already in use: " + name.toString().toStdString());
    started_.append(name);
}

void CheckingBuilder::RemoveGraphSlide() {
    if (!started_.isEmpty()) {
        slideNames_.Remove(started_);
        started_.resize(0);
    }
}

} // namespace zov::cgif
