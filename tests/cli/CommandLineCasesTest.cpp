// Runs tests/cases/cli/*.case: a command line (split at spaces) run in a folder holding cat.cgf
// (a one-graph CGIF file, also given on standard input), deck.pptx (a presentation of it) and
// broken.pptx (not an archive) → "exit N", then the lines of standard error ("{dir}" for the
// folder). Standard output stays empty and the folder as it was: nothing may be written.
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
        const ProgramRun run = zovedit(c.input.split(u' ', Qt::SkipEmptyParts), cat);
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
