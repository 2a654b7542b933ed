#include "cgif/iso/NameTable.h"

#include <algorithm>

namespace zov::cgif::iso {

qsizetype NameTable::IndexOf(QStringView name) const {
    if (entries_.size() > IndexFrom) {
        const auto found = index_.constFind(name);
        return found == index_.constEnd() ? -1 : *found;
    }
    // Compared here: the names are short, and most differ in length or first letter.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const QString& entry = entries_[i].first;
        if (entry.size() == name.size() && std::equal(name.begin(), name.end(), entry.constBegin()))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

const QString* NameTable::Find(QStringView name) const {
    const qsizetype i = IndexOf(name);
    return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)].second;
}

void NameTable::Append(const QString& name, const QString& id) {
    entries_.emplace_back(name, id);
    if (entries_.size() == IndexFrom + 1) {
        // The views point into the strings held by entries_, whose data do not move when the
        // vector moves its elements (a QString moves its pointer, not its characters).
        for (std::size_t i = 0; i < entries_.size(); ++i)
            index_.insert(QStringView(entries_[i].first), static_cast<qsizetype>(i));
    } else if (entries_.size() > IndexFrom + 1) {
        index_.insert(QStringView(entries_.back().first), static_cast<qsizetype>(entries_.size() - 1));
    }
}

void NameTable::Set(const QString& name, const QString& id) {
    if (const qsizetype i = IndexOf(name); i >= 0)
        entries_[static_cast<std::size_t>(i)].second = id;
    else
        Append(name, id);
}

void NameTable::AddIfAbsent(const QString& name, const QString& id) {
    if (IndexOf(name) < 0)
        Append(name, id);
}

void NameTable::Clear() {
    entries_.clear();
    index_.clear();
}

} // namespace zov::cgif::iso
