// The name lists answer what a search of the table answers: the nearest node of a name at or
// before a place. Checked against a plain map over random adds and removals of names borne by
// one, two or many nodes, with what each add and removal says it did.
#include "cgif/grammar/NameLists.h"
#include "cgif/reader/PooledNames.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace zov::cgif {
namespace {

TEST(NameLists, AnswerTheNearestNodeOfANameThroughAddsAndRemovals) {
    std::mt19937 random(17);
    std::vector<QString> names;
    for (int i = 0; i < 60; ++i)
        names.push_back(QStringLiteral("c%1").arg(i));
    names.push_back(QString()); // an empty name is a name like another here
    names.push_back(QStringLiteral("G1"));

    grammar::NameLists<PooledNames> lists;
    std::map<QString, std::set<int>> model;
    for (int step = 0; step < 30000; ++step) {
        // A few names are borne by many nodes, most by one to three.
        const QString& name = names[random() % 4 == 0 ? random() % 3 : random() % names.size()];
        const int index = static_cast<int>(random() % 400);
        std::set<int>& held = model[name];
        if (random() % 3 != 0) {
            ASSERT_EQ(lists.Add(name, index), held.insert(index).second) << "add " << index << " at step " << step;
        } else {
            // Removing an index held, or (as often) one that is not.
            const int which = !held.empty() && random() % 2 == 0 ? *std::next(held.begin(), random() % held.size()) : index;
            ASSERT_EQ(lists.Remove(name, which), held.erase(which) == 1) << "remove " << which << " at step " << step;
        }
        const int place = static_cast<int>(random() % 420) - 10;
        const auto after = held.upper_bound(place);
        const int expected = after == held.begin() ? -1 : *std::prev(after);
        ASSERT_EQ(lists.LastAtOrBefore(name, place), expected) << "at or before " << place << ", step " << step;
    }
    for (const auto& [name, held] : model)
        EXPECT_EQ(lists.LastAtOrBefore(name, 1000), held.empty() ? -1 : *held.rbegin());
    lists.Clear();
    EXPECT_EQ(lists.LastAtOrBefore(names.front(), 1000), -1);
    EXPECT_EQ(lists.LastAtOrBefore(QStringLiteral("never"), 1000), -1);
}

} // namespace
} // namespace zov::cgif
