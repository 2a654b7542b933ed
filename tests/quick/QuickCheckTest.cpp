// The quick checker against the full reader: wherever it answers Clean, the reader with the
// checking builder must read the whole input and show nothing; and the forms users write every
// day must come out Clean, or `zovedit check` loses its speed.
#include "FullCheck.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace zov::test {
namespace {

struct Case {
    const char* what;
    QByteArray text;
    bool quickClean;   // the quick checker answers Clean
    bool readerSilent; // the full reader reads it all and shows nothing
};

TEST(QuickCheckTest, AnswersCleanExactlyWhereExpected) {
    const Case cases[] = {
        // concepts, referents, coreference
        {"empty input", "", true, true},
        {"plain concepts", "[Cat] [Mat]", true, true},
        {"literal, label, bound label", "[Cat: 'Tom' *c] (On ?c [Mat])", true, true},
        {"quoted name and number", "[Person: \"John\"] [Number: 42] (Agnt [Go] [Person: \"John\"])", true, true},
        {"quantifier and locator", "[Cat: @every] [Cat: #123] [Dog: #rex]", true, true},
        {"bound label resolved in a nested graph", "[Person *x] [Situation: [Cat ?x] (On ?x [Mat])]", true, true},
        {"bound label unknown in a concept", "[Cat ?nowhere]", true, true},
        {"argument defined in the same relation", "[Cat *x] (On [Cat *y] ?y)", false, false},
        {"argument never defined", "(On ?x [Mat])", false, false},
        {"argument defined in an earlier graph", ";%Graph*First%; [Dog: *d 'Rex']. ;%Graph*Second%; (Poss ?d [Bone])", false, true},
        {"graph name as an argument", ";%Graph*Top%; [A] (R ?Top [B])", true, true},
        // relations, actors, negations, nested graphs
        {"relation without concepts", "(On)", false, false},
        {"actor", "<Sum [Number: 1] [Number: 2] | [Number *s]>", true, true},
        {"negation", "~[(On [Cat] [Mat])]", true, true},
        {"belief with a titled proposition", "[Person: 'Tom' *t] (Expr ?t [Believe]) (Thme [Believe] [Proposition: ;%Graph*P1%; [Cat *c] (On ?c [Mat])])", true, true},
        {"nested graph named as the outer graph", ";%Graph*same%; [Proposition: ;%Graph*same%; (On [A] [B])]", false, false},
        {"unclosed concept", "[Cat", false, false},
        {"truncated relation at the end", "[Cat *x] (On ?x", true, true},
        {"tab before a token", "[Cat:\t'x']", false, false},
        {"set referent", "[Cat: {'a', 'b'}]", false, true},
        // comments and positions
        {"comments and positions", ";note; [Cat;100@50;] (On [Mat;%120@80% under;] ?x)", false, false},
        {"writer positions", "[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n](On?x?y;200@150;\r\n)", true, true},
        {"title position with text", "[Cat *c] (On ?c [Mat ;%120@80% note;])", true, true},
        {"comment over two lines", "[Cat] ;first\nsecond;", false, true},
        {"comment never closed", "[Cat] ;open", false, false},
        // files: graphs, line ends, encodings
        {"graphs separated by dots", ";%Graph*S0%;\r\n[A]\r\n \r\n. \r\n;%Graph*S1%;\r\n[B]\r\n", true, true},
        {"the same title twice", ";%Graph*S%; [A]. ;%Graph*S%; [B]", false, false},
        {"a title with an empty slide name", ";%S*/x%; [A]", false, false},
        {"a nested title with an empty slide name", "[P: ;%S*/x%; (On [A] [B])]", false, false},
        {"generated name taken by a title", ";%Graph*G2%; [A]. [B]. [C]", true, true},
        {"LF line ends", "[Cat *x]\n(On ?x\n[Mat])\n", true, true},
        {"lone CR line ends", "[Cat *x]\r(On ?x\r[Mat])\r", true, true},
        {"UTF-8 comment and byte order mark", "\xEF\xBB\xBF[Cat] ;caf\xC3\xA9;", true, true},
        {"Windows-1252 comment", "[Cat] ;caf\xE9;", false, true},
        {"trailing dot", "[Cat].", true, true},
        {"NUL byte", QByteArray("[Cat] ;a\0b;", 11), false, true},
    };
    for (const Case& c : cases) {
        const FullCheck full = RunFullCheck(c.text);
        EXPECT_EQ(QuickClean(c.text), c.quickClean) << c.what;
        EXPECT_EQ(full.silentRead(), c.readerSilent) << c.what << ": " << full.shown.join(" | ").toStdString();
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
    EXPECT_GT(clean, tried / 10) << "too few edits stay on the quick path to test it";
}

} // namespace
} // namespace zov::test
