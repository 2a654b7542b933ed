#pragma once
// The names one graph being read gives its nodes: defining labels, or the constants of its
// concepts, each to the id of a node. Most graphs have a handful, so the table is a list that
// is searched and keeps its room when cleared for the next graph; past a few dozen names it
// also keeps a hash index, so that a large graph is read in linear time.
//
// A name is either given once (Set, AddIfAbsent) or defined again and again at places of the
// text (Define), as a 2001 file may define "*a" several times in one graph; FindNearest then
// gives the definition nearest before a place.
#include "drawing/NodeId.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

namespace zov::cgif::iso {

class NameTable {
public:
    // The id `name` stands for, or nullptr.
    const drawing::NodeId* Find(QStringView name) const;
    // Gives `name` the id `id`, replacing the one it had.
    void Set(const QString& name, const drawing::NodeId& id);
    // Gives `name` the id `id` unless it has one.
    void AddIfAbsent(const QString& name, const drawing::NodeId& id);
    // Defines `name` as `id` at place `at` of the text, keeping its earlier definitions. Places
    // come in the order of the text.
    void Define(const QString& name, const drawing::NodeId& id, qsizetype at);
    // The id of the definition of `name` nearest before place `at`, or when none is before it
    // the first after it; nullptr when `name` has none.
    const drawing::NodeId* FindNearest(QStringView name, qsizetype at) const;
    void Clear();

private:
    struct Entry {
        QString name;
        drawing::NodeId id;
        qsizetype at = 0;     // the place of a definition
        qsizetype chain = -1; // once indexed, for a name defined more than once: its chain
    };
    static constexpr std::size_t IndexFrom = 32;
    bool Indexed() const { return entries_.size() > IndexFrom; }
    qsizetype IndexOf(QStringView name) const; // the last entry of that name, or -1
    void Append(const QString& name, const drawing::NodeId& id, qsizetype at);
    void AddToIndex(qsizetype entry);

    std::vector<Entry> entries_;
    QHash<QStringView, qsizetype> index_; // name -> its last entry, once the table is large
    // The entries of each name defined more than once, in the order of the text, so that the
    // definition nearest a place is found by a binary search however often a label is defined
    // again (a file that defines "*x" in every line of one graph).
    std::vector<std::vector<qsizetype>> chains_;
};

} // namespace zov::cgif::iso
