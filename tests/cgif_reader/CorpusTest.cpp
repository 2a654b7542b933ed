// CGIF written by other people and projects: every file of the shared corpus is read without a
// crash, and each one ends the way the grammar decides.
#include "ReaderFixture.h"
#include "support/TestPaths.h"

#include <QDir>
#include <map>

namespace zov::cgif::test {
namespace {

struct Outcome {
    QString result;   // "read", "stopped" or "escaped"
    int slides = 0;   // graphs handed to the sink
    QString message;  // the one message shown or escaping, "" when none
};

class Corpus : public ReaderTest {
protected:
    Outcome ReadCorpusFile(const QString& path) {
        messages.clear();
        sink.built.clear();
        reader.SetGraphCounter(1);
        Outcome outcome;
        try {
            // The file is opened as the import command opens it.
            const std::unique_ptr<platform::TextStream> stream = platform::OpenTextFile(path);
            outcome.result = reader.ReadCgifStream(*stream) ? Q("read") : Q("stopped");
        } catch (const ParseError& error) {
            outcome.result = Q("escaped");
            outcome.message = error.message();
        }
        outcome.slides = static_cast<int>(sink.built.size());
        const QStringList shown = Errors();
        EXPECT_LE(shown.size(), 1) << path.toStdString();
        if (!shown.isEmpty())
            outcome.message = shown.front();
        return outcome;
    }
    static QStringList CorpusFiles() {
        const QDir dir(zov::test::cgifCorpusDir());
        return dir.entryList({Q("*.cgf")}, QDir::Files, QDir::Name);
    }
};

// What the grammar decides for each file: whole reads, and the first error of the others.
const std::map<QString, Outcome>& Expected() {
    static const std::map<QString, Outcome> expected = {
#include "CorpusOutcomes.inc"
    };
    return expected;
}

TEST_F(Corpus, EveryFileEndsAsTheGrammarDecides) {
    const QStringList files = CorpusFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus at " << zov::test::cgifCorpusDir().toStdString();
    EXPECT_EQ(files.size(), static_cast<int>(Expected().size()));
    for (const QString& name : files) {
        const Outcome got = ReadCorpusFile(QDir(zov::test::cgifCorpusDir()).filePath(name));
        const auto want = Expected().find(name);
        if (want == Expected().end()) {
            ADD_FAILURE() << "no expected outcome for " << name.toStdString() << ": {\"" << got.result.toStdString()
                          << "\", " << got.slides << ", \"" << got.message.toStdString() << "\"}";
            continue;
        }
        EXPECT_EQ(got.result, want->second.result) << name.toStdString();
        EXPECT_EQ(got.slides, want->second.slides) << name.toStdString();
        EXPECT_EQ(got.message, want->second.message) << name.toStdString();
    }
}

TEST_F(Corpus, SowasMinimalStreamReadsUpToItsSignedNumber) {
    const QString path = QDir(zov::test::cgifCorpusDir()).filePath(Q("cgp-CGTools01-testmin.cgf"));
    if (!QFile::exists(path))
        GTEST_SKIP();
    const Outcome got = ReadCorpusFile(path);
    EXPECT_EQ(got.result, Q("stopped"));
    EXPECT_TRUE(got.message.startsWith(Q("Cannot find ] terminator for concept (at +453536]")));
    ASSERT_GE(sink.built.size(), 3u);
    // "[Cat *x] [Mat *y] (On ?x ?y)": On links Cat to Mat.
    EXPECT_EQ(sink.built[0].LinkTypes(), (QStringList{Q("On->Mat"), Q("Cat->On")}));
    EXPECT_EQ(sink.built[0].Node(Q("Cat"))->Name, Q("x"));
    // "(On [Cat: #this] [Mat: #1234])"
    EXPECT_EQ(sink.built[2].Node(Q("Cat"))->Referent, Q("#this"));
    EXPECT_EQ(sink.built[2].Node(Q("Mat"))->Referent, Q("#1234"));
}

} // namespace
} // namespace zov::cgif::test
