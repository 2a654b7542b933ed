// The checking builder's set of slide names: what it answers must be what a set of strings
// answers, through removals, names reused after removal, and growth to many thousands.
#include "cgif/import/SlideNameSet.h"

#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace zov::cgif {
namespace {

TEST(SlideNameSet, AnswersAsASetOfStringsThroughRemovalsAndGrowth) {
    SlideNameSet names;
    QSet<QString> model;
    // Names that differ only late, by case, or by length; a long one; thousands of numbered ones.
    QStringList texts{QStringLiteral("G1"), QStringLiteral("g1"), QStringLiteral("G1 "), QStringLiteral("G"),
                      QString(70000, u'x'), QString::fromUtf8("Caf\xC3\xA9")};
    for (int i = 0; i < 20000; ++i)
        texts << QStringLiteral("S%1").arg(i);

    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < texts.size(); ++i) {
            const QString& text = texts[i];
            // Round 0 adds all; round 1 removes every third; round 2 adds all again.
            if (round == 1) {
                if (i % 3 == 0) {
                    names.Remove(text);
                    model.remove(text);
                }
                continue;
            }
            const bool fresh = !model.contains(text);
            EXPECT_EQ(names.Insert(text), fresh) << text.left(20).toStdString() << " round " << round;
            model.insert(text);
        }
        ASSERT_EQ(names.Size(), static_cast<std::size_t>(model.size())) << "round " << round;
        for (int i = 0; i < texts.size(); i += 7)
            EXPECT_EQ(names.Contains(texts[i]), model.contains(texts[i])) << "round " << round;
    }
    EXPECT_FALSE(names.Contains(QStringLiteral("S20000")));
    EXPECT_FALSE(names.Contains(QString()));
    names.Remove(QStringLiteral("not there")); // nothing happens
    EXPECT_EQ(names.Size(), static_cast<std::size_t>(model.size()));
}

// A name removed and taken again over and over (a graph whose slide is refused each time), among
// names that stay.
TEST(SlideNameSet, ANameRemovedAndTakenAgainOverAndOver) {
    SlideNameSet names;
    for (int i = 0; i < 100000; ++i) {
        ASSERT_TRUE(names.Insert(QStringLiteral("again")));
        if (i % 1000 == 0) {
            ASSERT_TRUE(names.Insert(QStringLiteral("stays%1").arg(i)));
        }
        names.Remove(QStringLiteral("again"));
    }
    EXPECT_EQ(names.Size(), 100u);
    EXPECT_TRUE(names.Contains(QStringLiteral("stays99000")));
    EXPECT_TRUE(names.Insert(QStringLiteral("again")));
    EXPECT_FALSE(names.Insert(QStringLiteral("again")));
}

} // namespace
} // namespace zov::cgif
