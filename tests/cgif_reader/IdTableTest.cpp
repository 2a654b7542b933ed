// The id index answers what a search of the table in order answers: the first index holding
// an id. Checked against a plain map over random adds and removals of drawn ids (packed into
// slots), ids of other text (kept beside), and repeats of one id at several indexes.
#include "cgif/reader/IdTable.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace zov::cgif {
namespace {

TEST(IdTable, AnswersTheFirstIndexOfEachIdThroughAddsAndRemovals) {
    std::mt19937 random(11);
    drawing::NodeIdGenerator generator(5);
    std::vector<drawing::NodeId> ids;
    for (int i = 0; i < 3000; ++i)
        ids.push_back(generator.NewId());
    for (const char* text : {"x3/ABCDEFGH", "abcdefgh", "ABCDEFG", "ABCDEFGHI", "Cat"})
        ids.emplace_back(QString::fromLatin1(text));
    ids.emplace_back(QStringLiteral("AAAAAAAA")); // the smallest and largest letters
    ids.emplace_back(QStringLiteral("ZZZZZZZZ"));
    // Ids that differ in one letter only, at each place.
    for (int place = 0; place < 8; ++place) {
        QString text = QStringLiteral("MNBVCXZL");
        text[place] = u'A';
        ids.emplace_back(text);
        text[place] = u'Z';
        ids.emplace_back(text);
    }

    IdTable table;
    std::map<QString, std::set<int>> model; // id text -> indexes added and not removed
    bool everRepeated = false;
    for (int step = 0; step < 40000; ++step) {
        const drawing::NodeId& id = ids[random() % ids.size()];
        const QString text = id.ToString();
        const int index = static_cast<int>(random() % 100000);
        if (random() % 4 != 0) {
            // A repeat: the id is recorded already, at another index.
            everRepeated = everRepeated || (!model[text].empty() && *model[text].begin() != index);
            table.Add(id, index);
            model[text].insert(index);
            // Straight after an add (which may still be on its way into the table).
            ASSERT_EQ(table.Find(id), *model[text].begin()) << text.toStdString() << " at step " << step;
            ASSERT_EQ(table.HasRepeats(), everRepeated) << "at step " << step;
        } else if (!model[text].empty()) {
            // Only the recorded (first) index forgets the id; another leaves it as it was.
            const int first = *model[text].begin();
            const int which = random() % 2 == 0 ? first : index;
            table.Remove(id, which);
            if (which == first)
                model[text].clear();
        }
        if (step % 97 == 0) {
            for (const drawing::NodeId& probe : ids) {
                const auto& indexes = model[probe.ToString()];
                ASSERT_EQ(table.Find(probe), indexes.empty() ? -1 : *indexes.begin())
                    << probe.ToString().toStdString() << " at step " << step;
            }
        }
    }
    EXPECT_FALSE(table.Empty());
    table.Clear();
    EXPECT_TRUE(table.Empty());
    EXPECT_EQ(table.Find(ids.front()), -1);
}

// An index too large for a slot is kept beside it, and still the smaller index wins.
TEST(IdTable, IndexesBeyondASlotAreKeptBeside) {
    IdTable table;
    const drawing::NodeId id(QStringLiteral("QWERTYUI"));
    table.Add(id, 100'000'000);
    EXPECT_EQ(table.Find(id), 100'000'000);
    EXPECT_FALSE(table.HasRepeats());
    table.Add(id, 7);
    EXPECT_EQ(table.Find(id), 7);
    EXPECT_TRUE(table.HasRepeats()) << "in a slot and beside";
    table.Add(id, 200'000'000);
    EXPECT_EQ(table.Find(id), 7);
}

// Until an id is added at a second index, every index holding an id is its first; adding one
// again at the same index, or after it was removed, is no repeat. Clear starts afresh.
TEST(IdTable, TellsWhetherAnIdWasEverHeldTwice) {
    IdTable table;
    drawing::NodeIdGenerator generator(7);
    std::vector<drawing::NodeId> ids;
    for (int i = 0; i < 500; ++i) {
        ids.push_back(generator.NewId());
        table.Add(ids.back(), i);
    }
    table.Add(drawing::NodeId(QStringLiteral("x/ABCDEFGH")), 500); // not eight letters: kept beside
    table.Add(ids[3], 3);
    table.Remove(ids[4], 4);
    table.Add(ids[4], 9);
    EXPECT_FALSE(table.HasRepeats());
    table.Add(drawing::NodeId(QStringLiteral("x/ABCDEFGH")), 501);
    EXPECT_TRUE(table.HasRepeats());
    table.Clear();
    EXPECT_FALSE(table.HasRepeats());
    table.Add(ids[0], 0);
    table.Add(ids[0], 1);
    EXPECT_TRUE(table.HasRepeats());
}

} // namespace
} // namespace zov::cgif
