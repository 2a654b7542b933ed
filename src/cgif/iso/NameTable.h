#pragma once
// The names one graph being read gives its nodes: defining labels, or the constants of its
// concepts, each to the id of a node. Most graphs have a handful, so the table is a list that
// is searched from the front and keeps its room when cleared for the next graph; past a few
// dozen names it also keeps a hash index, so that a large graph is read in linear time.
#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

namespace zov::cgif::iso {

class NameTable {
public:
    // The id `name` stands for, or nullptr.
    const QString* Find(QStringView name) const;
    // Gives `name` the id `id`, replacing the one it had.
    void Set(const QString& name, const QString& id);
    // Gives `name` the id `id` unless it has one.
    void AddIfAbsent(const QString& name, const QString& id);
    void Clear();

private:
    static constexpr std::size_t IndexFrom = 32;
    qsizetype IndexOf(QStringView name) const;
    void Append(const QString& name, const QString& id);

    std::vector<std::pair<QString, QString>> entries_;
    QHash<QStringView, qsizetype> index_; // over the names of entries_, once it is large
};

} // namespace zov::cgif::iso
