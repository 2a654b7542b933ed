// CGIF written by other people and projects: every file of the shared corpus is read, in the
// dialect it is written in, without a crash, and each one ends the way the grammar decides.
#include "ReaderFixture.h"
#include "cgif/iso/DialectReading.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <map>

namespace zov::cgif::test {
namespace {

TEST(Corpus, EveryFileEndsAsTheGrammarDecides) {
    const QDir dir(zov::test::cgifCorpusDir());
    const QStringList files = dir.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus at " << dir.path().toStdString();
    // What the grammar decides for each file, in tests/cases/cgif_reader/corpus.outcomes.
    std::map<QString, zov::test::Case> expected;
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_reader"), QStringLiteral(".outcomes")))
        expected.emplace(c.input, c);
    EXPECT_EQ(files.size(), static_cast<int>(expected.size()));
    for (const QString& name : files) {
        Reading run;
        CgifReader& reader = run.reader;
        const platform::FakeMessageBoxes& messages = run.messages;
        QString result;
        QString message;
        try {
            // The file is opened as the import command opens it.
            const std::unique_ptr<platform::TextStream> stream = platform::OpenTextFile(dir.filePath(name));
            result = iso::ReadCgifInDialect(reader, *stream, dialect::DialectChoice::Auto) ? "read" : "stopped";
        } catch (const ParseError& error) {
            result = QStringLiteral("escaped");
            message = error.message();
        }
        EXPECT_LE(messages.shown().size(), 1) << name.toStdString();
        message = messages.shown().empty() ? message : messages.shown().front().text;
        // The rest of the line a message quotes can be long: its start is compared.
        QString got = result + u' ' + QString::number(run.sink.built.size());
        if (!message.isEmpty())
            got += u' ' + message.left(80);
        const auto want = expected.find(name);
        if (want == expected.end())
            ADD_FAILURE() << "no expected outcome for " << name.toStdString() << ": " << got.toStdString();
        else
            EXPECT_EQ(QStringList{got}, want->second.expected) << want->second.where();
    }
}

} // namespace
} // namespace zov::cgif::test
