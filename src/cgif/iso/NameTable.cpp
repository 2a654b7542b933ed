#include "cgif/iso/NameTable.h"

#include <algorithm>

namespace zov::cgif::iso {

namespace {
// Compared here: the names are short, and most differ in length or first letter.
bool Same(const QString& entry, QStringView name) {
    return entry.size() == name.size() && std::equal(name.begin(), name.end(), entry.constBegin());
}
} // namespace

qsizetype NameTable::IndexOf(QStringView name) const {
    if (Indexed()) {
        const auto found = index_.constFind(name);
        return found == index_.constEnd() ? -1 : *found;
    }
    for (std::size_t i = entries_.size(); i-- > 0;)
        if (Same(entries_[i].name, name))
            return static_cast<qsizetype>(i);
    return -1;
}

const drawing::NodeId* NameTable::Find(QStringView name) const {
    const qsizetype i = IndexOf(name);
    return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)].id;
}

const drawing::NodeId* NameTable::FindNearest(QStringView name, qsizetype at) const {
    if (Indexed()) {
        const qsizetype last = IndexOf(name);
        if (last < 0)
            return nullptr;
        const qsizetype chain = entries_[static_cast<std::size_t>(last)].chain;
        if (chain < 0)
            return &entries_[static_cast<std::size_t>(last)].id; // defined once: before or after `at`
        // The last definition at or before `at`, else the earliest one.
        const std::vector<qsizetype>& definitions = chains_[static_cast<std::size_t>(chain)];
        const auto after = std::upper_bound(definitions.begin(), definitions.end(), at, [this](qsizetype place, qsizetype entry) {
            return place < entries_[static_cast<std::size_t>(entry)].at;
        });
        const qsizetype found = after == definitions.begin() ? definitions.front() : *(after - 1);
        return &entries_[static_cast<std::size_t>(found)].id;
    }
    // From the last definition back: the first at or before `at`, else the earliest one.
    qsizetype earliest = -1;
    for (std::size_t i = entries_.size(); i-- > 0;) {
        if (!Same(entries_[i].name, name))
            continue;
        if (entries_[i].at <= at)
            return &entries_[i].id;
        earliest = static_cast<qsizetype>(i);
    }
    return earliest < 0 ? nullptr : &entries_[static_cast<std::size_t>(earliest)].id;
}

// The views point into the strings held by entries_, whose data do not move when the vector
// moves its elements (a QString moves its pointer, not its characters).
void NameTable::AddToIndex(qsizetype entry) {
    Entry& added = entries_[static_cast<std::size_t>(entry)];
    const auto found = index_.find(QStringView(added.name));
    if (found == index_.end()) {
        index_.insert(QStringView(added.name), entry);
        return;
    }
    Entry& before = entries_[static_cast<std::size_t>(*found)];
    if (before.chain < 0) {
        before.chain = static_cast<qsizetype>(chains_.size());
        chains_.push_back({*found});
    }
    added.chain = before.chain;
    chains_[static_cast<std::size_t>(added.chain)].push_back(entry);
    *found = entry;
}

void NameTable::Append(const QString& name, const drawing::NodeId& id, qsizetype at) {
    entries_.push_back(Entry{name, id, at, -1});
    if (entries_.size() == IndexFrom + 1) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            AddToIndex(static_cast<qsizetype>(i));
    } else if (Indexed()) {
        AddToIndex(static_cast<qsizetype>(entries_.size() - 1));
    }
}

void NameTable::Set(const QString& name, const drawing::NodeId& id) {
    if (const qsizetype i = IndexOf(name); i >= 0)
        entries_[static_cast<std::size_t>(i)].id = id;
    else
        Append(name, id, 0);
}

void NameTable::AddIfAbsent(const QString& name, const drawing::NodeId& id) {
    if (IndexOf(name) < 0)
        Append(name, id, 0);
}

void NameTable::Define(const QString& name, const drawing::NodeId& id, qsizetype at) {
    Append(name, id, at);
}

void NameTable::Clear() {
    entries_.clear();
    index_.clear();
    chains_.clear();
}

} // namespace zov::cgif::iso
