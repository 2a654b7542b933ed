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
    // From the last definition back: the first at or before `at`, else the earliest one.
    qsizetype earliest = -1;
    if (Indexed()) {
        for (qsizetype i = IndexOf(name); i >= 0; i = entries_[static_cast<std::size_t>(i)].previous) {
            if (entries_[static_cast<std::size_t>(i)].at <= at)
                return &entries_[static_cast<std::size_t>(i)].id;
            earliest = i;
        }
    } else {
        for (std::size_t i = entries_.size(); i-- > 0;) {
            if (!Same(entries_[i].name, name))
                continue;
            if (entries_[i].at <= at)
                return &entries_[i].id;
            earliest = static_cast<qsizetype>(i);
        }
    }
    return earliest < 0 ? nullptr : &entries_[static_cast<std::size_t>(earliest)].id;
}

void NameTable::Append(const QString& name, const drawing::NodeId& id, qsizetype at) {
    entries_.push_back(Entry{name, id, at, -1});
    if (entries_.size() == IndexFrom + 1) {
        // The views point into the strings held by entries_, whose data do not move when the
        // vector moves its elements (a QString moves its pointer, not its characters).
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            Entry& entry = entries_[i];
            entry.previous = index_.value(QStringView(entry.name), -1);
            index_.insert(QStringView(entry.name), static_cast<qsizetype>(i));
        }
    } else if (Indexed()) {
        Entry& entry = entries_.back();
        entry.previous = index_.value(QStringView(entry.name), -1);
        index_.insert(QStringView(entry.name), static_cast<qsizetype>(entries_.size() - 1));
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
}

} // namespace zov::cgif::iso
