// The quick checker against the full reader: wherever it answers Clean, the reader with the
// checking builder must read the whole input and show nothing; and the forms users write every
// day must come out Clean, or `zovedit check` loses its speed.
#include "FullCheck.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace zov::test {
namespace {

// The cases of tests/cases/quick/check.case: where the checker answers Clean, and where the
// reader is silent.
TEST(QuickCheckTest, AnswersCleanExactlyWhereExpected) {
    for (const Case& c : LoadCases(QStringLiteral("quick"))) {
        const QByteArray text = c.input.toLatin1();
        const FullCheck full = RunFullCheck(text);
        const QString got = QString::fromLatin1(QuickClean(text) ? "clean " : "unsure ") +
                            QString::fromLatin1(full.silentRead() ? "silent" : "reports");
        EXPECT_EQ(got.toStdString(), Lines(c.expected)) << c.where() << ": " << full.shown.join(" | ").toStdString();
    }
}

QList<QByteArray> CgifFiles() {
    QList<QByteArray> files;
    for (const QString& folder : {cgifCorpusDir(), sourceDir() + QStringLiteral("/examples")}) {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.fileName().endsWith(QStringLiteral(".md")) && file.open(QIODevice::ReadOnly))
                files << file.readAll();
        }
    }
    return files;
}

TEST(QuickCheckTest, AgreesWithTheReaderOnEveryCorpusFile) {
    const QList<QByteArray> files = CgifFiles();
    if (files.size() < 10)
        GTEST_SKIP() << "the shared CGIF corpus is missing";
    int clean = 0;
    for (const QByteArray& text : files) {
        if (!QuickClean(text))
            continue;
        ++clean;
        const FullCheck full = RunFullCheck(text);
        EXPECT_TRUE(full.silentRead()) << text.left(200).toStdString() << "\n" << full.shown.join(" | ").toStdString();
    }
    EXPECT_GE(clean, 5) << "the examples at least are read quickly";
}

// Random edits of real graphs, with the characters that matter to the grammar: every Clean
// answer is checked against the reader.
TEST(QuickCheckTest, AgreesWithTheReaderOnMutatedGraphs) {
    QList<QByteArray> seeds = CgifFiles();
    seeds << "[Cat: 'Tom' *c] (On ?c [Mat ;%120@80% note;]) [Cat: 'Tom' *d] (On ?d [Mat])"
          << ";%Graph*S0%;\r\n[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n](On?x?y;200@150;\r\n)\r\n \r\n. \r\n;%Graph*S1%;\r\n[A]"
          << "[Person *x] [Situation: ;%Graph*In%; [Cat ?x] (On ?x [Mat])] <Sum ?x | [N *n]> ~[(Near ?n [Door])]";
    // A chain of nested graphs long enough for the checker's lookups to go through its name index.
    QByteArray chain = "[Person *who] ";
    for (int i = 0; i < 40; ++i)
        chain += QByteArray("~[[Cat *k") + QByteArray::number(i % 7) + "](On ?k" + QByteArray::number(i % 7) +
                 " [Mat: ?who])][Dog: ?k" + QByteArray::number((i + 3) % 7) + "]";
    EXPECT_TRUE(QuickClean(chain));
    EXPECT_TRUE(RunFullCheck(chain).silentRead());
    seeds << chain;
    const QByteArray alphabet = "[]()<>|~;:*?%@'\"#.,{} \r\n\tAxyG12/";
    std::mt19937 random(20261206);
    int clean = 0;
    int tried = 0;
    for (int round = 0; round < 5000; ++round) {
        QByteArray text = seeds[static_cast<qsizetype>(random() % seeds.size())].left(2000);
        for (int edits = 1 + static_cast<int>(random() % 6); edits > 0; --edits) {
            const auto at = static_cast<qsizetype>(random() % static_cast<unsigned>(text.size() + 1));
            const char c = alphabet[static_cast<qsizetype>(random() % alphabet.size())];
            switch (random() % 3) {
            case 0: text.insert(at, c); break;
            case 1: if (at < text.size()) text.remove(at, 1); break;
            default: if (at < text.size()) text[at] = c; break;
            }
        }
        ++tried;
        if (!QuickClean(text))
            continue;
        ++clean;
        const FullCheck full = RunFullCheck(text);
        ASSERT_TRUE(full.silentRead()) << text.toStdString() << "\n" << full.shown.join(" | ").toStdString();
    }
    EXPECT_GT(clean, tried / 20) << "too few edits stay on the quick path to test it";
}

} // namespace
} // namespace zov::test
