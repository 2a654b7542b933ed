// Runs tests/cases/cli/*.case: a command line (split at spaces) run in a folder holding cat.cgf
// (a one-graph CGIF file, given on standard input unless the case ends in " <<< TEXT", which is
// then the standard input and in.cgf), deck.pptx (a presentation of it) and broken.pptx (not an
// archive) → "exit N", then the lines of standard error ("{dir}" for the folder). Standard output
// stays empty and the folder as it was: nothing may be written.
#include "ProgramTest.h"
#include "support/CaseFiles.h"

namespace zov::test {
namespace {

class CommandLineCases : public ProgramTest {};

TEST_F(CommandLineCases, EachCommandLineExitsAndReportsAsItsCaseSays) {
    const QByteArray cat = "[Cat: *x]\n(On ?x [Mat ;300@50;])\n";
    write("cat.cgf", cat);
    write("broken.pptx", "not a zip archive");
    ASSERT_EQ(zovedit({"import", "cat.cgf", "-o", "deck.pptx"}).exitCode, 0);
    const QStringList before = files();
    const QByteArray deck = readFile("deck.pptx");
    for (const Case& c : LoadCases(QStringLiteral("cli"))) {
        const qsizetype given = c.input.indexOf(QStringLiteral(" <<< "));
        const QByteArray input = given < 0 ? cat : c.input.mid(given + 5).toUtf8();
        if (given >= 0)
            write("in.cgf", input);
        const ProgramRun run = zovedit(c.input.left(given).split(u' ', Qt::SkipEmptyParts), input);
        QFile::remove(path("in.cgf"));
        QStringList got = QStringList{QStringLiteral("exit %1").arg(run.exitCode)} + run.errLines();
        got.replaceInStrings(dir.path(), QStringLiteral("{dir}"));
        EXPECT_EQ(Lines(got), Lines(c.expected)) << c.where();
        EXPECT_TRUE(run.out.isEmpty()) << c.where();
        EXPECT_EQ(files(), before) << c.where();
        EXPECT_EQ(readFile("deck.pptx"), deck) << c.where();
    }
}

} // namespace
} // namespace zov::test
