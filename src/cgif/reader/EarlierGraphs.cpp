#include "cgif/reader/EarlierGraphs.h"

#include "cgif/reader/RecordText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

namespace zov::cgif {

void EarlierGraphs::Clear() {
    nodes_.clear();
    pool_.clear();
    recent_.fill(RecentText{});
    next_ = 0;
    graph_ = 0;
    hasGraph_ = false;
    lastNamed_.clear();
    lastDefining_.clear();
    graphNamed_.clear();
}

void EarlierGraphs::Add(const NodeTable& nodes) {
    for (const NodeRecord& node : nodes)
        Add(node);
}

void EarlierGraphs::Add(const NodeRecord& node) {
    // A node without a name is never found, and starts no graph.
    if (node.Kind != NodeKind::Graph && node.Name.isEmpty())
        return;
    KeptNode kept;
    kept.NameSize = static_cast<std::uint32_t>(node.Name.size());
    kept.NameAt = Keep(node.Name);
    kept.TypeSize = static_cast<std::uint32_t>(node.Type.size());
    kept.TypeAt = Keep(node.Type);
    kept.Kind = node.Kind;
    nodes_.push_back(kept);
}

std::uint32_t EarlierGraphs::Keep(QStringView text) {
    if (text.isEmpty())
        return 0;
    RecentText& slot = recent_[RecentTextHash(text) % RecentSlots];
    if (slot.Size == static_cast<std::uint32_t>(text.size()) &&
        std::equal(text.utf16(), text.utf16() + text.size(), pool_.data() + slot.At))
        return slot.At;
    // Pieces are addressed by 32 bits: more text than that is more than any reading may keep.
    if (pool_.size() + static_cast<std::size_t>(text.size()) > UINT32_MAX)
        throw std::bad_alloc();
    const auto at = static_cast<std::uint32_t>(pool_.size());
    pool_.insert(pool_.end(), text.utf16(), text.utf16() + text.size());
    slot = RecentText{at, static_cast<std::uint32_t>(text.size())};
    return at;
}

QStringView EarlierGraphs::Text(std::uint32_t at, std::uint32_t size) const {
    return QStringView(pool_.data() + at, static_cast<qsizetype>(size));
}

NodeRecord EarlierGraphs::Record(const KeptNode& node) const {
    NodeRecord record;
    record.Name = Text(node.NameAt, node.NameSize);
    record.Type = Text(node.TypeAt, node.TypeSize);
    record.Kind = node.Kind;
    return record;
}

void EarlierGraphs::IndexNewNodes() const {
    for (; next_ < nodes_.size(); ++next_) {
        const KeptNode& node = nodes_[next_];
        if (node.Kind == NodeKind::Graph) {
            graph_ = next_;
            hasGraph_ = true;
        }
        if (node.NameSize == 0)
            continue;
        const Entry entry{next_, graph_, hasGraph_};
        const QString name = Text(node.NameAt, node.NameSize).toString();
        lastNamed_.insert(name, entry);
        if (node.Kind != NodeKind::CoreferentConcept)
            lastDefining_.insert(name, entry);
        if (node.Kind == NodeKind::Graph)
            graphNamed_.insert(name, entry);
    }
}

namespace {
// The text as a key to look up, without a copy: the string lives only as long as the lookup.
QString LookupKey(QStringView text) { return QString::fromRawData(text.data(), text.size()); }
} // namespace

const NodeRecord* EarlierGraphs::FindGraph(QStringView name) const {
    IndexNewNodes();
    const auto it = graphNamed_.constFind(LookupKey(name));
    if (it == graphNamed_.constEnd())
        return nullptr;
    found_ = Record(nodes_[it.value().Node]);
    return &found_;
}

bool EarlierGraphs::Find(QStringView label, NodeRecord& defining, NodeRecord& graph) const {
    IndexNewNodes();
    const Entry* entry = nullptr;
    const QString key = LookupKey(label);
    for (const QHash<QString, Entry>* table : {&graphNamed_, &lastDefining_, &lastNamed_}) {
        const auto it = table->constFind(key);
        if (it != table->constEnd()) {
            entry = &it.value();
            break;
        }
    }
    if (entry == nullptr || !entry->HasGraph)
        return false;
    defining = Record(nodes_[entry->Node]);
    graph = Record(nodes_[entry->Graph]);
    return true;
}

} // namespace zov::cgif
