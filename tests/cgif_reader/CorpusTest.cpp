// CGIF written by other people and projects: every file of the shared corpus is read without a
// crash, and each one ends the way the grammar decides.
#include "ReaderFixture.h"
#include "support/TestPaths.h"

#include <QDir>
#include <map>

namespace zov::cgif::test {
namespace {

struct Outcome {
    QString result;  // "read", "stopped" or "escaped"
    int slides = 0;  // graphs handed to the sink
    QString message; // the first 80 characters of the one message shown or escaping, "" when none
};

// What the grammar decides for each file: whole reads, and the first error of the others.
const std::map<QString, Outcome> Expected = {
#include "CorpusOutcomes.inc"
};

using Corpus = ReaderTest;

TEST_F(Corpus, EveryFileEndsAsTheGrammarDecides) {
    const QDir dir(zov::test::cgifCorpusDir());
    const QStringList files = dir.entryList({Q("*.cgf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus at " << dir.path().toStdString();
    EXPECT_EQ(files.size(), static_cast<int>(Expected.size()));
    for (const QString& name : files) {
        messages.clear();
        sink.built.clear();
        reader.SetGraphCounter(1);
        Outcome got;
        try {
            // The file is opened as the import command opens it.
            const std::unique_ptr<platform::TextStream> stream = platform::OpenTextFile(dir.filePath(name));
            got.result = reader.ReadCgifStream(*stream) ? Q("read") : Q("stopped");
        } catch (const ParseError& error) {
            got.result = Q("escaped");
            got.message = error.message();
        }
        got.slides = static_cast<int>(sink.built.size());
        const QStringList shown = Errors();
        EXPECT_LE(shown.size(), 1) << name.toStdString();
        got.message = shown.isEmpty() ? got.message : shown.front();
        const auto want = Expected.find(name);
        if (want == Expected.end()) {
            ADD_FAILURE() << "no expected outcome for " << name.toStdString() << ": {\"" << got.result.toStdString()
                          << "\", " << got.slides << ", \"" << got.message.toStdString() << "\"}";
            continue;
        }
        EXPECT_EQ(got.result, want->second.result) << name.toStdString();
        EXPECT_EQ(got.slides, want->second.slides) << name.toStdString();
        // The rest of the line a message quotes can be long: its start is compared.
        EXPECT_EQ(got.message.left(80), want->second.message) << name.toStdString();
    }
}

} // namespace
} // namespace zov::cgif::test
