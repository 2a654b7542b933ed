#include "cgif/reader/EarlierGraphs.h"

#include "cgif/reader/RecordText.h"

#include <climits>
#include <cstdint>
#include <new>

namespace zov::cgif {

void EarlierGraphs::Clear() {
    nodes_.clear();
    pool_.assign({0, 0});
    recent_.fill(0);
    next_ = 0;
    graph_ = 0;
    hasGraph_ = false;
    slots_.Clear();
    names_.clear();
}

void EarlierGraphs::Add(const NodeTable& nodes) {
    for (const NodeRecord& node : nodes)
        Add(node);
}

void EarlierGraphs::AddTopLevelGraph(const NodeTable& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i)
        Add(nodes[i], i == 0 && nodes[i].Kind == NodeKind::Graph);
}

void EarlierGraphs::Add(const NodeRecord& node) { Add(node, node.Kind == NodeKind::Graph); }

void EarlierGraphs::Add(const NodeRecord& node, bool startsGraph) {
    // A node without a name is never found, and starts no graph.
    if (node.Kind != NodeKind::Graph && node.Name.isEmpty())
        return;
    // Numbers of nodes are 32 bits: more named nodes than that is more than any reading keeps.
    if (nodes_.size() >= UINT32_MAX)
        throw std::bad_alloc();
    nodes_.push_back(KeptNode{Keep(node.Name), Keep(node.Type), node.Kind, startsGraph});
}

std::uint32_t EarlierGraphs::Keep(QStringView text) {
    if (text.isEmpty())
        return 0;
    std::uint32_t& recent = recent_[RecentTextHash(text) % RecentSlots];
    if (recent != 0 && SameText(Text(recent), text))
        return recent;
    // Pieces are addressed by 32 bits: more text than that is more than any reading may keep.
    const auto size = static_cast<std::size_t>(text.size());
    if (pool_.size() + 2 + size > UINT32_MAX)
        throw std::bad_alloc();
    const auto at = static_cast<std::uint32_t>(pool_.size());
    pool_.push_back(static_cast<char16_t>(size & 0xFFFF));
    pool_.push_back(static_cast<char16_t>(size >> 16));
    pool_.insert(pool_.end(), text.utf16(), text.utf16() + size);
    recent = at;
    return at;
}

QStringView EarlierGraphs::Text(std::uint32_t at) const {
    const std::uint32_t size = pool_[at] | std::uint32_t(pool_[at + 1]) << 16;
    return QStringView(pool_.data() + at + 2, static_cast<qsizetype>(size));
}

NodeRecord EarlierGraphs::Record(const KeptNode& node) const {
    NodeRecord record;
    record.Name = foundTexts_.Make(NameOf(node));
    record.Type = foundTexts_.Make(Text(node.TypeAt));
    record.Kind = node.Kind;
    return record;
}

void EarlierGraphs::IndexNewNodes() const {
    for (; next_ < nodes_.size(); ++next_) {
        const KeptNode& node = nodes_[next_];
        const auto number = static_cast<std::uint32_t>(next_);
        if (node.StartsGraph) {
            graph_ = number;
            hasGraph_ = true;
        }
        if (node.NameAt == 0)
            continue;
        const Place place{number, graph_, hasGraph_};
        const QStringView name = NameOf(node);
        const std::uint32_t hash = TextHash(name);
        const auto same = [&](std::uint32_t entry) { return SameText(NameOf(nodes_[names_[entry].Node]), name); };
        const std::size_t at = slots_.Probe(hash, same);
        std::size_t entry = slots_[at].Entry;
        if (entry == 0) {
            entry = names_.size();
            slots_.Put(at, hash, static_cast<std::uint32_t>(entry), same);
            names_.push_back(Named{number, place, {}, {}, false, false});
        } else {
            --entry;
        }
        Named& named = names_[entry];
        named.Last = place;
        if (node.Kind != NodeKind::CoreferentConcept) {
            named.LastDefining = place;
            named.HasDefining = true;
        }
        if (node.Kind == NodeKind::Graph) {
            named.LastGraph = place;
            named.HasGraph = true;
        }
    }
}

const EarlierGraphs::Named* EarlierGraphs::Lookup(QStringView name) const {
    IndexNewNodes();
    const std::size_t at =
        slots_.Probe(TextHash(name), [&](std::uint32_t entry) { return SameText(NameOf(nodes_[names_[entry].Node]), name); });
    return slots_[at].Entry == 0 ? nullptr : &names_[slots_[at].Entry - 1];
}

const NodeRecord* EarlierGraphs::FindGraph(QStringView name) const {
    const Named* named = Lookup(name);
    if (named == nullptr || !named->HasGraph)
        return nullptr;
    found_ = Record(nodes_[named->LastGraph.Node]);
    return &found_;
}

bool EarlierGraphs::Find(QStringView label, NodeRecord& defining, NodeRecord& graph) const {
    const Named* named = Lookup(label);
    if (named == nullptr)
        return false;
    // A graph of that name first, then the last definition, then the last reference.
    const Place& place = named->HasGraph ? named->LastGraph : named->HasDefining ? named->LastDefining : named->Last;
    if (!place.HasGraph)
        return false;
    defining = Record(nodes_[place.Node]);
    graph = Record(nodes_[place.Graph]);
    return true;
}

} // namespace zov::cgif
