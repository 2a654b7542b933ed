// Record texts: what a record keeps must read back exactly, whichever way it was made, for as
// long as any copy of it lives: after the pool that cut it has moved on to other chunks or is
// gone, after the copy it came from is gone, and on another thread.
#include "cgif/reader/RecordText.h"

#include <QString>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace zov::cgif {
namespace {

// Texts of every length from empty to a few thousand characters, some beyond the basic plane
// (surrogate pairs), drawn from one seeded sequence.
std::vector<QString> SampleTexts(int count) {
    std::mt19937 random(7);
    std::vector<QString> texts;
    for (int i = 0; i < count; ++i) {
        const int length = i % 50 == 0 ? static_cast<int>(random() % 3000) : static_cast<int>(random() % 24);
        QString text;
        for (int c = 0; c < length; ++c)
            text += QChar(static_cast<char16_t>(u'a' + random() % 26));
        if (i % 7 == 0)
            text += QString::fromUtf8("\xF0\x9F\x90\x88"); // a character of two code units
        texts.push_back(text);
    }
    return texts;
}

TEST(RecordText, ReadsBackEveryTextAfterItsPoolMovedOnAndWentAway) {
    const std::vector<QString> texts = SampleTexts(5000);
    std::vector<RecordText> kept;
    {
        RecordTextPool pool;
        for (const QString& text : texts)
            kept.push_back(pool.Make(text));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(kept[i].View(), QStringView(texts[i])) << "text " << i;
        ASSERT_EQ(kept[i].size(), texts[i].size());
        ASSERT_EQ(kept[i].isEmpty(), texts[i].isEmpty());
    }
    // Dropping every other text frees nothing the others still read.
    for (std::size_t i = 0; i < kept.size(); i += 2)
        kept[i] = RecordText();
    for (std::size_t i = 1; i < texts.size(); i += 2)
        ASSERT_EQ(kept[i].ToString(), texts[i]) << "text " << i;
}

TEST(RecordText, CopiesShareOneTextAndOutliveTheOriginal) {
    RecordTextPool pool;
    RecordText copy;
    {
        const RecordText original = pool.Make(u"Cat");
        copy = original;
        EXPECT_EQ(copy.View().data(), original.View().data());
        RecordText moved = original;
        const RecordText taken = std::move(moved);
        EXPECT_TRUE(moved.isEmpty()); // NOLINT: a moved-from text is empty
        EXPECT_EQ(taken, original);
    }
    EXPECT_EQ(copy, QStringLiteral("Cat"));
    // A text assigned to itself, and over the last holder of its own chunk, stays readable.
    const RecordText own(QStringLiteral("Mat"));
    RecordText self = own;
    const RecordText& alias = self;
    self = alias;
    EXPECT_EQ(self, QStringLiteral("Mat"));
    self = RecordText(QStringLiteral("Mat"));
    EXPECT_EQ(self, own);
    EXPECT_NE(self.View().data(), own.View().data());
}

TEST(RecordText, ComparesByTextAndJoinsIntoLabels) {
    RecordTextPool pool;
    const RecordText fromPool = pool.Make(u"Person");
    const RecordText ownChunk(QStringLiteral("Person"));
    EXPECT_EQ(fromPool, ownChunk);
    EXPECT_FALSE(fromPool == pool.Make(u"Persons"));
    EXPECT_EQ(RecordText(QString()), RecordText());
    EXPECT_TRUE(pool.Make(QStringView()).isEmpty());
    EXPECT_EQ(qHash(fromPool, 3), qHash(QStringView(u"Person"), 3));
    EXPECT_EQ(QStringLiteral("[") + fromPool + u':' + RecordText(QStringLiteral("'Tom'")) + QStringLiteral("]"),
              QStringLiteral("[Person:'Tom']"));
    EXPECT_EQ(u'(' + RecordText() + u')', QStringLiteral("()"));
}

} // namespace
} // namespace zov::cgif
